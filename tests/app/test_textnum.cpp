// Number texts and the session's start-up state.
#include "app/session.h"
#include "app/textnum.h"
#include "testsupport.h"

#include <QtTest>

class TestCore : public QObject {
    Q_OBJECT
private slots:
    void val_data();
    void val();
    void isNumeric_data();
    void isNumeric();
    void formatPicture_data();
    void formatPicture();
    void plainNumbers();
    void resetKeepsWhatTheUserTyped();
    void gammaTable();
};

void TestCore::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("leading number") << "12.5abc" << 12.5;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks ignored") << " 1 2.5 " << 12.5;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("negative point first") << "-.25" << -0.25;
    QTest::newRow("exponent") << "6.944444E-04" << 6.944444e-4;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
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

void TestCore::isNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("decimal") << "1.25" << true;
    QTest::newRow("blanks around") << " 100 " << true;
    QTest::newRow("negative point first") << "-.5" << true;
    QTest::newRow("exponent") << "1e3" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("trailing letters") << "12.5abc" << false;
    QTest::newRow("comma") << "1,5" << false;
    QTest::newRow("point alone") << "." << false;
    QTest::newRow("sign alone") << "-" << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("inner blank") << "1 2" << false;
}

void TestCore::isNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(IsNumeric(text), numeric);
}

void TestCore::formatPicture_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::newRow("three decimals") << -0.25f << "###0.000"
                                    << "-0.250";
    QTest::newRow("half away up") << 0.0005f << "###0.000"
                                  << "0.001";
    QTest::newRow("half away down") << -0.0005f << "###0.000"
                                    << "-0.001";
    // 1.0005 as a float is 1.00049996...; shown at 7 digits it is a half.
    QTest::newRow("float half") << 1.0005f << "###0.000"
                                << "1.001";
    QTest::newRow("large") << 1234.5678f << "###0.000"
                           << "1234.568";
    QTest::newRow("wider than pattern") << 123456.0f << "##0"
                                        << "123456";
    QTest::newRow("two digits") << 3.0f << "00"
                                << "03";
    QTest::newRow("count") << 21.0f << "##0"
                           << "21";
    QTest::newRow("zero count") << 0.0f << "##0"
                                << "0";
    QTest::newRow("moa") << 0.995f << "##0.00"
                         << "1.00";
    QTest::newRow("size") << 2.0f << "#0.000"
                          << "2.000";
}

void TestCore::formatPicture()
{
    QFETCH(float, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(FormatPicture(value, pattern), text);
}

void TestCore::plainNumbers()
{
    QCOMPARE(StrNum(100, 7), QStringLiteral(" 100"));
    QCOMPARE(StrNum(0.5, 7), QStringLiteral(" .5"));
    QCOMPARE(StrNum(-2.25, 7), QStringLiteral("-2.25"));
    QCOMPARE(StrNum(double(87.1f), 7), QStringLiteral(" 87.1"));
    QCOMPARE(GeneralNum(100, 7), QStringLiteral("100"));
    QCOMPARE(GeneralNum(87.5, 7), QStringLiteral("87.5"));
    QCOMPARE(RoundToInt(2.5), 2);
    QCOMPARE(RoundToInt(3.5), 4);
    QCOMPARE(RoundToInt(-2.5), -2);
    QCOMPARE(RoundToInt(2.6), 3);
    QCOMPARE(FixedWidth(QStringLiteral("Ann"), 5), QStringLiteral("Ann  "));
    QCOMPARE(FixedWidth(QStringLiteral("abcdef"), 3), QStringLiteral("abc"));
}

void TestCore::resetKeepsWhatTheUserTyped()
{
    Session s;
    PrepareTestSession(s);
    s.DefShooterName = QStringLiteral("Bob");
    s.DefRangeToTarget = 200;
    s.DefUnitName = QStringLiteral("Centimeters");
    s.DateFired = FixedWidth(QStringLiteral("2026-12-07"), DateFiredWidth);
    s.LotNumber = FixedWidth(QStringLiteral("L7"), LotNumberWidth);
    s.RangeEntered = true;
    s.HeaderEntered = true;
    s.StatsSaved = false;
    s.StatsFilePath = QStringLiteral("/tmp/x.pxs");
    AddShots(s, {{1, 2}, {3, 4}});
    ResetSession(s);

    QCOMPARE(s.ShotCount, 0);
    QCOMPARE(s.ShotX[1], 0.0f);
    QCOMPARE(s.MeanX, 0.0f);
    QCOMPARE(s.GroupSize, 0.0f);
    QVERIFY(s.StatsSaved);
    QVERIFY(s.StatsFilePath.isEmpty());
    QVERIFY(!s.HeaderEntered);
    QCOMPARE(s.ShooterName, FixedWidth(QStringLiteral("Bob"), ShooterNameWidth));
    QCOMPARE(s.ShooterName.size(), ShooterNameWidth);
    QCOMPARE(s.RangeToTarget, 200.0f);
    QCOMPARE(s.UnitName, QStringLiteral("Centimeters"));
    // Not part of the defaults: kept for the next group.
    QCOMPARE(s.DateFired.trimmed(), QStringLiteral("2026-12-07"));
    QCOMPARE(s.LotNumber.trimmed(), QStringLiteral("L7"));
    QVERIFY(s.RangeEntered);
}

void TestCore::gammaTable()
{
    Session s;
    PrepareTestSession(s);
    auto near = [](double got, double want) { return std::abs(got / want - 1) < 5e-5; };
    QVERIFY(near(s.GammaHalf[1], 1.7725));
    QVERIFY(near(s.GammaHalf[2], 1.0));
    QVERIFY(near(s.GammaHalf[3], 0.8862));
    QVERIFY(near(s.GammaHalf[5], 1.3293));
    QCOMPARE(s.GammaHalf[38], 6402373705728000.0); // 18!
    QVERIFY(near(s.GammaHalf[39], 2.7724e16));
    // Every entry matches the library's Γ closely (π is taken to 12 digits).
    for (int k = 1; k <= 39; ++k)
        QVERIFY2(std::abs(s.GammaHalf[k] / std::tgamma(k / 2.0) - 1) < 1e-11,
                 qPrintable(QString::number(k)));
}

QTEST_MAIN(TestCore)
#include "test_core.moc"
