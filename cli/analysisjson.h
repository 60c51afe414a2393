#pragma once
// The group analysis as the commands print it: the JSON of analyze (also
// the "analysis" and "pooled" objects of the commands that build on it) and
// the text table.
#include "analysis/groupanalysis.h"
#include "logbook/logbookstats.h"

#include <QString>

// One group; `file` is left out when null.
QString GroupAnalysisJson(const GroupAnalysis &a, const QString &file = QString());
QString PooledAnalysisJson(const PooledAnalysis &p);
// "12.5 yards" or "not entered".
QString RangeText(std::optional<double> range);
// The figures under a heading, in the unit, MOA and mrad columns.
QString AnalysisTable(const QString &heading, const QString &unit,
                      const std::vector<AnalysisRow> &rows);
// Velocity figures as chrono --json prints them, after "of" when given;
// null without any.
QString VelocityJson(const std::optional<VelocityFigures> &f, const char *of = nullptr);
