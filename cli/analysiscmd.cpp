#include "cli/analysiscmd.h"

#include "model/textnum.h"

const QString AnalysisTitle = QStringLiteral("Group Analysis");

bool ReadLevel(const QString &text, double &level, CliContext &ctx, const QString &title)
{
    if (const auto v = ParseLevel(text)) {
        level = *v;
        return true;
    }
    ctx.prompter.MsgBox(QStringLiteral("The confidence level must be a number between 0 and 1, "
                                       "such as 0.95; \"") +
                            text + QStringLiteral("\" is not."),
                        title, Buttons::Ok, Icon::Exclamation);
    return false;
}
