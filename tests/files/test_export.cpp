// Shot data export: names, layout, MOA text, and never overwriting (a full
// disk is in test_failedwrites).
#include "config/textrecords.h"
#include "files/export.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "model/textnum.h"
#include "stats/groupstats.h"
#include "testsupport.h"

#include <QtTest>

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void moaUsesReportFigure();
    void neverOverwrites();
};

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
    QCOMPARE(l[8], QByteArray("\"Range to Target:\",100\r"));
    QCOMPARE(l[10], QByteArray("1,3,-4,5\r"));
    QCOMPARE(l[11], QByteArray("2,0.5,0.25,0.559017\r"));
    QCOMPARE(l[14], "\"Center-to-Center Group Size:\"," + QByteArray(FloatText(s.GroupSize)) +
                        ",\"Inches\",\"MOA: " + StrNum(*GroupSizeMOA(s), 15).toLatin1() + "\"\r");
    QVERIFY(l[16].startsWith("\"x:\",1.75,"));
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

    // Exists: asked until a free name; a folder in the answer is asked again.
    p.clear();
    p.QueueInput(QStringLiteral("../elsewhere"));
    p.QueueInput(QStringLiteral("group1.txt"));
    p.QueueInput(QStringLiteral("other"));
    QVERIFY(ExportShotData(s, p));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("other.txt"))));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("../elsewhere.txt"))));

    // An empty answer or Cancel ends the export; nothing is touched.
    for (const std::optional<QString> &answer :
         {std::optional<QString>(QString()), std::optional<QString>()}) {
        WriteBytes(txt, QByteArray("keep"));
        p.clear();
        p.QueueInput(answer);
        QVERIFY(!ExportShotData(s, p));
        QCOMPARE(ReadBytes(txt), QByteArray("keep"));
        QCOMPARE(p.messages().size(), 1);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

QTEST_MAIN(TestExport)
#include "test_export.moc"
