#pragma once
// What the logbook computes over many groups: pooled figures of a selection,
// two loads compared with the exact F distribution, the trend over dates and
// the velocity figures. The group figures themselves come from analysis/.
#include "logbook/logbook.h"

#include <optional>
#include <vector>

struct VelocityFigures {
    qint32 N = 0;
    double Mean = 0, Min = 0, Max = 0, ExtremeSpread = 0;
    // SD with divisor n − 1 and its χ² interval on n − 1 df; none below two speeds.
    std::optional<double> Sd, SdLow, SdHigh;
    VelocityUnit Unit = VelocityUnit::Fps;
};
std::optional<VelocityFigures> ComputeVelocity(const std::vector<double> &speeds, VelocityUnit unit,
                                               double level);
double ConvertSpeed(double v, VelocityUnit from, VelocityUnit to);
// The speeds of a group's series, and of a load's, in `unit`.
std::vector<double> SpeedsOf(const std::vector<VelocitySeries> &all, qint64 groupId,
                             const QString &load, VelocityUnit unit);

// The series kept for a load (not for a group) together, in the unit of the
// first; none without any.
std::optional<VelocityFigures> LoadVelocity(const std::vector<VelocitySeries> &all,
                                            const QString &load, double level);

// The one scale a set of groups can be shown in: their unit when they share
// it and the range, else MOA when every group converts to an angle.
struct TrendScale {
    bool Angular = false;
    QString Name; // the unit name, or "MOA"
};
std::optional<TrendScale> CommonScale(const std::vector<GroupAnalysis> &groups,
                                      QString *errorText = nullptr);

struct CompareSide {
    QString Label;
    qint32 Groups = 0, Shots = 0;
    double Df = 0, S = 0;
    double Sigma = 0, SigmaLow = 0, SigmaHigh = 0; // c4-corrected, exact χ² interval
    std::optional<VelocityFigures> Velocity;
};

struct LoadComparison {
    CompareSide A, B;
    QString Scale; // the unit of s and σ
    double Level = 0.95;
    double F = 0, P = 1;
    double Ratio = 0, RatioLow = 0, RatioHigh = 0; // s_A / s_B with its F-quantile interval
    QString Verdict;
};

// Each side pooled around each group's own centre; s² = Σr²/df, df = 2(N − g).
// Nothing, with the reason, when a side has no spread or the sides share no scale.
std::optional<LoadComparison> CompareEntries(const std::vector<const LogbookEntry *> &a,
                                             const std::vector<const LogbookEntry *> &b,
                                             const QString &labelA, const QString &labelB,
                                             double level, QString *errorText = nullptr);

// The comparison as plain text, one figure a line.
QString ComparisonText(const LoadComparison &c);

struct TrendPoint {
    qint64 Id = 0;
    QDate Date;
    double Sigma = 0, SigmaLow = 0, SigmaHigh = 0, MeanRadius = 0, CenterOffset = 0;
};
struct Trend {
    TrendScale Scale;
    std::vector<TrendPoint> Points; // by date; groups of fewer than two shots left out
};
std::optional<Trend> ComputeTrend(const std::vector<const LogbookEntry *> &entries, double level,
                                  QString *errorText = nullptr);
