#include "cli/cli.h"

#include "app/textnum.h"
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
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Ok;
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

namespace {
QString jsonNumber(double v)
{
    if (!std::isfinite(v)) return QStringLiteral("null");
    return QString::number(v, 'g', 9);
}

QString jsonText(const QString &t)
{
    QString r = QStringLiteral("\"");
    for (QChar c : t) {
        switch (c.unicode()) {
        case '"':
            r += QStringLiteral("\\\"");
            break;
        case '\\':
            r += QStringLiteral("\\\\");
            break;
        case '\n':
            r += QStringLiteral("\\n");
            break;
        case '\r':
            r += QStringLiteral("\\r");
            break;
        case '\t':
            r += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                r += c;
        }
    }
    return r + QLatin1Char('"');
}

QString jsonShots(const std::array<float, ShotCapacity + 1> &a, qint32 n)
{
    QStringList parts;
    for (qint32 k = 1; k <= n; ++k) parts << jsonNumber(a[k]);
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

const char *jsonBool(bool b) { return b ? "true" : "false"; }

void usage(QTextStream &err)
{
    err << "usage: peltrix-cli stats FILE.pxs | stats --shots X,Y ... [--range YARDS] [--unit "
           "NAME]\n"
           "       peltrix-cli report (FILE.pxs | --shots X,Y ... [--range YARDS] [--unit NAME]) "
           "--pdf OUT.pdf\n"
           "       peltrix-cli resave IN.pxs OUT.pxs | export FILE.pxs [--as NAME]\n"
           "       peltrix-cli critical t NU SIG | critical f D1 D2 SIG\n"
           "       peltrix-cli ttest AVG_A SD_A N_A AVG_B SD_B N_B SIG | ftest SD_A N_A SD_B N_B "
           "SIG\n"
           "       peltrix-cli analyze (FILE.pxs... | --shots X,Y ... [--range YARDS] [--unit "
           "NAME]) [--level 0.95] [--json]\n"
           "       peltrix-cli plot (FILE.pxs | --shots X,Y ...) (--png OUT.png | --pdf OUT.pdf) "
           "[--level 0.95]\n"
           "       peltrix-cli csv FILE.pxs... -o OUT.csv\n"
           "       peltrix-cli render FILE.pxs --png OUT.png\n"
           "       peltrix-cli log add FILE.pxs... [--db PATH] [--load TEXT] [--json]\n"
           "       peltrix-cli log list [--db PATH] [--firearm TEXT] [--load TEXT] [--from "
           "YYYY-MM-DD] [--to YYYY-MM-DD] [--json]\n"
           "       peltrix-cli log compare --load A --load B [--db PATH] [--level 0.95] [--json]\n"
           "       peltrix-cli log trend [--db PATH] [--firearm TEXT] [--load TEXT] (--png OUT.png "
           "| --json)\n"
           "       peltrix-cli chrono FILE.csv [--unit fps|mps] [--level 0.95] [--json]\n"
           "       peltrix-cli --version\n";
}
} // namespace

QString StatsJson(const Session &s)
{
    const auto moa = GroupSizeMOA(s);
    QString j;
    QTextStream o(&j);
    o << "{\"ShotCount\": " << s.ShotCount << ", \"ShotX\": " << jsonShots(s.ShotX, s.ShotCount)
      << ", \"ShotY\": " << jsonShots(s.ShotY, s.ShotCount)
      << ", \"ShotR\": " << jsonShots(s.ShotR, s.ShotCount);
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
    for (const auto &[name, v] : figures) o << ", \"" << name << "\": " << jsonNumber(v);
    o << ", \"MOA\": " << (moa ? jsonNumber(*moa) : QStringLiteral("null"));
    const std::pair<const char *, QString> texts[] = {
        {"ShooterName", s.ShooterName}, {"DateFired", s.DateFired}, {"Firearm", s.Firearm},
        {"Caliber", s.Caliber},         {"LotNumber", s.LotNumber}, {"Comments", s.Comments}};
    for (const auto &[name, v] : texts) o << ", \"" << name << "\": " << jsonText(v);
    o << ", \"RangeToTarget\": " << jsonNumber(s.RangeToTarget)
      << ", \"UnitName\": " << jsonText(s.UnitName)
      << ", \"ImageScale\": " << jsonNumber(s.ImageScale) << ", \"AimX\": " << jsonNumber(s.AimX)
      << ", \"AimY\": " << jsonNumber(s.AimY) << ", \"ImagePath\": " << jsonText(s.ImagePath)
      << ", \"GraphicalEntryActive\": " << jsonBool(s.GraphicalEntryActive)
      << ", \"ShowAxes\": " << jsonBool(s.ShowAxes)
      << ", \"ShowCentroid\": " << jsonBool(s.ShowCentroid)
      << ", \"FullScreenCursor\": " << jsonBool(s.FullScreenCursor)
      << ", \"BackColor\": " << s.BackColor << "}";
    return j;
}

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
    } else if (cmd == QLatin1String("stats"))
        rc = CmdStats(rest, ctx);
    else if (cmd == QLatin1String("report"))
        rc = CmdReport(rest, ctx);
    else if (cmd == QLatin1String("resave"))
        rc = CmdResave(rest, ctx);
    else if (cmd == QLatin1String("export"))
        rc = CmdExport(rest, ctx);
    else if (cmd == QLatin1String("critical"))
        rc = CmdCritical(rest, ctx);
    else if (cmd == QLatin1String("ttest"))
        rc = CmdTTest(rest, ctx);
    else if (cmd == QLatin1String("ftest"))
        rc = CmdFTest(rest, ctx);
    else if (cmd == QLatin1String("analyze"))
        rc = CmdAnalyze(rest, ctx);
    else if (cmd == QLatin1String("plot"))
        rc = CmdPlot(rest, ctx);
    else if (cmd == QLatin1String("csv"))
        rc = CmdCsv(rest, ctx);
    else if (cmd == QLatin1String("render"))
        rc = CmdRender(rest, ctx);
    else if (cmd == QLatin1String("log"))
        rc = CmdLog(rest, ctx);
    else if (cmd == QLatin1String("chrono"))
        rc = CmdChrono(rest, ctx);
    if (rc == CliExit::Usage) usage(err);
    out.flush();
    err.flush();
    return rc;
}
