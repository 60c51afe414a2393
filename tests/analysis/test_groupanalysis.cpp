// Group figures against hand-worked groups, brute force and published tables.
#include "analysis/groupanalysis.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <random>

using Shots = std::vector<ShotXY>;
Q_DECLARE_METATYPE(Shots)

namespace {
bool close(double a, double b, double rel = 1e-12)
{
    return std::abs(a - b) <= rel * std::max({1.0, std::abs(a), std::abs(b)});
}
#define QCLOSE(a, b, rel)                                                                          \
    QVERIFY2(close((a), (b), (rel)),                                                               \
             qPrintable(QStringLiteral("%1 != %2").arg((a), 0, 'g', 17).arg((b), 0, 'g', 17)))

const QString Inches = QStringLiteral("Inches");
} // namespace

class TestGroupAnalysis : public QObject {
    Q_OBJECT
private slots:
    void handWorkedGroups_data();
    void handWorkedGroups();
    void extremeSpreadAgainstBruteForce();
    void sigmaAgainstPublishedTables_data();
    void sigmaAgainstPublishedTables();
    void intervalCoverage_data();
    void intervalCoverage();
    void pooledGroups();
};

void TestGroupAnalysis::handWorkedGroups_data()
{
    QTest::addColumn<Shots>("shots");
    QTest::addColumn<double>("spread");
    QTest::addColumn<int>("shotA");
    QTest::addColumn<int>("shotB");
    QTest::addColumn<double>("cx");
    QTest::addColumn<double>("cy");
    QTest::addColumn<double>("meanRadius");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    const double r2 = std::sqrt(2.0);
    QTest::newRow("right triangle")
        << Shots{{0, 0}, {3, 0}, {0, 4}} << 5.0 << 2 << 3 << 1.0 << 4.0 / 3
        << (5.0 + std::sqrt(52.0) + std::sqrt(73.0)) / 9 << 3.0 << 4.0;
    // Both diagonals are 5: the first pair in shot order is named.
    QTest::newRow("rectangle, tie") << Shots{{0, 0}, {4, 0}, {4, 3}, {0, 3}} << 5.0 << 1 << 3 << 2.0
                                    << 1.5 << 2.5 << 4.0 << 3.0;
    QTest::newRow("collinear") << Shots{{0, 0}, {1, 1}, {3, 3}} << 3 * r2 << 1 << 3 << 4.0 / 3
                               << 4.0 / 3 << 10 * r2 / 9 << 3.0 << 3.0;
    QTest::newRow("one hole") << Shots{{1, -2}, {1, -2}, {1, -2}} << 0.0 << 1 << 2 << 1.0 << -2.0
                              << 0.0 << 0.0 << 0.0;
}

void TestGroupAnalysis::handWorkedGroups()
{
    QFETCH(Shots, shots);
    QFETCH(double, spread);
    const GroupAnalysis a = AnalyzeShots(shots, Inches, std::nullopt, 0.95);
    QVERIFY(a.Defined());
    const LengthFigures &f = *a.Length;
    QCLOSE(f.ExtremeSpread, spread, 1e-12);
    QTEST(int(a.SpreadShotA), "shotA");
    QTEST(int(a.SpreadShotB), "shotB");
    QFETCH(double, cx);
    QFETCH(double, cy);
    QCLOSE(a.CenterX, cx, 1e-12);
    QCLOSE(a.CenterY, cy, 1e-12);
    QCLOSE(f.CenterOffset, std::hypot(cx, cy), 1e-12);
    QFETCH(double, meanRadius);
    QCLOSE(f.MeanRadius, meanRadius, 1e-12);
    QFETCH(double, width);
    QFETCH(double, height);
    QCLOSE(f.BoxWidth, width, 1e-12);
    QCLOSE(f.BoxHeight, height, 1e-12);
    QCLOSE(f.FigureOfMerit, (width + height) / 2, 1e-12);
    QCLOSE(f.BoxDiagonal, std::hypot(width, height), 1e-12);
    if (spread == 0) {
        QCOMPARE(f.Rayleigh.Sigma, 0.0);
        QCOMPARE(f.Rayleigh.SigmaHigh, 0.0);
    }
}

void TestGroupAnalysis::extremeSpreadAgainstBruteForce()
{
    QRandomGenerator rng(20261207);
    for (int trial = 0; trial < 500; ++trial) {
        Session s;
        PrepareTestSession(s);
        const int n = 2 + int(rng.bounded(ShotCapacity - 1));
        for (int k = 0; k < n; ++k) {
            // Coarse values make exact ties common.
            const float x = float(int(rng.bounded(9)) - 4) * 0.25f,
                        y = float(int(rng.bounded(9)) - 4) * 0.25f;
            AddShots(s, {{x, y}});
        }
        double best = 0;
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                best = std::max(best, std::hypot(double(s.ShotX[i] - s.ShotX[j]),
                                                 double(s.ShotY[i] - s.ShotY[j])));
        const GroupAnalysis a = AnalyzeGroup(s);
        QVERIFY(a.Defined());
        QCLOSE(a.Length->ExtremeSpread, best, 1e-12);
        // The pair named is one at that distance, and no earlier pair is.
        QVERIFY(a.SpreadShotA < a.SpreadShotB && a.SpreadShotB <= n);
        const auto d = [&](int i, int j) {
            return std::hypot(double(s.ShotX[i]) - s.ShotX[j], double(s.ShotY[i]) - s.ShotY[j]);
        };
        QCLOSE(d(a.SpreadShotA, a.SpreadShotB), best, 1e-12);
        for (int i = 1; i <= a.SpreadShotA; ++i)
            for (int j = i + 1; j <= n && (i < a.SpreadShotA || j < a.SpreadShotB); ++j)
                QVERIFY2(d(i, j) < best,
                         qPrintable(QStringLiteral("pair %1-%2 ties earlier").arg(i).arg(j)));
        // The classic report's group size is the same pair distance, as a float.
        QCOMPARE(s.GroupSize, float(best));
    }
}

void TestGroupAnalysis::sigmaAgainstPublishedTables_data()
{
    // χ² quantiles and c4 as printed in statistics tables (3 to 4 digits).
    QTest::addColumn<double>("df");
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("chiLow");
    QTest::addColumn<double>("chiHigh");
    QTest::addColumn<double>("c4");
    QTest::newRow("2 shots") << 2.0 << 0.95 << 0.0506 << 7.378 << 0.8862;
    QTest::newRow("6 shots") << 10.0 << 0.95 << 3.247 << 20.483 << 0.9754;
    QTest::newRow("6 shots, 99 %") << 10.0 << 0.99 << 2.156 << 25.188 << 0.9754;
    QTest::newRow("11 shots") << 20.0 << 0.95 << 9.591 << 34.170 << 0.9876;
    QTest::newRow("21 shots") << 40.0 << 0.95 << 24.433 << 59.342 << 0.99377;
}

void TestGroupAnalysis::sigmaAgainstPublishedTables()
{
    QFETCH(double, df);
    QFETCH(double, level);
    QFETCH(double, chiLow);
    QFETCH(double, chiHigh);
    QFETCH(double, c4);
    QCLOSE(C4(df + 1), c4, 5e-4);
    const double sumR2 = 7.25;
    const auto f = RayleighFromSums(sumR2, df, level);
    QVERIFY(f);
    QCLOSE(f->Sigma, std::sqrt(sumR2 / df) / c4, 5e-4);
    QCLOSE(f->SigmaLow, std::sqrt(sumR2 / chiHigh), 1e-3);
    QCLOSE(f->SigmaHigh, std::sqrt(sumR2 / chiLow), 1e-3);
    QVERIFY(f->SigmaLow < f->Sigma && f->Sigma < f->SigmaHigh);
    QCLOSE(f->CEP50, f->Sigma * 1.1774100225154747, 1e-12);
    QCLOSE(f->CEP50Low, f->SigmaLow * 1.1774100225154747, 1e-12);
    QCLOSE(f->CEP50High, f->SigmaHigh * 1.1774100225154747, 1e-12);
    QCLOSE(f->RayleighMR, f->Sigma * 1.2533141373155003, 1e-12);
    QCLOSE(f->RayleighMRLow, f->SigmaLow * 1.2533141373155003, 1e-12);
    QCLOSE(f->RayleighMRHigh, f->SigmaHigh * 1.2533141373155003, 1e-12);
}

void TestGroupAnalysis::intervalCoverage_data()
{
    QTest::addColumn<int>("shots");
    QTest::newRow("2 shots") << 2;
    QTest::newRow("3 shots") << 3;
    QTest::newRow("10 shots") << 10;
}

void TestGroupAnalysis::intervalCoverage()
{
    // Groups drawn with σ = 1 on each axis: the 95 % interval must hold the
    // true σ in 95 % of them.
    QFETCH(int, shots);
    std::mt19937_64 gen(4242u + unsigned(shots));
    std::normal_distribution<double> normal(0.0, 1.0);
    const int groups = 20000;
    int covered = 0;
    std::vector<ShotXY> g(static_cast<size_t>(shots));
    for (int i = 0; i < groups; ++i) {
        for (ShotXY &p : g) p = {normal(gen), normal(gen)};
        const RayleighFigures r = AnalyzeShots(g, Inches, std::nullopt, 0.95).Length->Rayleigh;
        if (r.SigmaLow <= 1.0 && 1.0 <= r.SigmaHigh) ++covered;
    }
    const double coverage = double(covered) / groups;
    qInfo("%d shots: %.2f %% covered", shots, coverage * 100);
    QVERIFY2(std::abs(coverage - 0.95) <= 0.005, qPrintable(QString::number(coverage)));
}

void TestGroupAnalysis::pooledGroups()
{
    const GroupAnalysis tri = AnalyzeShots({{0, 0}, {3, 0}, {0, 4}}, Inches, 100.0, 0.95);
    const GroupAnalysis sq =
        AnalyzeShots({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, QStringLiteral(" inches "), 100.0, 0.95);
    const GroupAnalysis one = AnalyzeShots({{5, 5}}, Inches, 100.0, 0.95);
    const auto p = PoolGroups({tri, sq, one});
    QVERIFY(p);
    QCOMPARE(p->Groups, 3);
    QCOMPARE(p->ShotCount, 8);
    // df = 2(3 − 1) + 2(4 − 1); the single shot adds nothing.
    QCOMPARE(p->DegreesOfFreedom, 10.0);
    QCLOSE(p->SumR2, 150.0 / 9 + 2.0, 1e-12);
    QVERIFY(p->Length);
    QCLOSE(p->Length->Sigma, std::sqrt((150.0 / 9 + 2.0) / 10) / 0.9754, 5e-4);
    QCLOSE(p->Length->SigmaLow, std::sqrt((150.0 / 9 + 2.0) / 20.483), 1e-3);
    QCLOSE(p->Length->SigmaHigh, std::sqrt((150.0 / 9 + 2.0) / 3.247), 1e-3);
    QVERIFY(p->MOA && p->Mrad);
    QCLOSE(p->MOA->Sigma, p->Length->Sigma / 1.047197551, 1e-12);
    QCLOSE(p->Mrad->Sigma, p->Length->Sigma / 3.6, 1e-12);

    // One group pools to its own figures.
    const auto alone = PoolGroups({tri});
    QCLOSE(alone->Length->Sigma, tri.Length->Rayleigh.Sigma, 1e-14);
    QCLOSE(alone->Length->SigmaHigh, tri.Length->Rayleigh.SigmaHigh, 1e-14);

    // Different ranges pool in angle, whatever convertible unit each group has.
    const GroupAnalysis at200 =
        AnalyzeShots({{0, 0}, {25.4, 0}}, QStringLiteral("Millimeters"), 200.0, 0.95);
    const auto mixed = PoolGroups({tri, at200});
    QVERIFY(mixed && mixed->InAngle && !mixed->Length && mixed->MOA && mixed->Mrad);
    QCLOSE(mixed->SumR2, 150.0 / 9 / (3.6 * 3.6) + 0.5 / (7.2 * 7.2), 1e-12);
    QCOMPARE(mixed->Ranges, (std::vector<double>{100, 200}));
    QCLOSE(mixed->MOA->Sigma, mixed->Mrad->Sigma * 3.6 / 1.047197551, 1e-12);
    const GroupAnalysis pixels =
        AnalyzeShots({{0, 0}, {1, 0}}, QStringLiteral("Pixels"), 200, 0.95);
    QString why;
    QVERIFY(!PoolGroups({tri, pixels}, &why, {QStringLiteral("a"), QStringLiteral("b")}));
    QVERIFY2(why.endsWith(QStringLiteral("b cannot: its unit, Pixels, cannot be turned into an "
                                         "angle.")),
             qPrintable(why));

    // Nothing to pool but single shots: undefined, not zero.
    const auto singles = PoolGroups({one, one});
    QVERIFY(singles && !singles->Length);
    const auto rows = PooledRows(*singles);
    QCOMPARE(rows[3].Unit, UndefinedFigure);
}

QTEST_GUILESS_MAIN(TestGroupAnalysis)
#include "test_groupanalysis.moc"
