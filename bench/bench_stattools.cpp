// The longest Compute of each test window against the plain-C rendering of
// the same search (reference_search.h), in the same painted application, so
// the figures show what the program's structure costs.
#include "benchmain.h"
#include "model/session.h"
#include "reference_search.h"
#include "stattools/stattests.h"

namespace {
class SilentPrompter : public Prompter {
public:
    int MsgBox(const QString &, const QString &, Buttons, Icon) override { return Answer::Ok; }
    std::optional<QString> InputBox(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QColor> ChooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QString> SaveFileName(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    void Beep() override {}
};

GammaTable gammaHalf()
{
    Session s;
    FillGammaTable(s, 39);
    return s.GammaHalf;
}

void BM_FTestCompute_19_19_at5(benchmark::State &state)
{
    const GammaTable g = gammaHalf();
    SilentPrompter p;
    FTestFields f;
    f.StdDevA = QStringLiteral("1.3"), f.NumberA = QStringLiteral("20");
    f.StdDevB = QStringLiteral("1"), f.NumberB = QStringLiteral("20");
    f.SigLevel = QStringLiteral("5");
    for (auto _ : state) benchmark::DoNotOptimize(ComputeFTest(f, g, p).critical);
}
BENCHMARK(BM_FTestCompute_19_19_at5)->Unit(benchmark::kMillisecond);

void BM_ReferenceC_F_19_19_at5(benchmark::State &state)
{
    const GammaTable g = gammaHalf();
    struct ref_density d = {1, 0, 19, 19, FConstant(g, 19, 19)};
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ref_search(&d, 0, 1.6, 10, 100, 1 - 5 * 0.005, &x));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_ReferenceC_F_19_19_at5)->Unit(benchmark::kMillisecond);

void BM_TTestCompute_38_at0001(benchmark::State &state)
{
    const GammaTable g = gammaHalf();
    SilentPrompter p;
    TTestFields f;
    f.AverageA = QStringLiteral("10"), f.StdDevA = QStringLiteral("2"),
    f.NumberA = QStringLiteral("20");
    f.AverageB = QStringLiteral("12"), f.StdDevB = QStringLiteral("2"),
    f.NumberB = QStringLiteral("20");
    f.SigLevel = QStringLiteral("0.001");
    for (auto _ : state) benchmark::DoNotOptimize(ComputeTTest(f, g, p).critical);
}
BENCHMARK(BM_TTestCompute_38_at0001)->Unit(benchmark::kMillisecond);

void BM_ReferenceC_T_38_at0001(benchmark::State &state)
{
    const GammaTable g = gammaHalf();
    struct ref_density d = {0, 38, 0, 0, TConstant(g, 38)};
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ref_search(&d, -7, 0, 1, 5, 1 - 0.001 * 0.005, &x));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_ReferenceC_T_38_at0001)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv) { return RunBenchmarksInApp(argc, argv); }
