// The target canvas: exclusive-OR figures, resets, image loading.
#include "graph/targetcanvas.h"
#include "graph/targetdrawing.h"
#include "graphtestimages.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {
using Draw = std::function<void(TargetCanvas &)>;
const QRgb Pen = qRgb(240, 240, 240);

TargetCanvas NoiseCanvas()
{
    TargetCanvas c;
    c.SetPictureSize(QSize(200, 160));
    c.SetImage(NoiseImage(180, 120));
    return c;
}
} // namespace
Q_DECLARE_METATYPE(Draw)

class TestTargetCanvas : public QObject {
    Q_OBJECT
private slots:
    void figureTwiceRestores_data();
    void figureTwiceRestores();
    void figuresAtLowZoom();
    void overlapsRemovedInAnyOrder();
    void loadImage_data();
    void loadImage();
};

void TestTargetCanvas::figureTwiceRestores_data()
{
    QTest::addColumn<Draw>("draw");
    QTest::newRow("sloped line") << Draw(
        [](TargetCanvas &c) { c.XorLine(30, 45, 2400, 1500, Pen); });
    QTest::newRow("line past the edges")
        << Draw([](TargetCanvas &c) { c.XorLine(-900, -300, 9000, 4000, Pen); });
    QTest::newRow("filled box") << Draw(
        [](TargetCanvas &c) { c.XorFilledBox(300, 300, 900, 750, Pen); });
    QTest::newRow("thin outlined box")
        << Draw([](TargetCanvas &c) { c.XorBox(600, 600, 610, 700, Pen, qRgb(255, 0, 0)); });
    QTest::newRow("circle at the corner")
        << Draw([](TargetCanvas &c) { c.XorCircle(0, 0, 25, Pen); });
    // The figure functions draw on a picture's canvas.
    using Figure = void (*)(GraphPicture &, float, float);
    for (const auto &[name, figure] : {std::pair<const char *, Figure>{"aim marker", DrawAimMarker},
                                       {"cursor lines", DrawCursorLines}})
        QTest::newRow(name) << Draw([figure](TargetCanvas &c) {
            GraphPicture p;
            std::swap(p.canvas, c);
            figure(p, 1500, 1200);
            std::swap(p.canvas, c);
        });
}

void TestTargetCanvas::figureTwiceRestores()
{
    QFETCH(Draw, draw);
    // Drawn at one view scale, erased at another: the window's zoom redraws
    // every figure, and the image must come back bit for bit.
    const std::array<std::pair<double, double>, 5> scales = {
        {{1, 1}, {0.25, 0.25}, {1, 0.1}, {0.1, 4}, {0.3, 1}}};
    for (const auto &[drawAt, eraseAt] : scales) {
        TargetCanvas c = NoiseCanvas();
        const QImage before = c.Image().copy();
        QRegion reported;
        c.Changed = [&](const QRect &r) { reported += r; };
        c.SetViewScale(drawAt);
        draw(c);
        QImage once = c.Image().copy();
        QVERIFY(once != before);
        // Every changed pixel lies in a reported rectangle, so the window repaints it.
        const auto allReported = [&](const QImage &from, const QImage &to) {
            for (int y = 0; y < to.height(); ++y)
                for (int x = 0; x < to.width(); ++x)
                    if (to.pixel(x, y) != from.pixel(x, y) && !reported.contains(QPoint(x, y)))
                        return false;
            return true;
        };
        QVERIFY2(allReported(before, once), "changed pixel not reported");
        QVERIFY(c.FigureCount() >= 1);
        reported = QRegion();
        c.SetViewScale(eraseAt);
        QVERIFY2(allReported(once, c.Image()), "resized pixel not reported");
        draw(c);
        QCOMPARE(c.FigureCount(), 0);
        QCOMPARE(c.Image().sizeInBytes(), before.sizeInBytes());
        QVERIFY2(memcmp(c.Image().constBits(), before.constBits(), size_t(before.sizeInBytes())) ==
                     0,
                 qPrintable(QStringLiteral("drawn at %1, erased at %2").arg(drawAt).arg(eraseAt)));
    }
}

void TestTargetCanvas::figuresAtLowZoom()
{
    // 10 %: a screen pixel is ten canvas pixels, so a line must be at least
    // that thick and a marker three times that across to stay visible.
    TargetCanvas c = NoiseCanvas();
    const QImage base = c.Image().copy();
    c.SetViewScale(0.1);
    QCOMPARE(c.LineWidth(), 11);
    const auto changedRun = [&](int x0, int y0, int dx, int dy) {
        int n = 0;
        for (int x = x0, y = y0; x >= 0 && y >= 0 && x < 200 && y < 160; x += dx, y += dy)
            n += c.Image().pixel(x, y) != base.pixel(x, y) ? 1 : 0;
        return n;
    };
    c.XorLine(0, 750, c.WidthTwips(), 750, Pen); // row 50: the ten rows of its screen pixel
    QCOMPARE(changedRun(100, 0, 0, 1), 10);
    c.XorLine(0, 750, c.WidthTwips(), 750, Pen);
    c.XorLine(300, 300, 2400, 1800, Pen); // sloped: thick across its run
    QVERIFY(changedRun(60, 0, 0, 1) >= 11);
    c.XorLine(300, 300, 2400, 1800, Pen);
    c.XorCircle(1500, 1200, 25, Pen); // nominally 3 pixels across
    QVERIFY(changedRun(0, 80, 1, 0) >= 29);
    c.XorCircle(1500, 1200, 25, Pen);
    c.XorBox(1470, 1170, 1530, 1230, Pen, qRgb(255, 0, 0)); // centroid box
    QVERIFY(changedRun(0, 80, 1, 0) >= 30);
    QVERIFY(changedRun(100, 0, 0, 1) >= 30);
    // At 100 % and above, the nominal sizes exactly.
    c.XorBox(1470, 1170, 1530, 1230, Pen, qRgb(255, 0, 0));
    c.SetViewScale(4);
    QCOMPARE(c.LineWidth(), 1);
    c.XorCircle(1500, 1200, 25, Pen);
    QCOMPARE(changedRun(0, 80, 1, 0), 4);
}

void TestTargetCanvas::overlapsRemovedInAnyOrder()
{
    // A shot marker on the centroid box on an axis: each can go in any order.
    const std::array<Draw, 3> figures = {
        Draw([](TargetCanvas &c) { c.XorCircle(900, 900, 25, Pen); }),
        Draw([](TargetCanvas &c) { c.XorBox(870, 870, 930, 930, Pen, qRgb(255, 0, 0)); }),
        Draw([](TargetCanvas &c) { c.XorLine(900, 0, 900, c.HeightTwips(), Pen); }),
    };
    std::array<int, 3> order = {0, 1, 2};
    do {
        TargetCanvas c = NoiseCanvas();
        for (const Draw &d : figures) d(c);
        // Where all three overlap the pixel is the image XOR each figure's colour.
        const QRgb base = NoiseCanvas().Image().pixel(60, 60);
        QCOMPARE(c.Image().pixel(60, 60) & 0xFFFFFF, (base ^ Pen ^ Pen ^ Pen) & 0xFFFFFF);
        std::vector<int> left = {0, 1, 2};
        for (int k : order) {
            figures[size_t(k)](c);
            left.erase(std::find(left.begin(), left.end(), k));
            TargetCanvas expected = NoiseCanvas();
            for (int j : left) figures[size_t(j)](expected);
            QCOMPARE(c.Image(), expected.Image());
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

void TestTargetCanvas::loadImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format"); // empty: write the raw bytes below
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::newRow("bitmap") << "t.bmp" << QByteArray("BMP") << QByteArray() << true;
    QTest::newRow("text named jpg")
        << "t.jpg" << QByteArray() << QByteArray("not an image\r\n") << false;
}

void TestTargetCanvas::loadImage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QImage img = TargetImage(120, 90);
    QFile f(path);
    QVERIFY(format.isEmpty() ? f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()
                             : img.save(path, format.constData()));
    f.close();
    TargetCanvas c;
    c.SetPictureSize(QSize(100, 100));
    c.XorCircle(300, 300, 25, Pen);
    QString why;
    QCOMPARE(c.LoadImage(path, &why), loads);
    QCOMPARE(c.FigureCount(), 0);
    QCOMPARE(c.HasImage(), loads);
    QCOMPARE(why.isEmpty(), loads);
    QCOMPARE(c.SizePixels(), loads ? QSize(120, 100) : QSize(100, 100));
    QCOMPARE(c.HoldsFile(path), loads);
    if (loads) QCOMPARE(c.Image().copy(0, 0, 120, 90), img);
    // Large scans are decoded.
    QVERIFY(QImageReader::allocationLimit() >= 400);
}

QTEST_GUILESS_MAIN(TestTargetCanvas)
#include "test_targetcanvas.moc"
