// The work every typed or clicked shot triggers: statistics and the report.
#include "app/session.h"
#include "stats/groupstats.h"
#include "stats/report.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

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

static void BM_PrintGroupStatsRecording(benchmark::State &state)
{
    Session s = fullGroup();
    ComputeGroupStats(s);
    s.RangeEntered = true;
    RecordingSurface out(ReportFont());
    s.ReportTarget = &out;
    for (auto _ : state) {
        s.RenderToWindow = true;
        PrintGroupStats(s);
        s.RenderToWindow = false;
        benchmark::DoNotOptimize(out.Items().size());
    }
}
BENCHMARK(BM_PrintGroupStatsRecording);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv); // fonts need it
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
