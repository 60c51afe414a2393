// log and chrono of the command-line companion on real files, and two
// companions adding to one logbook at once.
#include "cli/cli.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "model/textnum.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QJsonObject json(const CliRun &r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

QString writeGroup(const QTemporaryDir &dir, const QString &name,
                   std::initializer_list<std::pair<float, float>> shots,
                   const char *date = "2026-04-02", float range = 100)
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, shots);
    s.RangeToTarget = range;
    s.RangeEntered = true;
    s.DateFired = FixedWidth(QString::fromLatin1(date), DateFiredWidth);
    s.Firearm = FixedWidth(QStringLiteral("Bolt 308"), FirearmWidth);
    const QString path = dir.filePath(name);
    SaveStatsFile(s, path);
    return path;
}
} // namespace

class TestCliLog : public QObject {
    Q_OBJECT
private slots:
    void addListCompareTrend();
    void refusals_data();
    void refusals();
    void sheetGroups();
    void twoProcessesAddAtOnce();
    void readOnlyLogbook_data();
    void readOnlyLogbook();
    void chrono();

private:
    QTemporaryDir dir;
};

void TestCliLog::addListCompareTrend()
{
    const QString db = dir.filePath(QStringLiteral("log.sqlite"));
    const QString a1 = writeGroup(dir, QStringLiteral("a1.pxs"), {{0, 0}, {1, 0}, {0, 1}}),
                  a2 = writeGroup(dir, QStringLiteral("a2.pxs"), {{0, 0}, {1, 1}}, "May 3, 2026"),
                  b1 = writeGroup(dir, QStringLiteral("b1.pxs"), {{0, 0}, {2, 0}, {0, 2}});
    // `args` are words; %1, %2... stand for `files`.
    auto run = [&](const char *args, const QStringList &files = {}) {
        QStringList list = QString::fromLatin1(args).split(QLatin1Char(' '));
        for (QString &w : list)
            if (w.startsWith(QLatin1Char('%'))) w = files[w.mid(1).toInt() - 1];
        return RunCliCaptured(list << QStringLiteral("--db") << db);
    };
    CliRun r = run("log add %1 %2 --load A --json", {a1, a2});
    QCOMPARE(r.code, 0);
    QCOMPARE(json(r)[QLatin1String("groups")].toArray().size(), 2);
    QCOMPARE(run("log add %1 --load B --powder H4350 --charge 41.5 --coal 2.8", {b1}).code, 0);
    // The same file again updates its group.
    r = run("log add %1 --json", {a1});
    QVERIFY(json(r)[QLatin1String("groups")]
                .toArray()[0]
                .toObject()[QLatin1String("updated")]
                .toBool());

    const QJsonArray groups = json(run("log list --json"))[QLatin1String("groups")].toArray();
    QCOMPARE(groups.size(), 3);
    const QJsonObject first = groups[0].toObject();
    QCOMPARE(first[QLatin1String("date")].toString(), QStringLiteral("2026-04-02"));
    QCOMPARE(first[QLatin1String("load")].toString(), QStringLiteral("A"));
    QCOMPARE(first[QLatin1String("shots")].toInt(), 3);
    QVERIFY(first[QLatin1String("analysis")].toObject()[QLatin1String("Sigma")].toDouble() > 0);
    QCOMPARE(
        json(run("log list --from 2026-05-01 --json"))[QLatin1String("groups")].toArray().size(),
        1);

    // Velocities kept for load B, and for group 1 itself, show in the list.
    const QString speeds = QStringLiteral(PELTRIX_TEST_DATA "/chrono_column.csv");
    QCOMPARE(run("chrono %1 --load b", {speeds}).code, 0);
    QCOMPARE(run("chrono %1 --group 1 --unit fps", {speeds}).code, 0);
    const QJsonArray listed = json(run("log list --json"))[QLatin1String("groups")].toArray();
    const QJsonObject b = listed[1].toObject(), detail = b[QLatin1String("loadDetail")].toObject();
    QCOMPARE(detail[QLatin1String("powder")].toString(), QStringLiteral("H4350"));
    QCOMPARE(detail[QLatin1String("charge")].toDouble(), 41.5);
    QVERIFY(detail[QLatin1String("primer")].toString().isEmpty() &&
            detail[QLatin1String("bullet")].toString().isEmpty());
    for (const auto &[k, of] : {std::pair{0, "group"}, std::pair{1, "load"}}) {
        const QJsonObject v = listed[k].toObject()[QLatin1String("velocity")].toObject();
        QCOMPARE(v[QLatin1String("of")].toString(), QString::fromLatin1(of));
        QCOMPARE(v[QLatin1String("n")].toInt(), 5);
    }
    QVERIFY(listed[2].toObject()[QLatin1String("velocity")].isNull());

    r = run("log compare --load A --load B --json");
    QCOMPARE(r.code, 0);
    const QJsonObject c = json(r);
    const QJsonObject A = c[QLatin1String("A")].toObject(), B = c[QLatin1String("B")].toObject();
    QCOMPARE(A[QLatin1String("groups")].toInt(), 2);
    QCOMPARE(A[QLatin1String("df")].toDouble(), 6.0); // 2 (5 − 2)
    QCOMPARE(B[QLatin1String("shots")].toInt(), 3);
    const double sA = A[QLatin1String("s")].toDouble(), sB = B[QLatin1String("s")].toDouble();
    QVERIFY(qAbs(c[QLatin1String("F")].toDouble() - sA * sA / (sB * sB)) < 1e-12);
    QVERIFY(c[QLatin1String("ratioLow")].toDouble() < c[QLatin1String("ratio")].toDouble());
    QVERIFY(c[QLatin1String("p")].toDouble() > 0 && c[QLatin1String("p")].toDouble() <= 1);
    QCOMPARE(B[QLatin1String("velocity")].toObject()[QLatin1String("n")].toInt(), 5);
    QVERIFY(A[QLatin1String("velocity")].toObject()[QLatin1String("mean")].toDouble() > 2800);

    QCOMPARE(json(run("log trend --json"))[QLatin1String("points")].toArray().size(), 3);
    const QString png = dir.filePath(QStringLiteral("trend.png"));
    QCOMPARE(run("log trend --png %1", {png}).code, 0);
    QCOMPARE(QImage(png).size(), QSize(1000, 600));
}

void TestCliLog::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    const QString good = writeGroup(dir, QStringLiteral("g.pxs"), {{0, 0}, {1, 1}});
    auto row = [](const char *name, const QString &args, int code) {
        QTest::newRow(name) << args.split(QLatin1Char(' ')) << code;
    };
    row("damaged file among good",
        QStringLiteral("log add ") + good +
            QStringLiteral(" " PELTRIX_TEST_DATA "/damaged_short.pxs"),
        1);
    row("not a database", QStringLiteral("log list --db " PELTRIX_TEST_DATA "/peltrix_old.ini"), 1);
    row("one load", QStringLiteral("log compare --load A"), 2);
    row("unknown load", QStringLiteral("log compare --load A --load Z"), 1);
    row("bad date", QStringLiteral("log list --from May"), 1);
    row("trend needs an output", QStringLiteral("log trend"), 2);
    row("chrono without unit", QStringLiteral("chrono " PELTRIX_TEST_DATA "/chrono_plain.csv"), 1);
    row("charge not a number", QStringLiteral("log add ") + good + QStringLiteral(" --charge abc"),
        1);
    row("negative COAL", QStringLiteral("log add ") + good + QStringLiteral(" --coal -2.8"), 1);
    row("chrono for a missing group",
        QStringLiteral("chrono " PELTRIX_TEST_DATA "/chrono_column.csv --group 99"), 1);
}

void TestCliLog::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    const QString db = dir.filePath(QStringLiteral("refusals.sqlite"));
    if (!args.contains(QStringLiteral("--db"))) args << QStringLiteral("--db") << db;
    if (args.first() == QLatin1String("chrono") && !args.contains(QStringLiteral("--group")))
        args.resize(args.size() - 2);
    const CliRun r = RunCliCaptured(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
    // Nothing was added by a refused add.
    QCOMPARE(RunCliLine(QStringLiteral("log list --db ") + db).out.count(QLatin1Char('\n')), 1);
}

void TestCliLog::sheetGroups()
{
    // Each group of a sheet with shots, its label as the load; added again, updated.
    const QString db = dir.filePath(QStringLiteral("sheet.sqlite"));
    const QString sheet = QStringLiteral(PELTRIX_TEST_DATA "/loaddev.pxsheet");
    for (bool again : {false, true}) {
        const CliRun r = RunCliCaptured({QStringLiteral("log"), QStringLiteral("add"), sheet,
                                         QStringLiteral("--db"), db, QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonArray added = json(r)[QLatin1String("groups")].toArray();
        QCOMPARE(added.size(), 2);
        QCOMPARE(added[1].toObject()[QLatin1String("file")].toString(),
                 sheet + QStringLiteral(" group 2"));
        QCOMPARE(added[0].toObject()[QLatin1String("updated")].toBool(), again);
    }
    const QJsonArray groups =
        json(RunCliLine(QStringLiteral("log list --json --db ") + db))[QLatin1String("groups")]
            .toArray();
    QCOMPARE(groups.size(), 2);
    const QJsonObject first = groups[0].toObject();
    QCOMPARE(first[QLatin1String("load")].toString(), QStringLiteral("43.5 gr"));
    QCOMPARE(first[QLatin1String("loadDetail")].toObject()[QLatin1String("charge")].toDouble(),
             43.5);
    QCOMPARE(first[QLatin1String("shots")].toInt(), 2);
}

void TestCliLog::twoProcessesAddAtOnce()
{
    const QString db = dir.filePath(QStringLiteral("shared.sqlite"));
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/peltrix-cli");
    QStringList scripts;
    for (int p = 0; p < 2; ++p) {
        QString script;
        for (int k = 0; k < 12; ++k) {
            const QString f = writeGroup(dir, QStringLiteral("p%1_%2.pxs").arg(p).arg(k),
                                         {{0, 0}, {float(k), float(p + 1)}});
            script += QStringLiteral("'%1' log add '%2' --db '%3' || exit 1\n").arg(cli, f, db);
        }
        scripts << script;
    }
    QProcess one, two;
    one.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), scripts[0]});
    two.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), scripts[1]});
    QVERIFY(one.waitForFinished(120000) && two.waitForFinished(120000));
    QCOMPARE(one.exitCode(), 0);
    QCOMPARE(two.exitCode(), 0);
    const CliRun r = RunCliCaptured({QStringLiteral("log"), QStringLiteral("list"),
                                     QStringLiteral("--db"), db, QStringLiteral("--json")});
    QCOMPARE(json(r)[QLatin1String("groups")].toArray().size(), 24);
}

void TestCliLog::readOnlyLogbook_data()
{
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<int>("folderMode");
    QTest::newRow("read-only file") << 0444 << 0777;
    QTest::newRow("read-only folder") << 0644 << 0555;
}

void TestCliLog::readOnlyLogbook()
{
    QFETCH(int, fileMode);
    QFETCH(int, folderMode);
    const QString folder = dir.filePath(QString::number(folderMode));
    const QString db = folder + QStringLiteral("/log.sqlite");
    const QString group = writeGroup(dir, QStringLiteral("ro.pxs"), {{0, 0}, {1, 1}});
    // The modes stop the superuser in nothing: the companion then runs as nobody.
    auto cli = [&](const char *sub) {
        QProcess p;
        p.setChildProcessModifier([] {
            if (geteuid() == 0 && (setgroups(0, nullptr) || setgid(65534) || setuid(65534)))
                _exit(99);
        });
        QStringList args{QStringLiteral("log"), QString::fromLatin1(sub), QStringLiteral("--db"),
                         db};
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/peltrix-cli"),
                args << (args[1] == QLatin1String("add") ? QStringList{group} : QStringList{}));
        p.waitForFinished(60000);
        return std::pair(p.exitCode(), p.readAllStandardOutput().count('\n'));
    };
    QVERIFY(QDir().mkpath(folder));
    chmod(qPrintable(dir.path()), 0755);
    chmod(qPrintable(folder), 0777);
    QCOMPARE(cli("add").first, 0);
    const QByteArray before = ReadBytes(db);
    chmod(qPrintable(db), mode_t(fileMode));
    chmod(qPrintable(folder), mode_t(folderMode));
    QCOMPARE(cli("list"), std::pair(0, qsizetype(2)));
    QCOMPARE(cli("add").first, 1);
    QVERIFY(ReadBytes(db) == before);
    // Nothing is left beside it that would stop a writer once it may write.
    QVERIFY(!QFile::exists(db + QStringLiteral("-wal")) &&
            !QFile::exists(db + QStringLiteral("-shm")));
    chmod(qPrintable(db), 0666);
    chmod(qPrintable(folder), 0777);
    QCOMPARE(cli("add").first, 0);
}

void TestCliLog::chrono()
{
    CliRun r = RunCliCaptured(
        {QStringLiteral("chrono"), QStringLiteral(PELTRIX_TEST_DATA "/chrono_semicolon.csv"),
         QStringLiteral("--unit"), QStringLiteral("fps"), QStringLiteral("--json")});
    QCOMPARE(r.code, 0);
    const QJsonObject o = json(r);
    QCOMPARE(o[QLatin1String("n")].toInt(), 5);
    QCOMPARE(o[QLatin1String("unit")].toString(), QStringLiteral("fps"));
    // 853.98 m/s, converted.
    QVERIFY(qAbs(o[QLatin1String("mean")].toDouble() - 853.98 / 0.3048) < 1e-6);
    QVERIFY(qAbs(o[QLatin1String("es")].toDouble() - 4.5 / 0.3048) < 1e-6);
    QVERIFY(o[QLatin1String("sdLow")].toDouble() < o[QLatin1String("sd")].toDouble());
    r = RunCliCaptured({QStringLiteral("chrono"),
                        QStringLiteral(PELTRIX_TEST_DATA "/chrono_plain.csv"),
                        QStringLiteral("--unit"), QStringLiteral("mps")});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("Mean     2802.2 mps")));
}

QTEST_MAIN(TestCliLog)
#include "test_cli_log.moc"
