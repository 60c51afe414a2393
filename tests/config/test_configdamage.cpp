// A peltrix.ini that is damaged, short or cannot be read: every record is
// checked against its setting's type and range; a damaged file is set aside
// and never shifts a value into another setting; an unreadable one is never
// written over.
#include "config/configfile.h"
#include "model/settings.h"
#include "filetestutil.h"
#include "testsupport.h"

#include <QtTest>
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
    QTest::addColumn<bool>("folder");
    QTest::newRow("a folder in its place") << true;
    QTest::newRow("no permission to read") << false;
}

void TestConfigDamage::unreadableFileLeftAlone()
{
    QFETCH(bool, folder);
    if (!folder && geteuid() == 0) QSKIP("the superuser reads every file");
    const QByteArray good = ReadBytes(FixturePath("peltrix_old.ini"));
    TestApp t;
    const QString ini = startWith(t, [&](const QString &path) {
        if (folder) {
            QDir().mkpath(path + QStringLiteral("/inside"));
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

    QCOMPARE(QDir(t.app->host.appDataDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("peltrix.ini")});
    if (folder) {
        QVERIFY(QFileInfo(ini + QStringLiteral("/inside")).isDir());
    } else {
        QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(ReadBytes(ini), good);
    }
}

QTEST_MAIN(TestConfigDamage)
#include "test_configdamage.moc"
