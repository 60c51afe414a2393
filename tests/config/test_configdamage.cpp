// A peltrix.ini that is damaged, short or cannot be read: every record is
// checked against its setting's type and range; a damaged file is set aside
// and never shifts a value into another setting; an unreadable one is never
// written over. The settings files of Find, the logbook and the target sheet
// read what earlier versions wrote, and a damaged value as its default.
#include "config/configfile.h"
#include "filetestutil.h"
#include "graph/holefinder.h"
#include "logbook/logbook.h"
#include "model/settings.h"
#include "sheet/sheetwork.h"
#include "testsupport.h"

#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The thirteen lines of a good file, without their line ends.
QList<QByteArray> goodLines()
{
    QList<QByteArray> l = ReadBytes(FixturePath("peltrix_old.ini")).split('\n');
    l.removeLast();
    for (QByteArray &line : l) line.chop(1);
    return l;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines) out += l + "\r\n";
    return out;
}

// The user's own file, read at start-up as the program does.
QString startWith(TestApp &t, const std::function<void(const QString &)> &place)
{
    const QString ini = t.app->host.appDataDir + QStringLiteral("/peltrix.ini");
    QDir().mkpath(t.app->host.appDataDir);
    place(ini);
    t.app->ResolveFolders();
    return ini;
}
} // namespace

class TestConfigDamage : public QObject {
    Q_OBJECT
private slots:
    void damagedFileSetAside_data();
    void damagedFileSetAside();
    void shortFileKeepsWhatItHolds_data();
    void shortFileKeepsWhatItHolds();
    void unreadableFileLeftAlone_data();
    void unreadableFileLeftAlone();
    void featureFiles_data();
    void featureFiles();
};

void TestConfigDamage::damagedFileSetAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QList<QByteArray> good = goodLines();
    QCOMPARE(good.size(), 13);
    auto without = [&](int line) {
        QList<QByteArray> l = good;
        l.removeAt(line - 1);
        return joined(l);
    };
    auto with = [&](int line, const QByteArray &record) {
        QList<QByteArray> l = good;
        l[line - 1] = record;
        return joined(l);
    };
    QTest::newRow("range missing") << without(2);
    QTest::newRow("range not a number") << with(2, "abc");
    QTest::newRow("unit unquoted") << with(6, "Inches");
    QTest::newRow("calibration distance 0") << with(7, "0");
    QTest::newRow("boolean unknown") << with(10, "#MAYBE#");
    QTest::newRow("blank line in the middle") << with(11, "");
    QTest::newRow("two values in one record") << with(7, "1,5");
    QTest::newRow("garbage") << ReadBytes(FixturePath("peltrix_garbage.ini"));
}

void TestConfigDamage::damagedFileSetAside()
{
    QFETCH(QByteArray, bytes);
    TestApp t;
    const QString ini =
        startWith(t, [&](const QString &path) { QVERIFY(WriteBytes(path, bytes)); });
    QCOMPARE(LoadConfigFile(t.session, t.prompter), ConfigLoad::Damaged);
    ResetSession(t.session);

    // Every setting, current and kept, takes its install value.
    Session install;
    install.DocumentsDir = t.session.DocumentsDir;
    SetInstallDefaults(install);
    QCOMPARE(ConfigFileBytes(t.session), ConfigFileBytes(install));

    // Said once, naming the file and where it went; the file kept as it was.
    const auto messages = t.prompter.messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].text.contains(QDir::toNativeSeparators(ini) + QLatin1Char(' ')));
    QVERIFY(messages[0].text.contains(QDir::toNativeSeparators(ini + QStringLiteral(".damaged"))));
    QCOMPARE(ReadBytes(ini + QStringLiteral(".damaged")), bytes);
    QVERIFY(!QFileInfo::exists(ini));

    // The write at exit starts afresh; the next start reads it cleanly.
    t.app->SaveConfig();
    QCOMPARE(t.prompter.messages().size(), 1);
    Session next;
    const ConfigRecords read = ParseConfigRecords(next, ReadBytes(ini));
    QCOMPARE(read.records, 13);
    QVERIFY(!read.damaged);
}

void TestConfigDamage::shortFileKeepsWhatItHolds_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<QByteArray>("tail");
    QTest::newRow("empty") << 0 << QByteArray();
    QTest::newRow("up to the colour") << 8 << QByteArray("\r\n\r\n  \r\n");
    QTest::newRow("all but the image folder") << 12 << QByteArray();
}

void TestConfigDamage::shortFileKeepsWhatItHolds()
{
    QFETCH(int, lines);
    QFETCH(QByteArray, tail);
    const QByteArray bytes = joined(goodLines().mid(0, lines)) + tail;
    TestApp t;
    startWith(t, [&](const QString &path) { QVERIFY(WriteBytes(path, bytes)); });
    QCOMPARE(LoadConfigFile(t.session, t.prompter), ConfigLoad::Loaded);
    QVERIFY(t.prompter.messages().isEmpty());

    Session full;
    full.DocumentsDir = t.session.DocumentsDir;
    QVERIFY(!ParseConfigRecords(full, ReadBytes(FixturePath("peltrix_old.ini"))).damaged);
    for (const Setting &setting : Settings())
        std::visit(
            [&](const auto &c) {
                using T = std::decay_t<decltype(t.session.*c.ini)>;
                const T expected =
                    setting.line <= lines ? full.*c.ini : InstallValue<T>(setting, t.session);
                QVERIFY2(t.session.*c.def == expected, setting.checkBox);
            },
            setting.copies);
}

void TestConfigDamage::unreadableFileLeftAlone_data()
{
    QTest::addColumn<QString>("place");
    QTest::newRow("a folder in its place") << QStringLiteral("folder");
    QTest::newRow("a pipe in its place") << QStringLiteral("pipe");
    QTest::newRow("no permission to read") << QStringLiteral("file");
}

void TestConfigDamage::unreadableFileLeftAlone()
{
    QFETCH(QString, place);
    if (place == QLatin1String("file") && geteuid() == 0) QSKIP("the superuser reads every file");
    const QByteArray good = ReadBytes(FixturePath("peltrix_old.ini"));
    TestApp t;
    const QString ini = startWith(t, [&](const QString &path) {
        if (place == QLatin1String("folder")) {
            QDir().mkpath(path + QStringLiteral("/inside"));
        } else if (place == QLatin1String("pipe")) {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QVERIFY(WriteBytes(path, good));
            QFile::setPermissions(path, QFileDevice::WriteOwner);
        }
    });
    t.app->LoadConfig();
    ResetSession(t.session);
    QCOMPARE(t.prompter.messages().size(), 1);
    QVERIFY(t.prompter.messages()[0].text.contains(QDir::toNativeSeparators(ini)));

    // "Save on Exit" then exit: nothing written, nothing said again.
    t.session.SaveDefUnitName = true;
    t.session.SaveDefaultsOnExit = true;
    t.session.UnitName = QStringLiteral("mm");
    t.app->SaveConfig();
    QCOMPARE(t.prompter.messages().size(), 1);
    // "Save Now" is refused with the file's name.
    QVERIFY(!SaveConfigFileOrTell(t.session, t.prompter));
    QCOMPARE(t.prompter.messages().size(), 2);
    QVERIFY(t.prompter.messages()[1].text.contains(QDir::toNativeSeparators(ini)));

    QCOMPARE(QDir(t.app->host.appDataDir)
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("peltrix.ini")});
    if (place == QLatin1String("folder")) {
        QVERIFY(QFileInfo(ini + QStringLiteral("/inside")).isDir());
    } else if (place == QLatin1String("pipe")) {
        QVERIFY(QFileInfo::exists(ini) && !QFileInfo(ini).isFile());
    } else {
        QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(ReadBytes(ini), good);
    }
}

void TestConfigDamage::featureFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("old"); // as the last version wrote it
    QTest::addColumn<QByteArray>("damaged");
    QTest::addColumn<QString>("values"); // what `old` holds
    QTest::newRow("find") << QStringLiteral("find.ini")
                          << QByteArray("\"mm\",7.62\n\"1/2 in\",0.308\n")
                          << QByteArray("[Diameter]\nmm=abc\n1%252F2%20in=-1\n")
                          << QStringLiteral("7.62|0.308");
    QTest::newRow("logbook") << QStringLiteral("logbook.ini")
                             << QByteArray(
                                    "[Logbook]\nDatabase=\"/a \\\"b\\\" \\\\ \xc3\xa9.sqlite\"\n"
                                    "AddOnSave=true\nLastLoad=\"H4350, 41.5; x=y\"\n")
                             << QByteArray(
                                    "[Logbook]\nDatabase=@ByteArray(junk)\nAddOnSave=maybe\n")
                             << QStringLiteral("/a \"b\" \\ \u00e9.sqlite|true|H4350, 41.5; x=y");
    QTest::newRow("sheet") << QStringLiteral("sheet.ini") << QByteArray("[TypedDpi]\n64x48 = 300\n")
                           << QByteArray("[TypedDpi]\n64x48=3e9\n") << QStringLiteral("300");
}

void TestConfigDamage::featureFiles()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, damaged);
    QFETCH(QString, values);
    QTemporaryDir dir;
    Session s;
    s.AppDataDir = dir.path();
    const QSize card(64, 48);
    // What the program reads from the file, and writing it back as it does.
    const auto read = [&] {
        QStringList r;
        if (file == QLatin1String("find.ini")) {
            for (const char *unit : {"mm", "1/2 in"}) {
                s.UnitName = QString::fromLatin1(unit);
                if (const auto d = RememberedDiameter(s)) r << QString::number(*d);
            }
        } else if (file == QLatin1String("logbook.ini")) {
            const LogbookSettings l = LoadLogbookSettings(dir.path());
            r << l.DatabasePath << (l.AddOnSave ? QStringLiteral("true") : QString()) << l.LastLoad;
        } else if (const auto dpi = RememberedDpi(dir.path(), card)) {
            r << QString::number(*dpi);
        }
        return r.join(QLatin1Char('|'));
    };
    const QString path = dir.filePath(file);
    QVERIFY(WriteBytes(path, old));
    QCOMPARE(read(), values);
    if (file == QLatin1String("find.ini"))
        RememberDiameter(s, 0.308);
    else if (file == QLatin1String("logbook.ini"))
        QVERIFY(SaveLogbookSettings(dir.path(), LoadLogbookSettings(dir.path())));
    else
        RememberDpi(dir.path(), card, 300);
    QVERIFY(ReadBytes(path) != old); // in the form of today
    QCOMPARE(read(), values);
    QVERIFY(WriteBytes(path, damaged));
    QCOMPARE(read().remove(QLatin1Char('|')), QString());
}

QTEST_MAIN(TestConfigDamage)
#include "test_configdamage.moc"
