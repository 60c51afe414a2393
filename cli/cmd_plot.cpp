// plot: one group drawn to scale as the Group Analysis window draws it.
#include "cli/analysiscmd.h"

#include "analysis/groupanalysis.h"
#include "analysis/groupplot.h"

#include <QFileInfo>

int CmdPlot(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {ShotsOption,
                        RangeOption,
                        UnitOption,
                        LevelOption,
                        {"--png", CliOption::Value},
                        {"--pdf", CliOption::Value}}) ||
        !a.OneOf("--png", "--pdf"))
        return ctx.Usage(a.Error);
    const bool typed =
        !a.Values(ShotsOption.name).isEmpty() || a.Has(RangeOption.name) || a.Has(UnitOption.name);
    if (!ExpectGroup(a, typed, false)) return ctx.Usage(a.Error);
    double level = 0.95;
    if (a.Has(LevelOption.name) && !ReadLevel(a.Value(LevelOption.name), level, ctx))
        return CliExit::Refused;
    Session s;
    const QString file = a.Positional.value(0);
    if (file.isEmpty() ? !BuildTypedGroup(a, s, ctx) : !OpenGroupFile(file, s, ctx))
        return CliExit::Refused;
    const GroupAnalysis g = AnalyzeGroup(s, level);
    const auto shots = GroupShots(s);
    QString why;
    const bool pdf = a.Has("--pdf");
    const QString out = a.Value(pdf ? "--pdf" : "--png");
    const QString title = file.isEmpty()
                              ? AnalysisTitle
                              : AnalysisTitle + QStringLiteral(": ") + QFileInfo(file).fileName();
    const bool ok =
        pdf ? SavePlotPdf(out, shots, g, title, &why) : SavePlotPng(out, shots, g, &why);
    if (!ok) {
        ctx.prompter.MsgBox(why, QStringLiteral("Save Plot"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return CliExit::Ok;
}
