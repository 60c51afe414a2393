// The plot's geometry at a known scale, fitting, and the PNG and PDF files.
#include "analysis/groupplot.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {
// Whether a pixel of exactly `c` lies within `reach` pixels of `at`.
bool colorNear(const QImage &img, QPointF at, const QColor &c, int reach = 2)
{
    const int x0 = int(std::lround(at.x())), y0 = int(std::lround(at.y()));
    for (int y = y0 - reach; y <= y0 + reach; ++y)
        for (int x = x0 - reach; x <= x0 + reach; ++x)
            if (img.valid(x, y) && img.pixelColor(x, y).rgb() == c.rgb()) return true;
    return false;
}

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
    void marksAtKnownScale();
    void fitKeepsEverythingInside();
    void farAimPoint();
    void niceSteps();
    void savedFiles();
};

void TestGroupPlot::marksAtKnownScale()
{
    // 40 pixels per inch, the point of aim at (100, 280).
    PlotLayout l;
    l.canvas = QSizeF(400, 420);
    l.area = QRectF(20, 20, 360, 300);
    l.scale = 40;
    l.aim = QPointF(100, 280);
    const std::vector<ShotXY> shots{{1, 1}, {3, 1}, {2, 4}};
    const GroupAnalysis a = AnalyzeShots(shots, QStringLiteral("Inches"), std::nullopt, 0.95);
    const double mr = a.Length->MeanRadius * 40, cep = a.Length->Rayleigh.CEP50 * 40;
    QVERIFY(std::abs(mr - (2 * std::sqrt(2.0) + 2) / 3 * 40) < 1e-9);
    QVERIFY(cep - mr > 5); // far enough apart to tell the circles from each other
    const QImage img = draw(l, shots, a);

    // Group center (2, 2) at (180, 200).
    const QPointF c(180, 200);
    QCOMPARE(l.ToPixel(2, 2), c);
    QVERIFY(colorNear(img, c, PlotColor::Center, 0));
    QVERIFY(colorNear(img, c + QPointF(5, 5), PlotColor::Center, 1));
    for (const QPointF dir : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0.6, -0.8)}) {
        QVERIFY2(colorNear(img, c + dir * mr, PlotColor::MeanRadius), "mean radius circle");
        QVERIFY(!colorNear(img, c + dir * mr, PlotColor::CEP));
    }
    for (const QPointF dir : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(-0.8, 0.6)}) {
        // Dashed: some stretch of the circle around each point carries it.
        bool found = false;
        for (int step = -6; step <= 6 && !found; ++step) {
            const double ang = std::atan2(dir.y(), dir.x()) + step * 0.01;
            found = colorNear(img, c + QPointF(std::cos(ang), std::sin(ang)) * cep, PlotColor::CEP);
        }
        QVERIFY2(found, "CEP circle");
        QVERIFY(!colorNear(img, c + dir * cep, PlotColor::MeanRadius));
    }
    // Shots 1 and 3 are the extreme-spread pair (a tie with 2 and 3, which comes later).
    QCOMPARE(a.SpreadShotA, 1);
    QCOMPARE(a.SpreadShotB, 3);
    QVERIFY(colorNear(img, QPointF(160, 180), PlotColor::Spread, 1));
    QVERIFY(!colorNear(img, QPointF(200, 180), PlotColor::Spread, 1));
    // Shot markers and their numbers.
    for (const QPointF s : {QPointF(140, 240), QPointF(220, 240), QPointF(180, 120)})
        QVERIFY(colorNear(img, s, PlotColor::Shot, 0));
    bool numbered = false;
    for (int y = 222; y <= 236 && !numbered; ++y)
        for (int x = 146; x <= 156 && !numbered; ++x)
            numbered = img.pixelColor(x, y) == PlotColor::Shot;
    QVERIFY(numbered);
    // Point of aim: a cross in a ring of 7 pixels.
    QVERIFY(colorNear(img, QPointF(100, 280), PlotColor::Aim, 0));
    QVERIFY(colorNear(img, QPointF(107, 280), PlotColor::Aim, 1));
    QVERIFY(colorNear(img, QPointF(100, 273), PlotColor::Aim, 1));
    // Bounding box from (140, 120) to (220, 240), dotted.
    for (const QPointF from :
         {QPointF(140, 150), QPointF(220, 150), QPointF(160, 120), QPointF(160, 240)}) {
        bool found = false;
        for (int k = 0; k < 10 && !found; ++k)
            found = colorNear(img, from + (from.x() == 160 ? QPointF(k, 0) : QPointF(0, k)),
                              PlotColor::Box, 0);
        QVERIFY2(found, "bounding box");
    }
    // Scale bar: 2 inches (the nice length near a fifth of the width) = 80 pixels,
    // ending 12 pixels inside the right edge.
    QVERIFY(colorNear(img, QPointF(368 - 80, 306), Qt::black, 0));
    QVERIFY(colorNear(img, QPointF(368 - 40, 306), Qt::black, 0));
    QVERIFY(!colorNear(img, QPointF(368 - 90, 306), Qt::black, 0));

    // With one shot: the shot and the aim point, no figures.
    const std::vector<ShotXY> single{{1, 1}};
    const QImage lone =
        draw(l, single, AnalyzeShots(single, QStringLiteral("Inches"), std::nullopt, 0.95));
    QVERIFY(colorNear(lone, QPointF(140, 240), PlotColor::Shot, 0));
    QVERIFY(colorNear(lone, QPointF(100, 280), PlotColor::Aim, 0));
    bool anyCircle = false;
    for (int y = 0; y < lone.height() - 60 && !anyCircle; ++y)
        for (int x = 0; x < lone.width() && !anyCircle; ++x) {
            const QColor p = lone.pixelColor(x, y);
            anyCircle = p == PlotColor::MeanRadius || p == PlotColor::CEP || p == PlotColor::Spread;
        }
    QVERIFY(!anyCircle);

    // Shots that are no numbers are left out; the rest is drawn.
    const std::vector<ShotXY> broken{
        {1, 1}, {std::nan(""), 2}, {2, std::numeric_limits<double>::infinity()}};
    const GroupAnalysis b = AnalyzeShots(broken, QStringLiteral("Inches"), std::nullopt, 0.95);
    const QImage withBroken = draw(FitPlot(broken, b, QSizeF(400, 420)), broken, b);
    QVERIFY(!withBroken.isNull());
}

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
    // The group fills the area along its longer side, with the same scale for X and Y.
    const std::vector<ShotXY> wide{{0, 0}, {10, 0}, {10, 1}};
    const GroupAnalysis a = AnalyzeShots(wide, QStringLiteral("Inches"), std::nullopt, 0.95);
    const PlotLayout l = FitPlot(wide, a, QSizeF(800, 800));
    const double r = std::max(a.Length->MeanRadius, a.Length->Rayleigh.CEP50);
    const double spanX = std::max(10.0, a.CenterX + r) - std::min(0.0, a.CenterX - r);
    QVERIFY(std::abs(l.scale - l.area.width() / (spanX * 1.16)) < 1e-9);
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

void TestGroupPlot::niceSteps()
{
    const std::pair<double, double> cases[] = {{1, 1},      {1.2, 2},  {2, 2},       {2.1, 5},
                                               {4.9, 5},    {5.1, 10}, {0.03, 0.05}, {0.011, 0.02},
                                               {730, 1000}, {0, 1}};
    for (const auto &[rough, nice] : cases)
        QVERIFY2(std::abs(NiceStep(rough) - nice) < 1e-12 * nice,
                 qPrintable(QString::number(rough)));
}

void TestGroupPlot::savedFiles()
{
    QTemporaryDir dir;
    const std::vector<ShotXY> shots{{0.25, 0.5}, {-0.375, 0.125}, {0.5, -0.25}};
    const GroupAnalysis a = AnalyzeShots(shots, QStringLiteral("Inches"), 100.0, 0.95);
    const QString png = dir.filePath(QStringLiteral("g.png"));
    QString why;
    QVERIFY(SavePlotPng(png, shots, a, &why, QSize(640, 700)));
    QImageReader reader(png);
    QCOMPARE(QString::fromLatin1(reader.format()), QStringLiteral("png"));
    QCOMPARE(reader.size(), QSize(640, 700));

    const QString pdf = dir.filePath(QStringLiteral("g.pdf"));
    QVERIFY(SavePlotPdf(pdf, shots, a, QStringLiteral("Group Analysis"), &why));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(f.size() > 1000);

    // A folder that does not exist: false with a reason, no file.
    const QString bad = dir.filePath(QStringLiteral("missing/g.png"));
    why.clear();
    QVERIFY(!SavePlotPng(bad, shots, a, &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(!QFile::exists(bad));
    QVERIFY(!SavePlotPdf(dir.filePath(QStringLiteral("missing/g.pdf")), shots, a, QString(), &why));
}

QTEST_MAIN(TestGroupPlot)
#include "test_groupplot.moc"
