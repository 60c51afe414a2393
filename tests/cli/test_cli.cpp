// The command-line companion, run in-process.
#include "cli/cli.h"

#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList words(const char *line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

CliRun run(const QStringList &args) { return RunCliCaptured(args); }
} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void statsFromShots();
    void refusedInput_data();
    void refusedInput();
    void reportPdf();
};

void TestCli::statsFromShots()
{
    const CliRun r =
        run({QStringLiteral("stats"), QStringLiteral("--shots"), QStringLiteral("0,0"),
             QStringLiteral("1.047198,0"), QStringLiteral("-0.25,1.5"), QStringLiteral("--range"),
             QStringLiteral("100"), QStringLiteral("--unit"), QStringLiteral("Inches")});
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    QJsonParseError pe;
    const QJsonObject j = QJsonDocument::fromJson(r.out.toUtf8(), &pe).object();
    QCOMPARE(pe.error, QJsonParseError::NoError);
    QCOMPARE(j[QStringLiteral("ShotCount")].toInt(), 3);
    QCOMPARE(j[QStringLiteral("ShotX")].toArray().size(), 3);
    // Floats round-trip to the same 32-bit value.
    QCOMPARE(float(j[QStringLiteral("ShotX")].toArray()[1].toDouble()), 1.047198f);
    QCOMPARE(float(j[QStringLiteral("ShotR")].toArray()[2].toDouble()),
             float(std::sqrt(0.0625 + 2.25)));
    QVERIFY(j[QStringLiteral("GroupSize")].toDouble() > 1.5);
    QVERIFY(j[QStringLiteral("MOA")].isDouble());

    // No range: MOA is null, and the shots alone give the same figures.
    const CliRun n = run({QStringLiteral("stats"), QStringLiteral("--shots"), QStringLiteral("0,0"),
                          QStringLiteral("1.047198,0"), QStringLiteral("-0.25,1.5")});
    QCOMPARE(n.code, 0);
    const QJsonObject k = QJsonDocument::fromJson(n.out.toUtf8()).object();
    QVERIFY(k[QStringLiteral("MOA")].isNull());
    QCOMPARE(k[QStringLiteral("SdX")], j[QStringLiteral("SdX")]);

    // A range that is not valid draws the header's warning; nobody can answer it here.
    const CliRun w = run({QStringLiteral("stats"), QStringLiteral("--shots"), QStringLiteral("1,1"),
                          QStringLiteral("--range"), QStringLiteral("0")});
    QCOMPARE(w.code, 1);
    QVERIFY(w.out.isEmpty());
    QVERIFY2(w.err.startsWith(QStringLiteral("No Range to Target: ")), qPrintable(w.err));
}

void TestCli::refusedInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::newRow("letters")
        << words("stats --shots 1,abc") << 1
        << "Enter X and Y Data: X and Y must be numbers, for example 1.25 or -0.5.";
    QTest::newRow("22 shots") << (words("stats --shots") << QStringList(22, QStringLiteral("1,1")))
                              << 1
                              << "Enter Data: You have entered the maximum number of shots...no "
                                 "additional shots can be entered";
    QTest::newRow("unknown command") << words("frobnicate") << 2 << QString();
}

void TestCli::refusedInput()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    const CliRun r = run(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
    if (!err.isEmpty()) QVERIFY2(r.err.contains(err), qPrintable(r.err));
}

void TestCli::reportPdf()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    const CliRun r =
        run({QStringLiteral("report"), QStringLiteral("--shots"), QStringLiteral("1,1"),
             QStringLiteral("2,2"), QStringLiteral("--pdf"), pdf});
    QCOMPARE(r.code, 0);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");

    // A refused shot writes no file, also none over an existing one.
    QVERIFY(f.size() > 500);
    const QByteArray before = [&] {
        f.seek(0);
        return f.readAll();
    }();
    f.close();
    const CliRun bad = run({QStringLiteral("report"), QStringLiteral("--shots"),
                            QStringLiteral("x,1"), QStringLiteral("--pdf"), pdf});
    QCOMPARE(bad.code, 1);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    // An unwritable destination is refused, not reported as done.
    const CliRun nowhere =
        run({QStringLiteral("report"), QStringLiteral("--shots"), QStringLiteral("1,1"),
             QStringLiteral("--pdf"), dir.filePath(QStringLiteral("no/such/dir/r.pdf"))});
    QCOMPARE(nowhere.code, 1);
}

QTEST_MAIN(TestCli)
#include "test_cli.moc"
