// Every writer on a full disk (a file size limit): a message naming the file
// and the reason, exit 1 in the companion, the older file byte for byte as it
// was and nothing left beside it.
#include "analysis/frmgroupanalysis.h"
#include "config/configfile.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "platform/printer.h"
#include "stattools/frmftest.h"
#include "stattools/frmttest.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
struct Outcome {
    bool ok = true;
    QString message;
};

void fill(const QList<QLineEdit *> &fields, const QStringList &texts)
{
    for (qsizetype k = 0; k < fields.size(); ++k) fields[k]->setText(texts[k]);
}

// Writes `path` the way `writer` names, with the user's answers scripted.
Outcome write(const QString &writer, TestApp &t, const QString &path)
{
    const QString pxs = FixturePath("keyboard_old.pxs");
    if (writer.startsWith(QLatin1String("cli "))) {
        // The words of the command, PXS and OUT standing for the files; the
        // export goes beside its statistics file.
        QStringList args = writer.mid(4).split(QLatin1Char(' '));
        for (QString &a : args)
            a = a == QLatin1String("PXS")   ? pxs
                : a == QLatin1String("OUT") ? path
                : a == QLatin1String("BESIDE")
                    ? QFileInfo(path).dir().filePath(QStringLiteral("g.pxs"))
                    : a;
        const CliRun r = RunCliCaptured(args);
        return Outcome{r.code == 0, r.err};
    }
    t.prompter.QueueSaveFile(path);
    if (writer == QLatin1String("save")) {
        SaveStatsFileOrTell(t.session, path, t.prompter);
    } else if (writer == QLatin1String("settings")) {
        t.session.AppDataDir = QFileInfo(path).absolutePath();
        SaveConfigFileOrTell(t.session, t.prompter);
    } else if (writer == QLatin1String("report")) {
        t.app->PrintStats(nullptr);
    } else if (writer == QLatin1String("t-test page")) {
        t.app->ShowTTest();
        frmTTest *w = t.app->TTestWindow();
        fill({w->txtAverageA, w->txtStdDevA, w->txtNumberA, w->txtAverageB, w->txtStdDevB,
              w->txtNumberB},
             {QStringLiteral("10"), QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("12"),
              QStringLiteral("2"), QStringLiteral("10")});
        w->cmdCompute->click();
        w->cmdPrint->click();
    } else if (writer == QLatin1String("f-test page")) {
        t.app->ShowFTest();
        frmFTest *w = t.app->FTestWindow();
        fill({w->txtStdDevA, w->txtNumberA, w->txtStdDevB, w->txtNumberB},
             {QStringLiteral("3"), QStringLiteral("6"), QStringLiteral("1"), QStringLiteral("11")});
        w->cmdCompute->click();
        w->cmdPrint->click();
    } else {
        t.app->ShowGroupAnalysis(nullptr);
        t.app->GroupAnalysisWindow()->cmdSavePlot->click();
    }
    const auto messages = t.prompter.messages();
    return messages.isEmpty() ? Outcome{} : Outcome{false, messages.last().text};
}
} // namespace

class TestFailedWrites : public QObject {
    Q_OBJECT
private slots:
    void olderFileKept_data();
    void olderFileKept();
};

void TestFailedWrites::olderFileKept_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("name");
    QTest::newRow("Save") << QStringLiteral("save") << QStringLiteral("g.pxs");
    QTest::newRow("peltrix.ini") << QStringLiteral("settings") << QStringLiteral("peltrix.ini");
    QTest::newRow("printed report") << QStringLiteral("report") << QStringLiteral("r.pdf");
    QTest::newRow("T-test page") << QStringLiteral("t-test page") << QStringLiteral("t.pdf");
    QTest::newRow("F-test page") << QStringLiteral("f-test page") << QStringLiteral("f.pdf");
    QTest::newRow("Save Plot PNG") << QStringLiteral("plot") << QStringLiteral("p.png");
    QTest::newRow("Save Plot PDF") << QStringLiteral("plot") << QStringLiteral("p.pdf");
    QTest::newRow("cli report") << QStringLiteral("cli report PXS --pdf OUT")
                                << QStringLiteral("r.pdf");
    QTest::newRow("cli plot png") << QStringLiteral("cli plot PXS --png OUT")
                                  << QStringLiteral("p.png");
    QTest::newRow("cli plot pdf") << QStringLiteral("cli plot PXS --pdf OUT")
                                  << QStringLiteral("p.pdf");
    QTest::newRow("cli resave") << QStringLiteral("cli resave PXS OUT") << QStringLiteral("r.pxs");
    QTest::newRow("cli csv") << QStringLiteral("cli csv PXS -o OUT") << QStringLiteral("shots.csv");
    // The export never replaces a file: there is no older one, and no partial one is left.
    QTest::newRow("cli export") << QStringLiteral("cli export BESIDE") << QStringLiteral("g.txt");
}

void TestFailedWrites::olderFileKept()
{
    QFETCH(QString, writer);
    QFETCH(QString, name);
    if (!writer.startsWith(QLatin1String("cli")) && HavePrinter())
        QSKIP("a printer is installed; the page would go to it");
    TestApp t;
    AddShots(t.session, {{0.25, 0.5}, {-0.375, 0.125}, {0.5, -0.25}});
    t.session.StatsSaved = false;
    const QString folder = t.dir.filePath(QStringLiteral("out"));
    const QString path = folder + QLatin1Char('/') + name;
    const bool older = !writer.startsWith(QLatin1String("cli export"));
    if (older) QVERIFY(WriteBytes(path, "older content"));
    QDir().mkpath(folder);
    if (!older) QFile::copy(FixturePath("keyboard_old.pxs"), folder + QStringLiteral("/g.pxs"));
    const QStringList before = QDir(folder).entryList(QDir::Files);

    Outcome out;
    {
        FileSizeLimit limit(16);
        out = write(writer, t, path);
    }
    QVERIFY(!out.ok);
    QVERIFY2(out.message.contains(name), qPrintable(out.message));
    QVERIFY(!out.message.contains(QLatin1String("Unknown error")));
    // The reason follows the file's name on a line of its own.
    QVERIFY2(!out.message.section(name, 1)
                  .section(QRegularExpression(QStringLiteral("[\r\n]")), 1)
                  .trimmed()
                  .isEmpty(),
             qPrintable(out.message));
    if (older) QCOMPARE(ReadBytes(path), QByteArray("older content"));
    QVERIFY(!t.session.StatsSaved || writer != QLatin1String("save"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), before);

    // Without the limit the same writer succeeds.
    t.prompter.clear();
    QVERIFY(write(writer, t, path).ok);
    QVERIFY(ReadBytes(path) != QByteArray("older content"));
}

QTEST_MAIN(TestFailedWrites)
#include "test_failedwrites.moc"
