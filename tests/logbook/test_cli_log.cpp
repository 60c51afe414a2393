// log and chrono of the command-line companion on real files, and two
// companions adding to one logbook at once.
#include "app/textnum.h"
#include "cli/cli.h"
#include "files/statsfile.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

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
    void twoProcessesAddAtOnce();
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
    const QString dbArg = QStringLiteral("--db");
    auto run = [&](QStringList args) { return RunCliCaptured(args << dbArg << db); };
    CliRun r = run({QStringLiteral("log"), QStringLiteral("add"), a1, a2, QStringLiteral("--load"),
                    QStringLiteral("A"), QStringLiteral("--json")});
    QCOMPARE(r.code, 0);
    QCOMPARE(json(r)[QLatin1String("groups")].toArray().size(), 2);
    QCOMPARE(run({QStringLiteral("log"), QStringLiteral("add"), b1, QStringLiteral("--load"),
                  QStringLiteral("B")})
                 .code,
             0);
    // The same file again updates its group.
    r = run({QStringLiteral("log"), QStringLiteral("add"), a1, QStringLiteral("--json")});
    QVERIFY(json(r)[QLatin1String("groups")]
                .toArray()[0]
                .toObject()[QLatin1String("updated")]
                .toBool());

    r = run({QStringLiteral("log"), QStringLiteral("list"), QStringLiteral("--json")});
    const QJsonArray groups = json(r)[QLatin1String("groups")].toArray();
    QCOMPARE(groups.size(), 3);
    const QJsonObject first = groups[0].toObject();
    QCOMPARE(first[QLatin1String("date")].toString(), QStringLiteral("2026-04-02"));
    QCOMPARE(first[QLatin1String("load")].toString(), QStringLiteral("A"));
    QCOMPARE(first[QLatin1String("shots")].toInt(), 3);
    QVERIFY(first[QLatin1String("analysis")].toObject()[QLatin1String("Sigma")].toDouble() > 0);
    r = run({QStringLiteral("log"), QStringLiteral("list"), QStringLiteral("--from"),
             QStringLiteral("2026-05-01"), QStringLiteral("--json")});
    QCOMPARE(json(r)[QLatin1String("groups")].toArray().size(), 1);

    r = run({QStringLiteral("log"), QStringLiteral("compare"), QStringLiteral("--load"),
             QStringLiteral("A"), QStringLiteral("--load"), QStringLiteral("B"),
             QStringLiteral("--json")});
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

    r = run({QStringLiteral("log"), QStringLiteral("trend"), QStringLiteral("--json")});
    QCOMPARE(json(r)[QLatin1String("points")].toArray().size(), 3);
    const QString png = dir.filePath(QStringLiteral("trend.png"));
    QCOMPARE(
        run({QStringLiteral("log"), QStringLiteral("trend"), QStringLiteral("--png"), png}).code,
        0);
    QCOMPARE(QImage(png).size(), QSize(1000, 600));
}

void TestCliLog::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    const QString bad = QStringLiteral(PELTRIX_TEST_DATA "/damaged_short.pxs");
    const QString text = QStringLiteral(PELTRIX_TEST_DATA "/peltrix_old.ini");
    const QString good = writeGroup(dir, QStringLiteral("g.pxs"), {{0, 0}, {1, 1}});
    const QString log = QStringLiteral("log");
    QTest::newRow("damaged file among good")
        << QStringList{log, QStringLiteral("add"), good, bad} << 1;
    QTest::newRow("not a database")
        << QStringList{log, QStringLiteral("list"), QStringLiteral("--db"), text} << 1;
    QTest::newRow("one load") << QStringList{log, QStringLiteral("compare"),
                                             QStringLiteral("--load"), QStringLiteral("A")}
                              << 2;
    QTest::newRow("unknown load") << QStringList{log,
                                                 QStringLiteral("compare"),
                                                 QStringLiteral("--load"),
                                                 QStringLiteral("A"),
                                                 QStringLiteral("--load"),
                                                 QStringLiteral("Z")}
                                  << 1;
    QTest::newRow("bad date") << QStringList{log, QStringLiteral("list"), QStringLiteral("--from"),
                                             QStringLiteral("May")}
                              << 1;
    QTest::newRow("trend needs an output") << QStringList{log, QStringLiteral("trend")} << 2;
    QTest::newRow("chrono without unit")
        << QStringList{QStringLiteral("chrono"),
                       QStringLiteral(PELTRIX_TEST_DATA "/chrono_plain.csv")}
        << 1;
}

void TestCliLog::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    const QString db = dir.filePath(QStringLiteral("refusals.sqlite"));
    if (!args.contains(QStringLiteral("--db"))) args << QStringLiteral("--db") << db;
    if (args.first() == QLatin1String("chrono")) args.resize(args.size() - 2);
    const CliRun r = RunCliCaptured(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
    // Nothing was added by a refused add.
    QCOMPARE(
        RunCliCaptured({QStringLiteral("log"), QStringLiteral("list"), QStringLiteral("--db"), db})
            .out.count(QLatin1Char('\n')),
        1);
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
