// peltrix.ini and the program's folders: first run, later runs, old and
// damaged files, failed writes, and what "Save Now" / "Save on Exit" keep.
#include "app/textnum.h"
#include "config/configfile.h"
#include "filetestutil.h"
#include "platform/scriptedprompter.h"
#include "testsupport.h"

#include <QtTest>

namespace {
// One start of the program against folders in a temporary directory.
struct Run {
    explicit Run(const QString &root) : host(HostFolders::InFolder(root))
    {
        QDir().mkpath(host.documentsDir);
        QDir().mkpath(host.installDir);
        QDir().mkpath(host.userProfile);
    }
    ConfigLoad Start()
    {
        ResolveFolders(s, host, prompter);
        const ConfigLoad r = LoadConfigFile(s, prompter);
        ResetSession(s);
        return r;
    }
    HostFolders host;
    Session s;
    ScriptedPrompter prompter;
};

QList<QByteArray> lines(const QByteArray &bytes)
{
    QList<QByteArray> l = bytes.split('\n');
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}
} // namespace

class TestConfigFile : public QObject {
    Q_OBJECT
private slots:
    void firstRunThenNextRun();
    void writtenLayout();
    void oldFileKeepsItsValues();
    void damagedFilesStart();
    void failedWriteKeepsGoodFile();
};

void TestConfigFile::firstRunThenNextRun()
{
    QTemporaryDir dir;
    {
        Run first(dir.path());
        QVERIFY(WriteBytes(first.host.installDir + QStringLiteral("/peltrix.ini"),
                           ReadBytes(FixturePath("peltrix_old.ini"))));
        QVERIFY(!QFileInfo::exists(first.host.appDataDir));
        QCOMPARE(first.Start(), ConfigLoad::FirstRun);
        QVERIFY(first.prompter.messages().isEmpty());
        // The installation's values, but the folders are the user's documents.
        QCOMPARE(first.s.DefRangeToTarget, 0.5f);
        QCOMPARE(first.s.ShooterName, FixedWidth(QString::fromUtf8("Jos\u00e9"), 30));
        QCOMPARE(first.s.UnitName, QStringLiteral("Centimeters"));
        QCOMPARE(first.s.CalDistance, 6.944444E-04f);
        QCOMPARE(first.s.StatsDir, first.host.documentsDir);
        QCOMPARE(first.s.ImageDir, first.host.documentsDir);
        QVERIFY(QFileInfo(first.host.appDataDir).isDir());
        QVERIFY(!QFileInfo::exists(ConfigFilePath(first.s)));
        QVERIFY(SaveConfigFile(first.s));
        QVERIFY(QFileInfo::exists(ConfigFilePath(first.s)));
    }
    Run next(dir.path());
    // The installation's copy no longer matters.
    QVERIFY(WriteBytes(next.host.installDir + QStringLiteral("/peltrix.ini"),
                       QByteArray("\"2.0.13\"\r\n999\r\n")));
    QCOMPARE(next.Start(), ConfigLoad::Loaded);
    QCOMPARE(next.s.RangeToTarget, 0.5f);
    QCOMPARE(next.s.UnitName, QStringLiteral("Centimeters"));
    QCOMPARE(next.s.StatsDir, next.host.documentsDir);
    QCOMPARE(next.s.BackColor, ButtonFaceColor);
    QCOMPARE(next.s.FullScreenCursor, true);
    QCOMPARE(next.s.ShowCentroid, false);
    QCOMPARE(next.s.ShowAxes, true);

    // Neither copy: the install values, and the user's copy comes at close.
    QTemporaryDir empty;
    Run bare(empty.path());
    QCOMPARE(bare.Start(), ConfigLoad::FirstRun);
    QCOMPARE(bare.s.RangeToTarget, 100.0f);
    QCOMPARE(bare.s.UnitName, QStringLiteral("Inches"));
    QVERIFY(SaveConfigFile(bare.s));
    QCOMPARE(lines(ReadBytes(ConfigFilePath(bare.s))).size(), 13);
}

void TestConfigFile::writtenLayout()
{
    QTemporaryDir dir;
    Run run(dir.path());
    run.Start();
    run.s.SaveDefShowAxes = true;
    run.s.DefShowAxes = true;
    run.s.SaveDefFirearm = true;
    run.s.DefFirearm = QStringLiteral("Say \"when\"");
    const QByteArray bytes = ConfigFileBytes(run.s);
    const QList<QByteArray> l = lines(bytes);
    QCOMPARE(l.size(), 13);
    for (const QByteArray &line : l) QVERIFY(line.endsWith('\r'));
    QCOMPARE(bytes.count('\n'), 13);
    QCOMPARE(l[0], QByteArray("\"2.0.13\"\r"));
    QCOMPARE(l[1], QByteArray("100\r"));
    QCOMPARE(l[2], QByteArray("\"" + QByteArray(30, ' ') + "\"\r"));
    QCOMPARE(l[3], "\"Say ''when''" + QByteArray(20, ' ') + "\"\r");
    QCOMPARE(l[5], QByteArray("\"Inches\"\r"));
    QCOMPARE(l[6], QByteArray("1\r"));
    QCOMPARE(l[7], QByteArray("-2147483633\r"));
    QCOMPARE(l[8], QByteArray("#FALSE#\r"));
    QCOMPARE(l[10], QByteArray("#TRUE#\r"));
    QCOMPARE(l[11], "\"" + run.host.documentsDir.toLatin1() + "\"\r");

    // The shipped copy is a file of this very layout.
    const QByteArray shipped =
        ReadBytes(QStringLiteral(PELTRIX_TEST_DATA "/../../data/peltrix.ini"));
    QCOMPARE(lines(shipped).size(), 13);
    Session s;
    QCOMPARE(ParseConfigRecords(s, shipped).records, 13);
    QCOMPARE(s.IniBackColor, ButtonFaceColor);
    QCOMPARE(s.IniShooterName, QString(30, QLatin1Char(' ')));
}

void TestConfigFile::oldFileKeepsItsValues()
{
    // All selections off: the file written at exit holds what was read, in the
    // program's own form, with this version in line 1.
    QTemporaryDir dir;
    Run run(dir.path());
    QVERIFY(WriteBytes(run.host.appDataDir + QStringLiteral("/peltrix.ini"),
                       ReadBytes(FixturePath("peltrix_old.ini"))));
    QCOMPARE(run.Start(), ConfigLoad::Loaded);
    QCOMPARE(run.s.StatsDir, QStringLiteral("D:\\Documents and Settings\\jo\\Targets"));
    run.s.RangeToTarget = 300;
    run.s.UnitName = QStringLiteral("Furlongs");
    QVERIFY(SaveConfigFile(run.s));
    const QByteArray expected =
        QByteArray("\"2.0.13\"\r\n0.5\r\n\"Jos\xe9") + QByteArray(26, ' ') + "\"\r\n\"" +
        QByteArray(30, ' ') + "\"\r\n\"" + QByteArray(30, ' ') +
        "\"\r\n\"Centimeters\"\r\n0.0006944444\r\n-2147483633\r\n#TRUE#\r\n"
        "#FALSE#\r\n#TRUE#\r\n\"D:\\Documents and Settings\\jo\\Targets\"\r\n"
        "\"C:\\Targets\"\r\n";
    QCOMPARE(ReadBytes(ConfigFilePath(run.s)), expected);
}

void TestConfigFile::damagedFilesStart()
{
    // The short file: what it holds is kept, the rest takes install values;
    // damaged files are the concern of test_configdamage.
    QTemporaryDir dir;
    Run run(dir.path());
    QVERIFY(WriteBytes(run.host.appDataDir + QStringLiteral("/peltrix.ini"),
                       ReadBytes(FixturePath("peltrix_short.ini"))));
    QCOMPARE(run.Start(), ConfigLoad::Loaded);
    QVERIFY(run.prompter.messages().isEmpty());
    QVERIFY(SaveConfigFile(run.s));
    const QByteArray written = ReadBytes(ConfigFilePath(run.s));
    QCOMPARE(lines(written).size(), 13);
    // The next run reads every record of what was written.
    Session again;
    QCOMPARE(ParseConfigRecords(again, written).records, 13);
    QCOMPARE(run.s.RangeToTarget, 0.5f);
    QCOMPARE(run.s.UnitName, QStringLiteral("Inches"));
    QCOMPARE(run.s.BackColor, ButtonFaceColor);
    QCOMPARE(run.s.StatsDir, run.host.documentsDir);
}

void TestConfigFile::failedWriteKeepsGoodFile()
{
    TestApp t;
    t.app->ResolveFolders();
    t.app->LoadConfig();
    ResetSession(t.session);
    QVERIFY(SaveConfigFile(t.session));
    const QString path = ConfigFilePath(t.session);
    const QByteArray good = ReadBytes(path);
    t.session.SaveDefCaliber = true;
    t.session.DefCaliber = FixedWidth(QStringLiteral("6.5 Creedmoor"), 30);
    {
        FileSizeLimit limit(40);
        t.app->SaveConfig();
    }
    QCOMPARE(ReadBytes(path), good);
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(t.prompter.messages()[0].title, QStringLiteral("Configuration File"));
    QVERIFY(t.prompter.messages()[0].text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(QDir(t.session.AppDataDir).entryList(QDir::Files),
             QStringList{QStringLiteral("peltrix.ini")});
}

QTEST_MAIN(TestConfigFile)
#include "test_configfile.moc"
