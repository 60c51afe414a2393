// Shot data export: names, layout, MOA text, and never overwriting.
#include "app/textnum.h"
#include "config/textrecords.h"
#include "files/export.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "stats/groupstats.h"
#include "testsupport.h"

#include <QtTest>

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void answerNames_data();
    void answerNames();
    void layout();
    void emptyGroupAndNoRange();
    void moaUsesReportFigure();
    void neverOverwrites();
    void needsAStatisticsFile();
};

void TestExport::names_data()
{
    QTest::addColumn<QString>("stats");
    QTest::addColumn<QString>("exported");
    QTest::newRow("pxs") << QStringLiteral("group1.pxs") << QStringLiteral("group1.txt");
    QTest::newRow("other extension") << QStringLiteral("my.data") << QStringLiteral("my.txt");
    QTest::newRow("short") << QStringLiteral("a.b") << QStringLiteral("a.txt");
    QTest::newRow("two dots") << QStringLiteral("a.b.pxs") << QStringLiteral("a.b.txt");
    QTest::newRow("no dot") << QStringLiteral("x") << QStringLiteral("x.txt");
    QTest::newRow("hidden") << QStringLiteral(".pxs") << QStringLiteral(".pxs.txt");
}

void TestExport::names()
{
    QFETCH(QString, stats);
    QFETCH(QString, exported);
    QCOMPARE(ExportFileName(stats), exported);
}

void TestExport::answerNames_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("other") << QStringLiteral("other.txt");
    QTest::newRow("csv") << QStringLiteral("other.csv") << QStringLiteral("other.csv");
    QTest::newRow("x.y") << QStringLiteral("x.y") << QStringLiteral("x.y");
    QTest::newRow("one character") << QStringLiteral(".") << QStringLiteral("..txt");
    QTest::newRow("two") << QStringLiteral("ab") << QStringLiteral("ab.txt");
    QTest::newRow("two with dot") << QStringLiteral("a.") << QStringLiteral("a.");
    QTest::newRow("dot early") << QStringLiteral("a.bcdef") << QStringLiteral("a.bcdef.txt");
    QTest::newRow("dot in last four") << QStringLiteral("abc.def") << QStringLiteral("abc.def");
}

void TestExport::answerNames()
{
    QFETCH(QString, answer);
    QFETCH(QString, name);
    QCOMPARE(ExportAnswerName(answer), name);
}

void TestExport::layout()
{
    Session s;
    PrepareTestSession(s);
    s.ShooterName = FixedWidth(QString::fromUtf8("Jos\u00e9 \"J\""), 30);
    s.RangeToTarget = 100;
    s.RangeEntered = true;
    AddShots(s, {{3, -4}, {0.5f, 0.25f}});
    const QList<QByteArray> l = ExportBytes(s).split('\n');
    QCOMPARE(l.size() - 1, 19);
    for (int i = 0; i < 19; ++i) QVERIFY(l[i].endsWith('\r'));
    QCOMPARE(l[0], "\"Shooter Name:\",\"Jos\xe9 ''J''" + QByteArray(22, ' ') + "\"\r");
    QCOMPARE(l[1], "\"Date Fired:\",\"" + QByteArray(20, ' ') + "\"\r");
    QCOMPARE(l[5], "\"General Comments:\",\"" + QByteArray(354, ' ') + "\"\r");
    QCOMPARE(l[6], QByteArray("\r"));
    QCOMPARE(l[7], QByteArray("\"Shot Data:\"\r"));
    QCOMPARE(l[8], QByteArray("\"Range to Target:\",100\r"));
    QCOMPARE(
        l[9],
        QByteArray(
            "\"Shot Number\",\"x coordinate\",\"y coordinate\",\"distance from point of aim\"\r"));
    QCOMPARE(l[10], QByteArray("1,3,-4,5\r"));
    QCOMPARE(l[11], QByteArray("2,0.5,0.25,0.559017\r"));
    QCOMPARE(l[12], QByteArray("\r"));
    QCOMPARE(l[13], QByteArray("\"Number of Shots:\",2\r"));
    QCOMPARE(l[14], "\"Center-to-Center Group Size:\"," + QByteArray(FloatText(s.GroupSize)) +
                        ",\"Inches\",\"MOA: " + StrNum(*GroupSizeMOA(s), 15).toLatin1() + "\"\r");
    QCOMPARE(l[15], QByteArray("\" \",\"Average\",\"Standard Deviation\",\"Range\"\r"));
    QVERIFY(l[16].startsWith("\"x:\",1.75,"));
    QVERIFY(l[18].startsWith("\"r:\","));
}

void TestExport::emptyGroupAndNoRange()
{
    Session s;
    PrepareTestSession(s);
    s.RangeEntered = false;
    const QList<QByteArray> l = ExportBytes(s).split('\n');
    QCOMPARE(l.size() - 1, 17);
    QCOMPARE(
        l[9],
        QByteArray(
            "\"Shot Number\",\"x coordinate\",\"y coordinate\",\"distance from point of aim\"\r"));
    QCOMPARE(l[10], QByteArray("\r"));
    QCOMPARE(l[11], QByteArray("\"Number of Shots:\",0\r"));
    QCOMPARE(l[12], QByteArray("\"Center-to-Center Group Size:\",0,\"Inches\",\"\"\r"));
    QCOMPARE(l[13], QByteArray("\" \",\"Average\",\"Standard Deviation\",\"Range\"\r"));
    QCOMPARE(l[14], QByteArray("\"x:\",0,0,0\r"));
    QCOMPARE(l[16], QByteArray("\"r:\",0,0,0\r"));
}

void TestExport::moaUsesReportFigure()
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{0, 0}, {2.54f, 0}});
    s.RangeToTarget = 100;
    s.RangeEntered = true;
    s.UnitName = QStringLiteral("Centimeters");
    // 2.54 cm is one inch: a little under one minute at 100 yards.
    const QString cm = ExportMoaText(s);
    s.UnitName = QStringLiteral("Inches");
    s.GroupSize = 1;
    const QString inch = ExportMoaText(s);
    QCOMPARE(inch, QStringLiteral("MOA:  .95492924929192"));
    QVERIFY(cm.startsWith(QStringLiteral("MOA:  .954929")));
    QVERIFY(qAbs(Val(cm.mid(5)) - Val(inch.mid(5))) < 1e-6);
    s.RangeEntered = false;
    QCOMPARE(ExportMoaText(s), QString());
}

void TestExport::neverOverwrites()
{
    QTemporaryDir dir;
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{1, 2}, {3, 4}});
    const QString stats = dir.filePath(QStringLiteral("group1.pxs"));
    QVERIFY(SaveStatsFile(s, stats));
    s.StatsFilePath = stats;
    s.StatsDir = dir.path();

    ScriptedPrompter p;
    QVERIFY(ExportShotData(s, p));
    const QString txt = dir.filePath(QStringLiteral("group1.txt"));
    QCOMPARE(ReadBytes(txt), ExportBytes(s));
    QCOMPARE(p.messages().last().text, QStringLiteral("File group1.txt successfully exported."));
    QCOMPARE(p.messages().last().title, QStringLiteral("File Exported"));

    // Exists: asked until a free name; a folder in the answer is asked again.
    p.clear();
    p.QueueInput(QStringLiteral("../elsewhere"));
    p.QueueInput(QStringLiteral("group1.txt"));
    p.QueueInput(QStringLiteral("other"));
    QVERIFY(ExportShotData(s, p));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("other.txt"))));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("../elsewhere.txt"))));
    QCOMPARE(p.records[0].kind, PromptRecord::Input);
    QCOMPARE(
        p.records[0].text,
        QStringLiteral("group1.txt exists. Please Enter a new file name for the export file."));
    QCOMPARE(p.records[0].title, QStringLiteral("group1.txt Exists"));
    QCOMPARE(p.records[2].title, QStringLiteral("group1.txt Exists"));
    QCOMPARE(p.messages().last().text, QStringLiteral("File other.txt successfully exported."));

    // An empty answer or Cancel ends the export; nothing is touched.
    for (const std::optional<QString> &answer :
         {std::optional<QString>(QString()), std::optional<QString>()}) {
        WriteBytes(txt, QByteArray("keep"));
        p.clear();
        p.QueueInput(answer);
        QVERIFY(!ExportShotData(s, p));
        QCOMPARE(ReadBytes(txt), QByteArray("keep"));
        QCOMPARE(p.messages().size(), 1);
        QCOMPARE(p.messages()[0].text, QStringLiteral("No file name entered; terminating export"));
        QCOMPARE(p.messages()[0].title, QStringLiteral("No File Name"));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);

    // A full disk leaves no half export behind.
    p.clear();
    p.QueueInput(QStringLiteral("full.csv"));
    {
        FileSizeLimit limit(100);
        QVERIFY(!ExportShotData(s, p));
    }
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("full.csv"))));
    QCOMPARE(p.messages().last().title, QStringLiteral("Export Failed"));
}

void TestExport::needsAStatisticsFile()
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{1, 2}});
    ScriptedPrompter p;
    QVERIFY(!ExportShotData(s, p));
    QCOMPARE(p.messages().size(), 1);
    QCOMPARE(p.messages()[0].text, QStringLiteral("No File to Export. Save Data File First."));
    QCOMPARE(p.messages()[0].title, QStringLiteral("Cannot Export Empty File"));
}

QTEST_MAIN(TestExport)
#include "test_export.moc"
