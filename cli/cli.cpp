#include "cli/cli.h"

#include "cli/args.h"

#include "model/json.h"
#include "model/textnum.h"
#include "stats/groupstats.h"
#include "stats/report.h"

#include <QRegularExpression>
#include <algorithm>
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
// Every command with its usage lines, a line for the list of commands and its
// arguments and options ("NAME\tmeaning" lines); a new command adds one row.
struct CliCommand {
    const char *name;
    int (*run)(const QStringList &, CliContext &);
    const char *usage;
    const char *summary;
    const char *options;
};

int cmdHelp(const QStringList &args, CliContext &ctx);

const CliCommand Commands[] = {
    {"stats", CmdStats, "stats FILE.pxs | stats --shots X,Y ... [--range YARDS] [--unit NAME]",
     "the statistics of a group as one JSON object",
     "FILE.pxs\ta statistics file, opened as Open does\n"
     "--shots X,Y ...\ttyped shots, entered as keyboard entry does\n"
     "--range YARDS\tthe range to target of the typed shots\n"
     "--unit NAME\tthe unit of the typed shots, such as Inches"},
    {"report", CmdReport,
     "report (FILE.pxs | --shots X,Y ... [--range YARDS] [--unit NAME]) --pdf OUT.pdf",
     "the statistics report of a group printed into a PDF",
     "FILE.pxs\ta statistics file\n"
     "--shots X,Y ...\ttyped shots instead of a file\n"
     "--range YARDS\tthe range to target of the typed shots\n"
     "--unit NAME\tthe unit of the typed shots\n"
     "--pdf OUT.pdf\tthe PDF written"},
    {"resave", CmdResave, "resave IN.pxs OUT.pxs", "a statistics file opened and saved again",
     "IN.pxs\tthe file opened\n"
     "OUT.pxs\tthe file saved, as Save writes it"},
    {"export", CmdExport, "export FILE.pxs [--as NAME]",
     "the shot-data export of a statistics file",
     "FILE.pxs\tthe statistics file\n"
     "--as NAME\tthe name the export asks for"},
    {"critical", CmdCritical, "critical t NU SIG | critical f D1 D2 SIG",
     "critical values of t and F",
     "t NU SIG\tt with NU degrees of freedom at the significance level SIG (%)\n"
     "f D1 D2 SIG\tF with D1 and D2 degrees of freedom at SIG (%)"},
    {"ttest", CmdTTest, "ttest AVG_A SD_A N_A AVG_B SD_B N_B SIG",
     "the T-test of the averages of two samples",
     "AVG_A SD_A N_A\taverage, standard deviation and size of sample A\n"
     "AVG_B SD_B N_B\tthe same of sample B\n"
     "SIG\tthe significance level in percent"},
    {"ftest", CmdFTest, "ftest SD_A N_A SD_B N_B SIG", "the F-test of the variances of two samples",
     "SD_A N_A\tstandard deviation and size of sample A\n"
     "SD_B N_B\tthe same of sample B\n"
     "SIG\tthe significance level in percent"},
    {"analyze", CmdAnalyze,
     "analyze (FILE.pxs... | --shots X,Y ... [--range YARDS] [--unit NAME]) [--level 0.95] "
     "[--json]",
     "the group analysis of files or typed shots, pooled over several files",
     "FILE.pxs...\tstatistics files; several are also pooled\n"
     "--shots X,Y ...\ttyped shots instead of files\n"
     "--range YARDS\tthe range to target of the typed shots\n"
     "--unit NAME\tthe unit of the typed shots\n"
     "--level L\tthe confidence level of the intervals (0.95)\n"
     "--json\tone JSON object instead of a table"},
    {"plot", CmdPlot,
     "plot (FILE.pxs | --shots X,Y ...) (--png OUT.png | --pdf OUT.pdf) [--level 0.95]",
     "a group drawn to scale into a PNG or a PDF",
     "FILE.pxs\ta statistics file\n"
     "--shots X,Y ...\ttyped shots instead of a file\n"
     "--range YARDS\tthe range to target of the typed shots\n"
     "--unit NAME\tthe unit of the typed shots\n"
     "--level L\tthe confidence level of the drawn figures (0.95)\n"
     "--png OUT.png\ta picture of 900 x 900 pixels\n"
     "--pdf OUT.pdf\ta one-page PDF"},
    {"csv", CmdCsv, "csv FILE.pxs... -o OUT.csv", "every shot of the files as one table",
     "FILE.pxs...\tthe statistics files\n"
     "-o OUT.csv\tthe table written"},
    {"render", CmdRender, "render FILE.pxs --png OUT.png",
     "a group saved from graphical entry drawn into a PNG",
     "FILE.pxs\ta statistics file with a target image\n"
     "--png OUT.png\tthe picture written"},
    {"detect", CmdDetect,
     "detect IMAGE --bullet DIAMETER (--dpi N | --scale PIXELS_PER_UNIT) [--region X,Y,W,H] "
     "[--json]",
     "the bullet holes in a scanned target",
     "IMAGE\tthe scanned target\n"
     "--bullet DIAMETER\tthe bullet diameter in the unit of the scale (inches with --dpi)\n"
     "--dpi N\tthe scan's dots per inch\n"
     "--scale PIXELS_PER_UNIT\timage pixels per unit\n"
     "--region X,Y,W,H\tsearch only this rectangle of image pixels\n"
     "--json\tone JSON object instead of a table"},
    {"sheet", CmdSheet,
     "sheet IMAGE --bullet DIAMETER (--dpi N | --scale PIXELS_PER_UNIT) [--unit NAME] "
     "[--range YARDS] [--aim X,Y]... [--json]\n"
     "sheet FILE.pxsheet [--json | --pdf OUT.pdf]",
     "a card with several bulls, each group measured from its own mark",
     "IMAGE\tthe scanned card\n"
     "FILE.pxsheet\ta saved target sheet, read as saved\n"
     "--bullet DIAMETER\tthe bullet diameter in the unit\n"
     "--dpi N\tthe scan's dots per inch\n"
     "--scale PIXELS_PER_UNIT\timage pixels per unit\n"
     "--unit NAME\tthe unit (Inches)\n"
     "--range YARDS\tthe range to target\n"
     "--aim X,Y\tan aiming mark in image pixels, once per mark (found when none is given)\n"
     "--json\tone JSON object instead of tables\n"
     "--pdf OUT.pdf\tthe sheet's printed page, as Print Sheet prints it"},
    {"straighten", CmdStraighten,
     "straighten IMAGE --corners X1,Y1,X2,Y2,X3,Y3,X4,Y4 --size W,H [--unit NAME] [--dpi N] "
     "-o OUT.png",
     "a photo taken at an angle straightened into a new PNG",
     "IMAGE\tthe photo\n"
     "--corners X1,Y1,...\tthe rectangle's corners in image pixels, clockwise from the top-left\n"
     "--size W,H\tthe rectangle's width and height in the unit\n"
     "--unit NAME\tInches (the default), Centimeters or Millimeters\n"
     "--dpi N\tdots per unit of the picture (about the photo's own)\n"
     "-o OUT.png\tthe new picture"},
    {"log", CmdLog,
     "log add FILE.pxs... [--db PATH] [--load TEXT] [--powder TEXT] [--charge NUMBER] "
     "[--bullet TEXT] [--coal NUMBER] [--primer TEXT] [--json]\n"
     "log list [--db PATH] [--firearm TEXT] [--load TEXT] [--from YYYY-MM-DD] "
     "[--to YYYY-MM-DD] [--json]\n"
     "log compare --load A --load B [--db PATH] [--level 0.95] [--json]\n"
     "log trend [--db PATH] [--firearm TEXT] [--load TEXT] (--png OUT.png | --json)",
     "the logbook: groups added, listed, two loads compared, the trend",
     "add FILE.pxs...\tkeeps the groups of statistics files and target sheets\n"
     "list\tthe groups kept, oldest first\n"
     "compare\ttwo loads compared\n"
     "trend\tthe figures of each group by date\n"
     "--db PATH\tthe logbook (the one beside peltrix.ini)\n"
     "--load TEXT\tthe load's name; with list and trend a filter\n"
     "--powder TEXT\tthe load's powder\n"
     "--charge NUMBER\tthe charge in grains\n"
     "--bullet TEXT\tthe load's bullet\n"
     "--coal NUMBER\tCOAL or seating depth in inches\n"
     "--primer TEXT\tthe load's primer\n"
     "--firearm TEXT\tonly groups of this firearm\n"
     "--from YYYY-MM-DD\tonly groups fired on or after the day\n"
     "--to YYYY-MM-DD\tonly groups fired on or before the day\n"
     "--level L\tthe confidence level of the intervals (0.95)\n"
     "--png OUT.png\tthe trend chart\n"
     "--json\tJSON instead of text"},
    {"chrono", CmdChrono,
     "chrono FILE.csv [--unit fps|mps] [--level 0.95] [--json] [--db PATH] "
     "[--group ID | --load TEXT]",
     "the velocity figures of a chronograph file",
     "FILE.csv\tthe chronograph file\n"
     "--unit fps|mps\tthe unit of the figures (the file's own)\n"
     "--level L\tthe confidence level of the SD interval (0.95)\n"
     "--json\tone JSON object instead of text\n"
     "--db PATH\tthe logbook (the one beside peltrix.ini)\n"
     "--group ID\tkeeps the speeds for this group of the logbook\n"
     "--load TEXT\tkeeps the speeds for this load"},
    {"help", cmdHelp, "help [COMMAND]", "the commands, or one command's usage and options",
     "COMMAND\tthe command explained"},
};

const CliCommand *findCommand(const QString &name)
{
    for (const CliCommand &c : Commands)
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

// The usage lines of `c`; for a subcommand ("log add") only its own.
void printUsage(const CliCommand &c, const QString &command, QTextStream &s)
{
    QStringList lines = QString::fromUtf8(c.usage).split(QLatin1Char('\n'));
    const QStringList own = lines.filter(
        QRegularExpression(QStringLiteral("^%1( |$)").arg(QRegularExpression::escape(command))));
    if (!own.isEmpty()) lines = own;
    const char *lead = "usage: peltrix-cli ";
    for (const QString &line : lines) {
        s << lead << line << '\n';
        lead = "       peltrix-cli ";
    }
}

// "NAME\tmeaning" lines in two columns.
void printColumns(const QStringList &rows, QTextStream &s)
{
    qsizetype width = 0;
    for (const QString &r : rows) width = std::max(width, r.indexOf(QLatin1Char('\t')));
    for (const QString &r : rows) {
        const qsizetype tab = r.indexOf(QLatin1Char('\t'));
        s << "  " << r.left(tab).leftJustified(width + 2) << r.mid(tab + 1) << '\n';
    }
}

void printCommands(QTextStream &s)
{
    s << "usage: peltrix-cli COMMAND [ARGUMENTS]\n\n";
    QStringList rows;
    for (const CliCommand &c : Commands)
        rows << QLatin1String(c.name) + QLatin1Char('\t') + QLatin1String(c.summary);
    rows << QStringLiteral("--version\tthe program's version");
    printColumns(rows, s);
    s << "\npeltrix-cli help COMMAND, or peltrix-cli COMMAND --help, shows its options.\n";
}

void printHelp(const CliCommand &c, QTextStream &s)
{
    printUsage(c, QLatin1String(c.name), s);
    const QString summary = QString::fromUtf8(c.summary);
    s << '\n' << summary.left(1).toUpper() << summary.mid(1) << ".\n\n";
    printColumns(QString::fromUtf8(c.options).split(QLatin1Char('\n')), s);
}

int cmdHelp(const QStringList &args, CliContext &ctx)
{
    if (const QString why = PositionalProblem(args.mid(1), {}); !why.isEmpty())
        return ctx.Usage(why);
    if (args.isEmpty()) {
        printCommands(ctx.out);
        return CliExit::Ok;
    }
    const CliCommand *c = findCommand(args.first());
    if (!c) return ctx.Usage(QStringLiteral("unknown command ") + args.first());
    printHelp(*c, ctx.out);
    return CliExit::Ok;
}
} // namespace

int RunCli(const QStringList &args, QTextStream &out, QTextStream &err)
{
    CliPrompter prompter(err);
    CliContext ctx{out, err, prompter, {}, {}};
    const QString cmd = args.value(0);
    const QStringList rest = args.mid(1);
    const CliCommand *c = findCommand(cmd);
    int rc = CliExit::Ok;
    if (cmd == QLatin1String("--version")) {
        out << ProgramVersion() << Qt::endl;
    } else if (cmd == QLatin1String("--help")) {
        printCommands(out);
    } else if (!c) {
        err << (args.isEmpty() ? QStringLiteral("a command is required")
                               : QStringLiteral("unknown command ") + cmd)
            << '\n';
        printCommands(err);
        rc = CliExit::Usage;
    } else if (rest.contains(QStringLiteral("--help"))) {
        // Anywhere on the line: it is typed after whatever was there so far.
        printHelp(*c, out);
    } else {
        ctx.command = QLatin1String(c->name);
        rc = c->run(rest, ctx);
        if (rc == CliExit::Usage) {
            err << ctx.command << ": "
                << (ctx.usageError.isEmpty() ? QStringLiteral("wrong arguments") : ctx.usageError)
                << '\n';
            printUsage(*c, ctx.command, err);
        }
    }
    out.flush();
    err.flush();
    return rc;
}
