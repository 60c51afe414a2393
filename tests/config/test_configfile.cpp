// peltrix.ini and the program's folders: first run, later runs, old and
// damaged files, failed writes, and what "Save Now" / "Save on Exit" keep.
#include "app/textnum.h"
#include "config/configfile.h"
#include "platform/scriptedprompter.h"
#include "testsupport.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray fixture(const char *name)
{
    return readAll(QStringLiteral(PELTRIX_TEST_DATA "/") + QString::fromLatin1(name));
}

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

// Writes beyond `bytes` fail for as long as it lives, as on a full disk.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit l = old;
        l.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
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
    void findTextEnd();
    void resolveFolders();
    void firstRunThenNextRun();
    void writtenLayout();
    void oldFileKeepsItsValues();
    void damagedFilesStart();
    void legacySystemRules();
    void saveNowKeepsOnlySelected();
    void saveOnExitCapturesAtClose();
    void failedWriteKeepsGoodFile();
};

void TestConfigFile::findTextEnd()
{
    QString buffer = QStringLiteral("C:\\Users\\a") + QString(250, QChar(0));
    QCOMPARE(buffer.size(), 260);
    QCOMPARE(FindTextEnd(buffer), 11);
    QCOMPARE(FindTextEnd(QString()), 1);
    // A text without a terminator keeps all of its characters.
    QCOMPARE(FindTextEnd(QStringLiteral("abcde")), 6);
    QCOMPARE(FindTextEnd(QStringLiteral("ab\tc")), 3);
}

void TestConfigFile::resolveFolders()
{
    QTemporaryDir dir;
    Run run(dir.path());
    ResolveFolders(run.s, run.host, run.prompter);
    QVERIFY(run.s.IsWindowsNT);
    QCOMPARE(run.s.AppDataDir, run.host.appDataDir);
    QCOMPARE(run.s.UserProfileDir.size(), UserProfileWidth);
    QCOMPARE(run.s.UserProfileDir.left(FindTextEnd(run.s.UserProfileDir) - 1),
             run.host.userProfile);
    QCOMPARE(run.s.DocumentsDir, run.host.documentsDir);
    QVERIFY(run.prompter.messages().isEmpty());

    // No profile: said once, and start-up goes on without a data folder.
    Run lost(dir.path());
    lost.host.userProfile.clear();
    QCOMPARE(lost.Start(), ConfigLoad::FirstRun);
    QCOMPARE(lost.prompter.messages().size(), 1);
    QCOMPARE(lost.prompter.messages()[0].text,
             QStringLiteral("Could not resolve UserProfile. Please contact Technical Support"));
    QVERIFY(lost.s.AppDataDir.isEmpty());
    QString why;
    QVERIFY(!SaveConfigFile(lost.s, &why));
    QVERIFY(!why.isEmpty());
}

void TestConfigFile::firstRunThenNextRun()
{
    QTemporaryDir dir;
    {
        Run first(dir.path());
        writeAll(first.host.installDir + QStringLiteral("/peltrix.ini"),
                 fixture("peltrix_old.ini"));
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
    writeAll(next.host.installDir + QStringLiteral("/peltrix.ini"),
             QByteArray("\"2.0.13\"\r\n999\r\n"));
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
    QCOMPARE(lines(readAll(ConfigFilePath(bare.s))).size(), 13);
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
    const QByteArray shipped = readAll(QStringLiteral(PELTRIX_TEST_DATA "/../../data/peltrix.ini"));
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
    writeAll(run.host.appDataDir + QStringLiteral("/peltrix.ini"), fixture("peltrix_old.ini"));
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
    QCOMPARE(readAll(ConfigFilePath(run.s)), expected);
}

void TestConfigFile::damagedFilesStart()
{
    // The short file: what it holds is kept, the rest takes install values;
    // damaged files are the concern of test_configdamage.
    QTemporaryDir dir;
    Run run(dir.path());
    writeAll(run.host.appDataDir + QStringLiteral("/peltrix.ini"), fixture("peltrix_short.ini"));
    QCOMPARE(run.Start(), ConfigLoad::Loaded);
    QVERIFY(run.prompter.messages().isEmpty());
    QCOMPARE(run.s.ShooterName.size(), 30);
    QVERIFY(SaveConfigFile(run.s));
    const QByteArray written = readAll(ConfigFilePath(run.s));
    QCOMPARE(lines(written).size(), 13);
    // The next run reads every record of what was written.
    Session again;
    QCOMPARE(ParseConfigRecords(again, written).records, 13);
    QCOMPARE(run.s.RangeToTarget, 0.5f);
    QCOMPARE(run.s.UnitName, QStringLiteral("Inches"));
    QCOMPARE(run.s.BackColor, ButtonFaceColor);
    QCOMPARE(run.s.StatsDir, run.host.documentsDir);
}

void TestConfigFile::legacySystemRules()
{
    QTemporaryDir dir;
    // Not the NT family: the settings lie beside the program, and without them it ends.
    Run missing(dir.path());
    missing.host.os = QStringLiteral("Windows_95");
    QCOMPARE(missing.Start(), ConfigLoad::Missing);
    QCOMPARE(missing.prompter.messages().size(), 1);
    QCOMPARE(missing.prompter.messages()[0].title, QStringLiteral("Missing Configuration File"));
    QCOMPARE(
        missing.prompter.messages()[0].text,
        QStringLiteral(
            "Missing configuration file peltrix.ini.  Please contact Peltrix Technical Support."));

    Run legacy(dir.path());
    legacy.host.os = QStringLiteral("Windows_95");
    writeAll(legacy.host.installDir + QStringLiteral("/peltrix.ini"), fixture("peltrix_old.ini"));
    QCOMPARE(legacy.Start(), ConfigLoad::Loaded);
    QVERIFY(!legacy.s.IsWindowsNT);
    QCOMPARE(legacy.s.AppDataDir, legacy.host.installDir);
    // A profile folder of the NT family means nothing here.
    QCOMPARE(legacy.s.StatsDir, legacy.host.documentsDir);
    QCOMPARE(legacy.s.ImageDir, QStringLiteral("C:\\Targets"));
}

void TestConfigFile::saveNowKeepsOnlySelected()
{
    TestApp t;
    QDir().mkpath(t.app->host.documentsDir);
    writeAll(t.app->host.appDataDir + QStringLiteral("/peltrix.ini"), fixture("peltrix_old.ini"));
    t.app->ResolveFolders();
    t.app->LoadConfig();
    ResetSession(t.session);
    const QByteArray before = readAll(ConfigFilePath(t.session));
    t.session.UnitName = QStringLiteral("Centimeters");
    t.session.ShooterName = FixedWidth(QStringLiteral("Nobody"), 30);
    t.session.UnitName = QStringLiteral("Inches");
    t.session.SaveDefUnitName = true;
    CaptureDefaults(t.session);
    QVERIFY(SaveConfigFile(t.session));
    QList<QByteArray> now = lines(readAll(ConfigFilePath(t.session)));
    QCOMPARE(now[5], QByteArray("\"Inches\"\r"));
    QList<QByteArray> old = lines(before);
    for (int i = 1; i < 13; ++i)
        if (i != 5 && i != 1 && i != 6) QCOMPARE(now[i], old[i]);
    // The write at exit keeps the same lines.
    t.session.UnitName = QStringLiteral("Yards");
    t.app->SaveConfig();
    QCOMPARE(lines(readAll(ConfigFilePath(t.session)))[5], QByteArray("\"Inches\"\r"));
}

void TestConfigFile::saveOnExitCapturesAtClose()
{
    TestApp t;
    t.app->ResolveFolders();
    t.app->LoadConfig();
    ResetSession(t.session);
    t.session.SaveDefRangeToTarget = true;
    t.session.SaveDefBackColor = true;
    t.session.SaveDefaultsOnExit = true;
    t.session.RangeToTarget = 250;
    t.session.BackColor = 255;
    t.session.ShowAxes = true; // not selected
    t.app->SaveConfig();
    const QList<QByteArray> l = lines(readAll(ConfigFilePath(t.session)));
    QCOMPARE(l[1], QByteArray("250\r"));
    QCOMPARE(l[7], QByteArray("255\r"));
    QCOMPARE(l[10], QByteArray("#FALSE#\r"));
    QVERIFY(t.prompter.messages().isEmpty());
}

void TestConfigFile::failedWriteKeepsGoodFile()
{
    TestApp t;
    t.app->ResolveFolders();
    t.app->LoadConfig();
    ResetSession(t.session);
    QVERIFY(SaveConfigFile(t.session));
    const QString path = ConfigFilePath(t.session);
    const QByteArray good = readAll(path);
    t.session.SaveDefCaliber = true;
    t.session.DefCaliber = FixedWidth(QStringLiteral("6.5 Creedmoor"), 30);
    {
        FileSizeLimit limit(40);
        t.app->SaveConfig();
    }
    QCOMPARE(readAll(path), good);
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(t.prompter.messages()[0].title, QStringLiteral("Configuration File"));
    QVERIFY(t.prompter.messages()[0].text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(QDir(t.session.AppDataDir).entryList(QDir::Files),
             QStringList{QStringLiteral("peltrix.ini")});
}

QTEST_MAIN(TestConfigFile)
#include "test_configfile.moc"
