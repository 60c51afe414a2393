// Graphical entry on a 10000 x 10000 scan: a mouse move with cursor lines,
// and opening the image against a bare decode.
#include "graph/picturebox.h"
#include "graph/targetdrawing.h"

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Side = 10000;

QString &JpegPath()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        QImage img(Side, Side, QImage::Format_RGB32);
        img.fill(qRgb(240, 235, 220));
        for (int y = 0; y < Side; y += 97)
            std::fill_n(reinterpret_cast<QRgb *>(img.scanLine(y)), Side, qRgb(20, 20, 20));
        path = dir.filePath(QStringLiteral("scan.jpg"));
        img.save(path, "JPEG", 85);
    }
    return path;
}

void MouseMoveCursorLines(benchmark::State &state)
{
    Session s;
    s.FullScreenCursor = true;
    GraphPicture p;
    p.canvas.SetPictureSize(QSize(1, 1));
    QImage img(Side, Side, QImage::Format_RGB32);
    img.fill(qRgb(200, 200, 200));
    p.canvas.SetImage(std::move(img));
    // The window's picture widget repaints the dirty strips of each move.
    PictureBox box(p.canvas);
    box.resize(1600, 1000);
    p.canvas.Changed = [&box](const QRect &r) { box.CanvasChanged(r); };
    box.show();
    QCoreApplication::processEvents();
    float x = 100, y = 100;
    for (auto _ : state) {
        x = x > 23000 ? 100 : x + 15;
        y = y > 14000 ? 100 : y + 15;
        Picture1_MouseMove(s, p, x, y);
        box.repaint(); // paints now what update() queued
    }
}
BENCHMARK(MouseMoveCursorLines)->Unit(benchmark::kMillisecond);

void BareDecode(benchmark::State &state)
{
    QImageReader::setAllocationLimit(TargetCanvas::ImageAllocationLimitMB);
    const QString path = JpegPath();
    for (auto _ : state) {
        QImageReader reader(path);
        QImage img = reader.read();
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BareDecode)->Unit(benchmark::kMillisecond)->Iterations(3);

void LoadIntoPicture(benchmark::State &state)
{
    const QString path = JpegPath();
    for (auto _ : state) {
        GraphPicture p;
        p.canvas.SetPictureSize(QSize(1600, 950));
        QString why;
        if (!p.canvas.LoadImage(path, &why)) state.SkipWithError("load failed");
        state.counters["canvas_MB"] = double(p.canvas.Image().sizeInBytes()) / 1e6;
    }
}
BENCHMARK(LoadIntoPicture)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
