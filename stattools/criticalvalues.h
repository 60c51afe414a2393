#pragma once
// Two-tailed critical values of Student's t and Fisher's F, found by
// integrating the density numerically and searching the upper limit digit by
// digit. The figures must come out exactly as earlier releases printed them,
// so the arithmetic follows the old order step by step (π as 3.14159265359,
// Simpson sums in index order, the step multiplied by 0.1 in double).
#include "platform/vectorstate.h"

#include <QtGlobal>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

constexpr double SearchPi = 3.14159265359;
// Samples 0 to 10000 of the density over the current interval.
constexpr int DensitySamples = 10001;
using GammaTable = std::array<double, 77>;
// One table per computation, reused by every evaluation of its search.
using DensityTable = std::vector<double>;

// Sample i = c * (x*x/nu + 1)^(-(nu+1)/2) at x = a + (b-a)*i/10000.
void FillTDensity(double a, double b, double *samples, qint32 nu, double c);
// Sample i = (d1*x + d2)^(-(d1+d2)/2) * x^((d1-2)/2) * c at x = i*b/10000.
void FillFDensity(double b, double *samples, qint32 d1, qint32 d2, double c);
// Composite Simpson rule over the 10000 sub-intervals of the table.
double IntegrateDensity(double a, double b, const double *samples);

struct CriticalSearch {
    double lower; // the lower limit of every integral
    double start;
    double firstStep;
    double cap; // an upper limit beyond this ends the search without a value
};
constexpr CriticalSearch TSearch{-7, 0, 1, 5};
constexpr CriticalSearch FSearch{0, 1.6, 10, 100};

// p for a significance level in percent: the test is two-tailed.
inline double TargetProbability(double sigLevel) { return 1 - sigLevel * 0.005; }
// The densities' normalising constants from the Γ(k/2) table.
double TConstant(const GammaTable &gammaHalf, qint32 nu);
double FConstant(const GammaTable &gammaHalf, qint32 d1, qint32 d2);

// The first point of the 0.0001 grid whose area from `lower` reaches p, or
// nothing when the area is still below p at the cap. `fill(a, b, samples)`
// fills the table for [a, b].
template <typename Fill>
std::optional<double> FindCriticalValue(const CriticalSearch &search, double p, double *samples,
                                        Fill &&fill)
{
    const CleanVectorState clean;
    const double lower = search.lower;
    double x = search.start;
    double step = search.firstStep;
    double area = 0;
    while (step > 0.0001) {
        area = 0;
        while (area < p) {
            fill(lower, x, samples);
            area = IntegrateDensity(lower, x, samples);
            // A density that cannot be evaluated gives no value rather than a wrong one.
            if (std::isnan(area)) return std::nullopt;
            x = x + step;
            if (x > search.cap) {
                area = 1000;
                step = 0;
            }
        }
        x = x - 2 * step;
        // A value below the start would step back past the lower limit,
        // where the F density is not defined; refine from the limit instead.
        if (x < lower) x = lower;
        step = step * 0.1;
    }
    x = x + 10 * step;
    if (area >= 1000) return std::nullopt;
    return x;
}

// The critical values as the tests find them, each with its own table.
// nu, d1, d2 >= 1 and within the filled part of the Γ table; d1 >= 2.
std::optional<double> CriticalT(const GammaTable &gammaHalf, qint32 nu, double sigLevel);
std::optional<double> CriticalF(const GammaTable &gammaHalf, qint32 d1, qint32 d2, double sigLevel);
