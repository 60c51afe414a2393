// critical, ttest and ftest run in-process, as a script would call them.
#include "cli/cli.h"
#include "testsupport.h"

#include <QtTest>

class TestStatToolsCli : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
};

void TestStatToolsCli::commands_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    auto row = [](const char *name, const char *args, int rc, const char *out, const char *err) {
        QTest::newRow(name) << QString::fromLatin1(args).split(QLatin1Char(' ')) << rc
                            << QString::fromLatin1(out) << QString::fromLatin1(err);
    };
    row("t", "critical t 10 5", 0, "2.2286\n", "");
    row("t not found", "critical t 2 5", 0, "not found\n", "");
    row("F", "critical f 4 4 5", 0, "9.6046\n", "");
    row("unknown kind", "critical z 1 5", 2, "",
        "critical: unknown kind z\nusage: peltrix-cli critical ");
    row("ttest significant", "ttest 10 2 10 12 2 10 5", 0,
        "T-Test Value: 2.10\nExperimental t value: 2.24\n"
        "The averages of Sample A and Sample B are significantly different.\n",
        "");
    row("ttest refused", "ttest 10 2 1.5 12 2 10 5", 1, "",
        "Input Error: Number A must be a whole number (1,2,3) with no decimals.\n");
    row("ftest", "ftest 3 6 1 11 10", 0,
        "F-Test Value: 3.33\nExperimental f value: 9.00\n"
        "The variances of Sample A and Sample B are significantly different.\n",
        "");
    row("ftest equal variances", "ftest 2 10 -2 10 5", 1, "",
        "Variances Have No Difference: Variance Sample A = Variance Sample B\n");
}

void TestStatToolsCli::commands()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const CliRun r = RunCliCaptured(args);
    QCOMPARE(r.code, exitCode);
    QCOMPARE(r.out, out);
    QVERIFY2(err.isEmpty() ? r.err.isEmpty() : r.err.startsWith(err), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestStatToolsCli)
#include "test_cmd_stattools.moc"
