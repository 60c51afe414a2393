// stats and report: the group from a file or from typed shots.
#include "cli/args.h"

#include "platform/pagejob.h"
#include "platform/wholefile.h"
#include "stats/report.h"

namespace {
// The group a stats or report line names: one file or a typed group. False
// on a usage error (in a.Error); `rc` holds the exit status of a refused group.
bool buildGroup(CliArgs &a, Session &s, CliContext &ctx, int &rc)
{
    const bool typed = HasTypedGroup(a);
    if (!ExpectGroup(a, typed, false)) return false;
    const bool ok = typed ? BuildTypedGroup(a, s, ctx) : OpenGroupFile(a.Positional[0], s, ctx);
    rc = ok ? CliExit::Ok : CliExit::Refused;
    return true;
}
} // namespace

int CmdStats(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    Session s;
    int rc = CliExit::Ok;
    if (!a.Parse(args, {ShotsOption, RangeOption, UnitOption}) || !buildGroup(a, s, ctx, rc))
        return ctx.Usage(a.Error);
    if (rc == CliExit::Ok) ctx.out << StatsJson(s) << Qt::endl;
    return rc;
}

int CmdReport(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {ShotsOption, RangeOption, UnitOption, {"--pdf", CliOption::Value}}) ||
        !a.Require({"--pdf"}))
        return ctx.Usage(a.Error);
    Session s;
    int rc = CliExit::Ok;
    if (!buildGroup(a, s, ctx, rc)) return ctx.Usage(a.Error);
    if (rc != CliExit::Ok) return rc;
    const QString pdf = a.Value("--pdf");
    auto job = PageJob::Pdf(pdf, QStringLiteral("Peltrix Statistics"));
    if (!job || !PrintReportPage(s, *job)) {
        ctx.prompter.MsgBox(
            job ? job->ErrorText()
                : WriteFailedText(pdf, QStringLiteral("The page could not be started.")),
            QStringLiteral("Print"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return CliExit::Ok;
}
