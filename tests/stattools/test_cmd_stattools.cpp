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
    row("t few degrees", "critical t 3 5", 0, "3.3514\n", "");
    row("t not found", "critical t 2 5", 0, "not found\n", "");
    row("F", "critical f 4 4 5", 0, "9.6046\n", "");
    row("F 19,19 at 30", "critical f 19 19 30", 0, "1.6228\n", "");
    row("F below the start", "critical f 19 19 45", 0, "1.4221\n", "");
    row("F whole value", "critical f 2 2 5", 0, "39.0000\n", "");
    row("F not found", "critical f 2 1 0.001", 0, "not found\n", "");
    row("t zero degrees", "critical t 0 5", 1, "",
        "Input Error: Degrees of freedom must be a whole number between 1 and 38.\n");
    row("F one on top", "critical f 1 5 5", 1, "",
        "Input Error: D1 must be a whole number between 2 and 19.\n");
    row("sig out of range", "critical t 10 45.01", 1, "",
        "Input Error: The Significance Level must be a number between 0.001 and 45.00\n");
    row("unknown kind", "critical z 1 5", 2, "", "usage:");
    row("ttest significant", "ttest 10 2 10 12 2 10 5", 0,
        "T-Test Value: 2.10\nExperimental t value: 2.24\n"
        "The averages of Sample A and Sample B are significantly different.\n",
        "");
    row("ttest no critical value", "ttest 10 2 2 12 2 2 5", 0, "", "");
    row("ttest refused", "ttest 10 2 0 12 2 10 5", 1, "",
        "Input Error: Number A must be a number between 1 and 20.\n");
    row("ttest two single shots", "ttest 1 1 1 2 1 1 5", 1, "",
        "Input Error: The two samples together need at least 3 shots for this test.\n");
    row("ttest too few arguments", "ttest 10 2 10 12 2 10", 2, "", "usage:");
    row("ftest", "ftest 3 6 1 11 10", 0,
        "F-Test Value: 3.33\nExperimental f value: 9.00\n"
        "The variances of Sample A and Sample B are significantly different.\n",
        "");
    row("ftest equal variances", "ftest 2 10 -2 10 5", 1, "",
        "Variances Have No Difference: Variance Sample A = Variance Sample B\n");
    row("ftest zero deviation", "ftest 0 5 2 5 5", 1, "",
        "Input Error: A standard deviation of 0 cannot be compared.\n");
}

void TestStatToolsCli::commands()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QString o, e;
    QTextStream os(&o), es(&e);
    QCOMPARE(RunCli(args, os, es), exitCode);
    QCOMPARE(o, out);
    if (err.isEmpty())
        QCOMPARE(e, QString());
    else
        QVERIFY2(e.startsWith(err), qPrintable(e));
}

QTEST_GUILESS_MAIN(TestStatToolsCli)
#include "test_stattoolscli.moc"
