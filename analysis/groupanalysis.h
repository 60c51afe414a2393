#pragma once
// Group figures beyond the classic report, in double precision: extreme
// spread over all pairs, mean radius, bounding box, and the Rayleigh σ with
// its confidence interval and the figures derived from it. Nothing here
// touches the session's own statistics.
#include "model/session.h"
#include "stats/groupstats.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct ShotXY {
    double x = 0, y = 0;
};

// The shots of the current group (offsets from the point of aim, Y up).
std::vector<ShotXY> GroupShots(const Session &s);
// The other way: `shots` (as many as the shot tables hold) become the group's
// shots, with their distances and the group's statistics.
void SetGroupShots(Session &s, const std::vector<ShotXY> &shots);

// σ̂ of a Rayleigh distribution from Σr² with `df` degrees of freedom, its
// interval at `level`, and what follows from it.
struct RayleighFigures {
    double Sigma = 0, SigmaLow = 0, SigmaHigh = 0;
    double CEP50 = 0, CEP50Low = 0, CEP50High = 0;
    double RayleighMR = 0, RayleighMRLow = 0, RayleighMRHigh = 0;
};

// c4(k) = sqrt(2/(k−1)) · Γ(k/2) / Γ((k−1)/2), k ≥ 2; stable for large k.
double C4(double k);
// Nothing when df < 1 or the level is not strictly between 0 and 1.
std::optional<RayleighFigures> RayleighFromSums(double sumR2, double df, double level);

// Length figures in one unit. All of them are undefined (the optional
// empty) with fewer than two shots.
struct LengthFigures {
    double ExtremeSpread = 0;
    double MeanRadius = 0;
    double BoxWidth = 0, BoxHeight = 0, FigureOfMerit = 0, BoxDiagonal = 0;
    double CenterOffset = 0; // distance of the group center from the point of aim
    RayleighFigures Rayleigh;
};

struct GroupAnalysis {
    qint32 ShotCount = 0;
    double Level = 0.95;
    QString UnitName;
    // Shot numbers (1-based) of the extreme-spread pair; the first pair in
    // shot order wins a tie.
    qint32 SpreadShotA = 0, SpreadShotB = 0;
    double CenterX = 0, CenterY = 0;
    double SumR2 = 0; // Σ rᵢ² around the group center
    std::optional<LengthFigures> Length;
    // The same figures as angles, when a range is known and the unit is one
    // that converts to inches.
    std::optional<LengthFigures> MOA, Mrad;
    std::optional<double> RangeYards;

    bool Defined() const { return Length.has_value(); }
};

constexpr double InchesPerMOAAt100 = 1.047197551;
constexpr double InchesPerMradAt100 = 3.6;

// `level` must lie strictly between 0 and 1 (callers check with ValidLevel).
GroupAnalysis AnalyzeShots(const std::vector<ShotXY> &shots, const QString &unitName,
                           std::optional<double> rangeYards, double level);
// The current group of the session, with its range when one is entered.
GroupAnalysis AnalyzeGroup(const Session &s, double level = 0.95);

bool ValidLevel(double level);

// Several groups pooled, each around its own center: Σ rᵢ² over all shots
// and df = 2 Σ(n_g − 1).
struct PooledAnalysis {
    qint32 Groups = 0;
    qint32 ShotCount = 0;
    double DegreesOfFreedom = 0;
    double SumR2 = 0; // in the groups' unit², or mrad² when pooled in angle
    double Level = 0.95;
    QString UnitName;
    // Groups shot at different ranges are pooled in angle: then there are no
    // linear figures, only MOA and mrad.
    bool InAngle = false;
    std::optional<RayleighFigures> Length;
    std::optional<RayleighFigures> MOA, Mrad;
    // The common range; nothing when none is entered or the ranges differ.
    std::optional<double> RangeYards;
    std::vector<double> Ranges; // each group's range when pooled in angle
};

// Groups at one range (or none) pool in their unit and must share it; groups
// at different ranges pool in angle and each needs a range and a unit that
// converts. Nothing, with the reason in `errorText`, when they cannot be
// pooled.
std::optional<PooledAnalysis> PoolGroups(const std::vector<GroupAnalysis> &groups,
                                         QString *errorText = nullptr,
                                         const QStringList &names = {});

// A figure as shown: three decimals, or "—" when undefined.
QString FigureText(std::optional<double> v);
extern const QString UndefinedFigure;

// The figures as the window and the text output show them: a label, then
// the value in the group's unit, in MOA and in mrad ("—" where undefined,
// empty where a figure has no angle).
struct AnalysisRow {
    QString Label;
    QString Unit, MOA, Mrad;
};
std::vector<AnalysisRow> AnalysisRows(const GroupAnalysis &a);
std::vector<AnalysisRow> PooledRows(const PooledAnalysis &p);
// "95 %" for 0.95.
QString LevelText(double level);
