#pragma once
// What analyze, plot, csv, chrono and log share.
#include "cli/args.h"

#include <QString>

extern const QString AnalysisTitle;
// The --level text as a confidence level; false (message shown under `title`)
// when it is none.
bool ReadLevel(const QString &text, double &level, CliContext &ctx,
               const QString &title = AnalysisTitle);
