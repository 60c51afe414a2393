// analyze: the group analysis of files or of typed shots, pooled over files.
#include "cli/analysiscmd.h"
#include "cli/analysisjson.h"

#include "model/textnum.h"

namespace {
// A typed group needs at least a shot, a range or a unit to be one.
bool namesTypedGroup(const CliArgs &a)
{
    return !a.Values(ShotsOption.name).isEmpty() || a.Has(RangeOption.name) ||
           a.Has(UnitOption.name);
}
} // namespace

int CmdAnalyze(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {ShotsOption, RangeOption, UnitOption, LevelOption, JsonOption}) ||
        !ExpectGroup(a, namesTypedGroup(a), true))
        return ctx.Usage(a.Error);
    const QStringList &files = a.Positional;
    double level = 0.95;
    if (a.Has(LevelOption.name) && !ReadLevel(a.Value(LevelOption.name), level, ctx))
        return CliExit::Refused;
    const bool json = a.Has(JsonOption.name);

    if (files.isEmpty()) {
        Session s;
        if (!BuildTypedGroup(a, s, ctx)) return CliExit::Refused;
        const GroupAnalysis g = AnalyzeGroup(s, level);
        if (json)
            ctx.out << GroupAnalysisJson(g) << Qt::endl;
        else
            ctx.out << AnalysisTable(QStringLiteral("Range: ") + RangeText(g.RangeYards),
                                     g.UnitName, AnalysisRows(g));
        return CliExit::Ok;
    }

    std::vector<GroupAnalysis> groups;
    groups.reserve(size_t(files.size()));
    for (const QString &file : files) {
        Session s;
        if (!OpenGroupFile(file, s, ctx)) return CliExit::Refused;
        groups.push_back(AnalyzeGroup(s, level));
    }
    std::optional<PooledAnalysis> pooled;
    if (groups.size() > 1) {
        QString why;
        pooled = PoolGroups(groups, &why, files);
        if (!pooled) {
            ctx.prompter.MsgBox(why, AnalysisTitle, Buttons::Ok, Icon::Exclamation);
            return CliExit::Refused;
        }
    }
    QString text;
    if (json) {
        if (!pooled) {
            text = GroupAnalysisJson(groups.front(), files.front());
        } else {
            QStringList parts;
            for (size_t i = 0; i < groups.size(); ++i)
                parts << GroupAnalysisJson(groups[i], files[qsizetype(i)]);
            text = QStringLiteral("{\"Groups\": [") + parts.join(QStringLiteral(", ")) +
                   QStringLiteral("], \"Pooled\": ") + PooledAnalysisJson(*pooled) +
                   QLatin1Char('}');
        }
        text += QLatin1Char('\n');
    } else {
        QStringList blocks;
        for (size_t i = 0; i < groups.size(); ++i)
            blocks << AnalysisTable(files[qsizetype(i)] + QStringLiteral(" (range: ") +
                                        RangeText(groups[i].RangeYards) + QLatin1Char(')'),
                                    groups[i].UnitName, AnalysisRows(groups[i]));
        if (pooled && pooled->InAngle) {
            QStringList ranges;
            for (double r : pooled->Ranges) ranges << GeneralNum(r, 7);
            blocks << AnalysisTable(QStringLiteral("Pooled in angle, each group around its own "
                                                   "center at its own range (") +
                                        ranges.join(QStringLiteral(", ")) +
                                        QStringLiteral(" yards)"),
                                    QString(), PooledRows(*pooled));
        } else if (pooled) {
            blocks << AnalysisTable(
                QStringLiteral("Pooled, each group around its own center (range: ") +
                    RangeText(pooled->RangeYards) + QLatin1Char(')'),
                pooled->UnitName, PooledRows(*pooled));
        }
        text = blocks.join(QLatin1Char('\n'));
    }
    ctx.out << text;
    ctx.out.flush();
    return CliExit::Ok;
}
