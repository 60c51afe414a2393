// resave and export, and the open step the file commands share.
#include "cli/args.h"

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
    CliArgs a;
    if (!a.Parse(args, {{"--as", CliOption::Value}}) || a.Positional.size() != 1)
        return CliExit::Usage;
    Session s;
    if (!OpenGroupFile(a.Positional[0], s, ctx)) return CliExit::Refused;
    if (a.Has("--as")) ctx.prompter.inputAnswers.push_back(a.Value("--as"));
    return ExportShotData(s, ctx.prompter) ? CliExit::Ok : CliExit::Refused;
}
