// log add|list|compare|trend: the logbook from the command line.
#include "cli/analysiscmd.h"
#include "cli/analysisjson.h"
#include "cli/args.h"
#include "cli/cli.h"

#include "analysis/groupanalysis.h"
#include "logbook/logbook.h"
#include "logbook/logbookstats.h"
#include "logbook/trendplot.h"
#include "model/json.h"
#include "platform/environment.h"
#include "sheet/sheetexport.h"
#include "sheet/sheetfile.h"

#include <QFileInfo>

namespace {
const QString Title = QStringLiteral("Logbook");

struct LogArgs {
    QStringList positional, loads;
    QString db, firearm, from, to, level = QStringLiteral("0.95"), png;
    QString powder, charge, bullet, coal, primer; // the load's fields, as typed
    bool json = false;
    bool loadGiven() const
    {
        return !loads.isEmpty() || !powder.isEmpty() || !charge.isEmpty() || !bullet.isEmpty() ||
               !coal.isEmpty() || !primer.isEmpty();
    }
};

// The options of the log commands, read into one record.
LogArgs readArgs(const CliArgs &c)
{
    LogArgs a;
    a.positional = c.Positional;
    a.loads = c.Values("--load");
    a.db = c.Value("--db");
    a.firearm = c.Value("--firearm");
    a.from = c.Value("--from");
    a.to = c.Value("--to");
    if (c.Has("--level")) a.level = c.Value("--level");
    a.png = c.Value("--png");
    a.powder = c.Value("--powder");
    a.charge = c.Value("--charge");
    a.bullet = c.Value("--bullet");
    a.coal = c.Value("--coal");
    a.primer = c.Value("--primer");
    a.json = c.Has("--json");
    return a;
}

int refuse(CliContext &ctx, const QString &text)
{
    ctx.prompter.MsgBox(text, Title, Buttons::Ok, Icon::Exclamation);
    return CliExit::Refused;
}

QString databasePath(const LogArgs &a) { return LogbookDatabasePath(a.db); }

// The groups kept, or nothing (message shown). A logbook not made yet is empty.
std::optional<std::vector<LogbookEntry>> readGroups(const QString &path, CliContext &ctx,
                                                    std::vector<VelocitySeries> *velocities = {})
{
    if (!QFileInfo::exists(path)) return std::vector<LogbookEntry>{};
    Logbook book;
    std::optional<std::vector<LogbookEntry>> groups;
    if (book.Open(path)) groups = book.Groups();
    if (groups && velocities) {
        const auto v = book.Velocities();
        if (v)
            *velocities = *v;
        else
            groups.reset();
    }
    if (!groups) refuse(ctx, book.ErrorString());
    return groups;
}

std::optional<LogbookFilter> filterOf(const LogArgs &a, CliContext &ctx)
{
    LogbookFilter f;
    f.Firearm = a.firearm;
    if (!a.loads.isEmpty()) f.Load = a.loads.first();
    for (const auto &[text, target] : {std::pair{a.from, &f.From}, std::pair{a.to, &f.To}}) {
        if (text.isEmpty()) continue;
        const QDate d = QDate::fromString(text, Qt::ISODate);
        if (!d.isValid()) {
            refuse(ctx, QStringLiteral("\"%1\" is not a date written YYYY-MM-DD.").arg(text));
            return std::nullopt;
        }
        *target = d;
    }
    return f;
}

std::vector<const LogbookEntry *> matching(const std::vector<LogbookEntry> &all,
                                           const LogbookFilter &f)
{
    std::vector<const LogbookEntry *> r;
    for (const LogbookEntry &e : all)
        if (f.Matches(e)) r.push_back(&e);
    return r;
}

// The usage error of a line with more than one --load.
const QString OneLoad = QStringLiteral("--load is given twice");

int add(const LogArgs &a, CliContext &ctx)
{
    if (a.loads.size() > 1) return ctx.Usage(OneLoad);
    LoadInfo load;
    load.Text = a.loads.value(0);
    load.Powder = a.powder;
    load.Bullet = a.bullet;
    load.Primer = a.primer;
    QString why;
    if (!ReadLoadNumber(a.charge, QStringLiteral("charge"), load.Charge, &why) ||
        !ReadLoadNumber(a.coal, QStringLiteral("COAL or seating depth"), load.Coal, &why))
        return refuse(ctx, why);
    // Every file is read before the logbook is touched: one bad file adds nothing.
    std::vector<LogbookEntry> entries;
    QStringList sources; // what each entry is reported as
    for (const QString &file : a.positional) {
        if (file.endsWith(QLatin1String(".pxsheet"), Qt::CaseInsensitive)) {
            TargetSheet sheet;
            QString why;
            if (!OpenSheetFile(file, sheet, &why)) return refuse(ctx, why);
            std::vector<LogbookEntry> groups =
                SheetLogbookEntries(sheet, QFileInfo(file).absoluteFilePath());
            if (groups.empty())
                return refuse(
                    ctx, QStringLiteral("%1 holds no shots to keep in the logbook.").arg(file));
            for (LogbookEntry &e : groups) {
                if (a.loadGiven()) e.Load = load;
                sources << file + QStringLiteral(" group ") + e.Source.section(u' ', -1);
                entries.push_back(std::move(e));
            }
            continue;
        }
        Session s;
        if (!OpenGroupFile(file, s, ctx)) return CliExit::Refused;
        if (s.ShotCount < 1)
            return refuse(ctx,
                          QStringLiteral("%1 holds no shots to keep in the logbook.").arg(file));
        LogbookEntry e = EntryFromSession(s, file);
        if (a.loadGiven()) e.Load = load;
        sources << file;
        entries.push_back(std::move(e));
    }
    Logbook book;
    std::vector<qint64> ids;
    std::vector<bool> updated;
    if (!book.Open(databasePath(a)) || !book.Add(entries, &ids, &updated))
        return refuse(ctx, book.ErrorString());
    QStringList items;
    for (size_t k = 0; k < entries.size(); ++k) {
        const QString &file = sources[qsizetype(k)];
        if (a.json)
            items << JsonObject()
                         .Int("id", ids[k])
                         .Text("file", file)
                         .Bool("updated", updated[k])
                         .Str();
        else
            ctx.out << (updated[k] ? "updated " : "added ") << ids[k] << ": " << file << Qt::endl;
    }
    if (a.json) ctx.out << JsonObject().Raw("groups", Json::Array(items)).Str() << Qt::endl;
    return CliExit::Ok;
}

QString loadJson(const LoadInfo &l)
{
    return JsonObject()
        .Text("powder", l.Powder)
        .Num("charge", l.Charge)
        .Text("bullet", l.Bullet)
        .Num("coal", l.Coal)
        .Text("primer", l.Primer)
        .Str();
}

// A group's own velocities, else those kept for its load; null without any.
QString velocityJson(const LogbookEntry &e, const std::vector<VelocitySeries> &all)
{
    for (const VelocitySeries &v : all)
        if (v.GroupId == e.Id)
            return VelocityJson(ComputeVelocity(v.Speeds, v.Unit, 0.95), "group");
    return VelocityJson(LoadVelocity(all, e.Load.Text, 0.95), "load");
}

QString cell(const QString &t, int width) { return t.leftJustified(width, QLatin1Char(' '), true); }

int list(const LogArgs &a, CliContext &ctx)
{
    if (a.loads.size() > 1) return ctx.Usage(OneLoad);
    const auto filter = filterOf(a, ctx);
    if (!filter) return CliExit::Refused;
    std::vector<VelocitySeries> velocities;
    const auto all = readGroups(databasePath(a), ctx, &velocities);
    if (!all) return CliExit::Refused;
    QStringList items;
    if (!a.json)
        ctx.out << "   id  date        firearm               load                  shots  "
                   "ES        mean radius  sigma"
                << Qt::endl;
    for (const LogbookEntry *e : matching(*all, *filter)) {
        const GroupAnalysis g = AnalyzeEntry(*e);
        if (a.json) {
            items << JsonObject()
                         .Int("id", e->Id)
                         .Text("date", e->Date.toString(Qt::ISODate))
                         .Text("firearm", e->Firearm)
                         .Text("load", e->Load.Text)
                         .Int("shots", qint64(e->Shots.size()))
                         .Raw("analysis", GroupAnalysisJson(g))
                         .Raw("loadDetail", loadJson(e->Load))
                         .Raw("velocity", velocityJson(*e, velocities))
                         .Str();
            continue;
        }
        auto fig = [&](double LengthFigures::*m) {
            return g.Length ? FigureText((*g.Length).*m) : UndefinedFigure;
        };
        QString line = QString::number(e->Id).rightJustified(5) + QStringLiteral("  ") +
                       cell(e->Date.toString(Qt::ISODate), 12) + cell(e->Firearm, 22) +
                       cell(e->Load.Text, 22) + cell(QString::number(e->Shots.size()), 7) +
                       cell(fig(&LengthFigures::ExtremeSpread), 10) +
                       cell(fig(&LengthFigures::MeanRadius), 13) +
                       (g.Length ? FigureText(g.Length->Rayleigh.Sigma) : UndefinedFigure) +
                       QLatin1Char(' ') + e->UnitName;
        ctx.out << line.trimmed() << Qt::endl;
    }
    if (a.json) ctx.out << JsonObject().Raw("groups", Json::Array(items)).Str() << Qt::endl;
    return CliExit::Ok;
}

QString sideJson(const CompareSide &s)
{
    return JsonObject()
        .Text("load", s.Label)
        .Int("groups", s.Groups)
        .Int("shots", s.Shots)
        .Num("df", s.Df)
        .Num("s", s.S)
        .Num("sigma", s.Sigma)
        .Num("sigmaLow", s.SigmaLow)
        .Num("sigmaHigh", s.SigmaHigh)
        .Raw("velocity", VelocityJson(s.Velocity))
        .Str();
}

int compare(const LogArgs &a, CliContext &ctx)
{
    if (a.loads.size() != 2) return ctx.Usage(QStringLiteral("--load A --load B is required"));
    double level = 0.95;
    if (!ReadLevel(a.level, level, ctx, Title)) return CliExit::Refused;
    std::vector<VelocitySeries> velocities;
    const auto all = readGroups(databasePath(a), ctx, &velocities);
    if (!all) return CliExit::Refused;
    std::vector<const LogbookEntry *> sides[2];
    for (int k = 0; k < 2; ++k)
        for (const LogbookEntry &e : *all)
            if (e.Load.Text.trimmed().compare(a.loads[k].trimmed(), Qt::CaseInsensitive) == 0)
                sides[k].push_back(&e);
    QString why;
    auto c =
        CompareEntries(sides[0], sides[1], a.loads[0].trimmed(), a.loads[1].trimmed(), level, &why);
    if (!c) return refuse(ctx, why);
    for (int k = 0; k < 2; ++k) {
        std::vector<double> speeds = SpeedsOf(velocities, 0, a.loads[k], VelocityUnit::Fps);
        for (const LogbookEntry *e : sides[k]) {
            const auto g = SpeedsOf(velocities, e->Id, QString(), VelocityUnit::Fps);
            speeds.insert(speeds.end(), g.begin(), g.end());
        }
        (k == 0 ? c->A : c->B).Velocity = ComputeVelocity(speeds, VelocityUnit::Fps, level);
    }
    if (!a.json) {
        ctx.out << ComparisonText(*c);
        return CliExit::Ok;
    }
    ctx.out << JsonObject()
                   .Raw("A", sideJson(c->A))
                   .Raw("B", sideJson(c->B))
                   .Num("F", c->F)
                   .Num("p", c->P)
                   .Num("ratio", c->Ratio)
                   .Num("ratioLow", c->RatioLow)
                   .Num("ratioHigh", c->RatioHigh)
                   .Str()
            << Qt::endl;
    return CliExit::Ok;
}

int trend(const LogArgs &a, CliContext &ctx)
{
    if (a.loads.size() > 1) return ctx.Usage(OneLoad);
    if (a.json == !a.png.isEmpty())
        return ctx.Usage(a.json ? QStringLiteral("--png and --json cannot go together")
                                : QStringLiteral("--png or --json is required"));
    const auto filter = filterOf(a, ctx);
    if (!filter) return CliExit::Refused;
    const auto all = readGroups(databasePath(a), ctx);
    if (!all) return CliExit::Refused;
    QString why;
    const auto t = ComputeTrend(matching(*all, *filter), 0.95, &why);
    if (!t) return refuse(ctx, why);
    if (!a.png.isEmpty()) {
        if (!SaveTrendPng(a.png, *t, &why))
            return refuse(ctx,
                          QStringLiteral("The chart could not be saved to %1: %2").arg(a.png, why));
        return CliExit::Ok;
    }
    QStringList points;
    for (const TrendPoint &p : t->Points)
        points << JsonObject()
                      .Int("id", p.Id)
                      .Text("date", p.Date.toString(Qt::ISODate))
                      .Num("sigma", p.Sigma)
                      .Num("sigmaLow", p.SigmaLow)
                      .Num("sigmaHigh", p.SigmaHigh)
                      .Num("meanRadius", p.MeanRadius)
                      .Num("centerOffset", p.CenterOffset)
                      .Str();
    ctx.out << JsonObject().Text("unit", t->Scale.Name).Raw("points", Json::Array(points)).Str()
            << Qt::endl;
    return CliExit::Ok;
}
} // namespace

QString LogbookDatabasePath(const QString &given)
{
    if (!given.isEmpty()) return given;
    const QString appData = HostFolders::FromHost().appDataDir;
    const LogbookSettings s = LoadLogbookSettings(appData);
    return s.DatabasePath.isEmpty() ? DefaultLogbookPath(appData) : s.DatabasePath;
}

int CmdLog(const QStringList &args, CliContext &ctx)
{
    if (args.isEmpty()) return ctx.Usage(QStringLiteral("a subcommand is required"));
    const CliOption db{"--db", CliOption::Value}, load{"--load", CliOption::Repeated},
        firearm{"--firearm", CliOption::Value}, from{"--from", CliOption::Value},
        to{"--to", CliOption::Value}, png{"--png", CliOption::Value},
        powder{"--powder", CliOption::Value}, charge{"--charge", CliOption::Value},
        bullet{"--bullet", CliOption::Value}, coal{"--coal", CliOption::Value},
        primer{"--primer", CliOption::Value};
    const QString sub = args.first();
    CliArgs c;
    int (*run)(const LogArgs &, CliContext &) = nullptr;
    bool ok = false;
    if (sub == QLatin1String("add")) {
        ok = c.Parse(args.mid(1), {db, load, powder, charge, bullet, coal, primer, JsonOption}) &&
             c.Expect({"FILE.pxs..."});
        run = add;
    } else if (sub == QLatin1String("list")) {
        ok = c.Parse(args.mid(1), {db, firearm, load, from, to, JsonOption}) && c.Expect({});
        run = list;
    } else if (sub == QLatin1String("compare")) {
        ok = c.Parse(args.mid(1), {db, load, LevelOption, JsonOption}) && c.Expect({});
        run = compare;
    } else if (sub == QLatin1String("trend")) {
        ok = c.Parse(args.mid(1), {db, firearm, load, png, JsonOption}) && c.Expect({});
        run = trend;
    } else {
        return ctx.Usage(QStringLiteral("unknown subcommand ") + sub);
    }
    // Only the subcommand's own usage follows its usage errors.
    ctx.command += QLatin1Char(' ') + sub;
    return ok ? run(readArgs(c), ctx) : ctx.Usage(c.Error);
}
