// csv: every shot of the files as one table.
#include "cli/args.h"
#include "model/json.h"
#include "platform/wholefile.h"

namespace {
QString csvField(const QString &t)
{
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')) &&
        !t.contains(QLatin1Char('\n')) && !t.contains(QLatin1Char('\r')))
        return t;
    QString q = t;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}
} // namespace

int CmdCsv(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {{"-o", CliOption::Value}}) || !a.Expect({"FILE.pxs..."}) ||
        !a.Require({"-o"}))
        return ctx.Usage(a.Error);
    const QString output = a.Value("-o");
    QString text = QStringLiteral("file,shooter,date,firearm,caliber,lot,range,unit,shot,x,y,r\n");
    for (const QString &file : a.Positional) {
        Session s;
        if (!OpenGroupFile(file, s, ctx)) return CliExit::Refused;
        const QString head = csvField(file) + QLatin1Char(',') +
                             QStringList{csvField(s.ShooterName.trimmed()),
                                         csvField(s.DateFired.trimmed()),
                                         csvField(s.Firearm.trimmed()),
                                         csvField(s.Caliber.trimmed()),
                                         csvField(s.LotNumber.trimmed()),
                                         s.RangeEntered ? Json::Number(s.RangeToTarget) : QString(),
                                         csvField(s.UnitName.trimmed())}
                                 .join(QLatin1Char(','));
        for (qint32 k = 1; k <= s.ShotCount && k <= ShotCapacity; ++k)
            text += head + QLatin1Char(',') + QString::number(k) + QLatin1Char(',') +
                    Json::Number(s.ShotX[k]) + QLatin1Char(',') + Json::Number(s.ShotY[k]) +
                    QLatin1Char(',') + Json::Number(s.ShotR[k]) + QLatin1Char('\n');
    }
    return WriteWholeFileOrTell(output, text.toUtf8(), ctx.prompter, QStringLiteral("Export"))
               ? CliExit::Ok
               : CliExit::Refused;
}
