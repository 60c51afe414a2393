// The logbook at 10 000 groups of 10 shots: filter and pool as the window
// does on a selection, and the window opening the logbook; each beside a
// plain reference of the same work (the sums by hand, the rows read bare).
#include "app/peltrixapp.h"
#include "benchmain.h"
#include "logbook/frmlogbook.h"
#include "platform/scriptedprompter.h"

#include <QApplication>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Groups = 10000, Shots = 10;

struct Fixture {
    QTemporaryDir dir;
    QString db;
    std::vector<LogbookEntry> entries;
    std::vector<LogbookRow> rows;
    Fixture()
    {
        db = dir.filePath(QStringLiteral("logbook.sqlite"));
        for (int g = 0; g < Groups; ++g) {
            LogbookEntry e;
            e.Source = QStringLiteral("/targets/g%1.pxs").arg(g);
            for (int k = 0; k < Shots; ++k)
                e.Shots.push_back({0.37 * ((k + g) % 7) - 1.1, 0.29 * ((k * 3 + g) % 5) - 0.6});
            e.Load.Text = QStringLiteral("Load %1").arg(g % 12);
            if (g % 2) {
                e.Load.Powder = QStringLiteral("H4350");
                e.Load.Charge = 40 + 0.5 * (g % 6);
                e.Load.Bullet = QStringLiteral("140 HPBT");
            }
            e.Firearm = g % 3 ? QStringLiteral("Bolt 308") : QStringLiteral("Lever 30-30");
            e.Date = QDate(2020, 1, 1).addDays(g / 10);
            e.Added = QDateTime::currentDateTimeUtc();
            e.UnitName = QStringLiteral("Inches");
            e.RangeYards = 100;
            entries.push_back(std::move(e));
        }
        Logbook b;
        if (!b.Open(db) || !b.Add(entries)) qFatal("cannot build the logbook");
        entries = *b.Groups();
        rows = AnalyzeRows(entries, {});
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}
} // namespace

// What the window does on a filter change: match every group, pool the matches.
static void FilterAndPool(benchmark::State &state, const LogbookFilter &filter)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        std::vector<GroupAnalysis> picked;
        for (const LogbookRow &r : f.rows)
            if (filter.Matches(*r.Entry)) picked.push_back(r.Analysis);
        auto p = PoolGroups(picked);
        benchmark::DoNotOptimize(p);
    }
}

static void BM_FilterAndPool10000(benchmark::State &state)
{
    LogbookFilter filter;
    filter.Firearm = QStringLiteral("bolt");
    FilterAndPool(state, filter);
}
BENCHMARK(BM_FilterAndPool10000)->Unit(benchmark::kMillisecond);

// The load filter matching a field rather than the name: every group's
// fields are read as text.
static void BM_FilterByLoadFieldAndPool10000(benchmark::State &state)
{
    LogbookFilter filter;
    filter.Load = QStringLiteral("41.5 gr");
    FilterAndPool(state, filter);
}
BENCHMARK(BM_FilterByLoadFieldAndPool10000)->Unit(benchmark::kMillisecond);

static void BM_FilterAndPool10000Reference(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        double sum = 0, df = 0;
        for (const LogbookRow &r : f.rows)
            if (r.Entry->Firearm.startsWith(QLatin1Char('B'))) {
                sum += r.Analysis.SumR2;
                df += 2.0 * (r.Analysis.ShotCount - 1);
            }
        benchmark::DoNotOptimize(sum / df);
    }
}
BENCHMARK(BM_FilterAndPool10000Reference)->Unit(benchmark::kMillisecond);

static void BM_WindowOpens10000(benchmark::State &state)
{
    Fixture &f = fixture();
    QTemporaryDir home;
    Session s;
    ScriptedPrompter prompter;
    PeltrixApp app(s, prompter);
    s.AppDataDir = home.path();
    app.LogbookConfig().DatabasePath = f.db;
    for (auto _ : state) {
        frmLogbook w(app);
        if (!w.Reload()) state.SkipWithError("the logbook did not open");
        w.show();
        QImage img(w.size(), QImage::Format_RGB32);
        w.render(&img);
        benchmark::DoNotOptimize(w.Model().rowCount());
    }
}
BENCHMARK(BM_WindowOpens10000)->Unit(benchmark::kMillisecond);

static void BM_WindowOpens10000Reference(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("ref"));
            db.setDatabaseName(f.db);
            db.open();
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(QStringLiteral("SELECT * FROM groups"));
            qint64 n = 0;
            while (q.next()) n += q.value(12).toString().size();
            benchmark::DoNotOptimize(n);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("ref"));
    }
}
BENCHMARK(BM_WindowOpens10000Reference)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return RunBenchmarksInApp<QApplication>(argc, argv); }
