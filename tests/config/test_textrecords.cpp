// The record format shared by peltrix.ini, .pxs and the export.
#include "config/textrecords.h"
#include "model/textnum.h"
#include "platform/codec1252.h"

#include <QtTest>
#include <cmath>
#include <random>

namespace {
// Fields written "a|b|c".
QStringList sl(const char *t) { return QString::fromLatin1(t).split(QLatin1Char('|')); }
} // namespace

class TestTextRecords : public QObject {
    Q_OBJECT
private slots:
    void floatsRoundTripToSevenDigits();
    void readerFields_data();
    void readerFields();
};

void TestTextRecords::floatsRoundTripToSevenDigits()
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> exp(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const float v = float(mant(gen) * std::pow(10.0, exp(gen)));
        const QByteArray t = FloatText(v);
        QVERIFY2(!t.contains('e') && !t.contains('E') && !t.contains(' '), t.constData());
        const double back = Val(QString::fromLatin1(t));
        QVERIFY2(std::fabs(back - v) <= 5e-7 * std::fabs(double(v)) + 1e-300, t.constData());
    }
}

void TestTextRecords::readerFields_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<bool>>("quoted");
    QTest::newRow("one per record") << QByteArray("\"a\"\r\n.5\r\n#TRUE#\r\n") << sl("a|.5|#TRUE#")
                                    << QList<bool>{true, false, false};
    QTest::newRow("commas") << QByteArray("\"x, y\",1,\"\"\r\n") << sl("x, y|1|")
                            << QList<bool>{true, false, true};
    QTest::newRow("leading blanks, trailing junk") << QByteArray("   \"ab\"  junk\r\n  -.25  \r\n")
                                                   << sl("ab|-.25") << QList<bool>{true, false};
    QTest::newRow("text across lines")
        << QByteArray("\"one\r\ntwo\"\r\n3\r\n") << sl("one\r\ntwo|3") << QList<bool>{true, false};
    QTest::newRow("bare line feeds")
        << QByteArray("1\n2\n") << sl("1|2") << QList<bool>{false, false};
    QTest::newRow("unclosed quote")
        << QByteArray("\"never ends\r\n5") << sl("never ends\r\n5") << QList<bool>{true};
    QTest::newRow("empty line") << QByteArray("1\r\n\r\n2\r\n") << sl("1||2")
                                << QList<bool>{false, false, false};
}

void TestTextRecords::readerFields()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fields);
    QFETCH(QList<bool>, quoted);
    RecordReader r(bytes);
    for (int i = 0; i < fields.size(); ++i) {
        const auto f = r.Next();
        QVERIFY(f);
        QCOMPARE(f->text, fields[i]);
        QCOMPARE(f->quoted, quoted[i]);
    }
    QVERIFY(!r.Next());
}

QTEST_GUILESS_MAIN(TestTextRecords)
#include "test_textrecords.moc"
