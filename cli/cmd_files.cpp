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
    CliArgs a;
    if (!a.Parse(args, {}) || !a.Expect({"IN.pxs", "OUT.pxs"})) return ctx.Usage(a.Error);
    Session s;
    PrepareSession(s);
    if (!CliOpenStats(s, ctx, a.Positional[0])) return CliExit::Refused;
    return SaveStatsFileOrTell(s, a.Positional[1], ctx.prompter) ? CliExit::Ok : CliExit::Refused;
}

int CmdExport(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {{"--as", CliOption::Value}}) || !a.Expect({"FILE.pxs"}))
        return ctx.Usage(a.Error);
    Session s;
    if (!OpenGroupFile(a.Positional[0], s, ctx)) return CliExit::Refused;
    if (a.Has("--as")) ctx.prompter.inputAnswers.push_back(a.Value("--as"));
    return ExportShotData(s, ctx.prompter) ? CliExit::Ok : CliExit::Refused;
}
