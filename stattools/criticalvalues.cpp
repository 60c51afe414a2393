#include "stattools/criticalvalues.h"

void FillTDensity(double a, double b, double *samples, qint32 nu, double c)
{
    const double e = (nu + 1) * -0.5;
    const double width = b - a;
    const double dnu = nu;
    for (int i = 0; i < DensitySamples; ++i) {
        const double x = width * i / 10000 + a;
        samples[i] = c * std::pow(x * x / dnu + 1, e);
    }
}

void FillFDensity(double b, double *samples, qint32 d1, qint32 d2, double c)
{
    const double e = (d1 + d2) * -0.5;
    const double dd1 = d1, dd2 = d2;
    if (d1 == 2) {
        // x^0 is 1 everywhere, 0 included: one power per sample is enough.
        for (int i = 0; i < DensitySamples; ++i) {
            const double x = i * b / 10000;
            samples[i] = std::pow(dd1 * x + dd2, e) * c;
        }
        return;
    }
    const double k = (d1 - 2) * 0.5;
    for (int i = 0; i < DensitySamples; ++i) {
        const double x = i * b / 10000;
        samples[i] = std::pow(dd1 * x + dd2, e) * std::pow(x, k) * c;
    }
}

double IntegrateDensity(double a, double b, const double *samples)
{
    const double h = (b - a) / 30000;
    double odd = 0, even = 0;
    for (int i = 1; i < DensitySamples - 1; i += 2) odd += samples[i];
    for (int i = 2; i < DensitySamples - 1; i += 2) even += samples[i];
    return h * (samples[0] + samples[DensitySamples - 1] + 4 * odd + 2 * even);
}

double TConstant(const GammaTable &g, qint32 nu)
{
    return g[nu + 1] / (std::sqrt(nu * SearchPi) * g[nu]);
}

double FConstant(const GammaTable &g, qint32 d1, qint32 d2)
{
    const double c0 = g[d1 + d2] / (g[d2] * g[d1]);
    return std::pow(double(d1), d1 * 0.5) * std::pow(double(d2), d2 * 0.5) * c0;
}

std::optional<double> CriticalT(const GammaTable &g, qint32 nu, double sigLevel)
{
    const double c = TConstant(g, nu);
    DensityTable table(DensitySamples);
    return FindCriticalValue(
        TSearch, TargetProbability(sigLevel), table.data(),
        [nu, c](double a, double b, double *samples) { FillTDensity(a, b, samples, nu, c); });
}

std::optional<double> CriticalF(const GammaTable &g, qint32 d1, qint32 d2, double sigLevel)
{
    const double c = FConstant(g, d1, d2);
    DensityTable table(DensitySamples);
    return FindCriticalValue(
        FSearch, TargetProbability(sigLevel), table.data(),
        [d1, d2, c](double, double b, double *samples) { FillFDensity(b, samples, d1, d2, c); });
}
