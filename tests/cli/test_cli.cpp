// The command-line companion, run in-process.
#include "cli/cli.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QJsonObject json(const CliRun &r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }
} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void statsFromShots();
    void refusedInput_data();
    void refusedInput();
    void reportPdf();
    void helpAndUsage_data();
    void helpAndUsage();
    void devicesAndPipes();
    void ownArgumentsAndNames();
};

void TestCli::statsFromShots()
{
    const CliRun r = RunCliLine(
        QStringLiteral("stats --shots 0,0 1.047198,0 -0.25,1.5 --range 100 --unit Inches"));
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    const QJsonObject j = json(r);
    QCOMPARE(j[QStringLiteral("ShotCount")].toInt(), 3);
    // Floats round-trip to the same 32-bit value.
    QCOMPARE(float(j[QStringLiteral("ShotX")].toArray()[1].toDouble()), 1.047198f);
    QCOMPARE(float(j[QStringLiteral("ShotR")].toArray()[2].toDouble()),
             float(std::sqrt(0.0625 + 2.25)));
    QVERIFY(j[QStringLiteral("MOA")].isDouble());
}

void TestCli::refusedInput_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::newRow("letters") << "stats --shots 1,abc" << 1 << "Enter X and Y Data: ";
    QTest::newRow("22 shots") << QStringLiteral("stats --shots") +
                                     QStringLiteral(" 1,1").repeated(22)
                              << 1 << "Enter Data: ";
    // The header's warning: nobody can answer it here.
    QTest::newRow("range 0") << "stats --shots 1,1 --range 0" << 1 << "No Range to Target: ";
    QTest::newRow("unknown command") << "frobnicate" << 2 << QString();
}

void TestCli::refusedInput()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    const CliRun r = RunCliLine(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
    QVERIFY2(r.err.startsWith(err), qPrintable(r.err));
}

void TestCli::reportPdf()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    QCOMPARE(RunCliLine(QStringLiteral("report --shots 1,1 2,2 --pdf ") + pdf).code, 0);
    const QByteArray before = ReadBytes(pdf);
    QVERIFY(before.startsWith("%PDF-") && before.size() > 500);
    // A refused shot writes no file, also none over an existing one.
    QCOMPARE(RunCliLine(QStringLiteral("report --shots x,1 --pdf ") + pdf).code, 1);
    QCOMPARE(ReadBytes(pdf), before);
}

void TestCli::helpAndUsage_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("first");   // how stdout (exit 0) or stderr begins
    QTest::addColumn<QString>("usageOf"); // whose usage lines follow; empty: the command list
    const QString list = QStringLiteral("usage: peltrix-cli COMMAND");
    auto row = [](const char *args, int code, const QString &first, const char *usageOf) {
        QTest::newRow(*args ? args : "no command")
            << QString::fromLatin1(args) << code << first << QString::fromLatin1(usageOf);
    };
    row("help", 0, list, "");
    row("help detect", 0, QStringLiteral("usage: peltrix-cli detect"), "detect");
    row("log list --help", 0, QStringLiteral("usage: peltrix-cli log"), "log");
    row("detect x.jpg --dpi 200", 2, QStringLiteral("detect: --bullet is required\n"), "detect");
    row("detect x.jpg --foo", 2, QStringLiteral("detect: unknown option --foo\n"), "detect");
    row("stats --range", 2, QStringLiteral("stats: --range needs a value\n"), "stats");
    row("ttest 1 2", 2, QStringLiteral("ttest: N_A is required\n"), "ttest");
    row("log frob", 2, QStringLiteral("log: unknown subcommand frob\n"), "log");
    row("log compare --load A", 2, QStringLiteral("log compare: --load A --load B is required\n"),
        "log compare");
    row("help frob", 2, QStringLiteral("help: unknown command frob\n"), "help");
    row("frob", 2, QStringLiteral("unknown command frob\n") + list, "");
    row("", 2, QStringLiteral("a command is required\n") + list, "");
    row("detect x.jpg --bullet abc --dpi 200", 1, QStringLiteral("Find Holes: "), "");
}

void TestCli::helpAndUsage()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(QString, first);
    QFETCH(QString, usageOf);
    const CliRun r = RunCliLine(args);
    QCOMPARE(r.code, code);
    const QString shown = code == 0 ? r.out : r.err;
    QVERIFY((code == 0 ? r.err : r.out).isEmpty());
    QVERIFY2(shown.startsWith(first), qPrintable(shown));
    const QStringList lines = shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList usage =
        lines.filter(QRegularExpression(QStringLiteral("^(usage: |       )peltrix-cli ")));
    if (code == 1) {
        QVERIFY(usage.isEmpty());
    } else if (usageOf.isEmpty()) {
        // Every command on the list explains itself.
        const QRegularExpression row(QStringLiteral("^  ([a-z]\\S*)  "));
        QVERIFY(lines.filter(row).size() > 10);
        for (const QString &l : lines.filter(row)) {
            const QString name = row.match(l).captured(1);
            QVERIFY(RunCliLine(name + QStringLiteral(" --help"))
                        .out.startsWith(QStringLiteral("usage: peltrix-cli ") + name +
                                        QLatin1Char(' ')));
        }
    } else {
        // That command's usage lines only; its help gives each option a line.
        for (const QString &l : usage)
            QVERIFY2(l.contains(QStringLiteral("peltrix-cli ") + usageOf + QLatin1Char(' ')),
                     qPrintable(l));
        if (code == 2) QCOMPARE(usage.size(), lines.size() - 1);
        const QRegularExpression option(QStringLiteral("--[a-z]+"));
        for (auto m = option.globalMatch(usage.join(QLatin1Char(' '))); code == 0 && m.hasNext();) {
            const QString o = m.next().captured();
            QVERIFY2(
                !lines.filter(QRegularExpression(QStringLiteral("^  %1( |$)").arg(o))).isEmpty(),
                qPrintable(o));
        }
    }
}

void TestCli::devicesAndPipes()
{
    // Refused at once, never read without end nor waited on.
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.pxsheet"));
    const QString zero = dir.filePath(QStringLiteral("zero.pxsheet"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString &file : {pipe, zero})
        for (const char *command : {"stats @", "sheet @", "chrono @ --unit fps", "log add @ --db %",
                                    "detect @ --bullet 0.3 --dpi 300"}) {
            const CliRun r = RunCliLine(
                QString::fromLatin1(command)
                    .replace(QLatin1Char('@'), file)
                    .replace(QLatin1Char('%'), dir.filePath(QStringLiteral("l.sqlite"))));
            QCOMPARE(r.code, 1);
            QVERIFY2(r.err.contains(QStringLiteral("a device or a pipe")), qPrintable(r.err));
        }
}

void TestCli::ownArgumentsAndNames()
{
    // Options Qt knows (-platform, -reverse) are the commands' own; names that
    // are no UTF-8 are read and written under the bytes given. An export
    // killed mid-write (the file size limit) leaves no file the next one
    // would take for an earlier export.
    QTemporaryDir dir;
    QProcess sh;
    sh.setWorkingDirectory(dir.path());
    sh.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"),
         QStringLiteral(
             "cli=\"$0\"; e=$(printf '\\351'); cp \"$1\" ./-platform && "
             "cp \"$1\" caf$e.pxs && \"$cli\" csv -platform caf$e.pxs -o caf$e.csv "
             "&& \"$cli\" stats -reverse 2>&1 | grep -q 'File: -reverse' && (ulimit -f 0; exec "
             "\"$cli\" export caf$e.pxs); \"$cli\" export caf$e.pxs && "
             "test -s caf$e.txt && wc -l < caf$e.csv && ls -A | wc -l && rm caf$e.*"),
         QCoreApplication::applicationDirPath() + QStringLiteral("/peltrix-cli"),
         FixturePath("keyboard_old.pxs")});
    QVERIFY(sh.waitForFinished(60000));
    QVERIFY2(sh.exitCode() == 0, sh.readAllStandardError().constData());
    Session s;
    QVERIFY(OpenStatsFile(s, FixturePath("keyboard_old.pxs")));
    // The table of both files, and nothing beside the four files.
    QCOMPARE(sh.readAllStandardOutput().simplified(),
             QByteArray::number(1 + 2 * s.ShotCount) + " 4");
}

QTEST_MAIN(TestCli)
#include "test_cli.moc"
