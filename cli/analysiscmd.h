#pragma once
// What analyze, plot and csv share.
#include "cli/args.h"

#include <QString>

extern const QString AnalysisTitle;
// The --level text as a confidence level; false (message shown) when it is none.
bool ParseLevel(const QString &text, double &level, CliContext &ctx);
