// The record format shared by peltrix.ini, .pxs and the export.
#include "app/textnum.h"
#include "config/textrecords.h"
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
    void codeTableCoversEveryByte();
    void floatText_data();
    void floatText();
    void floatsRoundTripToSevenDigits();
    void readerFields_data();
    void readerFields();
    void writerRecords();
    void fieldConversions();
};

void TestTextRecords::codeTableCoversEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    QCOMPARE(ToCp1252(FromCp1252(all)), all);
    QCOMPARE(FromCp1252(QByteArray("\x80\x92\xe9\x9f", 4)),
             QString::fromUtf8("\u20ac\u2019\u00e9\u0178"));
    // Letters the code page lacks become '?', one per character.
    QCOMPARE(ToCp1252(QString::fromUtf8("a\u0141b\u4e2d")), QByteArray("a?b?"));
}

void TestTextRecords::floatText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("whole") << 100.0f << QByteArray("100");
    QTest::newRow("zero") << 0.0f << QByteArray("0");
    QTest::newRow("negative zero") << -0.0f << QByteArray("0");
    QTest::newRow("half") << 0.5f << QByteArray("0.5");
    QTest::newRow("negative fraction") << -0.25f << QByteArray("-0.25");
    QTest::newRow("small") << 6.944444E-04f << QByteArray("0.0006944444");
    QTest::newRow("seven digits") << 1234567.8f << QByteArray("1234568");
    QTest::newRow("third") << float(1.0 / 3.0) << QByteArray("0.3333333");
    QTest::newRow("large") << 1e10f << QByteArray("10000000000");
    QTest::newRow("colour as float") << -2147483648.0f << QByteArray("-2147484000");
}

void TestTextRecords::floatText()
{
    QFETCH(float, value);
    QFETCH(QByteArray, text);
    QCOMPARE(FloatText(value), text);
}

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

void TestTextRecords::writerRecords()
{
    RecordWriter w;
    w.Text(QString::fromUtf8("He said \"ok\" \u00e9"));
    w.EndRecord();
    w.Int(-2147483633);
    w.Float(0.5f);
    w.Bool(true);
    w.Bool(false);
    w.EndRecord();
    w.EndRecord();
    QCOMPARE(w.Bytes(),
             QByteArray("\"He said ''ok'' \xe9\"\r\n-2147483633,0.5,#TRUE#,#FALSE#\r\n\r\n"));

    // Every reader reads the apostrophes, and the record after it is where it belongs.
    RecordReader r(w.Bytes());
    QCOMPARE(r.Next()->text, QString::fromUtf8("He said ''ok'' \u00e9"));
    QCOMPARE(*FieldInt(*r.Next()), -2147483633);
}

void TestTextRecords::fieldConversions()
{
    auto field = [](const char *t, bool quoted = false) {
        return RecordReader::Field{QString::fromLatin1(t), quoted};
    };
    QCOMPARE(*FieldFloat(field(".5")), 0.5f);
    QCOMPARE(*FieldFloat(field("-.25")), -0.25f);
    QCOMPARE(*FieldFloat(field("6.944444E-04")), 6.944444E-04f);
    QCOMPARE(*FieldFloat(field("abc")), 0.0f);
    QVERIFY(!FieldFloat(field("1E39")));
    QCOMPARE(*FieldInt(field("2.5")), 2);
    QCOMPARE(*FieldInt(field("3.5")), 4);
    QCOMPARE(*FieldInt(field("-2147483633")), -2147483633);
    QVERIFY(!FieldInt(field("3000000000")));
    QCOMPARE(*FieldBool(field("#TRUE#")), true);
    QCOMPARE(*FieldBool(field("#FALSE#")), false);
    QCOMPARE(*FieldBool(field("-1")), true);
    QCOMPARE(*FieldBool(field("0")), false);
    QVERIFY(!FieldBool(field("yes")));
    QVERIFY(!FieldBool(field("1", true)));
}

QTEST_GUILESS_MAIN(TestTextRecords)
#include "test_textrecords.moc"
