// critical, ttest, ftest: the statistical tools on texts given as arguments,
// through the very code the two test windows run.
#include "cli/args.h"

#include "model/textnum.h"
#include "stattools/stattests.h"

#include <cmath>

namespace {
// A whole number from lo to hi, or nothing.
std::optional<qint32> wholeNumber(const QString &text, qint32 lo, qint32 hi)
{
    if (!IsNumeric(text)) return std::nullopt;
    const double v = Val(text);
    if (!(v >= lo && v <= hi) || v != std::floor(v)) return std::nullopt;
    return qint32(v);
}

int refuse(CliContext &ctx, const QString &message)
{
    ctx.prompter.MsgBox(message, InputErrorTitle, Buttons::Ok, Icon::None);
    return CliExit::Refused;
}

Session startedSession()
{
    Session s;
    PrepareSession(s);
    return s;
}

int printOutcome(const TestOutcome &r, CliContext &ctx)
{
    if (!r.computed) return CliExit::Refused;
    if (!r.caption.isEmpty())
        for (const QString &line : r.caption.split(QChar(13))) ctx.out << line << '\n';
    return CliExit::Ok;
}
} // namespace

int CmdCritical(const QStringList &args, CliContext &ctx)
{
    // Only positional texts: a negative number is one too, and every text is
    // judged as the windows judge their fields.
    const QString kind = args.value(0);
    const bool t = kind == QLatin1String("t");
    if (!t && kind != QLatin1String("f"))
        return ctx.Usage(args.isEmpty() ? QStringLiteral("t or f is required")
                                        : QStringLiteral("unknown kind ") + kind);
    if (const QString why = t ? PositionalProblem(args, {"t", "NU", "SIG"})
                              : PositionalProblem(args, {"f", "D1", "D2", "SIG"});
        !why.isEmpty())
        return ctx.Usage(why);
    const QString &sig = args.last();
    std::optional<qint32> d1, d2;
    if (t) {
        d1 = wholeNumber(args[1], 1, 38);
        if (!d1)
            return refuse(
                ctx, QStringLiteral("Degrees of freedom must be a whole number between 1 and 38."));
    } else {
        // The windows reach 19 at most; with 1 on top the density is infinite at 0.
        d1 = wholeNumber(args[1], 2, 19);
        if (!d1) return refuse(ctx, QStringLiteral("D1 must be a whole number between 2 and 19."));
        d2 = wholeNumber(args[2], 1, 19);
        if (!d2) return refuse(ctx, QStringLiteral("D2 must be a whole number between 1 and 19."));
    }
    if (const auto problem = SigLevelProblem(sig)) return refuse(ctx, *problem);
    const Session s = startedSession();
    const auto x =
        t ? CriticalT(s.GammaHalf, *d1, Val(sig)) : CriticalF(s.GammaHalf, *d1, *d2, Val(sig));
    if (x)
        ctx.out << FormatPictureD(*x, QStringLiteral("#0.0000")) << '\n';
    else
        ctx.out << "not found\n";
    return CliExit::Ok;
}

int CmdTTest(const QStringList &args, CliContext &ctx)
{
    if (const QString why =
            PositionalProblem(args, {"AVG_A", "SD_A", "N_A", "AVG_B", "SD_B", "N_B", "SIG"});
        !why.isEmpty())
        return ctx.Usage(why);
    TTestFields fields;
    fields.AverageA = args[0];
    fields.StdDevA = args[1];
    fields.NumberA = args[2];
    fields.AverageB = args[3];
    fields.StdDevB = args[4];
    fields.NumberB = args[5];
    fields.SigLevel = args[6];
    const Session s = startedSession();
    return printOutcome(ComputeTTest(fields, s.GammaHalf, ctx.prompter), ctx);
}

int CmdFTest(const QStringList &args, CliContext &ctx)
{
    if (const QString why = PositionalProblem(args, {"SD_A", "N_A", "SD_B", "N_B", "SIG"});
        !why.isEmpty())
        return ctx.Usage(why);
    FTestFields fields;
    fields.StdDevA = args[0];
    fields.NumberA = args[1];
    fields.StdDevB = args[2];
    fields.NumberB = args[3];
    fields.SigLevel = args[4];
    const Session s = startedSession();
    return printOutcome(ComputeFTest(fields, s.GammaHalf, ctx.prompter), ctx);
}
