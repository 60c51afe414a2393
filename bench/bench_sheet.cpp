// A target sheet as the shooter waits for it: a letter card read from its
// JPEG file to every group's figures (marks, holes, groups, figures), beside
// a plain decode of the same file. Arguments: dots per inch, bulls (6 on a
// 2 × 3 card with three shots each, 25 on a 5 × 5 one).
#include "benchmain.h"
#include "cardgen.h"
#include "sheet/sheetwork.h"

#include <QTemporaryDir>
#include <map>

namespace {
QString CardFile(int dpi, int bulls)
{
    static QTemporaryDir dir;
    static std::map<std::pair<int, int>, QString> made;
    QString &path = made[{dpi, bulls}];
    if (path.isEmpty()) {
        CardOptions o;
        o.dpi = dpi;
        if (bulls == 25) o.columns = o.rows = 5, o.caliber = 0.224, o.spread = 0.12;
        path = dir.filePath(QStringLiteral("card-%1-%2.jpg").arg(dpi).arg(bulls));
        MakeCard(o).image.save(path, "JPG", 90);
    }
    return path;
}

void BM_SheetEndToEnd(benchmark::State &state)
{
    const int dpi = int(state.range(0)), bulls = int(state.range(1));
    const QString path = CardFile(dpi, bulls);
    for (auto _ : state) {
        TargetSheet sheet;
        sheet.PixelsPerUnit = dpi;
        sheet.BulletDiameter = bulls == 25 ? 0.224 : 0.308;
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
    const QString path = CardFile(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage image(path);
        benchmark::DoNotOptimize(image.constBits());
    }
}
} // namespace

BENCHMARK(BM_SheetEndToEnd)
    ->Args({300, 6})
    ->Args({600, 25})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);
BENCHMARK(BM_PlainDecode)
    ->Args({300, 6})
    ->Args({600, 25})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

// Inside a QGuiApplication that has painted, as on the user's path.
int main(int argc, char **argv) { return RunBenchmarksInApp(argc, argv); }
