// A target sheet as the shooter waits for it: a 300-dpi letter card with 6
// bulls and 18 holes read from its JPEG file to every group's figures (marks,
// holes, groups, figures), beside a plain decode of the same file.
#include "benchmain.h"
#include "cardgen.h"
#include "sheet/sheetwork.h"

#include <QTemporaryDir>

namespace {
const QString &CardFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        CardOptions o;
        o.dpi = 300;
        const QString p = dir.filePath(QStringLiteral("card.jpg"));
        MakeCard(o).image.save(p, "JPG", 90);
        return p;
    }();
    return path;
}

void BM_SheetEndToEnd(benchmark::State &state)
{
    const QString path = CardFile();
    for (auto _ : state) {
        TargetSheet sheet;
        sheet.PixelsPerUnit = 300;
        sheet.BulletDiameter = 0.308;
        const auto image = ReadCardImage(path, nullptr);
        ReadCard(sheet, *image);
        const SheetFigures f = AnalyzeSheet(sheet);
        state.counters["groups"] = double(sheet.Marks.size());
        state.counters["shots"] = f.Pooled ? f.Pooled->ShotCount : 0;
        benchmark::DoNotOptimize(f);
    }
}

// The plain reference: decoding the scan, which any reading of it needs.
void BM_PlainDecode(benchmark::State &state)
{
    const QString path = CardFile();
    for (auto _ : state) {
        QImage image(path);
        benchmark::DoNotOptimize(image.constBits());
    }
}
} // namespace

BENCHMARK(BM_SheetEndToEnd)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_PlainDecode)->Unit(benchmark::kMillisecond)->MinTime(2);

int main(int argc, char **argv) { return RunBenchmarksInApp(argc, argv); }
