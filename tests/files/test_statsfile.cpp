// The .pxs file: round trips, its bytes, files of earlier releases and
// damaged files (failed writes are in test_failedwrites).
#include "files/statsfile.h"
#include "filetestutil.h"
#include "model/textnum.h"
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
    s.Comments = FixedWidth(QStringLiteral("He said ok\nsecond line, \u20ac 5"), 354);
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
    QVERIFY(in.StatsSaved && in.ImageCalibrated && in.RangeEntered);
    QCOMPARE(in.ShotCount, shots);
    // Every field comes back as the file holds it (numbers to 7 digits), the
    // double quote as the two apostrophes every reader sees.
    QCOMPARE(StatsFileBytes(in), ReadBytes(path));
    QCOMPARE(in.ImagePath, QStringLiteral("/targets/t ''1''.jpg"));
    if (shots > 1) {
        QVERIFY(SameTo7Digits(in.GroupSize, out.GroupSize));
        QVERIFY(SameTo7Digits(in.ShotR[shots], out.ShotR[shots]));
    } else {
        QCOMPARE(in.GroupSize, 0.0f);
    }
}

void TestStatsFile::writtenBytes()
{
    Session s;
    PrepareTestSession(s);
    QCOMPARE(StatsFileBytes(s).count("\r\n"), 24); // no shots: no shot records
    AddShots(s, {{3, -4}, {0.5f, -0.25f}});
    s.ShooterName = FixedWidth(QString::fromUtf8("Jos\u00e9"), 30);
    s.Comments = FixedWidth(QStringLiteral("He said \"ok\""), 354);
    s.GraphicalEntryActive = true;
    const QByteArray bytes = StatsFileBytes(s);
    QCOMPARE(bytes.count('\n'), 28);
    QCOMPARE(bytes.count("\r\n"), 28);
    const QList<QByteArray> g = bytes.split('\n');
    QCOMPARE(g[0], QByteArray("\"2.0.13\"\r"));
    QCOMPARE(g[1], "\"Jos\xe9" + QByteArray(26, ' ') + "\"\r");
    QCOMPARE(g[6], "\"He said ''ok''" + QByteArray(342, ' ') + "\"\r");
    QCOMPARE(g[11], QByteArray("0.5\r"));
    QCOMPARE(g[12], QByteArray("-0.25\r"));
    QCOMPARE(g[23], QByteArray("#TRUE#\r"));
    QCOMPARE(g[27], QByteArray("-2147483633\r"));
    // Read back, the two apostrophes stand for the quote and nothing after them moves.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("q.pxs"));
    QVERIFY(WriteBytes(path, bytes) && OpenStatsFile(s, path));
    QCOMPARE(s.Comments, FixedWidth(QStringLiteral("He said ''ok''"), 354));
    QCOMPARE(s.ShotY[2], -0.25f);
}

void TestStatsFile::olderReleasesFiles()
{
    Session s;
    PrepareTestSession(s);
    QVERIFY(OpenStatsFile(s, FixturePath("keyboard_old.pxs")));
    QCOMPARE(s.Comments,
             FixedWidth(QString::fromUtf8("Windy \u20ac cold, 5 mph from 9 o\u2019clock"), 354));
    QCOMPARE(s.ShotCount, 3);
    QCOMPARE(s.ShotY[3], 6.944444E-04f);
    QVERIFY(!s.GraphicalEntryActive);
    Session g;
    PrepareTestSession(g);
    QVERIFY(OpenStatsFile(g, FixturePath("graph_old.pxs")));
    QVERIFY(g.GraphicalEntryActive && g.ImageCalibrated);
    QCOMPARE(g.CalPoint2X, 4320.0f);
    // Paths of earlier releases are kept as they stand.
    QCOMPARE(g.ImagePath, QStringLiteral("C:\\Targets\\t1.jpg"));
    QVERIFY(g.ShowAxes && !g.ShowCentroid && g.FullScreenCursor);
    // Their texts resave in Windows-1252 byte for byte (the numbers in the
    // program's own form).
    for (const Session *opened : {&s, &g}) {
        const QList<QByteArray> old =
            ReadBytes(FixturePath(opened == &s ? "keyboard_old.pxs" : "graph_old.pxs")).split('\n');
        QCOMPARE(StatsFileBytes(*opened).split('\n').mid(1, 6), old.mid(1, 6));
    }
}

void TestStatsFile::damagedFilesLeaveSession_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("22 shots") << FixturePath("damaged_22shots.pxs");
    QTest::newRow("cut short") << FixturePath("damaged_short.pxs");
    QTest::newRow("prose") << FixturePath("not_stats.pxs");
    QTest::newRow("binary") << FixturePath("binary.pxs");
    QTest::newRow("folder") << QStringLiteral(PELTRIX_TEST_DATA);
    QTest::newRow("missing") << FixturePath("no_such.pxs");
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

    // The companion reads through the same code: refused, nothing written.
    QTemporaryDir dir;
    for (const QStringList &args :
         {QStringList{QStringLiteral("stats"), path},
          QStringList{QStringLiteral("resave"), path, dir.filePath(QStringLiteral("o.pxs"))},
          QStringList{QStringLiteral("report"), path, QStringLiteral("--pdf"),
                      dir.filePath(QStringLiteral("o.pdf"))}}) {
        const CliRun r = RunCliCaptured(args);
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(QStringLiteral(" is not a valid Peltrix statistics file.")),
                 qPrintable(r.err));
    }
    QVERIFY(QDir(dir.path()).isEmpty());
}

QTEST_MAIN(TestStatsFile)
#include "test_statsfile.moc"
