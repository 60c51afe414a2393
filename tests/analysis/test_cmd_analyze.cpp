// analyze of the command-line companion, run in-process on real files.
#include "analysis/groupanalysis.h"
#include "cli/cli.h"
#include "files/statsfile.h"
#include "model/textnum.h"
#include "testsupport.h"

#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {
QJsonObject json(const CliRun &r)
{
    QJsonParseError pe;
    const QJsonDocument d = QJsonDocument::fromJson(r.out.toUtf8(), &pe);
    if (pe.error != QJsonParseError::NoError) qWarning() << pe.errorString() << r.out;
    return d.object();
}

double num(const QJsonObject &o, const char *key) { return o[QLatin1String(key)].toDouble(-1e300); }

// Writes a .pxs file of these shots as Save does.
QString writeGroup(const QTemporaryDir &dir, const char *name,
                   std::initializer_list<std::pair<float, float>> shots,
                   const QString &unit = QStringLiteral("Inches"), float range = 100)
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, shots);
    s.UnitName = unit;
    s.RangeToTarget = range;
    s.RangeEntered = range != 0;
    const QString path = dir.filePath(QString::fromLatin1(name));
    QString why;
    if (!SaveStatsFile(s, path, &why)) qWarning() << why;
    return path;
}
} // namespace

class TestCliAnalysis : public QObject {
    Q_OBJECT
private slots:
    void analyzeShots();
    void refusals_data();
    void refusals();
};

void TestCliAnalysis::analyzeShots()
{
    const CliRun r = RunCliLine((QStringLiteral("analyze --shots 0,0 3,0 0,4 --range 100 --json")));
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    const QJsonObject j = json(r);
    QCOMPARE(j[QStringLiteral("ShotCount")].toInt(), 3);
    QCOMPARE(num(j, "ExtremeSpread"), 5.0);
    QCOMPARE(j[QStringLiteral("ExtremeSpreadShots")].toArray(), QJsonArray({2, 3}));
    QCOMPARE(num(j, "FigureOfMerit"), 3.5);
    QVERIFY(std::abs(num(j, "Sigma") - 2.171566719568533) < 1e-12);
    QVERIFY(num(j, "SigmaLow") < num(j, "Sigma") && num(j, "Sigma") < num(j, "SigmaHigh"));
    const QJsonObject moa = j[QStringLiteral("MOA")].toObject();
    QVERIFY(std::abs(num(moa, "ExtremeSpread") - 5 / 1.047197551) < 1e-12);
    QVERIFY(std::abs(num(j[QStringLiteral("Mrad")].toObject(), "ExtremeSpread") - 5 / 3.6) < 1e-12);

    // Without a range: no angles. One shot: undefined figures are null.
    const QJsonObject noRange =
        json(RunCliLine((QStringLiteral("analyze --shots 0,0 3,0 --json"))));
    QVERIFY(!noRange.contains(QStringLiteral("MOA")) && !noRange.contains(QStringLiteral("Mrad")));
    const QJsonObject one =
        json(RunCliLine((QStringLiteral("analyze --shots 1,1 --range 100 --json"))));
    QCOMPARE(one[QStringLiteral("ShotCount")].toInt(), 1);
    QVERIFY(one[QStringLiteral("ExtremeSpread")].isNull());
    QVERIFY(one[QStringLiteral("Sigma")].isNull());
    QVERIFY(one[QStringLiteral("ExtremeSpreadShots")].isNull());
    QVERIFY(one[QStringLiteral("MOA")].toObject()[QStringLiteral("CEP50")].isNull());
}

void TestCliAnalysis::refusals_data()
{
    QTest::addColumn<QString>("args"); // %a, %b, %m, %n: inches, inches, mm, no range
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("units differ")
        << QStringLiteral("analyze %a %m") << 1
        << QStringLiteral("Group Analysis: Groups in different units cannot be pooled: "
                          "%a is in Inches, %m in Millimeters.");
    QTest::newRow("ranges differ, one unknown")
        << QStringLiteral("analyze %a %n") << 1
        << QStringLiteral("Group Analysis: Groups shot at different ranges can only be pooled as "
                          "angles, and %n cannot: it has no range to target.");
    QTest::newRow("files and shots") << QStringLiteral("analyze %a --shots 1,1") << 2 << QString();
}

void TestCliAnalysis::refusals()
{
    QFETCH(QString, args);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString a = writeGroup(dir, "a.pxs", {{0, 0}, {1, 1}});
    const QString b = writeGroup(dir, "b.pxs", {{0, 0}, {2, 1}});
    const QString m = writeGroup(dir, "m.pxs", {{0, 0}, {20, 10}}, QStringLiteral("Millimeters"));
    const QString n = writeGroup(dir, "n.pxs", {{0, 0}, {2, 2}}, QStringLiteral("Inches"), 0);
    auto fill = [&](QString t) {
        return t.replace(QStringLiteral("%a"), a)
            .replace(QStringLiteral("%b"), b)
            .replace(QStringLiteral("%m"), m)
            .replace(QStringLiteral("%n"), n);
    };
    const CliRun r = RunCliLine(fill(args));
    QTEST(r.code, "code");
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
    if (!message.isEmpty()) QVERIFY2(r.err.startsWith(fill(message)), qPrintable(r.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4); // nothing written
}

QTEST_MAIN(TestCliAnalysis)
#include "test_cmd_analyze.moc"
