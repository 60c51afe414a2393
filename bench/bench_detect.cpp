// Hole detection as the shooter waits for it: a 10000 × 10000 JPEG scan
// against a plain decode of it by djpeg, interleaved in one run, a 300-dpi
// letter page and a 12-megapixel phone photo against Qt decoding them.
// (Accuracy is judged on real photos: eval_photos.)
#include "benchmain.h"
#include "detect/scanreader.h"
#include "synthtarget.h"

#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
QTemporaryDir &Dir()
{
    static QTemporaryDir dir;
    return dir;
}

// A synthetic card at 300 dpi, tiled to the size asked, as a JPEG file.
struct Scan {
    QString path;
    std::vector<SynthTarget> tiles;
    QSize tileSize;
};

Scan MakeScan(const char *name, QSize size, double tileInches)
{
    Scan scan;
    QImage img(size, QImage::Format_RGB32);
    img.fill(qRgb(246, 244, 236));
    QPainter p(&img);
    const int side = int(tileInches * 300);
    quint32 seed = 100;
    for (int y = 0; y + side <= size.height(); y += side)
        for (int x = 0; x + side <= size.width(); x += side) {
            SynthOptions o = SynthVariant(seed++);
            o.dpi = 300;
            o.caliber = 0.224;
            o.sizeInches = tileInches;
            o.jpegQuality = 0;
            SynthTarget t = MakeSynthTarget(o);
            p.drawImage(x, y, t.image);
            for (QPointF &s : t.shots) s += QPointF(x, y);
            scan.tiles.push_back(std::move(t));
        }
    p.end();
    scan.path = Dir().filePath(QString::fromLatin1(name));
    img.save(scan.path, "JPEG", 90);
    return scan;
}

const Scan &LargeScan()
{
    static const Scan scan = MakeScan("large.jpg", QSize(10000, 10000), 8);
    return scan;
}

const Scan &LetterPage()
{
    static const Scan scan = MakeScan("letter.jpg", QSize(2550, 3300), 4.25);
    return scan;
}

HoleRequest Request()
{
    HoleRequest r;
    r.pixelsPerUnit = 300;
    r.bulletDiameter = 0.224;
    return r;
}

double Seconds(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e9; }

void LargeScanAgainstDjpeg(benchmark::State &state)
{
    const Scan &scan = LargeScan();
    double detect = 0, djpeg = 0;
    int runs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QProcess::execute(QStringLiteral("djpeg"),
                          {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), scan.path});
        djpeg += Seconds(t);
        t.restart();
        QString why;
        const auto report = FindHolesInFile(scan.path, Request(), &why);
        benchmark::DoNotOptimize(report);
        detect += Seconds(t);
        ++runs;
        state.SetIterationTime(Seconds(t));
    }
    state.counters["detect_s"] = detect / runs;
    state.counters["djpeg_s"] = djpeg / runs;
    state.counters["ratio"] = detect / djpeg;
}
BENCHMARK(LargeScanAgainstDjpeg)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Detection of one file interleaved with a plain Qt decode of it.
void AgainstDecode(benchmark::State &state, const QString &path, const HoleRequest &request)
{
    double detect = 0, decode = 0;
    int runs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        QImage plain = QImageReader(path).read();
        benchmark::DoNotOptimize(plain);
        decode += Seconds(t);
        t.restart();
        QString why;
        const auto report = FindHolesInFile(path, request, &why);
        benchmark::DoNotOptimize(report);
        detect += Seconds(t);
        ++runs;
        state.SetIterationTime(Seconds(t));
    }
    state.counters["detect_s"] = detect / runs;
    state.counters["ratio_to_decode"] = detect / decode;
}

void LetterPageAgainstDecode(benchmark::State &state)
{
    AgainstDecode(state, LetterPage().path, Request());
}
BENCHMARK(LetterPageAgainstDecode)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
// A 12-megapixel phone photo (a real one of the test photos, enlarged the
// way a phone's camera records it) against Qt decoding it.
void PhonePhotoAgainstDecode(benchmark::State &state)
{
    static const QString path = [] {
        const QImage photo(QStringLiteral(PELTRIX_TEST_DATA "/photos/images/20230310_153712.jpg"));
        const QString out = Dir().filePath(QStringLiteral("phone.jpg"));
        photo.scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .save(out, "JPEG", 92);
        return out;
    }();
    HoleRequest r;
    r.bulletDiameter = 1;
    r.pixelsPerUnit = 23 * 4000 / 1008.0; // the photo's median hole, enlarged
    AgainstDecode(state, path, r);
}
BENCHMARK(PhonePhotoAgainstDecode)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

// Inside a QGuiApplication that has painted, as on the user's path.
int main(int argc, char **argv) { return RunBenchmarksInApp(argc, argv); }
