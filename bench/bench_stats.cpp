// The work every typed or clicked shot triggers: statistics and the report.
#include "benchmain.h"
#include "model/session.h"
#include "stats/groupstats.h"
#include "stats/report.h"

#include <math.h>

namespace {
Session fullGroup()
{
    Session s;
    SetInstallDefaults(s);
    InitReportLabels(s);
    InitReportLayout(s);
    ResetSession(s);
    FillGammaTable(s, 39);
    for (qint32 k = 1; k <= ShotCapacity; ++k) {
        s.ShotX[k] = 0.37f * float(k % 7) - 1.1f;
        s.ShotY[k] = 0.29f * float(k % 5) - 0.6f;
        s.ShotR[k] = RadialDistance(s.ShotX[k], s.ShotY[k]);
    }
    s.ShotCount = ShotCapacity;
    return s;
}
} // namespace

static void BM_ComputeGroupStats21(benchmark::State &state)
{
    Session s = fullGroup();
    for (auto _ : state) {
        ComputeGroupStats(s);
        benchmark::DoNotOptimize(s.GroupSize);
    }
}
BENCHMARK(BM_ComputeGroupStats21);

// The same statistics as plain C over float arrays: sums, extremes, every
// pair for the group size, squared deviations.
static float refGroupStats(const float *x, const float *y, const float *r, int n)
{
    float sx = 0, sy = 0, sr = 0, ssx = 0, ssy = 0, ssr = 0, best = 0;
    for (int k = 0; k < n; k++) {
        sx += x[k];
        sy += y[k];
        sr += r[k];
    }
    for (int a = 0; a < n; a++)
        for (int b = a + 1; b < n; b++) {
            const double dx = x[a] - x[b], dy = y[a] - y[b];
            const float d = (float)sqrt(dy * dy + dx * dx);
            if (d > best) best = d;
        }
    const float mx = sx / n, my = sy / n, mr = sr / n;
    for (int k = 0; k < n; k++) {
        ssx = (float)(ssx + (double)(x[k] - mx) * (x[k] - mx));
        ssy = (float)(ssy + (double)(y[k] - my) * (y[k] - my));
        ssr = (float)(ssr + (double)(r[k] - mr) * (r[k] - mr));
    }
    return best + (float)sqrt(ssx / (n - 1)) + (float)sqrt(ssy / (n - 1)) +
           (float)sqrt(ssr / (n - 1));
}

static void BM_ReferenceC_GroupStats21(benchmark::State &state)
{
    const Session s = fullGroup();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            refGroupStats(&s.ShotX[1], &s.ShotY[1], &s.ShotR[1], ShotCapacity));
}
BENCHMARK(BM_ReferenceC_GroupStats21);

static void BM_PrintGroupStatsRecording(benchmark::State &state)
{
    Session s = fullGroup();
    ComputeGroupStats(s);
    s.RangeEntered = true;
    RecordingSurface out(ReportFont());
    for (auto _ : state) {
        PrintGroupStats(s, out, ReportOn::Window);
        benchmark::DoNotOptimize(out.Items().size());
    }
}
BENCHMARK(BM_PrintGroupStatsRecording);

int main(int argc, char **argv) { return RunBenchmarksInApp(argc, argv); }
