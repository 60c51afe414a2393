// Group statistics against values worked out by hand or in double precision.
#include "stats/groupstats.h"
#include "testsupport.h"

#include <QtTest>
#include <array>
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

// Mean, sample standard deviation and range in double precision, independent
// of the code under test.
std::array<double, 3> model(const std::vector<double> &v)
{
    double m = 0, ss = 0;
    for (double x : v) m += x;
    m /= double(v.size());
    for (double x : v) ss += (x - m) * (x - m);
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return {m, std::sqrt(ss / double(v.size() - 1)), *hi - *lo};
}
} // namespace

class TestGroupStats : public QObject {
    Q_OBJECT
private slots:
    void againstDoublePrecision_data();
    void againstDoublePrecision();
    void spansAndCenter();
    void moa_data();
    void moa();
};

void TestGroupStats::againstDoublePrecision_data()
{
    QTest::addColumn<QList<QPointF>>("points");
    QTest::newRow("two shots 3-4-5") << QList<QPointF>{{0, 0}, {3, 4}};
    QTest::newRow("left of and below the aim") << QList<QPointF>{{-3, -1}, {-1, -2}};
    QList<QPointF> full; // a full group of awkward values
    for (int k = 1; k <= ShotCapacity; ++k)
        full.append({float(std::sin(k * 1.7) * 1.37), float(std::cos(k * 0.9) * 0.83 - 0.2)});
    QTest::newRow("full group") << full;
}

void TestGroupStats::againstDoublePrecision()
{
    QFETCH(QList<QPointF>, points);
    Shots shots;
    for (const QPointF &p : points) shots.emplace_back(float(p.x()), float(p.y()));
    const Session s = groupOf(shots);
    QCOMPARE(s.ShotCount, qint32(shots.size()));
    std::vector<double> xs, ys, rs;
    for (const auto &[x, y] : shots) {
        xs.push_back(x);
        ys.push_back(y);
        rs.push_back(std::hypot(double(x), double(y)));
    }
    const auto mx = model(xs), my = model(ys), mr = model(rs);
    const float got[] = {s.MeanX,  s.SdX,   s.RangeX, s.MeanY, s.SdY,
                         s.RangeY, s.MeanR, s.SdR,    s.RangeR};
    const double want[] = {mx[0], mx[1], mx[2], my[0], my[1], my[2], mr[0], mr[1], mr[2]};
    for (int i = 0; i < 9; ++i)
        QVERIFY2(std::fabs(got[i] - want[i]) < 1e-5,
                 qPrintable(QStringLiteral("figure %1: %2 vs %3").arg(i).arg(got[i]).arg(want[i])));
}

void TestGroupStats::spansAndCenter()
{
    // Ties keep the earlier shot: with equal X the span across X is 0.
    Session s = groupOf({{2, 1}, {2, 5}, {2, -3}});
    QCOMPARE(s.SpanAcrossX, 0.0f);
    QCOMPARE(s.SpanAcrossY, 8.0f);
    QCOMPARE(s.GroupSize, 8.0f);
    // The group center lies in the image frame: Y grows downward there.
    s.AimX = 10;
    s.AimY = 20;
    ComputeGroupStats(s);
    QCOMPARE(s.GroupCenterX, 10 + s.MeanX);
    QCOMPARE(s.GroupCenterY, 20 - s.MeanY);
}

void TestGroupStats::moa_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<float>("size");
    QTest::addColumn<double>("moa");
    QTest::newRow("inches") << QStringLiteral("Inches") << 1.047198f << 1.0;
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
