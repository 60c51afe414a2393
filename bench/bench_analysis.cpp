// Group analysis: one full group, the pooled analysis of 1000 files from disk
// as `peltrix-cli analyze` does it, and the plot.
#include "analysis/groupanalysis.h"
#include "analysis/groupplot.h"
#include "benchmain.h"
#include "cli/cli.h"
#include "files/statsfile.h"
#include "stats/groupstats.h"

#include <QTemporaryDir>

namespace {
std::vector<ShotXY> fullGroup(int seed)
{
    std::vector<ShotXY> shots;
    for (int k = 1; k <= ShotCapacity; ++k)
        shots.push_back({0.37 * ((k + seed) % 7) - 1.1, 0.29 * ((k * 3 + seed) % 5) - 0.6});
    return shots;
}
} // namespace

static void BM_AnalyzeShots21(benchmark::State &state)
{
    const auto shots = fullGroup(0);
    for (auto _ : state) {
        GroupAnalysis a = AnalyzeShots(shots, QStringLiteral("Inches"), 100.0, 0.95);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_AnalyzeShots21);

static void BM_CliAnalyze1000Files(benchmark::State &state)
{
    QTemporaryDir dir;
    QStringList args{QStringLiteral("analyze")};
    for (int f = 0; f < 1000; ++f) {
        Session s;
        PrepareSession(s);
        for (const ShotXY &p : fullGroup(f)) {
            const qint32 k = ++s.ShotCount;
            s.ShotX[k] = float(p.x);
            s.ShotY[k] = float(p.y);
            s.ShotR[k] = RadialDistance(s.ShotX[k], s.ShotY[k]);
        }
        ComputeGroupStats(s);
        s.RangeEntered = true;
        const QString path = dir.filePath(QStringLiteral("g%1.pxs").arg(f));
        SaveStatsFile(s, path);
        args << path;
    }
    args << QStringLiteral("--json");
    for (auto _ : state) {
        QString out, err;
        QTextStream o(&out), e(&err);
        if (RunCli(args, o, e) != 0) state.SkipWithError("analyze failed");
        benchmark::DoNotOptimize(out.size());
    }
}
BENCHMARK(BM_CliAnalyze1000Files)->Unit(benchmark::kMillisecond);

static void BM_RenderPlot(benchmark::State &state)
{
    const auto shots = fullGroup(0);
    const GroupAnalysis a = AnalyzeShots(shots, QStringLiteral("Inches"), 100.0, 0.95);
    for (auto _ : state) {
        QImage img = RenderGroupPlot(shots, a, QSize(900, 900));
        benchmark::DoNotOptimize(img.bits());
    }
}
BENCHMARK(BM_RenderPlot)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return RunBenchmarksInApp(argc, argv); }
