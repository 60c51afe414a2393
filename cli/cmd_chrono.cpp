// chrono: the velocity figures of a chronograph file, kept in the logbook
// for a group or a load when asked.
#include "cli/analysiscmd.h"
#include "cli/analysisjson.h"
#include "cli/args.h"
#include "cli/cli.h"

#include "analysis/groupanalysis.h"
#include "logbook/chronofile.h"
#include "logbook/logbookstats.h"
#include "model/json.h"
#include "model/textnum.h"

#include <QFileInfo>

namespace {
const QString Title = QStringLiteral("Velocities");

QString one(double v) { return QString::number(v, 'f', 1); }
} // namespace

int CmdChrono(const QStringList &args, CliContext &ctx)
{
    CliArgs c;
    if (!c.Parse(args, {{"--unit", CliOption::Value},
                        LevelOption,
                        JsonOption,
                        {"--db", CliOption::Value},
                        {"--group", CliOption::Value},
                        {"--load", CliOption::Value}}) ||
        !c.Expect({"FILE.csv"}) || !c.NotBoth("--group", "--load"))
        return ctx.Usage(c.Error);
    if (c.Has("--db") && !c.Has("--group") && !c.Has("--load"))
        return ctx.Usage(QStringLiteral("--db needs --group or --load"));
    const QString file = c.Positional.first(), unitText = c.Value("--unit");
    const QString levelText = c.Has("--level") ? c.Value("--level") : QStringLiteral("0.95");
    const bool json = c.Has("--json");
    if (file.isEmpty()) return ctx.Usage(QStringLiteral("FILE.csv is required"));
    std::optional<VelocityUnit> asked;
    if (!unitText.isEmpty()) {
        asked = VelocityUnitFromName(unitText);
        if (!asked) return ctx.Usage(QStringLiteral("--unit is fps or mps, not ") + unitText);
    }
    // Checked before the logbook is opened, which may make it.
    if (c.Has("--load") && c.Value("--load").simplified().isEmpty())
        return ctx.Usage(QStringLiteral("--load needs a text"));
    double level = 0;
    if (!ReadLevel(levelText, level, ctx, Title)) return CliExit::Refused;
    auto refuse = [&](const QString &text) {
        ctx.prompter.MsgBox(text, Title, Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    };
    QString why;
    auto data = ReadChronoFile(file, &why);
    if (!data)
        return refuse(QStringLiteral("%1 cannot be read as a velocity file: %2").arg(file, why));
    // The file's own unit wins for reading; --unit then names the unit wanted.
    if (!data->Unit && !asked)
        return refuse(QStringLiteral("%1 does not say whether its speeds are in feet or metres "
                                     "per second; give --unit fps or --unit mps.")
                          .arg(file));
    const VelocityUnit unit = asked.value_or(*data->Unit);
    std::vector<double> speeds;
    for (double v : data->Speeds)
        speeds.push_back(ConvertSpeed(v, data->Unit.value_or(unit), unit));
    const auto f = ComputeVelocity(speeds, unit, level);
    if (!f) return refuse(QStringLiteral("%1 holds no speeds.").arg(file));
    QString attached;
    if (c.Has("--group") || c.Has("--load")) {
        // Kept as read, in the file's own unit when it names one.
        VelocitySeries v;
        v.Unit = data->Unit.value_or(unit);
        v.Speeds = data->Speeds;
        v.Source = QFileInfo(file).absoluteFilePath();
        Logbook book;
        const QString db = LogbookDatabasePath(c.Value("--db"));
        if (c.Has("--group") && !QFileInfo::exists(db))
            return refuse(QStringLiteral("There is no logbook at %1.").arg(db));
        if (!book.Open(db)) return refuse(book.ErrorString());
        if (c.Has("--group")) {
            v.GroupId = ParseWhole(c.Value("--group")).value_or(0);
            if (v.GroupId < 1 || !book.Group(v.GroupId))
                return refuse(
                    QStringLiteral("The logbook has no group %1.").arg(c.Value("--group")));
            attached = QStringLiteral("group %1").arg(v.GroupId);
        } else {
            v.Load = c.Value("--load").simplified();
            attached = QStringLiteral("the load \"%1\"").arg(v.Load);
        }
        if (!book.AddVelocities(v)) return refuse(book.ErrorString());
    }
    if (json) {
        ctx.out << VelocityJson(f) << Qt::endl;
        return CliExit::Ok;
    }
    const QString u = QLatin1Char(' ') + VelocityUnitName(unit);
    ctx.out << "Shots    " << f->N << Qt::endl
            << "Mean     " << one(f->Mean) << u << Qt::endl
            << "SD       "
            << (f->Sd ? one(*f->Sd) + u + QStringLiteral(" (") + LevelText(level) +
                            QStringLiteral(" interval ") + one(*f->SdLow) +
                            QStringLiteral(" \u2013 ") + one(*f->SdHigh) + QLatin1Char(')')
                      : UndefinedFigure)
            << Qt::endl
            << "ES       " << one(f->ExtremeSpread) << u << Qt::endl
            << "Min      " << one(f->Min) << u << Qt::endl
            << "Max      " << one(f->Max) << u << Qt::endl;
    if (!attached.isEmpty()) ctx.out << "Kept in the logbook for " << attached << '.' << Qt::endl;
    return CliExit::Ok;
}
