// stats, resave, export and report of the companion on statistics files,
// through the same reader and writer as the windows.
#include "cli/cli.h"
#include "files/export.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
CliRun run(const QStringList &args) { return RunCliCaptured(args); }
} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT
private slots:
    void resave();
    void damagedFilesRefused_data();
    void damagedFilesRefused();
};

void TestCliFiles::resave()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("new.pxs"));
    const CliRun r = run({QStringLiteral("resave"), FixturePath("keyboard_old.pxs"), out});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.isEmpty());
    // What the Open and Save commands would have written.
    Session s;
    PrepareTestSession(s);
    QVERIFY(OpenStatsFile(s, FixturePath("keyboard_old.pxs")));
    QCOMPARE(ReadBytes(out), StatsFileBytes(s));
    QVERIFY(ReadBytes(out).contains("\r\n0.5\r\n-0.25\r\n"));

    // A target that cannot be written: refused, the old file untouched.
    WriteBytes(out, "old");
    const QString bad = dir.filePath(QStringLiteral("missing/x.pxs"));
    const CliRun fail = run({QStringLiteral("resave"), FixturePath("keyboard_old.pxs"), bad});
    QCOMPARE(fail.code, 1);
    QVERIFY(fail.out.isEmpty());
    QVERIFY(fail.err.startsWith(QStringLiteral("Save Failed: ")));
    QCOMPARE(ReadBytes(out), QByteArray("old"));
}

void TestCliFiles::damagedFilesRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fixture");
    for (const char *cmd : {"stats", "resave", "export", "report"})
        for (const char *f :
             {"damaged_22shots.pxs", "damaged_short.pxs", "not_stats.pxs", "no_such.pxs"})
            QTest::newRow(
                qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(cmd), QLatin1String(f))))
                << QString::fromLatin1(cmd) << FixturePath(f);
}

void TestCliFiles::damagedFilesRefused()
{
    QFETCH(QString, command);
    QFETCH(QString, fixture);
    QTemporaryDir dir;
    QStringList args{command, fixture};
    if (command == QLatin1String("resave")) args << dir.filePath(QStringLiteral("out.pxs"));
    if (command == QLatin1String("report"))
        args << QStringLiteral("--pdf") << dir.filePath(QStringLiteral("out.pdf"));
    const CliRun r = run(args);
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.err.contains(QStringLiteral(" is not a valid Peltrix statistics file.")));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TestCliFiles)
#include "test_cmd_files.moc"
