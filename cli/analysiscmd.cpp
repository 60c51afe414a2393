#include "cli/analysiscmd.h"

#include "analysis/groupanalysis.h"

const QString AnalysisTitle = QStringLiteral("Group Analysis");

bool ParseLevel(const QString &text, double &level, CliContext &ctx)
{
    bool ok = false;
    level = text.trimmed().toDouble(&ok);
    if (ok && ValidLevel(level)) return true;
    ctx.prompter.MsgBox(QStringLiteral("The confidence level must be a number between 0 and 1, "
                                       "such as 0.95; \"") +
                            text + QStringLiteral("\" is not."),
                        AnalysisTitle, Buttons::Ok, Icon::Exclamation);
    return false;
}
