// The longest Compute of each test window against a minimal plain-C
// rendering of the same search (same arithmetic order, one malloc'd table,
// std::pow per sample), so the figures show what the program's structure costs.
#include "app/session.h"
#include "stattools/stattests.h"

#include <benchmark/benchmark.h>
#include <math.h>
#include <stdlib.h>

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

// ---- the reference, written as plain C ----
struct ref_density {
    int kind; /* 0: t, 1: F */
    int nu, d1, d2;
    double c;
};

static void ref_fill(const struct ref_density *d, double a, double b, double *f)
{
    int i;
    if (d->kind == 0) {
        double e = (d->nu + 1) * -0.5;
        for (i = 0; i <= 10000; i++) {
            double x = (b - a) * i / 10000 + a;
            f[i] = d->c * pow(x * x / d->nu + 1, e);
        }
    } else {
        double e = (d->d1 + d->d2) * -0.5, k = (d->d1 - 2) * 0.5;
        for (i = 0; i <= 10000; i++) {
            double x = i * b / 10000;
            f[i] = pow(d->d1 * x + d->d2, e) * pow(x, k) * d->c;
        }
    }
}

static double ref_integrate(double a, double b, const double *f)
{
    double h = (b - a) / 30000, odd = 0, even = 0;
    int i;
    for (i = 1; i < 10000; i += 2) odd += f[i];
    for (i = 2; i < 10000; i += 2) even += f[i];
    return h * (f[0] + f[10000] + 4 * odd + 2 * even);
}

/* Returns 0 when not found. */
static int ref_search(const struct ref_density *d, double L, double x0, double s0, double X,
                      double p, double *out)
{
    double *f = (double *)malloc(10001 * sizeof(double));
    double x = x0, step = s0, area = 0;
    if (!f) return 0;
    while (step > 0.0001) {
        area = 0;
        while (area < p) {
            ref_fill(d, L, x, f);
            area = ref_integrate(L, x, f);
            x = x + step;
            if (x > X) {
                area = 1000;
                step = 0;
            }
        }
        x = x - 2 * step;
        if (x < L) x = L;
        step = step * 0.1;
    }
    free(f);
    *out = x + 10 * step;
    return area < 1000;
}
// ---- end of the reference ----

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

BENCHMARK_MAIN();
