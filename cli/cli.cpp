#include "cli/cli.h"

#include "cli/json.h"

#include "model/textnum.h"
#include "stats/groupstats.h"
#include "stats/report.h"

#include <cmath>

int CliPrompter::MsgBox(const QString &text, const QString &title, Buttons buttons, Icon)
{
    QString t = text;
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    err << title << ": " << t << Qt::endl;
    ++messageCount;
    // Nobody can answer here: the safe answer of each kind of box.
    return SafeAnswer(buttons);
}

std::optional<QString> CliPrompter::InputBox(const QString &, const QString &, const QString &)
{
    if (inputAnswers.empty()) return std::nullopt;
    QString a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

std::optional<QColor> CliPrompter::ChooseColor(const QColor &) { return std::nullopt; }

std::optional<QString> CliPrompter::SaveFileName(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

void PrepareSession(Session &s)
{
    SetInstallDefaults(s);
    InitReportLabels(s);
    InitReportLayout(s);
    ResetSession(s);
    FillGammaTable(s, 39);
}

QString StatsJson(const Session &s)
{
    auto shots = [&](const std::array<float, ShotCapacity + 1> &a) {
        QStringList items;
        for (qint32 k = 1; k <= s.ShotCount; ++k) items << Json::Float(a[k]);
        return Json::Array(items);
    };
    JsonObject o;
    o.Int("ShotCount", s.ShotCount)
        .Raw("ShotX", shots(s.ShotX))
        .Raw("ShotY", shots(s.ShotY))
        .Raw("ShotR", shots(s.ShotR));
    const std::pair<const char *, float> figures[] = {{"MeanX", s.MeanX},
                                                      {"MeanY", s.MeanY},
                                                      {"MeanR", s.MeanR},
                                                      {"SdX", s.SdX},
                                                      {"SdY", s.SdY},
                                                      {"SdR", s.SdR},
                                                      {"RangeX", s.RangeX},
                                                      {"RangeY", s.RangeY},
                                                      {"RangeR", s.RangeR},
                                                      {"GroupSize", s.GroupSize},
                                                      {"SpanAcrossX", s.SpanAcrossX},
                                                      {"SpanAcrossY", s.SpanAcrossY},
                                                      {"GroupCenterX", s.GroupCenterX},
                                                      {"GroupCenterY", s.GroupCenterY}};
    for (const auto &[name, v] : figures) o.Float(name, v);
    const auto moa = GroupSizeMOA(s);
    o.Raw("MOA", moa ? Json::Float(*moa) : QStringLiteral("null"));
    const std::pair<const char *, QString> texts[] = {
        {"ShooterName", s.ShooterName}, {"DateFired", s.DateFired}, {"Firearm", s.Firearm},
        {"Caliber", s.Caliber},         {"LotNumber", s.LotNumber}, {"Comments", s.Comments}};
    for (const auto &[name, v] : texts) o.Text(name, v);
    o.Float("RangeToTarget", s.RangeToTarget)
        .Text("UnitName", s.UnitName)
        .Float("ImageScale", s.ImageScale)
        .Float("AimX", s.AimX)
        .Float("AimY", s.AimY)
        .Text("ImagePath", s.ImagePath)
        .Bool("GraphicalEntryActive", s.GraphicalEntryActive)
        .Bool("ShowAxes", s.ShowAxes)
        .Bool("ShowCentroid", s.ShowCentroid)
        .Bool("FullScreenCursor", s.FullScreenCursor)
        .Int("BackColor", s.BackColor);
    return o.Str();
}

namespace {
// Every command with its usage lines; a new command adds one row.
struct CliCommand {
    const char *name;
    int (*run)(const QStringList &, CliContext &);
    const char *usage;
};

const CliCommand Commands[] = {
    {"stats", CmdStats, "stats FILE.pxs | stats --shots X,Y ... [--range YARDS] [--unit NAME]"},
    {"report", CmdReport,
     "report (FILE.pxs | --shots X,Y ... [--range YARDS] [--unit NAME]) --pdf OUT.pdf"},
    {"resave", CmdResave, "resave IN.pxs OUT.pxs"},
    {"export", CmdExport, "export FILE.pxs [--as NAME]"},
    {"critical", CmdCritical, "critical t NU SIG | critical f D1 D2 SIG"},
    {"ttest", CmdTTest, "ttest AVG_A SD_A N_A AVG_B SD_B N_B SIG"},
    {"ftest", CmdFTest, "ftest SD_A N_A SD_B N_B SIG"},
    {"analyze", CmdAnalyze,
     "analyze (FILE.pxs... | --shots X,Y ... [--range YARDS] [--unit NAME]) [--level 0.95] "
     "[--json]"},
    {"plot", CmdPlot,
     "plot (FILE.pxs | --shots X,Y ...) (--png OUT.png | --pdf OUT.pdf) [--level 0.95]"},
    {"csv", CmdCsv, "csv FILE.pxs... -o OUT.csv"},
    {"render", CmdRender, "render FILE.pxs --png OUT.png"},
    {"detect", CmdDetect,
     "detect IMAGE --bullet DIAMETER (--dpi N | --scale PIXELS_PER_UNIT) [--region X,Y,W,H] "
     "[--json]"},
    {"sheet", CmdSheet,
     "sheet IMAGE --bullet DIAMETER (--dpi N | --scale PIXELS_PER_UNIT) [--unit NAME] "
     "[--range YARDS] [--aim X,Y]... [--json]\n"
     "       peltrix-cli sheet FILE.pxsheet [--json]"},
    {"straighten", CmdStraighten,
     "straighten IMAGE --corners X1,Y1,X2,Y2,X3,Y3,X4,Y4 --size W,H [--unit NAME] [--dpi N] "
     "-o OUT.png"},
    {"log", CmdLog,
     "log add FILE.pxs... [--db PATH] [--load TEXT] [--powder TEXT] [--charge NUMBER] "
     "[--bullet TEXT] [--coal NUMBER] [--primer TEXT] [--json]\n"
     "       peltrix-cli log list [--db PATH] [--firearm TEXT] [--load TEXT] [--from YYYY-MM-DD] "
     "[--to YYYY-MM-DD] [--json]\n"
     "       peltrix-cli log compare --load A --load B [--db PATH] [--level 0.95] [--json]\n"
     "       peltrix-cli log trend [--db PATH] [--firearm TEXT] [--load TEXT] (--png OUT.png | "
     "--json)"},
    {"chrono", CmdChrono,
     "chrono FILE.csv [--unit fps|mps] [--level 0.95] [--json] [--db PATH] "
     "[--group ID | --load TEXT]"},
};

void usage(QTextStream &err)
{
    const char *lead = "usage: peltrix-cli ";
    for (const CliCommand &c : Commands) {
        err << lead << c.usage << '\n';
        lead = "       peltrix-cli ";
    }
    err << lead << "--version\n";
}
} // namespace

int RunCli(const QStringList &args, QTextStream &out, QTextStream &err)
{
    CliPrompter prompter(err);
    CliContext ctx{out, err, prompter};
    if (args.isEmpty()) {
        usage(err);
        return CliExit::Usage;
    }
    const QString cmd = args.first();
    const QStringList rest = args.mid(1);
    int rc = CliExit::Usage;
    if (cmd == QLatin1String("--version")) {
        out << ProgramVersion() << Qt::endl;
        rc = CliExit::Ok;
    }
    for (const CliCommand &c : Commands)
        if (cmd == QLatin1String(c.name)) rc = c.run(rest, ctx);
    if (rc == CliExit::Usage) usage(err);
    out.flush();
    err.flush();
    return rc;
}
