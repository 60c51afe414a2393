// Fitting the plot: every shot, the aim point and the circles inside the area,
// or the group to scale with an arrow towards a far aim point.
#include "analysis/groupplot.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

namespace {
QImage draw(const PlotLayout &l, const std::vector<ShotXY> &shots, const GroupAnalysis &a)
{
    QImage img(l.canvas.toSize(), QImage::Format_RGB32);
    QPainter p(&img);
    DrawGroupPlot(p, l, shots, a, false);
    return img;
}
} // namespace

class TestGroupPlot : public QObject {
    Q_OBJECT
private slots:
    void fitKeepsEverythingInside();
    void farAimPoint();
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
        QVERIFY(!l.aimInView || inside.contains(l.ToPixel(0, 0)));
        for (const ShotXY &s : shots) QVERIFY(inside.contains(l.ToPixel(s.x, s.y)));
        if (a.Defined()) {
            const double r = std::max(a.Length->MeanRadius, a.Length->Rayleigh.CEP50);
            QVERIFY(inside.contains(l.ToPixel(a.CenterX - r, a.CenterY - r)));
            QVERIFY(inside.contains(l.ToPixel(a.CenterX + r, a.CenterY + r)));
        }
    }
}

void TestGroupPlot::farAimPoint()
{
    // A one-inch group 30 inches up and right of the aim: scaled to the group,
    // the aim shown by an arrow in the bottom-left corner.
    const std::vector<ShotXY> shots{{30, 30}, {31, 30.5}, {30.5, 31}};
    const GroupAnalysis a = AnalyzeShots(shots, QStringLiteral("Inches"), std::nullopt, 0.95);
    const PlotLayout l = FitPlot(shots, a, QSizeF(600, 600));
    QVERIFY(!l.aimInView && !l.area.contains(l.aim));
    QVERIFY2(l.scale > l.area.width() / 3, qPrintable(QString::number(l.scale)));
    const QImage img = draw(l, shots, a);
    int arrow = 0;
    const QRect inner = l.area.toRect().adjusted(2, 2, -2, -2);
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            if (img.pixelColor(x, y).rgb() == PlotColor::Aim.rgb()) {
                ++arrow;
                QVERIFY2(x < inner.center().x() && y > inner.center().y(),
                         qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            }
    QVERIFY(arrow > 40);
    // A group two spreads from the aim keeps the aim in view.
    const std::vector<ShotXY> near{{2, 2}, {3, 2.5}, {2.5, 3}};
    const GroupAnalysis b = AnalyzeShots(near, QStringLiteral("Inches"), std::nullopt, 0.95);
    QVERIFY(FitPlot(near, b, QSizeF(600, 600)).aimInView);
}

QTEST_MAIN(TestGroupPlot)
#include "test_groupplot.moc"
