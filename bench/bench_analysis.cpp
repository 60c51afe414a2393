// Group analysis: one full group beside a plain rendering of the same
// figures, the pooled analysis of 1000 files from disk as `peltrix-cli
// analyze` does it, and the plot.
#include "analysis/groupanalysis.h"
#include "analysis/groupplot.h"
#include "benchmain.h"
#include "cli/cli.h"
#include "files/statsfile.h"
#include "stats/groupstats.h"

#include <QTemporaryDir>
#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <math.h>

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

// The same figures written plainly over two arrays: center, every pair, Σr²,
// box, and σ with its interval from the same χ² quantiles.
static double refAnalyze(const double *x, const double *y, int n)
{
    double sx = 0, sy = 0, best = 0, r2 = 0, mr = 0;
    double minX = x[0], maxX = x[0], minY = y[0], maxY = y[0];
    for (int k = 0; k < n; k++) {
        sx += x[k];
        sy += y[k];
        minX = std::min(minX, x[k]), maxX = std::max(maxX, x[k]);
        minY = std::min(minY, y[k]), maxY = std::max(maxY, y[k]);
    }
    const double cx = sx / n, cy = sy / n;
    for (int a = 0; a < n; a++)
        for (int b = a + 1; b < n; b++) {
            const double dx = x[a] - x[b], dy = y[a] - y[b];
            best = std::max(best, dx * dx + dy * dy);
        }
    for (int k = 0; k < n; k++) {
        const double d = (x[k] - cx) * (x[k] - cx) + (y[k] - cy) * (y[k] - cy);
        r2 += d;
        mr += sqrt(d);
    }
    const double df = 2.0 * (n - 1);
    const boost::math::chi_squared chi2(df);
    const double lo = sqrt(r2 / boost::math::quantile(chi2, 0.975));
    const double hi = sqrt(r2 / boost::math::quantile(chi2, 0.025));
    return sqrt(best) + mr / n + (maxX - minX) + (maxY - minY) + sqrt(r2 / df) / C4(df + 1) + lo +
           hi;
}

static void BM_ReferenceAnalyze21(benchmark::State &state)
{
    const auto shots = fullGroup(0);
    std::vector<double> x, y;
    for (const ShotXY &p : shots) x.push_back(p.x), y.push_back(p.y);
    for (auto _ : state) benchmark::DoNotOptimize(refAnalyze(x.data(), y.data(), int(x.size())));
}
BENCHMARK(BM_ReferenceAnalyze21);

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

// Inside a QGuiApplication that has painted, as on the user's path.
int main(int argc, char **argv) { return RunBenchmarksInApp(argc, argv); }
