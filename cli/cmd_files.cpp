// resave and export, and the open step the file commands share.
#include "cli/cli.h"

#include "files/export.h"
#include "files/statsfile.h"

bool CliOpenStats(Session &s, CliContext &ctx, const QString &path)
{
    return OpenStatsFileOrTell(s, path, ctx.prompter);
}

int CmdResave(const QStringList &args, CliContext &ctx)
{
    if (args.size() != 2 || args[0].startsWith(QLatin1String("--")) ||
        args[1].startsWith(QLatin1String("--")))
        return CliExit::Usage;
    Session s;
    PrepareSession(s);
    if (!CliOpenStats(s, ctx, args[0])) return CliExit::Refused;
    return SaveStatsFileOrTell(s, args[1], ctx.prompter) ? CliExit::Ok : CliExit::Refused;
}

int CmdExport(const QStringList &args, CliContext &ctx)
{
    QString file;
    std::optional<QString> answer;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--as")) {
            if (i + 1 >= args.size() || answer) return CliExit::Usage;
            answer = args[++i];
        } else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            file = args[i];
        } else {
            return CliExit::Usage;
        }
    }
    if (file.isEmpty()) return CliExit::Usage;
    Session s;
    PrepareSession(s);
    if (!CliOpenStats(s, ctx, file)) return CliExit::Refused;
    if (answer) ctx.prompter.inputAnswers.push_back(*answer);
    return ExportShotData(s, ctx.prompter) ? CliExit::Ok : CliExit::Refused;
}
