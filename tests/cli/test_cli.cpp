// The command-line companion, run in-process.
#include "cli/cli.h"
#include "filetestutil.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QJsonObject json(const CliRun &r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }
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
    const CliRun r = RunCliLine(
        QStringLiteral("stats --shots 0,0 1.047198,0 -0.25,1.5 --range 100 --unit Inches"));
    QCOMPARE(r.code, 0);
    QVERIFY(r.err.isEmpty());
    const QJsonObject j = json(r);
    QCOMPARE(j[QStringLiteral("ShotCount")].toInt(), 3);
    // Floats round-trip to the same 32-bit value.
    QCOMPARE(float(j[QStringLiteral("ShotX")].toArray()[1].toDouble()), 1.047198f);
    QCOMPARE(float(j[QStringLiteral("ShotR")].toArray()[2].toDouble()),
             float(std::sqrt(0.0625 + 2.25)));
    QVERIFY(j[QStringLiteral("MOA")].isDouble());
}

void TestCli::refusedInput_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::newRow("letters") << "stats --shots 1,abc" << 1 << "Enter X and Y Data: ";
    QTest::newRow("22 shots") << QStringLiteral("stats --shots") +
                                     QStringLiteral(" 1,1").repeated(22)
                              << 1 << "Enter Data: ";
    // The header's warning: nobody can answer it here.
    QTest::newRow("range 0") << "stats --shots 1,1 --range 0" << 1 << "No Range to Target: ";
    QTest::newRow("unknown command") << "frobnicate" << 2 << QString();
}

void TestCli::refusedInput()
{
    QFETCH(QString, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    const CliRun r = RunCliLine(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.isEmpty());
    QVERIFY2(r.err.startsWith(err), qPrintable(r.err));
}

void TestCli::reportPdf()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    QCOMPARE(RunCliLine(QStringLiteral("report --shots 1,1 2,2 --pdf ") + pdf).code, 0);
    const QByteArray before = ReadBytes(pdf);
    QVERIFY(before.startsWith("%PDF-") && before.size() > 500);
    // A refused shot writes no file, also none over an existing one.
    QCOMPARE(RunCliLine(QStringLiteral("report --shots x,1 --pdf ") + pdf).code, 1);
    QCOMPARE(ReadBytes(pdf), before);
}

QTEST_MAIN(TestCli)
#include "test_cli.moc"
