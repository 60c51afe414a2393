#include "analysis/groupanalysis.h"

#include "model/textnum.h"
#include "platform/vectorstate.h"
#include "stats/groupstats.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

const QString UndefinedFigure = QStringLiteral("\u2014");

std::vector<ShotXY> GroupShots(const Session &s)
{
    std::vector<ShotXY> shots;
    const qint32 n = std::clamp<qint32>(s.ShotCount, 0, ShotCapacity);
    shots.reserve(size_t(n));
    for (qint32 k = 1; k <= n; ++k) shots.push_back({double(s.ShotX[k]), double(s.ShotY[k])});
    return shots;
}

void SetGroupShots(Session &s, const std::vector<ShotXY> &shots)
{
    s.ShotCount = 0;
    for (const ShotXY &p : shots) {
        if (s.ShotCount >= ShotCapacity) break;
        const qint32 k = ++s.ShotCount;
        s.ShotX[k] = float(p.x);
        s.ShotY[k] = float(p.y);
        s.ShotR[k] = RadialDistance(s.ShotX[k], s.ShotY[k]);
    }
    if (s.ShotCount > 1) ComputeGroupStats(s);
}

double C4(double k)
{
    // The ratio of the two Γ values overflows neither for pooled groups of
    // thousands of shots.
    return std::sqrt(2.0 / (k - 1.0)) * boost::math::tgamma_ratio(k / 2.0, (k - 1.0) / 2.0);
}

bool ValidLevel(double level) { return std::isfinite(level) && level > 0 && level < 1; }

namespace {
RayleighFigures scaled(const RayleighFigures &f, double by)
{
    return {f.Sigma * by,      f.SigmaLow * by,      f.SigmaHigh * by,
            f.CEP50 * by,      f.CEP50Low * by,      f.CEP50High * by,
            f.RayleighMR * by, f.RayleighMRLow * by, f.RayleighMRHigh * by};
}

LengthFigures scaled(const LengthFigures &f, double by)
{
    LengthFigures r;
    r.ExtremeSpread = f.ExtremeSpread * by;
    r.MeanRadius = f.MeanRadius * by;
    r.BoxWidth = f.BoxWidth * by;
    r.BoxHeight = f.BoxHeight * by;
    r.FigureOfMerit = f.FigureOfMerit * by;
    r.BoxDiagonal = f.BoxDiagonal * by;
    r.CenterOffset = f.CenterOffset * by;
    r.Rayleigh = scaled(f.Rayleigh, by);
    return r;
}

// Units per MOA and per mrad at the range, when the unit converts.
std::optional<std::pair<double, double>> angularDivisors(const QString &unit,
                                                         std::optional<double> rangeYards)
{
    const auto inches = InchesPerUnit(unit);
    if (!inches || !rangeYards || !(*rangeYards > 0) || !std::isfinite(*rangeYards))
        return std::nullopt;
    const double hundreds = *rangeYards / 100.0;
    return std::pair{hundreds * InchesPerMOAAt100 / *inches,
                     hundreds * InchesPerMradAt100 / *inches};
}

QString unitKey(const QString &unit) { return UnitKey(unit); }
} // namespace

std::optional<RayleighFigures> RayleighFromSums(double sumR2, double df, double level)
{
    if (!(df >= 1) || !ValidLevel(level) || !(sumR2 >= 0) || !std::isfinite(sumR2))
        return std::nullopt;
    const double alpha = 1.0 - level;
    const boost::math::chi_squared chi2(df);
    const double qHigh = boost::math::quantile(chi2, 1.0 - alpha / 2.0);
    const double qLow = boost::math::quantile(chi2, alpha / 2.0);
    const double c4 = C4(df + 1.0);
    RayleighFigures f;
    f.Sigma = std::sqrt(sumR2 / df) / c4;
    // Σr²/σ² follows χ² with df degrees of freedom, so these bounds are exact;
    // c4 corrects the point estimate only.
    f.SigmaLow = std::sqrt(sumR2 / qHigh);
    f.SigmaHigh = std::sqrt(sumR2 / qLow);
    const double cep = std::sqrt(2.0 * std::log(2.0));
    const double mr = std::sqrt(std::numbers::pi / 2.0);
    f.CEP50 = f.Sigma * cep;
    f.CEP50Low = f.SigmaLow * cep;
    f.CEP50High = f.SigmaHigh * cep;
    f.RayleighMR = f.Sigma * mr;
    f.RayleighMRLow = f.SigmaLow * mr;
    f.RayleighMRHigh = f.SigmaHigh * mr;
    return f;
}

GroupAnalysis AnalyzeShots(const std::vector<ShotXY> &shots, const QString &unitName,
                           std::optional<double> rangeYards, double level)
{
    const CleanVectorState clean;
    GroupAnalysis a;
    a.ShotCount = qint32(shots.size());
    a.Level = level;
    a.UnitName = unitName;
    a.RangeYards = rangeYards;
    const size_t n = shots.size();
    if (n < 2 || !ValidLevel(level)) return a;
    // A position that is no number makes every figure undefined, never NaN.
    for (const ShotXY &p : shots)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return a;

    LengthFigures f;
    double sumX = 0, sumY = 0;
    double minX = shots[0].x, maxX = minX, minY = shots[0].y, maxY = minY;
    for (const ShotXY &p : shots) {
        sumX += p.x;
        sumY += p.y;
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    a.CenterX = sumX / double(n);
    a.CenterY = sumY / double(n);
    f.CenterOffset = std::hypot(a.CenterX, a.CenterY);

    // Squared distances compare exactly as the distances do; one root at the end.
    double best = -1;
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            const double dx = shots[i].x - shots[j].x, dy = shots[i].y - shots[j].y;
            const double d2 = dx * dx + dy * dy;
            if (d2 > best) {
                best = d2;
                a.SpreadShotA = qint32(i + 1);
                a.SpreadShotB = qint32(j + 1);
            }
        }
    f.ExtremeSpread = std::sqrt(best);

    double sumR = 0, sumR2 = 0;
    for (const ShotXY &p : shots) {
        const double dx = p.x - a.CenterX, dy = p.y - a.CenterY;
        const double r2 = dx * dx + dy * dy;
        sumR2 += r2;
        sumR += std::sqrt(r2);
    }
    a.SumR2 = sumR2;
    f.MeanRadius = sumR / double(n);
    f.BoxWidth = maxX - minX;
    f.BoxHeight = maxY - minY;
    f.FigureOfMerit = (f.BoxWidth + f.BoxHeight) / 2.0;
    f.BoxDiagonal = std::hypot(f.BoxWidth, f.BoxHeight);
    const auto rayleigh = RayleighFromSums(sumR2, 2.0 * double(n - 1), level);
    if (!rayleigh) return a;
    f.Rayleigh = *rayleigh;
    a.Length = f;
    if (const auto div = angularDivisors(unitName, rangeYards)) {
        a.MOA = scaled(f, 1.0 / div->first);
        a.Mrad = scaled(f, 1.0 / div->second);
    }
    return a;
}

GroupAnalysis AnalyzeGroup(const Session &s, double level)
{
    std::optional<double> range;
    if (s.RangeEntered && s.RangeToTarget > 0) range = double(s.RangeToTarget);
    return AnalyzeShots(GroupShots(s), s.UnitName, range, level);
}

namespace {
QString groupName(const QStringList &names, size_t i)
{
    return qsizetype(i) < names.size() ? names[qsizetype(i)]
                                       : QStringLiteral("group %1").arg(i + 1);
}

// Groups at different ranges: each group's Σr² turned into mrad² at its own
// range, so that spreads at 100 and 200 yards can be added.
std::optional<PooledAnalysis> poolInAngle(const std::vector<GroupAnalysis> &groups,
                                          PooledAnalysis p, QString *errorText,
                                          const QStringList &names)
{
    p.InAngle = true;
    p.RangeYards.reset();
    for (size_t g = 0; g < groups.size(); ++g) {
        const GroupAnalysis &a = groups[g];
        const auto div = angularDivisors(a.UnitName, a.RangeYards);
        if (!div) {
            if (errorText) {
                const QString why =
                    !InchesPerUnit(a.UnitName)
                        ? QStringLiteral("its unit, %1, cannot be turned into an angle")
                              .arg(a.UnitName.trimmed())
                        : QStringLiteral("it has no range to target");
                *errorText = QStringLiteral("Groups shot at different ranges can only be pooled "
                                            "as angles, and %1 cannot: %2.")
                                 .arg(groupName(names, g), why);
            }
            return std::nullopt;
        }
        p.Ranges.push_back(*a.RangeYards);
        ++p.Groups;
        p.ShotCount += a.ShotCount;
        if (a.ShotCount >= 2) {
            p.SumR2 += a.SumR2 / (div->second * div->second);
            p.DegreesOfFreedom += 2.0 * double(a.ShotCount - 1);
        }
    }
    p.Mrad = RayleighFromSums(p.SumR2, p.DegreesOfFreedom, p.Level);
    if (p.Mrad) p.MOA = scaled(*p.Mrad, InchesPerMradAt100 / InchesPerMOAAt100);
    return p;
}
} // namespace

std::optional<PooledAnalysis> PoolGroups(const std::vector<GroupAnalysis> &groups,
                                         QString *errorText, const QStringList &names)
{
    const CleanVectorState clean;
    PooledAnalysis p;
    if (groups.empty()) return p;
    p.Level = groups.front().Level;
    p.UnitName = groups.front().UnitName;
    p.RangeYards = groups.front().RangeYards;
    for (const GroupAnalysis &a : groups)
        if (a.RangeYards != p.RangeYards) return poolInAngle(groups, p, errorText, names);
    for (size_t g = 0; g < groups.size(); ++g) {
        const GroupAnalysis &a = groups[g];
        if (unitKey(a.UnitName) != unitKey(p.UnitName)) {
            if (errorText)
                *errorText = QStringLiteral("Groups in different units cannot be pooled: %1 is in "
                                            "%2, %3 in %4.")
                                 .arg(groupName(names, 0), p.UnitName.trimmed(),
                                      groupName(names, g), a.UnitName.trimmed());
            return std::nullopt;
        }
        ++p.Groups;
        p.ShotCount += a.ShotCount;
        // A group of one shot has no spread of its own to add.
        if (a.ShotCount >= 2) {
            p.SumR2 += a.SumR2;
            p.DegreesOfFreedom += 2.0 * double(a.ShotCount - 1);
        }
    }
    p.Length = RayleighFromSums(p.SumR2, p.DegreesOfFreedom, p.Level);
    if (p.Length)
        if (const auto div = angularDivisors(p.UnitName, p.RangeYards)) {
            p.MOA = scaled(*p.Length, 1.0 / div->first);
            p.Mrad = scaled(*p.Length, 1.0 / div->second);
        }
    return p;
}

QString FigureText(std::optional<double> v)
{
    if (!v || !std::isfinite(*v)) return UndefinedFigure;
    return FormatPictureD(*v, QStringLiteral("###0.000"));
}

QString LevelText(double level)
{
    return GeneralNum(std::round(level * 1e10) / 1e8, 15) + QStringLiteral(" %");
}

namespace {
using Pick = double (*)(const LengthFigures &);
using PickR = double (*)(const RayleighFigures &);

QString figure(const std::optional<LengthFigures> &f, Pick pick)
{
    return f ? FigureText(pick(*f)) : UndefinedFigure;
}

QString interval(const std::optional<RayleighFigures> &f, PickR low, PickR high)
{
    if (!f) return UndefinedFigure;
    return FigureText(low(*f)) + QStringLiteral(" \u2013 ") + FigureText(high(*f));
}

std::optional<RayleighFigures> rayleighOf(const std::optional<LengthFigures> &f)
{
    return f ? std::optional(f->Rayleigh) : std::nullopt;
}

void addRayleighRows(std::vector<AnalysisRow> &rows, double level,
                     const std::optional<RayleighFigures> &u,
                     const std::optional<RayleighFigures> &m,
                     const std::optional<RayleighFigures> &r, bool angular)
{
    struct Fig {
        const char *label;
        PickR mid, low, high;
    };
    const Fig figs[] = {{"Rayleigh \u03c3", [](const RayleighFigures &f) { return f.Sigma; },
                         [](const RayleighFigures &f) { return f.SigmaLow; },
                         [](const RayleighFigures &f) { return f.SigmaHigh; }},
                        {"CEP (50 %)", [](const RayleighFigures &f) { return f.CEP50; },
                         [](const RayleighFigures &f) { return f.CEP50Low; },
                         [](const RayleighFigures &f) { return f.CEP50High; }},
                        {"Rayleigh Mean Radius",
                         [](const RayleighFigures &f) { return f.RayleighMR; },
                         [](const RayleighFigures &f) { return f.RayleighMRLow; },
                         [](const RayleighFigures &f) { return f.RayleighMRHigh; }}};
    const QString ivl = QStringLiteral("  ") + LevelText(level) + QStringLiteral(" interval");
    auto one = [](const std::optional<RayleighFigures> &f, PickR pick) {
        return f ? FigureText(pick(*f)) : UndefinedFigure;
    };
    for (const Fig &g : figs) {
        rows.push_back({QString::fromUtf8(g.label), one(u, g.mid),
                        angular ? one(m, g.mid) : UndefinedFigure,
                        angular ? one(r, g.mid) : UndefinedFigure});
        rows.push_back({ivl, interval(u, g.low, g.high),
                        angular ? interval(m, g.low, g.high) : UndefinedFigure,
                        angular ? interval(r, g.low, g.high) : UndefinedFigure});
    }
}
} // namespace

std::vector<AnalysisRow> AnalysisRows(const GroupAnalysis &a)
{
    std::vector<AnalysisRow> rows;
    const bool ok = a.Defined();
    rows.push_back({QStringLiteral("Shots"), QString::number(a.ShotCount), {}, {}});
    auto three = [&](const char *label, Pick pick) {
        rows.push_back({QString::fromUtf8(label), figure(a.Length, pick), figure(a.MOA, pick),
                        figure(a.Mrad, pick)});
    };
    three("Extreme Spread", [](const LengthFigures &f) { return f.ExtremeSpread; });
    rows.push_back(
        {QStringLiteral("  between shots"),
         ok ? QStringLiteral("%1 and %2").arg(a.SpreadShotA).arg(a.SpreadShotB) : UndefinedFigure,
         {},
         {}});
    rows.push_back({QStringLiteral("Group Center (X, Y)"),
                    ok ? FigureText(a.CenterX) + QStringLiteral(", ") + FigureText(a.CenterY)
                       : UndefinedFigure,
                    {},
                    {}});
    three("Offset from Aim", [](const LengthFigures &f) { return f.CenterOffset; });
    three("Mean Radius", [](const LengthFigures &f) { return f.MeanRadius; });
    three("Box Width", [](const LengthFigures &f) { return f.BoxWidth; });
    three("Box Height", [](const LengthFigures &f) { return f.BoxHeight; });
    three("Figure of Merit", [](const LengthFigures &f) { return f.FigureOfMerit; });
    three("Box Diagonal", [](const LengthFigures &f) { return f.BoxDiagonal; });
    addRayleighRows(rows, a.Level, rayleighOf(a.Length), rayleighOf(a.MOA), rayleighOf(a.Mrad),
                    true);
    return rows;
}

std::vector<AnalysisRow> PooledRows(const PooledAnalysis &p)
{
    std::vector<AnalysisRow> rows;
    rows.push_back({QStringLiteral("Groups"), QString::number(p.Groups), {}, {}});
    rows.push_back({QStringLiteral("Shots"), QString::number(p.ShotCount), {}, {}});
    rows.push_back(
        {QStringLiteral("Degrees of Freedom"), GeneralNum(p.DegreesOfFreedom, 15), {}, {}});
    addRayleighRows(rows, p.Level, p.Length, p.MOA, p.Mrad, true);
    return rows;
}
