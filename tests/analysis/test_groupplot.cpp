// Fitting the plot: every shot, the aim point and the circles inside the area.
#include "analysis/groupplot.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

class TestGroupPlot : public QObject {
    Q_OBJECT
private slots:
    void fitKeepsEverythingInside();
};

void TestGroupPlot::fitKeepsEverythingInside()
{
    QRandomGenerator rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<ShotXY> shots;
        const double spread = std::pow(10.0, rng.bounded(6.0) - 3); // 0.001 to 1000 units
        const double offX = (rng.bounded(2.0) - 1) * spread * 3,
                     offY = (rng.bounded(2.0) - 1) * spread * 3;
        const int n = int(rng.bounded(22));
        for (int k = 0; k < n; ++k)
            shots.push_back({offX + rng.bounded(spread), offY + rng.bounded(spread)});
        const GroupAnalysis a = AnalyzeShots(shots, QStringLiteral("Inches"), std::nullopt, 0.95);
        const QSizeF canvas(300 + rng.bounded(600), 300 + rng.bounded(600));
        const PlotLayout l = FitPlot(shots, a, canvas);
        QVERIFY(l.scale > 0 && std::isfinite(l.scale));
        QVERIFY(l.area.right() <= canvas.width() && l.area.bottom() <= canvas.height());
        const QRectF inside = l.area.adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
        QVERIFY(inside.contains(l.ToPixel(0, 0)));
        for (const ShotXY &s : shots) QVERIFY(inside.contains(l.ToPixel(s.x, s.y)));
        if (a.Defined()) {
            const double r = std::max(a.Length->MeanRadius, a.Length->Rayleigh.CEP50);
            QVERIFY(inside.contains(l.ToPixel(a.CenterX - r, a.CenterY - r)));
            QVERIFY(inside.contains(l.ToPixel(a.CenterX + r, a.CenterY + r)));
        }
    }
}

QTEST_MAIN(TestGroupPlot)
#include "test_groupplot.moc"
