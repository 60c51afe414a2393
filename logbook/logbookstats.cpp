#include "logbook/logbookstats.h"

#include "analysis/groupanalysis.h"
#include "model/textnum.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>

#include <algorithm>
#include <cmath>

namespace {
constexpr double MetresPerFoot = 0.3048;

QString unitKey(const QString &u) { return u.trimmed().toCaseFolded(); }

QString num(double v, int decimals = 3) { return QString::number(v, 'f', decimals); }
} // namespace

double ConvertSpeed(double v, VelocityUnit from, VelocityUnit to)
{
    if (from == to) return v;
    return from == VelocityUnit::Fps ? v * MetresPerFoot : v / MetresPerFoot;
}

std::vector<double> SpeedsOf(const std::vector<VelocitySeries> &all, qint64 groupId,
                             const QString &load, VelocityUnit unit)
{
    std::vector<double> r;
    for (const VelocitySeries &v : all) {
        const bool mine =
            groupId ? v.GroupId == groupId
                    : v.GroupId == 0 && !load.isEmpty() && unitKey(v.Load) == unitKey(load);
        if (!mine) continue;
        for (double s : v.Speeds) r.push_back(ConvertSpeed(s, v.Unit, unit));
    }
    return r;
}

std::optional<VelocityFigures> LoadVelocity(const std::vector<VelocitySeries> &all,
                                            const QString &load, double level)
{
    for (const VelocitySeries &v : all)
        if (!v.GroupId && !load.isEmpty() && unitKey(v.Load) == unitKey(load))
            return ComputeVelocity(SpeedsOf(all, 0, load, v.Unit), v.Unit, level);
    return std::nullopt;
}

std::optional<VelocityFigures> ComputeVelocity(const std::vector<double> &speeds, VelocityUnit unit,
                                               double level)
{
    if (speeds.empty() || !ValidLevel(level)) return std::nullopt;
    VelocityFigures f;
    f.Unit = unit;
    f.N = qint32(speeds.size());
    double sum = 0;
    f.Min = f.Max = speeds.front();
    for (double v : speeds) {
        if (!std::isfinite(v)) return std::nullopt;
        sum += v;
        f.Min = std::min(f.Min, v);
        f.Max = std::max(f.Max, v);
    }
    f.Mean = sum / double(f.N);
    f.ExtremeSpread = f.Max - f.Min;
    if (f.N < 2) return f;
    double ss = 0;
    for (double v : speeds) ss += (v - f.Mean) * (v - f.Mean);
    const double df = double(f.N - 1);
    const boost::math::chi_squared chi2(df);
    const double alpha = 1 - level;
    f.Sd = std::sqrt(ss / df);
    f.SdLow = std::sqrt(ss / boost::math::quantile(chi2, 1 - alpha / 2));
    f.SdHigh = std::sqrt(ss / boost::math::quantile(chi2, alpha / 2));
    return f;
}

std::optional<TrendScale> CommonScale(const std::vector<GroupAnalysis> &groups, QString *errorText)
{
    if (groups.empty()) return TrendScale{false, QStringLiteral("Inches")};
    const GroupAnalysis &first = groups.front();
    bool oneUnit = true, allAngles = true;
    for (const GroupAnalysis &g : groups) {
        if (unitKey(g.UnitName) != unitKey(first.UnitName) || g.RangeYards != first.RangeYards)
            oneUnit = false;
        if (!InchesPerUnit(g.UnitName) || !g.RangeYards || !(*g.RangeYards > 0)) allAngles = false;
    }
    if (oneUnit) return TrendScale{false, first.UnitName.trimmed()};
    if (allAngles) return TrendScale{true, QStringLiteral("MOA")};
    if (errorText)
        *errorText = QStringLiteral("These groups are in different units or at different ranges, "
                                    "and not every one has a range and a unit that convert to "
                                    "minutes of angle.");
    return std::nullopt;
}

namespace {
// One side pooled as analysis/ pools groups, read in the chosen scale.
std::optional<CompareSide> side(const std::vector<const LogbookEntry *> &entries,
                                const QString &label, double level, const TrendScale &scale,
                                QString *errorText)
{
    CompareSide c;
    c.Label = label;
    std::vector<GroupAnalysis> groups;
    for (const LogbookEntry *e : entries) groups.push_back(AnalyzeEntry(*e, level));
    const auto p = PoolGroups(groups, errorText);
    if (!p) return std::nullopt;
    const std::optional<RayleighFigures> &f = scale.Angular ? p->MOA : p->Length;
    if (!(p->DegreesOfFreedom >= 1) || !f || !(p->SumR2 > 0)) {
        if (errorText)
            *errorText = QStringLiteral("%1 has no spread to compare: it needs groups of two or "
                                        "more shots that are not all in one place.")
                             .arg(label);
        return std::nullopt;
    }
    c.Groups = p->Groups;
    c.Shots = p->ShotCount;
    c.Df = p->DegreesOfFreedom;
    // s = √(Σr²/df) in the scale's unit; σ̂ = s / c4(df + 1).
    c.S = scale.Angular ? f->Sigma * C4(c.Df + 1) : std::sqrt(p->SumR2 / p->DegreesOfFreedom);
    c.Sigma = f->Sigma;
    c.SigmaLow = f->SigmaLow;
    c.SigmaHigh = f->SigmaHigh;
    return c;
}
} // namespace

std::optional<LoadComparison> CompareEntries(const std::vector<const LogbookEntry *> &a,
                                             const std::vector<const LogbookEntry *> &b,
                                             const QString &labelA, const QString &labelB,
                                             double level, QString *errorText)
{
    if (!ValidLevel(level)) {
        if (errorText) *errorText = QStringLiteral("The level must lie between 0 and 1.");
        return std::nullopt;
    }
    for (const auto &[entries, label] : {std::pair{&a, labelA}, std::pair{&b, labelB}})
        if (entries->empty()) {
            if (errorText)
                *errorText = QStringLiteral("The logbook has no group of %1.").arg(label);
            return std::nullopt;
        }
    std::vector<GroupAnalysis> all;
    for (const auto *side : {&a, &b})
        for (const LogbookEntry *e : *side) all.push_back(AnalyzeEntry(*e, level));
    const auto scale = CommonScale(all, errorText);
    if (!scale) return std::nullopt;
    LoadComparison c;
    c.Level = level;
    c.Scale = scale->Name;
    const auto sa = side(a, labelA, level, *scale, errorText);
    if (!sa) return std::nullopt;
    const auto sb = side(b, labelB, level, *scale, errorText);
    if (!sb) return std::nullopt;
    c.A = *sa;
    c.B = *sb;
    const boost::math::fisher_f dist(c.A.Df, c.B.Df);
    c.F = (c.A.S * c.A.S) / (c.B.S * c.B.S);
    const double lower = boost::math::cdf(dist, c.F);
    const double upper = boost::math::cdf(boost::math::complement(dist, c.F));
    c.P = std::min(1.0, 2.0 * std::min(lower, upper));
    const double alpha = 1 - level;
    c.Ratio = c.A.S / c.B.S;
    c.RatioLow = c.Ratio / std::sqrt(boost::math::quantile(dist, 1 - alpha / 2));
    c.RatioHigh = c.Ratio / std::sqrt(boost::math::quantile(dist, alpha / 2));
    const QString levelText = LevelText(level);
    if (c.P < alpha)
        c.Verdict = QStringLiteral("At the %1 level %2 groups tighter than %3: the difference "
                                   "in spread is not chance (p = %4).")
                        .arg(levelText, c.Ratio < 1 ? labelA : labelB,
                             c.Ratio < 1 ? labelB : labelA, num(c.P, 4));
    else
        c.Verdict = QStringLiteral("At the %1 level the difference between %2 and %3 may be "
                                   "chance (p = %4): shoot more groups to tell them apart.")
                        .arg(levelText, labelA, labelB, num(c.P, 4));
    return c;
}

QString ComparisonText(const LoadComparison &c)
{
    QString t;
    for (const CompareSide *s : {&c.A, &c.B}) {
        t += QStringLiteral("%1: %2 groups, %3 shots, df %4\n")
                 .arg(s->Label)
                 .arg(s->Groups)
                 .arg(s->Shots)
                 .arg(GeneralNum(s->Df, 15));
        t += QStringLiteral("  s = %1 %2, \u03c3 = %3 (%4 interval %5 \u2013 %6)\n")
                 .arg(num(s->S), c.Scale, num(s->Sigma), LevelText(c.Level), num(s->SigmaLow),
                      num(s->SigmaHigh));
        if (s->Velocity) {
            const VelocityFigures &v = *s->Velocity;
            t += QStringLiteral("  velocity: n %1, mean %2 %3, SD %4, ES %5\n")
                     .arg(v.N)
                     .arg(num(v.Mean, 1), VelocityUnitName(v.Unit),
                          v.Sd ? num(*v.Sd, 1) : UndefinedFigure, num(v.ExtremeSpread, 1));
        }
    }
    t += QStringLiteral("F = %1 on (%2, %3), p = %4 (two-sided)\n")
             .arg(num(c.F, 4), GeneralNum(c.A.Df, 15), GeneralNum(c.B.Df, 15), num(c.P, 4));
    t += QStringLiteral("\u03c3 ratio %1 / %2 = %3 (%4 interval %5 \u2013 %6)\n")
             .arg(c.A.Label, c.B.Label, num(c.Ratio, 4), LevelText(c.Level), num(c.RatioLow, 4),
                  num(c.RatioHigh, 4));
    return t + c.Verdict + QLatin1Char('\n');
}

std::optional<Trend> ComputeTrend(const std::vector<const LogbookEntry *> &entries, double level,
                                  QString *errorText)
{
    std::vector<GroupAnalysis> groups;
    std::vector<const LogbookEntry *> kept;
    for (const LogbookEntry *e : entries) {
        GroupAnalysis g = AnalyzeEntry(*e, level);
        if (!g.Defined()) continue;
        groups.push_back(std::move(g));
        kept.push_back(e);
    }
    const auto scale = CommonScale(groups, errorText);
    if (!scale) return std::nullopt;
    Trend t;
    t.Scale = *scale;
    for (size_t k = 0; k < groups.size(); ++k) {
        const LengthFigures &f = scale->Angular ? *groups[k].MOA : *groups[k].Length;
        t.Points.push_back({kept[k]->Id, kept[k]->Date, f.Rayleigh.Sigma, f.Rayleigh.SigmaLow,
                            f.Rayleigh.SigmaHigh, f.MeanRadius, f.CenterOffset});
    }
    std::stable_sort(t.Points.begin(), t.Points.end(),
                     [](const TrendPoint &x, const TrendPoint &y) { return x.Date < y.Date; });
    return t;
}
