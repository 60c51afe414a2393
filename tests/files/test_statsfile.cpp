// The .pxs file: round trips, its bytes, files of earlier releases, damaged
// files and failed writes.
#include "app/textnum.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "stats/groupstats.h"
#include "testsupport.h"

#include <QtTest>
#include <cmath>

namespace {
// A group with every field of the file set to something of its own.
void FillGroup(Session &s, int shots)
{
    PrepareTestSession(s);
    s.ShooterName = FixedWidth(QString::fromUtf8("Zo\u00eb \u201cDeadeye\u201d O'Neil"), 30);
    s.DateFired = FixedWidth(QStringLiteral("2004-03-14"), 20);
    s.Firearm = FixedWidth(QStringLiteral("Rem 700, .308"), 30);
    s.Caliber = FixedWidth(QString::fromUtf8("7,62 \u00d7 51"), 30);
    s.LotNumber = FixedWidth(QStringLiteral("L-2231"), 30);
    s.Comments = FixedWidth(QStringLiteral("He said \"ok\"\nsecond line, \u20ac 5"), 354);
    s.RangeToTarget = 137.5f;
    for (int i = 0; i < shots; ++i) {
        const float x = float(i) * 0.1234567f - 1.1f, y = 2.0f / float(i + 3);
        AddShots(s, {{x, y}});
    }
    s.ImageScale = 6.944444E-04f;
    s.CalPoint1X = 1440.5f;
    s.CalPoint2X = 4320;
    s.CalPoint1Y = 720;
    s.CalPoint2Y = 733.25f;
    s.CalDistance = 2;
    s.AimX = 1.5f;
    s.AimY = 2.25f;
    s.ImagePath = QStringLiteral("/targets/t \"1\".jpg");
    s.UnitName = QStringLiteral("Centimeters");
    s.GraphicalEntryActive = true;
    s.ShowAxes = true;
    s.ShowCentroid = false;
    s.FullScreenCursor = true;
    s.BackColor = 16777215;
}

bool SameTo7Digits(float a, float b) { return std::fabs(a - b) <= 5e-7f * std::fabs(a); }
} // namespace

class TestStatsFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void writtenBytes();
    void olderReleasesFiles();
    void damagedFilesLeaveSession_data();
    void damagedFilesLeaveSession();
    void failedSaveKeepsOldFile();
};

void TestStatsFile::roundTrip_data()
{
    QTest::addColumn<int>("shots");
    QTest::newRow("0 shots") << 0;
    QTest::newRow("1 shot") << 1;
    QTest::newRow("21 shots") << 21;
}

void TestStatsFile::roundTrip()
{
    QFETCH(int, shots);
    QTemporaryDir dir;
    Session out;
    FillGroup(out, shots);
    out.StatsSaved = false;
    const QString path = dir.filePath(QStringLiteral("group.pxs"));
    QVERIFY(SaveStatsFile(out, path));
    QVERIFY(out.StatsSaved);

    Session in;
    PrepareTestSession(in);
    QVERIFY(OpenStatsFile(in, path));
    QCOMPARE(in.StatsFilePath, path);
    QVERIFY(in.StatsSaved);
    for (QString Session::*f : {&Session::ShooterName, &Session::DateFired, &Session::Firearm,
                                &Session::Caliber, &Session::LotNumber, &Session::UnitName})
        QCOMPARE(in.*f, out.*f);
    // A double quote comes back as the two apostrophes every reader sees;
    // nothing after it moves.
    QCOMPARE(in.Comments, FixedWidth(QStringLiteral("He said ''ok''\nsecond line, \u20ac 5"), 354));
    QCOMPARE(in.ImagePath, QStringLiteral("/targets/t ''1''.jpg"));
    QCOMPARE(in.ShotCount, out.ShotCount);
    QVERIFY(in.GraphicalEntryActive && in.ShowAxes && !in.ShowCentroid && in.FullScreenCursor);
    QCOMPARE(in.BackColor, 16777215);
    QVERIFY(in.ImageCalibrated && in.RangeEntered);
    for (int i = 1; i <= shots; ++i) {
        QVERIFY(SameTo7Digits(in.ShotX[i], out.ShotX[i]));
        QVERIFY(SameTo7Digits(in.ShotY[i], out.ShotY[i]));
        QVERIFY(SameTo7Digits(in.ShotR[i], out.ShotR[i]));
    }
    for (float Session::*f : {&Session::RangeToTarget, &Session::ImageScale, &Session::CalPoint1X,
                              &Session::CalPoint2X, &Session::CalPoint1Y, &Session::CalPoint2Y,
                              &Session::CalDistance, &Session::AimX, &Session::AimY})
        QVERIFY(SameTo7Digits(in.*f, out.*f));
    if (shots > 1)
        QVERIFY(SameTo7Digits(in.GroupSize, out.GroupSize));
    else
        QCOMPARE(in.GroupSize, 0.0f);
}

void TestStatsFile::writtenBytes()
{
    Session s;
    PrepareTestSession(s);
    const QByteArray empty = StatsFileBytes(s);
    QCOMPARE(empty.count("\r\n"), 24);
    QCOMPARE(empty.count('\n'), 24);
    const QList<QByteArray> r = empty.split('\n');
    QCOMPARE(r[0], QByteArray("\"2.0.13\"\r"));
    QCOMPARE(r[6], "\"" + QByteArray(354, ' ') + "\"\r");
    QCOMPARE(r[9], QByteArray("-1\r"));
    QCOMPARE(r[19], QByteArray("#FALSE#\r"));
    QCOMPARE(r[23], QByteArray("-2147483633\r"));

    AddShots(s, {{3, -4}, {0.5f, -0.25f}});
    s.ShooterName = FixedWidth(QString::fromUtf8("Jos\u00e9"), 30);
    s.Comments = FixedWidth(QStringLiteral("He said \"ok\""), 354);
    s.GraphicalEntryActive = true;
    const QList<QByteArray> g = StatsFileBytes(s).split('\n');
    QCOMPARE(g.size() - 1, 28);
    QCOMPARE(g[1], "\"Jos\xe9" + QByteArray(26, ' ') + "\"\r");
    QCOMPARE(g[6], "\"He said ''ok''" + QByteArray(342, ' ') + "\"\r");
    QCOMPARE(g[11], QByteArray("0.5\r"));
    QCOMPARE(g[12], QByteArray("-0.25\r"));
    QCOMPARE(g[23], QByteArray("#TRUE#\r"));
}

void TestStatsFile::olderReleasesFiles()
{
    Session s;
    PrepareTestSession(s);
    QVERIFY(OpenStatsFile(s, FixturePath("keyboard_old.pxs")));
    QCOMPARE(s.ShooterName, FixedWidth(QString::fromUtf8("Jos\u00e9 M\u00fcller"), 30));
    QCOMPARE(s.Comments,
             FixedWidth(QString::fromUtf8("Windy \u20ac cold, 5 mph from 9 o\u2019clock"), 354));
    QCOMPARE(s.ShotCount, 3);
    QCOMPARE(s.ShotY[3], 6.944444E-04f);
    QCOMPARE(s.ShotR[1], RadialDistance(0.5f, -0.25f));
    QVERIFY(!s.GraphicalEntryActive);

    Session g;
    PrepareTestSession(g);
    QVERIFY(OpenStatsFile(g, FixturePath("graph_old.pxs")));
    QVERIFY(g.GraphicalEntryActive);
    QVERIFY(g.ImageCalibrated);
    QCOMPARE(g.ImageScale, 6.944444E-04f);
    QCOMPARE(g.CalPoint2X, 4320.0f);
    // Paths of earlier releases are kept as they stand.
    QCOMPARE(g.ImagePath, QStringLiteral("C:\\Targets\\t1.jpg"));
    QVERIFY(g.ShowAxes && !g.ShowCentroid && g.FullScreenCursor);
}

void TestStatsFile::damagedFilesLeaveSession_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("22 shots") << FixturePath("damaged_22shots.pxs");
    QTest::newRow("prose") << FixturePath("not_stats.pxs");
    QTest::newRow("binary") << FixturePath("binary.pxs");
    QTest::newRow("folder") << QStringLiteral(PELTRIX_TEST_DATA);
}

void TestStatsFile::damagedFilesLeaveSession()
{
    QFETCH(QString, path);
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{1, 1}, {2, 3}, {4, 1}});
    s.StatsFilePath = QStringLiteral("/somewhere/current.pxs");
    s.StatsSaved = false;
    s.Comments = FixedWidth(QStringLiteral("keep me"), 354);
    const Session before = s;
    ScriptedPrompter prompter;
    QVERIFY(!OpenStatsFileOrTell(s, path, prompter));
    QCOMPARE(prompter.messages().size(), 1);
    QCOMPARE(s.ShotCount, before.ShotCount);
    QCOMPARE(s.ShotX, before.ShotX);
    QCOMPARE(s.GroupSize, before.GroupSize);
    QCOMPARE(s.StatsFilePath, before.StatsFilePath);
    QCOMPARE(s.StatsSaved, false);
    QCOMPARE(s.Comments, before.Comments);
    QCOMPARE(s.EntryWindowOpen, before.EntryWindowOpen);
}

void TestStatsFile::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    Session s;
    FillGroup(s, 5);
    const QString path = dir.filePath(QStringLiteral("group.pxs"));
    QVERIFY(SaveStatsFile(s, path));
    const QByteArray good = ReadBytes(path);
    AddShots(s, {{9, 9}});
    s.StatsSaved = false;
    ScriptedPrompter prompter;
    {
        // The disk fills up in the middle of the file.
        FileSizeLimit limit(200);
        QVERIFY(!SaveStatsFileOrTell(s, path, prompter));
    }
    QCOMPARE(ReadBytes(path), good);
    QVERIFY(!s.StatsSaved);
    QCOMPARE(prompter.messages().size(), 1);
    QCOMPARE(prompter.messages()[0].title, QStringLiteral("Save Failed"));
    QVERIFY(prompter.messages()[0].text.contains(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("group.pxs")});

    // A folder that vanished.
    QString why;
    QVERIFY(!SaveStatsFile(s, dir.filePath(QStringLiteral("gone/group.pxs")), &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(!s.StatsSaved);
}

QTEST_MAIN(TestStatsFile)
#include "test_statsfile.moc"
