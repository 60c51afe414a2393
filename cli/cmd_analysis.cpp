// analyze, plot and csv: the group analysis of files or typed shots.
#include "cli/cli.h"

#include "analysis/groupanalysis.h"
#include "analysis/groupplot.h"
#include "app/textnum.h"
#include "entry/keyboardentry.h"

#include <QFileInfo>
#include <QSaveFile>

#include <charconv>
#include <cmath>

namespace {
const QString Title = QStringLiteral("Group Analysis");

// Shortest text that reads back to the same value.
template <typename T> QString shortest(T v)
{
    if (!std::isfinite(v)) return QStringLiteral("null");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

QString jsonText(const QString &t)
{
    QString r = QStringLiteral("\"");
    for (QChar c : t) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            r += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r + QLatin1Char('"');
}

class JsonObject {
public:
    JsonObject &add(const char *key, const QString &raw)
    {
        parts << QLatin1Char('"') + QLatin1String(key) + QStringLiteral("\": ") + raw;
        return *this;
    }
    JsonObject &num(const char *key, std::optional<double> v)
    {
        return add(key, v ? shortest(*v) : QStringLiteral("null"));
    }
    QString text() const
    {
        return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
    }

private:
    QStringList parts;
};

void addRayleigh(JsonObject &o, const std::optional<RayleighFigures> &f)
{
    auto v = [&](double RayleighFigures::*m) {
        return f ? std::optional<double>((*f).*m) : std::nullopt;
    };
    o.num("Sigma", v(&RayleighFigures::Sigma))
        .num("SigmaLow", v(&RayleighFigures::SigmaLow))
        .num("SigmaHigh", v(&RayleighFigures::SigmaHigh))
        .num("CEP50", v(&RayleighFigures::CEP50))
        .num("CEP50Low", v(&RayleighFigures::CEP50Low))
        .num("CEP50High", v(&RayleighFigures::CEP50High))
        .num("RayleighMR", v(&RayleighFigures::RayleighMR))
        .num("RayleighMRLow", v(&RayleighFigures::RayleighMRLow))
        .num("RayleighMRHigh", v(&RayleighFigures::RayleighMRHigh));
}

void addLength(JsonObject &o, const std::optional<LengthFigures> &f)
{
    auto v = [&](double LengthFigures::*m) {
        return f ? std::optional<double>((*f).*m) : std::nullopt;
    };
    o.num("ExtremeSpread", v(&LengthFigures::ExtremeSpread))
        .num("MeanRadius", v(&LengthFigures::MeanRadius))
        .num("CenterOffset", v(&LengthFigures::CenterOffset))
        .num("BoxWidth", v(&LengthFigures::BoxWidth))
        .num("BoxHeight", v(&LengthFigures::BoxHeight))
        .num("FigureOfMerit", v(&LengthFigures::FigureOfMerit))
        .num("BoxDiagonal", v(&LengthFigures::BoxDiagonal));
    addRayleigh(o, f ? std::optional(f->Rayleigh) : std::nullopt);
}

bool angularKnown(const QString &unit, std::optional<double> range)
{
    return InchesPerUnit(unit) && range && *range > 0;
}

QString groupJson(const GroupAnalysis &a, const QString &file)
{
    JsonObject o;
    if (!file.isNull()) o.add("File", jsonText(file));
    o.add("ShotCount", QString::number(a.ShotCount))
        .add("UnitName", jsonText(a.UnitName.trimmed()))
        .num("RangeToTarget", a.RangeYards)
        .num("Level", a.Level);
    const bool ok = a.Defined();
    o.add("ExtremeSpreadShots",
          ok ? QStringLiteral("[%1, %2]").arg(a.SpreadShotA).arg(a.SpreadShotB)
             : QStringLiteral("null"));
    o.num("CenterX", ok ? std::optional(a.CenterX) : std::nullopt)
        .num("CenterY", ok ? std::optional(a.CenterY) : std::nullopt);
    addLength(o, a.Length);
    if (angularKnown(a.UnitName, a.RangeYards)) {
        JsonObject moa, mrad;
        addLength(moa, a.MOA);
        addLength(mrad, a.Mrad);
        o.add("MOA", moa.text()).add("Mrad", mrad.text());
    }
    return o.text();
}

QString pooledJson(const PooledAnalysis &p)
{
    JsonObject o;
    o.add("Groups", QString::number(p.Groups))
        .add("ShotCount", QString::number(p.ShotCount))
        .num("DegreesOfFreedom", p.DegreesOfFreedom)
        .add("UnitName", jsonText(p.UnitName.trimmed()))
        .num("RangeToTarget", p.RangeYards)
        .num("Level", p.Level);
    addRayleigh(o, p.Length);
    if (angularKnown(p.UnitName, p.RangeYards)) {
        JsonObject moa, mrad;
        addRayleigh(moa, p.MOA);
        addRayleigh(mrad, p.Mrad);
        o.add("MOA", moa.text()).add("Mrad", mrad.text());
    }
    return o.text();
}

QString pad(const QString &t, int width, bool right)
{
    if (t.size() >= width) return t;
    const QString fill(width - t.size(), QLatin1Char(' '));
    return right ? fill + t : t + fill;
}

QString tableText(const QString &heading, const QString &unit, const std::vector<AnalysisRow> &rows)
{
    QString t = heading + QLatin1Char('\n');
    t += pad(QString(), 26, false) + pad(unit.trimmed(), 18, true) +
         pad(QStringLiteral("MOA"), 18, true) + pad(QStringLiteral("mrad"), 18, true) +
         QLatin1Char('\n');
    for (const AnalysisRow &r : rows) {
        QString line = pad(r.Label, 26, false) + pad(r.Unit, 18, true) + pad(r.MOA, 18, true) +
                       pad(r.Mrad, 18, true);
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        t += line + QLatin1Char('\n');
    }
    return t;
}

QString rangeText(std::optional<double> range)
{
    return range ? GeneralNum(*range, 7) + QStringLiteral(" yards") : QStringLiteral("not entered");
}

struct AnalyzeArgs {
    QStringList files, shots;
    QString range, unit, level = QStringLiteral("0.95");
    bool haveRange = false, haveUnit = false, haveLevel = false, json = false;
    QString png, pdf, output;
};

// False on a usage error. `extra` names the options this command takes
// beyond files, --level and the typed group.
bool parseArgs(const QStringList &args, AnalyzeArgs &g, const QStringList &extra)
{
    bool inShots = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto next = [&](QString &target) {
            if (i + 1 >= args.size()) return false;
            target = args[++i];
            return true;
        };
        const bool isOption = a.startsWith(QLatin1String("--")) || a == QLatin1String("-o");
        if (isOption && a != QLatin1String("--shots") && a != QLatin1String("--level") &&
            a != QLatin1String("--range") && a != QLatin1String("--unit") && !extra.contains(a))
            return false;
        if (a == QLatin1String("--shots"))
            inShots = true;
        else if (a == QLatin1String("--json"))
            g.json = true;
        else if (a == QLatin1String("--level")) {
            if (!next(g.level)) return false;
            g.haveLevel = true;
        } else if (a == QLatin1String("--range")) {
            if (!next(g.range)) return false;
            g.haveRange = true;
        } else if (a == QLatin1String("--unit")) {
            if (!next(g.unit)) return false;
            g.haveUnit = true;
        } else if (a == QLatin1String("--png")) {
            if (!next(g.png)) return false;
        } else if (a == QLatin1String("--pdf")) {
            if (!next(g.pdf)) return false;
        } else if (a == QLatin1String("-o")) {
            if (!next(g.output)) return false;
        } else if (inShots)
            g.shots << a;
        else
            g.files << a;
        if (isOption && a != QLatin1String("--shots")) inShots = false;
    }
    if (!g.files.isEmpty()) return g.shots.isEmpty() && !g.haveRange && !g.haveUnit;
    return !g.shots.isEmpty() || g.haveRange || g.haveUnit;
}

bool parseLevel(const QString &text, double &level, CliContext &ctx)
{
    bool ok = false;
    level = text.trimmed().toDouble(&ok);
    if (ok && ValidLevel(level)) return true;
    ctx.prompter.MsgBox(QStringLiteral("The confidence level must be a number between 0 and 1, "
                                       "such as 0.95; \"") +
                            text + QStringLiteral("\" is not."),
                        Title, Buttons::Ok, Icon::Exclamation);
    return false;
}

// The typed group, validated as keyboard entry validates it.
bool typedGroup(const AnalyzeArgs &g, Session &s, CliContext &ctx)
{
    PrepareSession(s);
    if (g.haveRange) {
        HeaderTexts h = HeaderFromSession(s);
        h.range = g.range;
        if (ValidateRange(ctx.prompter, g.range) != RangeValid) return false;
        StoreHeader(s, ctx.prompter, h);
    }
    if (g.haveUnit) s.UnitName = g.unit;
    for (const QString &shot : g.shots) {
        const qsizetype comma = shot.indexOf(QLatin1Char(','));
        if (comma < 0) {
            ctx.err << "Enter X and Y Data: a shot is given as X,Y, not \"" << shot << "\""
                    << Qt::endl;
            return false;
        }
        if (!AddTypedShot(s, ctx.prompter, shot.left(comma), shot.mid(comma + 1))) return false;
    }
    return true;
}

bool openFile(Session &s, const QString &path, CliContext &ctx)
{
    PrepareSession(s);
    return CliOpenStats(s, ctx, path);
}

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

int CmdAnalyze(const QStringList &args, CliContext &ctx)
{
    AnalyzeArgs g;
    if (!parseArgs(args, g, {QStringLiteral("--json")})) return CliExit::Usage;
    double level = 0.95;
    if (!parseLevel(g.level, level, ctx)) return CliExit::Refused;

    if (g.files.isEmpty()) {
        Session s;
        if (!typedGroup(g, s, ctx)) return CliExit::Refused;
        const GroupAnalysis a = AnalyzeGroup(s, level);
        if (g.json)
            ctx.out << groupJson(a, QString()) << Qt::endl;
        else
            ctx.out << tableText(QStringLiteral("Range: ") + rangeText(a.RangeYards), a.UnitName,
                                 AnalysisRows(a));
        return CliExit::Ok;
    }

    std::vector<GroupAnalysis> groups;
    groups.reserve(size_t(g.files.size()));
    for (const QString &file : g.files) {
        Session s;
        if (!openFile(s, file, ctx)) return CliExit::Refused;
        groups.push_back(AnalyzeGroup(s, level));
    }
    std::optional<PooledAnalysis> pooled;
    if (groups.size() > 1) {
        QString why;
        pooled = PoolGroups(groups, &why, g.files);
        if (!pooled) {
            ctx.prompter.MsgBox(why, Title, Buttons::Ok, Icon::Exclamation);
            return CliExit::Refused;
        }
    }
    QString text;
    if (g.json) {
        if (!pooled) {
            text = groupJson(groups.front(), g.files.front());
        } else {
            QStringList parts;
            for (size_t i = 0; i < groups.size(); ++i)
                parts << groupJson(groups[i], g.files[qsizetype(i)]);
            text = QStringLiteral("{\"Groups\": [") + parts.join(QStringLiteral(", ")) +
                   QStringLiteral("], \"Pooled\": ") + pooledJson(*pooled) + QLatin1Char('}');
        }
        text += QLatin1Char('\n');
    } else {
        QStringList blocks;
        for (size_t i = 0; i < groups.size(); ++i)
            blocks << tableText(g.files[qsizetype(i)] + QStringLiteral(" (range: ") +
                                    rangeText(groups[i].RangeYards) + QLatin1Char(')'),
                                groups[i].UnitName, AnalysisRows(groups[i]));
        if (pooled)
            blocks << tableText(
                QStringLiteral("Pooled, each group around its own center (range: ") +
                    rangeText(pooled->RangeYards) + QLatin1Char(')'),
                pooled->UnitName, PooledRows(*pooled));
        text = blocks.join(QLatin1Char('\n'));
    }
    ctx.out << text;
    ctx.out.flush();
    return CliExit::Ok;
}

int CmdPlot(const QStringList &args, CliContext &ctx)
{
    AnalyzeArgs g;
    if (!parseArgs(args, g, {QStringLiteral("--png"), QStringLiteral("--pdf")}))
        return CliExit::Usage;
    if (g.png.isEmpty() == g.pdf.isEmpty()) return CliExit::Usage;
    if (g.files.size() > 1) return CliExit::Usage;
    double level = 0.95;
    if (!parseLevel(g.level, level, ctx)) return CliExit::Refused;
    Session s;
    if (g.files.isEmpty() ? !typedGroup(g, s, ctx) : !openFile(s, g.files.front(), ctx))
        return CliExit::Refused;
    const GroupAnalysis a = AnalyzeGroup(s, level);
    const auto shots = GroupShots(s);
    QString why;
    const QString out = g.png.isEmpty() ? g.pdf : g.png;
    const QString title =
        g.files.isEmpty() ? Title
                          : Title + QStringLiteral(": ") + QFileInfo(g.files.front()).fileName();
    const bool ok = g.png.isEmpty() ? SavePlotPdf(out, shots, a, title, &why)
                                    : SavePlotPng(out, shots, a, &why);
    if (!ok) {
        ctx.prompter.MsgBox(QStringLiteral("The plot could not be saved to ") + out +
                                QStringLiteral(": ") + why,
                            QStringLiteral("Save Plot"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return CliExit::Ok;
}

int CmdCsv(const QStringList &args, CliContext &ctx)
{
    AnalyzeArgs g;
    if (!parseArgs(args, g, {QStringLiteral("-o")}) || g.files.isEmpty() || g.output.isEmpty() ||
        g.haveLevel)
        return CliExit::Usage;
    QString text = QStringLiteral("file,shooter,date,firearm,caliber,lot,range,unit,shot,x,y,r\n");
    for (const QString &file : g.files) {
        Session s;
        if (!openFile(s, file, ctx)) return CliExit::Refused;
        const QString head = csvField(file) + QLatin1Char(',') +
                             QStringList{csvField(s.ShooterName.trimmed()),
                                         csvField(s.DateFired.trimmed()),
                                         csvField(s.Firearm.trimmed()),
                                         csvField(s.Caliber.trimmed()),
                                         csvField(s.LotNumber.trimmed()),
                                         s.RangeEntered ? shortest(s.RangeToTarget) : QString(),
                                         csvField(s.UnitName.trimmed())}
                                 .join(QLatin1Char(','));
        for (qint32 k = 1; k <= s.ShotCount && k <= ShotCapacity; ++k)
            text += head + QLatin1Char(',') + QString::number(k) + QLatin1Char(',') +
                    shortest(s.ShotX[k]) + QLatin1Char(',') + shortest(s.ShotY[k]) +
                    QLatin1Char(',') + shortest(s.ShotR[k]) + QLatin1Char('\n');
    }
    QSaveFile f(g.output);
    const QByteArray bytes = text.toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        ctx.prompter.MsgBox(QStringLiteral("The file ") + g.output +
                                QStringLiteral(" could not be written: ") + f.errorString(),
                            QStringLiteral("Export"), Buttons::Ok, Icon::Exclamation);
        return CliExit::Refused;
    }
    return CliExit::Ok;
}

QString AnalysisJson(const GroupAnalysis &a) { return groupJson(a, QString()); }
