// analyze, plot and csv of the command-line companion, run in-process on real files.
#include "analysis/groupanalysis.h"
#include "app/textnum.h"
#include "cli/cli.h"
#include "files/statsfile.h"
#include "testsupport.h"

#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {
CliRun run(const QStringList &args) { return RunCliCaptured(args); }

QStringList words(const QString &line) { return line.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

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
                   const QString &unit = QStringLiteral("Inches"), float range = 100,
                   const char *shooter = "Ann")
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, shots);
    s.UnitName = unit;
    s.RangeToTarget = range;
    s.RangeEntered = range != 0;
    s.ShooterName = FixedWidth(QString::fromUtf8(shooter), ShooterNameWidth);
    s.Firearm = FixedWidth(QStringLiteral("Bolt, 24 in."), FirearmWidth);
    s.LotNumber = FixedWidth(QStringLiteral("L-7"), LotNumberWidth);
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
    void analyzeFilesAndPool();
    void refusals_data();
    void refusals();
    void plotFiles();
    void csvTable();
};

void TestCliAnalysis::analyzeShots()
{
    const CliRun r = run(words(QStringLiteral("analyze --shots 0,0 3,0 0,4 --range 100 --json")));
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    const QJsonObject j = json(r);
    QCOMPARE(j[QStringLiteral("ShotCount")].toInt(), 3);
    QCOMPARE(num(j, "ExtremeSpread"), 5.0);
    QCOMPARE(j[QStringLiteral("ExtremeSpreadShots")].toArray(), QJsonArray({2, 3}));
    QCOMPARE(num(j, "BoxWidth"), 3.0);
    QCOMPARE(num(j, "BoxHeight"), 4.0);
    QCOMPARE(num(j, "FigureOfMerit"), 3.5);
    QCOMPARE(num(j, "BoxDiagonal"), 5.0);
    QVERIFY(std::abs(num(j, "Sigma") - 2.171566719568533) < 1e-12);
    QVERIFY(num(j, "SigmaLow") < num(j, "Sigma") && num(j, "Sigma") < num(j, "SigmaHigh"));
    for (const char *k : {"MeanRadius", "CEP50", "CEP50Low", "CEP50High", "RayleighMR"})
        QVERIFY(num(j, k) > 0);
    const QJsonObject moa = j[QStringLiteral("MOA")].toObject();
    QVERIFY(std::abs(num(moa, "ExtremeSpread") - 5 / 1.047197551) < 1e-12);
    QVERIFY(std::abs(num(j[QStringLiteral("Mrad")].toObject(), "ExtremeSpread") - 5 / 3.6) < 1e-12);

    // Without a range: no angles. One shot: undefined figures are null.
    const QJsonObject noRange = json(run(words(QStringLiteral("analyze --shots 0,0 3,0 --json"))));
    QVERIFY(!noRange.contains(QStringLiteral("MOA")) && !noRange.contains(QStringLiteral("Mrad")));
    const QJsonObject one =
        json(run(words(QStringLiteral("analyze --shots 1,1 --range 100 --json"))));
    QCOMPARE(one[QStringLiteral("ShotCount")].toInt(), 1);
    QVERIFY(one[QStringLiteral("ExtremeSpread")].isNull());
    QVERIFY(one[QStringLiteral("Sigma")].isNull());
    QVERIFY(one[QStringLiteral("ExtremeSpreadShots")].isNull());
    QVERIFY(one[QStringLiteral("MOA")].toObject()[QStringLiteral("CEP50")].isNull());

    // The text form shows undefined figures as a dash.
    const CliRun text = run(words(QStringLiteral("analyze --shots 1,1 --unit Millimeters")));
    QCOMPARE(text.code, 0);
    QVERIFY(text.out.contains(QStringLiteral("Millimeters")));
    QVERIFY(text.out.contains(QStringLiteral("CEP (50 %)")));
    QVERIFY(text.out.contains(UndefinedFigure));
    QVERIFY(!text.out.contains(QStringLiteral("nan")) &&
            !text.out.contains(QStringLiteral("0.000")));
}

void TestCliAnalysis::analyzeFilesAndPool()
{
    QTemporaryDir dir;
    const QString a = writeGroup(dir, "a.pxs", {{0, 0}, {3, 0}, {0, 4}});
    const QString b = writeGroup(dir, "b.pxs", {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    const CliRun single = run({QStringLiteral("analyze"), a, QStringLiteral("--json")});
    QCOMPARE(single.code, 0);
    const QJsonObject s = json(single);
    QCOMPARE(s[QStringLiteral("File")].toString(), a);
    QCOMPARE(num(s, "ExtremeSpread"), 5.0);
    QCOMPARE(num(s, "RangeToTarget"), 100.0);

    const CliRun both = run({QStringLiteral("analyze"), a, b, QStringLiteral("--level"),
                             QStringLiteral("0.9"), QStringLiteral("--json")});
    QCOMPARE(both.code, 0);
    const QJsonObject j = json(both);
    QCOMPARE(j[QStringLiteral("Groups")].toArray().size(), 2);
    QCOMPARE(j[QStringLiteral("Groups")].toArray()[1].toObject()[QStringLiteral("File")].toString(),
             b);
    const QJsonObject p = j[QStringLiteral("Pooled")].toObject();
    QCOMPARE(p[QStringLiteral("Groups")].toInt(), 2);
    QCOMPARE(p[QStringLiteral("ShotCount")].toInt(), 7);
    QCOMPARE(num(p, "DegreesOfFreedom"), 10.0);
    QCOMPARE(num(p, "Level"), 0.9);
    // Σr² = 150/9 + 2 over df 10, c4(11) = 0.9754; 90 %: χ² 3.940 and 18.307.
    const double sum = 150.0 / 9 + 2;
    QVERIFY(std::abs(num(p, "Sigma") - std::sqrt(sum / 10) / 0.9754) < 2e-4);
    QVERIFY(std::abs(num(p, "SigmaLow") - std::sqrt(sum / 18.307)) < 2e-4);
    QVERIFY(std::abs(num(p, "SigmaHigh") - std::sqrt(sum / 3.940)) < 5e-4);
    QVERIFY(p[QStringLiteral("MOA")].isObject());

    // Different ranges pool in angle: the same shots in millimeters at 200
    // yards are half the angle of inches at 100; no linear figures.
    const QString far = writeGroup(dir, "far.pxs", {{0, 0}, {25.4f, 0}, {25.4f, 25.4f}, {0, 25.4f}},
                                   QStringLiteral("Millimeters"), 200);
    const QJsonObject angle = json(run(
        {QStringLiteral("analyze"), a, far, QStringLiteral("--json")}))[QStringLiteral("Pooled")]
                                  .toObject();
    QVERIFY(angle[QStringLiteral("Sigma")].isNull() && angle[QStringLiteral("UnitName")].isNull());
    QVERIFY(angle[QStringLiteral("RangeToTarget")].isNull());
    const double mrad2 = 150.0 / 9 / (3.6 * 3.6) + 2.0 / (7.2 * 7.2); // Σr² in mrad²
    const QJsonObject mrad = angle[QStringLiteral("Mrad")].toObject();
    QVERIFY(std::abs(num(mrad, "Sigma") - std::sqrt(mrad2 / 10) / 0.9754) < 2e-4);
    QVERIFY(std::abs(num(angle[QStringLiteral("MOA")].toObject(), "SigmaHigh") -
                     num(mrad, "SigmaHigh") * 3.6 / 1.047197551) < 1e-9);
    const CliRun angleText = run({QStringLiteral("analyze"), a, far});
    QVERIFY(angleText.out.contains(QStringLiteral("(100, 200 yards)")));
    QVERIFY(!angleText.out.contains(QStringLiteral("not entered")));

    // The text form: each file, then the pool.
    const CliRun text = run({QStringLiteral("analyze"), a, b});
    QCOMPARE(text.code, 0);
    QVERIFY(text.out.indexOf(a) < text.out.indexOf(b));
    QVERIFY(text.out.indexOf(b) < text.out.indexOf(QStringLiteral("Pooled")));
    QVERIFY(text.out.contains(QStringLiteral("Degrees of Freedom")));
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
    QTest::newRow("level too high")
        << QStringLiteral("analyze %a --level 95") << 1
        << QStringLiteral("Group Analysis: The confidence level must be a number "
                          "between 0 and 1, such as 0.95; \"95\" is not.");
    QTest::newRow("level not a number")
        << QStringLiteral("analyze --shots 0,0 1,1 --level abc") << 1
        << QStringLiteral("Group Analysis: The confidence level");
    QTest::newRow("unreadable file") << QStringLiteral("analyze %a %b.missing") << 1 << QString();
    QTest::newRow("bad shot") << QStringLiteral("analyze --shots 0,0 x,1") << 1 << QString();
    QTest::newRow("files and shots") << QStringLiteral("analyze %a --shots 1,1") << 2 << QString();
    QTest::newRow("range with a file")
        << QStringLiteral("analyze %a --range 100") << 2 << QString();
    QTest::newRow("unknown option") << QStringLiteral("analyze %a --fast") << 2 << QString();
    QTest::newRow("nothing") << QStringLiteral("analyze") << 2 << QString();
    QTest::newRow("plot without output") << QStringLiteral("plot %a") << 2 << QString();
    QTest::newRow("plot both outputs")
        << QStringLiteral("plot %a --png x.png --pdf x.pdf") << 2 << QString();
    QTest::newRow("csv without output") << QStringLiteral("csv %a") << 2 << QString();
    QTest::newRow("csv with a level")
        << QStringLiteral("csv %a --level 0.9 -o t.csv") << 2 << QString();
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
    const CliRun r = run(words(fill(args)));
    QTEST(r.code, "code");
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
    if (!message.isEmpty()) QVERIFY2(r.err.startsWith(fill(message)), qPrintable(r.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4); // nothing written
}

void TestCliAnalysis::plotFiles()
{
    QTemporaryDir dir;
    const QString a = writeGroup(dir, "a.pxs", {{0.25, 0.5}, {-0.375, 0.125}, {0.5, -0.25}});
    const QString png = dir.filePath(QStringLiteral("a.png"));
    QCOMPARE(run({QStringLiteral("plot"), a, QStringLiteral("--png"), png}).code, 0);
    QCOMPARE(QImageReader(png).format(), QByteArray("png"));
    const QString pdf = dir.filePath(QStringLiteral("a.pdf"));
    QCOMPARE(run({QStringLiteral("plot"), a, QStringLiteral("--pdf"), pdf}).code, 0);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(5), QByteArray("%PDF-"));
    const CliRun bad = run({QStringLiteral("plot"), a, QStringLiteral("--png"),
                            dir.filePath(QStringLiteral("no/a.png"))});
    QCOMPARE(bad.code, 1);
    QVERIFY(bad.err.startsWith(QStringLiteral("Save Plot: The file ") +
                               dir.filePath(QStringLiteral("no/a.png"))));
}

void TestCliAnalysis::csvTable()
{
    QTemporaryDir dir;
    // Files keep no double quotes in their texts; a file name can have one.
    const QString a = writeGroup(dir, "a \"1\".pxs", {{0.1f, -0.25f}, {1, 2}},
                                 QStringLiteral("Inches"), 100, "Ann, A");
    const QString b =
        writeGroup(dir, "b.pxs", {{3, 4}}, QStringLiteral("Millimeters"), 0, "B\u00e9a");
    const QString out = dir.filePath(QStringLiteral("all.csv"));
    const CliRun r = run({QStringLiteral("csv"), a, b, QStringLiteral("-o"), out});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.isEmpty());
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 5); // header, three shots, the empty rest after the last newline
    QCOMPARE(lines[0],
             QStringLiteral("file,shooter,date,firearm,caliber,lot,range,unit,shot,x,y,r"));
    QString quoted = a;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    QCOMPARE(lines[1],
             QLatin1Char('"') + quoted +
                 QStringLiteral(
                     "\",\"Ann, A\",,\"Bolt, 24 in.\",,L-7,100,Inches,1,0.1,-0.25,0.26925823"));
    QCOMPARE(lines[2].section(QLatin1Char(','), -4), QStringLiteral("2,1,2,2.236068"));
    QCOMPARE(lines[3], b + QStringLiteral(",B\u00e9a,,\"Bolt, 24 in.\",,L-7,,Millimeters,1,3,4,5"));
    QCOMPARE(lines[4], QString());

    // An unreadable file among them: nothing written over the good table.
    const QByteArray before = [&] {
        QFile g(out);
        g.open(QIODevice::ReadOnly);
        return g.readAll();
    }();
    const CliRun bad = run({QStringLiteral("csv"), a, dir.filePath(QStringLiteral("none.pxs")),
                            QStringLiteral("-o"), out});
    QCOMPARE(bad.code, 1);
    QFile g(out);
    QVERIFY(g.open(QIODevice::ReadOnly));
    QCOMPARE(g.readAll(), before);
}

QTEST_MAIN(TestCliAnalysis)
#include "test_cli_analysis.moc"
