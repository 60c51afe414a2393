// Graphical entry on large scans: a mouse move with cursor lines at 100 %,
// 25 % and 10 % on 1000² to 10000² images (below 100 % through the averaged
// view, beside a plain smooth scaling of the part shown, which is what the
// view would cost without its cache), a zoom step, and opening the image
// against a bare decode (time and memory).
#include "benchmain.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "graph/targetdrawing.h"
#include "imaging/targetimage.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {
constexpr int Side = 10000;
const QSize ViewSize(1600, 1000);

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

// Kilobytes from /proc/self/status ("VmRSS", "VmHWM").
double StatusKB(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ')[0].toDouble();
    return 0;
}

void ResetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

// A window-sized view of a side² picture at a zoom, scrolled to the middle,
// painted once, as the graphical entry window holds it.
struct Scene {
    Session s;
    GraphPicture p;
    std::unique_ptr<PictureView> view;
    Scene(int side, double zoom)
    {
        s.FullScreenCursor = true;
        p.canvas.SetPictureSize(QSize(1, 1));
        QImage img(side, side, QImage::Format_RGB32);
        img.fill(qRgb(200, 200, 200));
        p.canvas.SetImage(std::move(img));
        view = std::make_unique<PictureView>(p.canvas);
        PictureBox *box = view->Picture();
        p.canvas.Changed = [box](const QRect &r) { box->CanvasChanged(r); };
        view->resize(ViewSize);
        view->show();
        QCoreApplication::processEvents();
        view->SetZoom(zoom, QPoint(0, 0));
        view->ScrollTo(QPoint(view->Picture()->width() / 2, view->Picture()->height() / 2),
                       QPoint(ViewSize.width() / 2, ViewSize.height() / 2));
        ShowVisibleArea(s, p, box->VisibleTwips());
        QCoreApplication::processEvents();
    }
    ~Scene() { p.canvas.Changed = nullptr; }
};

void MouseMoveCursorLines(benchmark::State &state)
{
    Scene sc(int(state.range(0)), double(state.range(1)) / 100);
    const QRectF shown = sc.p.VisibleTwips;
    float x = float(shown.left()) + 15, y = float(shown.top()) + 15;
    for (auto _ : state) {
        x = x > shown.right() - 30 ? float(shown.left()) + 15 : x + 15;
        y = y > shown.bottom() - 30 ? float(shown.top()) + 15 : y + 15;
        Picture1_MouseMove(sc.s, sc.p, x, y);
        // Paints the dirty strips update() queued, as the event loop would.
        QCoreApplication::processEvents();
    }
    state.counters["side"] = double(state.range(0));
    state.counters["zoom_pc"] = double(state.range(1));
}
BENCHMARK(MouseMoveCursorLines)
    ->ArgsProduct({{1000, 3000, 7000, 10000}, {100, 25, 10}})
    ->Unit(benchmark::kMillisecond);

// The reference: the part of the picture shown, smoothly scaled once, as a
// view without a cache would do on every move.
void SmoothScaleShownPart(benchmark::State &state)
{
    const double zoom = double(state.range(0)) / 100;
    QImage img(Side, Side, QImage::Format_RGB32);
    img.fill(qRgb(200, 200, 200));
    const QRect shown(0, 0, std::min(Side, int(ViewSize.width() / zoom)),
                      std::min(Side, int(ViewSize.height() / zoom)));
    for (auto _ : state) {
        const QImage part = img.copy(shown).scaled(shown.size() * zoom, Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation);
        benchmark::DoNotOptimize(part.constBits());
    }
    state.counters["zoom_pc"] = double(state.range(0));
}
BENCHMARK(SmoothScaleShownPart)->Arg(25)->Arg(10)->Unit(benchmark::kMillisecond);

void ZoomStep(benchmark::State &state)
{
    Scene sc(Side, 1.0);
    Session &s = sc.s;
    // A calibrated picture with an aim point, axes, ten shots and the centroid.
    s.ImageScale = 0.01f;
    s.ImageCalibrated = true;
    s.CalPoint1X = 60000, s.CalPoint1Y = 60000, s.CalPoint2X = 90000, s.CalPoint2Y = 60000;
    s.AimX = 750, s.AimY = 750;
    s.ShowAxes = s.ShowCentroid = true;
    for (int i = 1; i <= 10; ++i) {
        ++s.ShotCount;
        s.ShotX[i] = float(i % 4) * 3;
        s.ShotY[i] = float(i % 3) * 3;
    }
    RedrawTarget(s, sc.p);
    QCoreApplication::processEvents();
    const double to = double(state.range(0)) / 100;
    bool in = false;
    const QPoint middle(ViewSize.width() / 2, ViewSize.height() / 2);
    for (auto _ : state) {
        in = !in;
        sc.view->SetZoom(in ? to : 1.0, middle);
        QCoreApplication::processEvents();
    }
    state.counters["zoom_pc"] = double(state.range(0));
}
BENCHMARK(ZoomStep)->Arg(25)->Arg(10)->Arg(400)->Unit(benchmark::kMillisecond);

void BareDecode(benchmark::State &state)
{
    RaiseAllocationLimit();
    const QString path = JpegPath();
    for (auto _ : state) {
        const double before = StatusKB("VmRSS:");
        ResetPeak();
        QImageReader reader(path);
        QImage img = reader.read();
        benchmark::DoNotOptimize(img.constBits());
        state.counters["decoded_MB"] = double(img.sizeInBytes()) / 1e6;
        state.counters["peak_growth_MB"] = (StatusKB("VmHWM:") - before) * 1024 / 1e6;
    }
}
BENCHMARK(BareDecode)->Unit(benchmark::kMillisecond)->Iterations(3);

void LoadIntoPicture(benchmark::State &state)
{
    const QString path = JpegPath();
    for (auto _ : state) {
        const double before = StatusKB("VmRSS:");
        ResetPeak();
        GraphPicture p;
        p.canvas.SetPictureSize(QSize(1600, 950));
        QString why;
        if (!p.canvas.LoadImage(path, &why)) state.SkipWithError("load failed");
        state.counters["canvas_MB"] = double(p.canvas.Image().sizeInBytes()) / 1e6;
        state.counters["peak_growth_MB"] = (StatusKB("VmHWM:") - before) * 1024 / 1e6;
    }
}
BENCHMARK(LoadIntoPicture)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char **argv) { return RunBenchmarksInApp<QApplication>(argc, argv); }
