// Number texts and the session's start-up state.
#include "model/textnum.h"
#include "testsupport.h"

#include <QtTest>

class TestCore : public QObject {
    Q_OBJECT
private slots:
    // A decimal comma as the default locale: no number text may heed it.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German)); }
    void val_data();
    void val();
    void formatPicture_data();
    void formatPicture();
    void parse_data();
    void parse();
};

void TestCore::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("leading number") << "12.5abc" << 12.5;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("blanks ignored") << " 1 2.5 " << 12.5;
    QTest::newRow("negative point first") << "-.25" << -0.25;
    QTest::newRow("exponent") << "6.944444E-04" << 6.944444e-4;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("bare exponent") << "2E" << 2.0;
    QTest::newRow("beyond range") << "1E400" << std::numeric_limits<double>::max();
}

void TestCore::val()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const double got = Val(text);
    QVERIFY(std::isfinite(got));
    QVERIFY2(std::abs(got - value) <= 1e-12 * std::max(1.0, std::abs(value)),
             qPrintable(QString::number(got, 'g', 17)));
}

void TestCore::formatPicture_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    auto row = [](const char *name, float v, const char *pattern, const char *text) {
        QTest::newRow(name) << v << QString::fromLatin1(pattern) << QString::fromLatin1(text);
    };
    row("three decimals", -0.25f, "###0.000", "-0.250");
    row("half away up", 0.0005f, "###0.000", "0.001");
    // 1.0005 as a float is 1.00049996...; shown at 7 digits it is a half.
    row("float half", 1.0005f, "###0.000", "1.001");
    row("wider than pattern", 123456.0f, "##0", "123456");
    row("moa", 0.995f, "##0.00", "1.00");
}

void TestCore::formatPicture()
{
    QFETCH(float, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(FormatPicture(value, pattern), text);
}

void TestCore::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number"); // NaN: refused
    QTest::addColumn<bool>("whole");
    QTest::addColumn<bool>("level");
    const double no = qQNaN();
    auto row = [](const char *text, double number, bool whole = false, bool level = false) {
        QTest::newRow(text) << QString::fromUtf8(text) << number << whole << level;
    };
    row("0.95", 0.95, false, true);
    row(" \t12\u00a0", 12, true);
    row("-1.5E+02", -150);
    row("+.5", 0.5, false, true);
    row("5.", 5);
    row("007", 7, true);
    row("1", 1, true);
    row("0", 0, true);
    row("9223372036854775808", 9223372036854775808.0);
    for (const char *refused : {"0,95", "1,000", "1.000,5", "95 %", "1 2", "12abc", "1D3", ".", "",
                                "-", "1E", "1E400", "1E-400", "inf", "nan", "0x10", "\uff11"})
        row(refused, no);
}

void TestCore::parse()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(bool, whole);
    QFETCH(bool, level);
    const auto asWhole = ParseWhole(text);
    QCOMPARE(ParseNumber(text).value_or(qQNaN()), number); // NaN compares equal to NaN
    QCOMPARE(asWhole.has_value(), whole);
    if (whole) QCOMPARE(double(*asWhole), number);
    QCOMPARE(ParseLevel(text).has_value(), level);
}

QTEST_MAIN(TestCore)
#include "test_textnum.moc"
