// Group statistics against values worked out by hand or in double precision.
#include "app/textnum.h"
#include "stats/groupstats.h"
#include "stats/report.h"
#include "testsupport.h"

#include <QtTest>
#include <cmath>
#include <vector>

namespace {
using Shots = std::vector<std::pair<float, float>>;

Session groupOf(const Shots &shots)
{
    Session s;
    PrepareTestSession(s);
    for (const auto &[x, y] : shots) AddShots(s, {{x, y}});
    return s;
}

// Sample standard deviation in double precision, independent of the code under test.
double sampleSd(const std::vector<double> &v)
{
    double m = 0;
    for (double x : v) m += x;
    m /= double(v.size());
    double ss = 0;
    for (double x : v) ss += (x - m) * (x - m);
    return std::sqrt(ss / double(v.size() - 1));
}
} // namespace

class TestGroupStats : public QObject {
    Q_OBJECT
private slots:
    void figures_data();
    void figures();
    void againstDoublePrecision();
    void removeToOneShotClearsStatistics();
    void moa_data();
    void moa();
};

void TestGroupStats::figures_data()
{
    QTest::addColumn<QList<QPointF>>("shots");
    QTest::addColumn<QList<double>>("expected"); // means, sds, ranges, group size
    QTest::newRow("two shots 3-4-5")
        << QList<QPointF>{{0, 0}, {3, 4}}
        << QList<double>{1.5, 2, 2.5, 2.1213, 2.8284, 3.5355, 3, 4, 5, 5};
    QTest::newRow("left of and below the aim")
        << QList<QPointF>{{-3, -1}, {-1, -2}}
        << QList<double>{-2,
                         -1.5,
                         std::sqrt(10.0) / 2 + std::sqrt(5.0) / 2,
                         std::sqrt(2.0),
                         std::sqrt(0.5),
                         std::fabs(std::sqrt(10.0) - std::sqrt(5.0)) / std::sqrt(2.0),
                         2,
                         1,
                         std::sqrt(10.0) - std::sqrt(5.0),
                         std::sqrt(5.0)};
}

void TestGroupStats::figures()
{
    QFETCH(QList<QPointF>, shots);
    QFETCH(QList<double>, expected);
    Shots v;
    for (const QPointF &p : shots) v.emplace_back(float(p.x()), float(p.y()));
    const Session s = groupOf(v);
    const float got[] = {s.MeanX, s.MeanY,  s.MeanR,  s.SdX,    s.SdY,
                         s.SdR,   s.RangeX, s.RangeY, s.RangeR, s.GroupSize};
    for (int i = 0; i < 10; ++i)
        QVERIFY2(
            std::fabs(got[i] - expected[i]) < 1e-4,
            qPrintable(QStringLiteral("figure %1: %2 vs %3").arg(i).arg(got[i]).arg(expected[i])));
}

void TestGroupStats::againstDoublePrecision()
{
    // The group size is the largest distance over all pairs: here the two
    // diagonal shots, farther apart than either extreme pair.
    Session s = groupOf({{-1, 0}, {1, 0}, {0, 1}, {0, -1}, {0.9f, 0.9f}, {-0.9f, -0.9f}});
    QCOMPARE(FormatPicture(s.GroupSize, QStringLiteral("#0.000")), QStringLiteral("2.546"));
    QCOMPARE(s.SpanAcrossX, 2.0f);
    QCOMPARE(s.SpanAcrossY, 2.0f);

    // Ties keep the earlier shot: with equal X the span across X is 0.
    s = groupOf({{2, 1}, {2, 5}, {2, -3}});
    QCOMPARE(s.RangeX, 0.0f);
    QCOMPARE(s.SpanAcrossX, 0.0f);
    QCOMPARE(s.SpanAcrossY, 8.0f);
    QCOMPARE(s.GroupSize, 8.0f);

    // A full group of awkward values, compared with double arithmetic.
    Shots shots;
    std::vector<double> xs, ys, rs;
    for (int k = 1; k <= ShotCapacity; ++k) {
        const float x = float(std::sin(k * 1.7) * 1.37);
        const float y = float(std::cos(k * 0.9) * 0.83 - 0.2);
        shots.emplace_back(x, y);
        xs.push_back(x);
        ys.push_back(y);
        rs.push_back(std::hypot(double(x), double(y)));
    }
    s = groupOf(shots);
    QCOMPARE(s.ShotCount, ShotCapacity);
    QVERIFY(std::fabs(s.SdX - sampleSd(xs)) < 1e-5);
    QVERIFY(std::fabs(s.SdY - sampleSd(ys)) < 1e-5);
    QVERIFY(std::fabs(s.SdR - sampleSd(rs)) < 1e-5);
    const auto [minX, maxX] = std::minmax_element(xs.begin(), xs.end());
    QVERIFY(std::fabs(s.RangeX - (*maxX - *minX)) < 1e-6);
    // The group center lies in the image frame: Y grows downward there.
    s.AimX = 10;
    s.AimY = 20;
    ComputeGroupStats(s);
    QCOMPARE(s.GroupCenterX, 10 + s.MeanX);
    QCOMPARE(s.GroupCenterY, 20 - s.MeanY);
}

void TestGroupStats::removeToOneShotClearsStatistics()
{
    Session s = groupOf({{1, 2}, {-3, 4}});
    RecordingSurface window;
    s.StatsWindow = &window;
    RemoveShot(s, 1);
    QCOMPARE(s.ShotCount, 1);
    for (float v : {s.MeanX, s.MeanY, s.MeanR, s.SdX, s.SdY, s.SdR, s.RangeX, s.RangeY, s.RangeR,
                    s.GroupSize})
        QCOMPARE(v, 0.0f);
    // The removal renders the report, which still lists the remaining shot.
    QVERIFY(window.Find(QStringLiteral("01")));
    QVERIFY(window.Find(QStringLiteral("-3.000")));
    QVERIFY(!s.RenderToWindow);
}

void TestGroupStats::moa_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<float>("size");
    QTest::addColumn<double>("moa");
    QTest::newRow("inches") << QStringLiteral("Inches") << 1.047198f << 1.0;
    QTest::newRow("centimeters") << QStringLiteral("Centimeters") << 2.659883f << 1.0;
    QTest::newRow("millimeters any case") << QStringLiteral("MILLIMETERS") << 26.59883f << 1.0;
    QTest::newRow("own unit taken as is") << QStringLiteral("Clicks") << 2.094396f << 2.0;
}

void TestGroupStats::moa()
{
    QFETCH(QString, unit);
    QFETCH(float, size);
    QFETCH(double, moa);
    Session s;
    PrepareTestSession(s);
    s.UnitName = unit;
    s.GroupSize = size;
    s.RangeToTarget = 100;
    QVERIFY(!GroupSizeMOA(s)); // no range entered
    s.RangeEntered = true;
    QVERIFY(std::fabs(*GroupSizeMOA(s) - moa) < 1e-5);
    s.RangeToTarget = 0; // only a damaged state can give it; never divide by it
    QVERIFY(!GroupSizeMOA(s));
}

QTEST_GUILESS_MAIN(TestGroupStats)
#include "test_groupstats.moc"
