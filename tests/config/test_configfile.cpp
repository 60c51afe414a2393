// peltrix.ini and the program's folders: first run, later runs and old files
// (damaged files in test_configdamage, failed writes in test_failedwrites).
#include "config/configfile.h"
#include "filetestutil.h"
#include "model/textnum.h"
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
    void shippedCopy();
    void oldFileKeepsItsValues();
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
        QCOMPARE(first.s.UnitName, QStringLiteral("Centimeters"));
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

    // Neither copy: the install values, and the user's copy comes at close.
    QTemporaryDir empty;
    Run bare(empty.path());
    QCOMPARE(bare.Start(), ConfigLoad::FirstRun);
    QCOMPARE(bare.s.RangeToTarget, 100.0f);
    QVERIFY(SaveConfigFile(bare.s));
    QCOMPARE(lines(ReadBytes(ConfigFilePath(bare.s))).size(), 13);
}

void TestConfigFile::shippedCopy()
{
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
    // Selections off: the file written at exit holds what was read, in the
    // program's own form, with this version in line 1.
    QTemporaryDir dir;
    Run run(dir.path());
    QVERIFY(WriteBytes(run.host.appDataDir + QStringLiteral("/peltrix.ini"),
                       ReadBytes(FixturePath("peltrix_old.ini"))));
    QCOMPARE(run.Start(), ConfigLoad::Loaded);
    QCOMPARE(run.s.StatsDir, QStringLiteral("D:\\Documents and Settings\\jo\\Targets"));
    run.s.RangeToTarget = 300;
    run.s.UnitName = QStringLiteral("Furlongs");
    // A double quote cannot stand inside a record: two apostrophes take its place.
    run.s.SaveDefFirearm = true;
    run.s.DefFirearm = QStringLiteral("Say \"when\"");
    QVERIFY(SaveConfigFile(run.s));
    const QByteArray expected =
        QByteArray("\"2.0.13\"\r\n0.5\r\n\"Jos\xe9") + QByteArray(26, ' ') +
        "\"\r\n\"Say ''when''" + QByteArray(20, ' ') + "\"\r\n\"" + QByteArray(30, ' ') +
        "\"\r\n\"Centimeters\"\r\n0.0006944444\r\n-2147483633\r\n#TRUE#\r\n"
        "#FALSE#\r\n#TRUE#\r\n\"D:\\Documents and Settings\\jo\\Targets\"\r\n"
        "\"C:\\Targets\"\r\n";
    QCOMPARE(ReadBytes(ConfigFilePath(run.s)), expected);
}

QTEST_MAIN(TestConfigFile)
#include "test_configfile.moc"
