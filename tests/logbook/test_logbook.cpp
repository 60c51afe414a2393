// The logbook database, its refusals, and the figures over many groups,
// checked against published table values.
#include "logbook/chronofile.h"
#include "logbook/logbook.h"
#include "logbook/logbookstats.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
LogbookEntry entry(const QString &source, std::vector<ShotXY> shots, const QString &load = {},
                   QDate date = QDate(2026, 5, 1), double range = 100)
{
    LogbookEntry e;
    e.Source = source;
    e.Shots = std::move(shots);
    e.Load.Text = load;
    e.Date = date;
    e.Added = QDateTime::currentDateTimeUtc();
    e.UnitName = QStringLiteral("Inches");
    e.RangeYards = range;
    e.Firearm = QStringLiteral("Bolt");
    return e;
}

// A group of six shots whose Σr² around its centre is `sumR2` (df 10).
std::vector<ShotXY> sixShots(double sumR2)
{
    const double r = std::sqrt(sumR2 / 6);
    std::vector<ShotXY> s;
    for (int k = 0; k < 6; ++k)
        s.push_back({r * std::cos(k * M_PI / 3), r * std::sin(k * M_PI / 3)});
    return s;
}

QByteArray hashOf(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestLogbook : public QObject {
    Q_OBJECT
private slots:
    void addUpdatesTheSameGroup();
    void deleteAndUndo();
    void refusesForeignFiles_data();
    void refusesForeignFiles();
    void lockedAddChangesNothing();
    void compareAtTheCriticalValue();
    void velocityFigures();
    void loadNumbers();
    void chronoFiles_data();
    void chronoFiles();
    void chronoLayouts_data();
    void chronoLayouts();
    void datesAndTrend();

private:
    QTemporaryDir dir;
};

void TestLogbook::addUpdatesTheSameGroup()
{
    const QString db = dir.filePath(QStringLiteral("add.sqlite"));
    Logbook b;
    QVERIFY2(b.Open(db), qPrintable(b.ErrorString()));
    std::vector<qint64> ids;
    std::vector<bool> updated;
    const std::vector<ShotXY> shots{{0.1, 0.2}, {-0.3, 0.25}, {0.05, -0.4}};
    QVERIFY2(b.Add({entry(QStringLiteral("/a.pxs"), shots, QStringLiteral("A"))}, &ids, &updated),
             qPrintable(b.ErrorString()));
    QCOMPARE(updated, std::vector<bool>{false});
    // The same source and shots again: the header and load change in place.
    LogbookEntry again = entry(QStringLiteral("/a.pxs"), shots, QStringLiteral("B"));
    again.Firearm = QStringLiteral("Lever");
    std::vector<qint64> ids2;
    QVERIFY(b.Add({again, entry(QStringLiteral("/a.pxs"), {{0, 0}, {1, 1}})}, &ids2, &updated));
    QCOMPARE(ids2.front(), ids.front());
    QCOMPARE(updated, (std::vector<bool>{true, false}));
    const auto all = b.Groups();
    QVERIFY(all && all->size() == 2);
    const LogbookEntry kept = *b.Group(ids.front());
    QCOMPARE(kept.Firearm, QStringLiteral("Lever"));
    QCOMPARE(kept.Load.Text, QStringLiteral("B"));
    // Fields without a name name the load; an add without a load keeps it.
    LogbookEntry fields = entry(QStringLiteral("/a.pxs"), shots);
    fields.Load = {{}, QStringLiteral(" H4350 "), QStringLiteral("140 HPBT"), {}, 41.5, 2.8};
    QVERIFY(b.Add({fields}));
    QVERIFY(b.Add({entry(QStringLiteral("/a.pxs"), shots)}));
    LoadInfo load = b.Group(ids.front())->Load;
    QCOMPARE(load.Text, QStringLiteral("H4350 41.5 gr; 140 HPBT; COAL 2.800 in"));
    QCOMPARE(load.Powder, QStringLiteral("H4350"));
    QCOMPARE(load.Charge, std::optional<double>(41.5));
    QCOMPARE(load.Coal, std::optional<double>(2.8));
    load.Primer = QStringLiteral("LR match");
    load.Charge.reset();
    QVERIFY(b.SetLoad({ids.front(), ids2.back()}, load));
    QCOMPARE(b.Group(ids2.back())->Load, load);
    LogbookFilter byField;
    byField.Load = QStringLiteral("lr mat");
    QVERIFY(byField.Matches(*b.Group(ids.front())));
    QCOMPARE(kept.Shots.size(), size_t(3));
    QCOMPARE(kept.Shots[1].x, double(-0.3f));
    QCOMPARE(*kept.RangeYards, 100.0);
    QCOMPARE(kept.Date, QDate(2026, 5, 1));
}

void TestLogbook::deleteAndUndo()
{
    // A logbook of the first version (groups 1, 2 and 5; speeds 3 on 5): read
    // as it is, brought up to date by its first change, its ids kept.
    const QString db = dir.filePath(QStringLiteral("delete.sqlite"));
    QVERIFY(QFile::copy(QStringLiteral(PELTRIX_TEST_DATA "/logbook_v1.sqlite"), db));
    QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray old = hashOf(db);
    Logbook b;
    QVERIFY2(b.Open(db), qPrintable(b.ErrorString()));
    QVERIFY(b.Groups()->size() == 3 && hashOf(db) == old);
    // One of several gone already: none is deleted.
    QVERIFY(!b.Delete(std::vector<qint64>{5, 6}) && b.Groups()->size() == 3);
    const auto removed = b.Delete(5);
    QVERIFY(removed && removed->Velocities.size() == 1);
    QVERIFY(b.Velocities()->empty()); // cascaded with the group
    // What is added meanwhile never takes an id the undo needs.
    std::vector<qint64> ids;
    qint64 speeds = 0;
    QVERIFY(b.Add({entry(QStringLiteral("/d.pxs"), {{0, 0}, {1, 0}})}, &ids));
    QVERIFY(b.AddVelocities({0, ids[0], {}, VelocityUnit::Fps, {2800, 2810}, {}}, &speeds));
    QCOMPARE(std::pair(ids[0], speeds), std::pair(qint64(6), qint64(4)));
    QVERIFY2(b.Restore(*removed), qPrintable(b.ErrorString()));
    QCOMPARE(b.Group(5)->Source, QStringLiteral("/old/c.pxs"));
    QCOMPARE(b.Velocities()->size(), size_t(2));
    QVERIFY(Logbook().Open(db)); // marked ours: an unmarked one of this version is refused
}

void TestLogbook::refusesForeignFiles_data()
{
    // `sql` is run on a logbook of ours, or ("blank") on an empty database.
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<int>("failure");
    const int notOurs = int(Logbook::Failure::NotSqlite);
    auto row = [](const char *name, const char *kind, const QStringList &sql, int failure) {
        QTest::newRow(name) << QByteArray(kind) << sql << failure;
    };
    row("text", "text", {}, notOurs);
    row("damaged", "damaged", {}, int(Logbook::Failure::Damaged));
    row("newer", "sql", {QStringLiteral("PRAGMA user_version = 99")}, int(Logbook::Failure::Newer));
    row("another program's", "blank",
        {QStringLiteral("CREATE TABLE foo (a, b)"), QStringLiteral("PRAGMA user_version = 1")},
        notOurs);
    row("a trigger deletes the others", "sql",
        {QStringLiteral("CREATE TRIGGER t AFTER INSERT ON groups BEGIN DELETE FROM groups "
                        "WHERE id <> new.id; END")},
        notOurs);
    row("a trigger floods", "sql",
        {QStringLiteral("CREATE TRIGGER t AFTER INSERT ON groups BEGIN INSERT INTO velocities "
                        "(unit, speeds, added) VALUES ('fps', zeroblob(900000000), ''); END")},
        notOurs);
    row("groups a recursive view", "sql",
        {QStringLiteral("DROP TABLE groups"),
         QStringLiteral("CREATE VIEW groups AS WITH RECURSIVE n(id) AS (SELECT 1 UNION ALL "
                        "SELECT id + 1 FROM n) SELECT * FROM n")},
        notOurs);
}

void TestLogbook::refusesForeignFiles()
{
    QFETCH(QByteArray, kind);
    QFETCH(QStringList, sql);
    QFETCH(int, failure);
    const QString path =
        dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".sqlite"));
    if (kind == "text") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("date,firearm\n2026-01-01,Bolt\n");
    } else if (kind != "blank") {
        Logbook b;
        QVERIFY(b.Open(path));
        std::vector<LogbookEntry> many;
        for (int k = 0; k < (kind == "damaged" ? 300 : 2); ++k)
            many.push_back(entry(QStringLiteral("/%1.pxs").arg(k), {{0, 0}, {k * 0.1, 1}}));
        QVERIFY(b.Add(many));
    }
    if (kind == "damaged") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(4096); // the pages after the header
        f.write(QByteArray(4096 * 3, '\xA5'));
    } else if (kind != "text") {
        {
            QSqlDatabase d =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mk"));
            d.setDatabaseName(path);
            QVERIFY(d.open());
            QSqlQuery q(d);
            for (const QString &s : sql) QVERIFY2(q.exec(s), qPrintable(s));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("mk"));
    }
    const QByteArray before = hashOf(path);
    Logbook b;
    QVERIFY(!b.Open(path));
    QCOMPARE(int(b.LastFailure()), failure);
    QVERIFY2(b.ErrorString().contains(QStringLiteral("left as it is")) ||
                 b.ErrorString() == path + QStringLiteral(" is not a Peltrix logbook."),
             qPrintable(b.ErrorString()));
    QVERIFY(!b.Add({entry(QStringLiteral("/x.pxs"), {{0, 0}, {1, 1}})}));
    QCOMPARE(hashOf(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")) &&
            !QFile::exists(path + QStringLiteral("-shm")));
}

void TestLogbook::lockedAddChangesNothing()
{
    const QString db = dir.filePath(QStringLiteral("locked.sqlite"));
    Logbook b;
    QVERIFY(b.Open(db, 200));
    QVERIFY(b.Add({entry(QStringLiteral("/1.pxs"), {{0, 0}, {1, 1}})}));
    {
        // Another program holds the write lock.
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("o"));
        other.setDatabaseName(db);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(!b.Add({entry(QStringLiteral("/2.pxs"), {{0, 0}, {2, 1}}),
                        entry(QStringLiteral("/3.pxs"), {{0, 0}, {3, 1}})}));
        QCOMPARE(b.LastFailure(), Logbook::Failure::Locked);
        q.exec(QStringLiteral("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("o"));
    // No file may grow past 4 KiB, as on a full disk: the add says why.
    rlimit was{}, full{};
    getrlimit(RLIMIT_FSIZE, &was);
    full = {4096, was.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    const bool added = b.Add({entry(QStringLiteral("/big.pxs"), std::vector<ShotXY>(3000))});
    setrlimit(RLIMIT_FSIZE, &was);
    QVERIFY2(!added && b.ErrorString().contains(QStringLiteral("disk")),
             qPrintable(b.ErrorString()));
    QCOMPARE(b.Groups()->size(), size_t(1));
    QVERIFY(b.Add({entry(QStringLiteral("/2.pxs"), {{0, 0}, {2, 1}})}));
}

void TestLogbook::compareAtTheCriticalValue()
{
    // F(10, 10) upper 2.5 % point, from published tables: 3.717. With s_A²/s_B²
    // at that point the two-sided p is 5 % and the ratio interval starts at 1.
    const double f975 = 3.7168;
    const auto a = entry(QStringLiteral("/a"), sixShots(10 * f975), QStringLiteral("A"));
    const auto b = entry(QStringLiteral("/b"), sixShots(10), QStringLiteral("B"));
    const auto c = CompareEntries({&a}, {&b}, QStringLiteral("A"), QStringLiteral("B"), 0.95);
    QVERIFY(c);
    QCOMPARE(c->A.Df, 10.0);
    QVERIFY(qAbs(c->A.S - std::sqrt(f975)) < 1e-6);
    QVERIFY(qAbs(c->F - f975) < 1e-5);
    QVERIFY(qAbs(c->P - 0.05) < 2e-4);
    QVERIFY(qAbs(c->RatioLow - 1.0) < 1e-4);
    // σ interval on χ²(10): 3.247 and 20.483 (published).
    QVERIFY(qAbs(c->B.SigmaLow - std::sqrt(10 / 20.483)) < 1e-3);
    QVERIFY(qAbs(c->B.SigmaHigh - std::sqrt(10 / 3.247)) < 1e-3);
    // Swapping the sides mirrors everything.
    const auto r = CompareEntries({&b}, {&a}, QStringLiteral("B"), QStringLiteral("A"), 0.95);
    QVERIFY(qAbs(r->P - c->P) < 1e-12 && qAbs(r->RatioHigh * c->RatioLow - 1) < 1e-12);
    // Different ranges compare in angle; a side of one-shot groups cannot.
    const auto far = entry(QStringLiteral("/f"), sixShots(40), QStringLiteral("A"), {}, 200);
    const auto ang = CompareEntries({&far}, {&b}, QStringLiteral("A"), QStringLiteral("B"), 0.95);
    QVERIFY(ang && ang->Scale == QStringLiteral("MOA") && qAbs(ang->F - 1) < 1e-9);
    const auto lone = entry(QStringLiteral("/l"), {{1, 1}});
    QVERIFY(!CompareEntries({&lone}, {&b}, QStringLiteral("A"), QStringLiteral("B"), 0.95));
}

void TestLogbook::velocityFigures()
{
    const auto f =
        ComputeVelocity({2801.5, 2795.0, 2810.2, 2799.8, 2804.4}, VelocityUnit::Fps, 0.95);
    QVERIFY(f && f->N == 5);
    QVERIFY(qAbs(f->Mean - 2802.18) < 1e-9);
    QVERIFY(qAbs(f->ExtremeSpread - 15.2) < 1e-9);
    // χ²(4): 0.4844 and 11.143 (published).
    QVERIFY(qAbs(*f->SdLow - *f->Sd * std::sqrt(4 / 11.143)) < 1e-3);
    QVERIFY(qAbs(*f->SdHigh - *f->Sd * std::sqrt(4 / 0.4844)) < 1e-2);
    QVERIFY(!ComputeVelocity({2800}, VelocityUnit::Fps, 0.95)->Sd);
    QCOMPARE(ConvertSpeed(1000, VelocityUnit::Fps, VelocityUnit::Mps), 304.8);
}

void TestLogbook::loadNumbers()
{
    const std::pair<const char *, std::optional<double>> cases[] = {
        {"41.5", 41.5},      {" 2.815 ", 2.815},    {"abc", std::nullopt},   {"-1", std::nullopt},
        {"0", std::nullopt}, {"inf", std::nullopt}, {"41.5gr", std::nullopt}};
    for (const auto &[text, value] : cases) {
        std::optional<double> v = 7.0;
        QString why;
        QCOMPARE(ReadLoadNumber(QString::fromLatin1(text), QStringLiteral("charge"), v, &why),
                 value.has_value());
        QCOMPARE(v, value ? value : std::optional<double>(7.0)); // untouched when refused
        QCOMPARE(why.isEmpty(), value.has_value());
    }
    std::optional<double> none = 7.0;
    QVERIFY(ReadLoadNumber(QString(), QStringLiteral("charge"), none, nullptr) && !none);
}

void TestLogbook::chronoFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("first");
    QTest::addColumn<int>("unit"); // -1 none
    const QString data = QStringLiteral(PELTRIX_TEST_DATA "/");
    QTest::newRow("plain") << data + QStringLiteral("chrono_plain.csv") << 5 << 2801.5 << -1;
    QTest::newRow("column") << data + QStringLiteral("chrono_column.csv") << 5 << 2801.5 << 0;
    QTest::newRow("semicolon") << data + QStringLiteral("chrono_semicolon.csv") << 5 << 853.9 << 1;
    QTest::newRow("summary") << data + QStringLiteral("chrono_summary.csv") << 5 << 2801.5 << 0;
    QTest::newRow("unit row") << data + QStringLiteral("chrono_unitrow.csv") << 5 << 2801.5 << 0;
    QTest::newRow("numbered") << data + QStringLiteral("chrono_numbered.txt") << 5 << 853.9 << 1;
    QTest::newRow("not speeds") << data + QStringLiteral("peltrix_old.ini") << 0 << 0.0 << -1;
    QTest::newRow("binary") << data + QStringLiteral("binary.pxs") << 0 << 0.0 << -1;
}

void TestLogbook::chronoFiles()
{
    QFETCH(QString, file);
    QFETCH(int, n);
    QFETCH(double, first);
    QFETCH(int, unit);
    QString why;
    const auto d = ReadChronoFile(file, &why);
    if (n == 0) {
        QVERIFY(!d && !why.isEmpty());
        return;
    }
    QVERIFY2(d, qPrintable(why));
    QCOMPARE(int(d->Speeds.size()), n);
    QCOMPARE(d->Speeds.front(), first);
    QCOMPARE(d->Unit ? int(*d->Unit) : -1, unit);
}

void TestLogbook::chronoLayouts_data()
{
    // The speeds as read and the unit the file names, or "!LINE" and a text
    // the refusal must hold.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expect");
    const std::pair<const char *, const char *> layouts[] = {
        {"2801.5\n2795.0\n2810.2\n", "2801.5 2795 2810.2"},
        {"853,9\n852,0\n856,5\n", "853.9 852 856.5"},
        {"854\n853,9\n852,5\n", "854 853.9 852.5"},
        {"852,0 m/s\n853,9 m/s\n856,5 m/s\n", "852 853.9 856.5 m/s"},
        {"1 2801.5\n2 2795.0\n3 2810.2\n", "2801.5 2795 2810.2"},
        {"1\t2801.5\n2\t2795.0\n", "2801.5 2795"},
        {"6,2801.5\n7,2795.0\n8,2810.2\n", "2801.5 2795 2810.2"},
        {"1;853,9\n2;852,0\n4;856,5\n", "853.9 852 856.5"},
        {"1,853\n2,852\n3,856\n", "853 852 856"},
        {"#1 2801.5\n#2 2795.0\n", "2801.5 2795"},
        {"Shot 1,2801.5\nShot 2,2795.0,cold bore\n", "2801.5 2795"},
        {"Shot;Speed m/s\n1;853.125\n2;852.500\n3;854.250\n", "853.125 852.5 854.25 m/s"},
        {"1\t853.125\n2\t852.500\n", "853.125 852.5"},
        {"853.125\n852.500\n", "853.125 852.5"},
        {"853,125\n852,500\n", "853.125 852.5"},
        {"2,801.5\n2,795.0\n2,810.2\n", "2801.5 2795 2810.2"},
        {"2,801\n2,795\n2,810\n", "2801 2795 2810"},
        {"2'801.5\n2'795.0\n", "2801.5 2795"},
        {"2 801,5\n2 795,0\n", "2801.5 2795"},
        {"Shot;V0 (fps)\n1;2.801,5\n2;2.795,0\n", "2801.5 2795 fps"},
        {"Shot,Speed (fps)\n1,\"2,801.5\"\n2,\"2,795.0\"\n", "2801.5 2795 fps"},
        {"Shot,Speed\n1,2801.5\n2,2795.0\n,2798.3,Average\n,4.6,SD\n", "2801.5 2795"},
        {"Speed (fps),Note\n2801.5,\n2795.0,cold bore\n2798.3,Average\n4.6,SD\n",
         "2801.5 2795 fps"},
        {"2801.5\t\n2795.0\t\n2798.3\tMean\n", "2801.5 2795"},
        {"Rifle A 15.7.2026\n\n1 2801.5\n2 2795.0\nAvg 2798.3\nSD 4.6\n", "2801.5 2795"},
        {"\xEF\xBB\xBF#,Speed (FPS),\xCE\x94 Avg\r\n1,\"1,369.8\",-0.8\r\n2,\"1,402.0\",31.5\r\n"
         "-,,\r\nAVERAGE SPEED,\"1,385.9\",\r\n",
         "1369.8 1402 fps"},
        {"Speeds in m/s\n853.9\n852.0\n", "853.9 852 m/s"},
        {"2801 fps\n2795 fps\n", "2801 2795 fps"},
        {"Shot,Speed\n1,2801.5\n2,\n3,2795.0\n", "2801.5 2795"},
        {"1,ERR\n2,2801.5\n3,2795.0\n", "!1 ERR"},
        {"Shot,Speed\n1,2801.5\n2,ERR\n3,2795.0\n", "!3 ERR"},
        {"sep=;\nShot;V0\n1;853,9\n2;N/A\n", "!4 N/A"},
        {"Velocity\n2801.5\nmisfire\n2795.0\n", "!3 misfire"},
        {"Shot,Speed (fps)\n1,2801.5\n2,28015\n", "!3 28015"},
        {"853,9 m/s\n8539 m/s\n", "!2 8539"},
        {"Velocity (m/s)\n853.9\n12.5\n", "!3 12.5"},
        {"2801.5\n9\n", "!2 9"},
        {"2801.5\n2795,0\n", "!2 2795,0"},
        {"Shot;V0\n1;853,9\n2;853.9\n", "!3 853.9"},
    };
    for (const auto &[text, expect] : layouts)
        QTest::addRow("%s", QByteArray(text).replace('\n', '|').left(48).constData())
            << QByteArray(text) << QString::fromLatin1(expect);
}

void TestLogbook::chronoLayouts()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expect);
    const QString file = dir.filePath(QStringLiteral("speeds.csv"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size());
    f.close();
    QString why;
    const auto d = ReadChronoFile(file, &why);
    QStringList words = expect.split(QLatin1Char(' '));
    if (expect.startsWith(QLatin1Char('!'))) {
        QVERIFY2(!d, qPrintable(expect));
        QVERIFY2(why.startsWith(QStringLiteral("Line ") + words[0].mid(1) + QLatin1Char(' ')) &&
                     why.contains(words[1]),
                 qPrintable(why));
        return;
    }
    QVERIFY2(d, qPrintable(why));
    const int unit = words.last() == QLatin1String("fps")   ? 0
                     : words.last() == QLatin1String("m/s") ? 1
                                                            : -1;
    if (unit >= 0) words.removeLast();
    QCOMPARE(d->Unit ? int(*d->Unit) : -1, unit);
    std::vector<double> speeds;
    for (const QString &w : words) speeds.push_back(w.toDouble());
    QCOMPARE(d->Speeds, speeds);
}

void TestLogbook::datesAndTrend()
{
    const std::pair<const char *, QDate> dates[] = {{"2026-03-04", QDate(2026, 3, 4)},
                                                    {"3/4/2026", QDate(2026, 3, 4)},
                                                    {"March 4, 2026", QDate(2026, 3, 4)},
                                                    {"4.3.26", QDate(2026, 3, 4)},
                                                    {"last Tuesday", QDate()}};
    for (const auto &[text, date] : dates)
        QCOMPARE(ParseDateFired(QString::fromLatin1(text)).value_or(QDate()), date);
    const auto late = entry(QStringLiteral("/2"), {{0, 0}, {1, 0}}, {}, QDate(2026, 6, 1));
    const auto early = entry(QStringLiteral("/1"), {{0, 0}, {2, 0}}, {}, QDate(2026, 1, 1));
    const auto t = ComputeTrend({&late, &early}, 0.95);
    QVERIFY(t && !t->Scale.Angular && t->Points.size() == 2);
    QCOMPARE(t->Points.front().Date, QDate(2026, 1, 1));
    QCOMPARE(t->Points.front().MeanRadius, 1.0);
    QVERIFY(t->Points.front().SigmaLow < t->Points.front().Sigma);
}

QTEST_GUILESS_MAIN(TestLogbook)
#include "test_logbook.moc"
