// Every character kept: .pxs, export and peltrix.ini in Windows-1252 when
// their texts fit, byte for byte as before, else whole in UTF-8 after the
// byte-order mark; the same through the companion's stats, resave and export.
#include "config/configfile.h"
#include "config/textrecords.h"
#include "files/export.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "model/textnum.h"
#include "testsupport.h"

#include <QtTest>

namespace {
const QByteArray Mark("\xEF\xBB\xBF");

qsizetype characters(const QString &text) { return QStringView(text).toUcs4().size(); }
} // namespace

class TestEncoding : public QObject {
    Q_OBJECT
private slots:
    void everyCharacterKept_data();
    void everyCharacterKept();
    void markDecidesTheReading();
};

void TestEncoding::everyCharacterKept_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("CJK") << QStringLiteral("射撃 山田太郎") << false;
    QTest::newRow("beyond the basic plane") << QStringLiteral("🎯 Ziel 𝄞") << false;
    QTest::newRow("Windows-1252") << QStringLiteral("José Müller – ½ €") << true;
}

void TestEncoding::everyCharacterKept()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QTemporaryDir dir;
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{1, 2}, {-0.5, 0.25}});
    s.ShooterName = FixedWidth(text, ShooterNameWidth);
    s.Comments = FixedWidth(text + QStringLiteral(" / ") + text, CommentsWidth);
    s.UnitName = text;
    s.ImagePath = dir.filePath(text + QStringLiteral("/t1.jpg"));
    const QString pxs = dir.filePath(QStringLiteral("g.pxs"));
    QVERIFY(SaveStatsFile(s, pxs));
    const QByteArray bytes = ReadBytes(pxs);
    QCOMPARE(bytes.startsWith(Mark), !fits);

    // Fixed widths count characters, and everything comes back.
    Session back;
    PrepareTestSession(back);
    QVERIFY(OpenStatsFile(back, pxs));
    QCOMPARE(characters(back.ShooterName), qsizetype(ShooterNameWidth));
    QCOMPARE(characters(back.Comments), qsizetype(CommentsWidth));
    QCOMPARE(back.ShooterName, s.ShooterName);
    QCOMPARE(back.Comments, s.Comments);
    QCOMPARE(back.UnitName, text);
    QCOMPARE(back.ImagePath, s.ImagePath);

    // The companion reads and writes through the same code: resave is byte for byte.
    const QString again = dir.filePath(QStringLiteral("again.pxs"));
    QCOMPARE(RunCliCaptured({QStringLiteral("resave"), pxs, again}).code, 0);
    QCOMPARE(ReadBytes(again), bytes);
    QCOMPARE(RunCliCaptured({QStringLiteral("export"), pxs}).code, 0);
    const QByteArray exported = ReadBytes(dir.filePath(QStringLiteral("g.txt")));
    QCOMPARE(exported.startsWith(Mark), !fits);
    QCOMPARE(exported, ExportBytes(back));
    if (!fits) QVERIFY(exported.contains(s.ShooterName.toUtf8()));

    // peltrix.ini: the defaults and a folder named in the same letters.
    Session c;
    c.DocumentsDir = dir.filePath(text);
    SetInstallDefaults(c);
    c.SaveDefShooterName = c.SaveDefUnitName = true;
    c.DefShooterName = text;
    c.DefUnitName = text;
    const QByteArray ini = ConfigFileBytes(c);
    QCOMPARE(ini.startsWith(Mark), !fits);
    Session read;
    const ConfigRecords r = ParseConfigRecords(read, ini);
    QVERIFY(!r.damaged);
    QCOMPARE(r.records, 13);
    QCOMPARE(read.IniShooterName, FixedWidth(text, ShooterNameWidth));
    QCOMPARE(read.IniUnitName, text);
    QCOMPARE(read.IniImageDir, c.DocumentsDir);
}

void TestEncoding::markDecidesTheReading()
{
    // The same bytes: Windows-1252 without the mark, UTF-8 with it.
    const QByteArray record("\"\xC5\xBC\xC3\xB3\xC5\x82w\"\r\n");
    QCOMPARE(RecordReader(record).Next()->text, QStringLiteral("Å¼Ã³Å‚w"));
    QCOMPARE(RecordReader(Mark + record).Next()->text, QStringLiteral("żółw"));
}

QTEST_MAIN(TestEncoding)
#include "test_encoding.moc"
