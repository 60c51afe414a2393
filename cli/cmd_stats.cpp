// stats and report: the group from a file or from typed shots.
#include "cli/cli.h"

#include "entry/keyboardentry.h"
#include "platform/pagejob.h"
#include "platform/wholefile.h"
#include "stats/report.h"

namespace {
struct GroupArgs {
    QString file;
    QStringList shots;
    QString range;
    QString unit;
    bool haveRange = false, haveUnit = false;
    QString pdf;
};

// False on a usage error.
bool parseGroupArgs(const QStringList &args, GroupArgs &g, bool wantPdf)
{
    bool inShots = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto next = [&](QString &target) {
            if (i + 1 >= args.size()) return false;
            target = args[++i];
            return true;
        };
        if (a == QLatin1String("--shots")) {
            inShots = true;
        } else if (a == QLatin1String("--range")) {
            inShots = false;
            if (!next(g.range)) return false;
            g.haveRange = true;
        } else if (a == QLatin1String("--unit")) {
            inShots = false;
            if (!next(g.unit)) return false;
            g.haveUnit = true;
        } else if (a == QLatin1String("--pdf") && wantPdf) {
            inShots = false;
            if (!next(g.pdf)) return false;
        } else if (inShots) {
            g.shots << a;
        } else if (g.file.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            g.file = a;
        } else {
            return false;
        }
    }
    if (wantPdf && g.pdf.isEmpty()) return false;
    if (!g.file.isEmpty()) return g.shots.isEmpty() && !g.haveRange && !g.haveUnit;
    return true;
}

// The session the arguments describe; CliExit::Ok or the exit status.
int buildGroup(const GroupArgs &g, Session &s, CliContext &ctx)
{
    PrepareSession(s);
    if (!g.file.isEmpty()) return CliOpenStats(s, ctx, g.file) ? CliExit::Ok : CliExit::Refused;
    if (g.haveRange) {
        HeaderTexts h = HeaderFromSession(s);
        h.range = g.range;
        // The warning's Ok would go on without MOA; a script that names a
        // range means it, so an invalid one is refused.
        if (ValidateRange(ctx.prompter, g.range) != RangeValid) return CliExit::Refused;
        StoreHeader(s, ctx.prompter, h);
    }
    if (g.haveUnit) s.UnitName = g.unit;
    for (const QString &shot : g.shots) {
        const qsizetype comma = shot.indexOf(QLatin1Char(','));
        if (comma < 0) {
            ctx.err << "Enter X and Y Data: a shot is given as X,Y, not \"" << shot << "\""
                    << Qt::endl;
            return CliExit::Refused;
        }
        if (!AddTypedShot(s, ctx.prompter, shot.left(comma), shot.mid(comma + 1)))
            return CliExit::Refused;
    }
    return CliExit::Ok;
}
} // namespace

int CmdStats(const QStringList &args, CliContext &ctx)
{
    GroupArgs g;
    if (!parseGroupArgs(args, g, false) || (g.file.isEmpty() && args.isEmpty()))
        return CliExit::Usage;
    Session s;
    if (const int rc = buildGroup(g, s, ctx); rc != CliExit::Ok) return rc;
    ctx.out << StatsJson(s) << Qt::endl;
    return CliExit::Ok;
}

int CmdReport(const QStringList &args, CliContext &ctx)
{
    GroupArgs g;
    if (!parseGroupArgs(args, g, true)) return CliExit::Usage;
    Session s;
    if (const int rc = buildGroup(g, s, ctx); rc != CliExit::Ok) return rc;
    auto job = PageJob::Pdf(g.pdf, QStringLiteral("Peltrix Statistics"));
    if (!job || !PrintReportPage(s, *job)) {
        ctx.prompter.MsgBox(
            job ? job->ErrorText()
                : WriteFailedText(g.pdf, QStringLiteral("The page could not be started.")),
            QStringLiteral("Print"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return CliExit::Ok;
}
