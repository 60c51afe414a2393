// The Γ table, the integrator and the critical-value search, against the
// figures earlier releases printed and an independent quantile.
#include "model/session.h"
#include "model/textnum.h"
#include "stattools/criticalvalues.h"
#include "testsupport.h"

#include <QtTest>
#include <cmath>
#include <vector>

#ifdef PELTRIX_HAVE_BOOST_MATH
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>
#endif

class TestCriticalValues : public QObject {
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void againstIndependentQuantile();

private:
    GammaTable gammaHalf() const
    {
        Session s;
        PrepareTestSession(s);
        return s.GammaHalf;
    }
};

void TestCriticalValues::search_data()
{
    QTest::addColumn<QChar>("kind");
    QTest::addColumn<int>("d1"); // ν for t
    QTest::addColumn<int>("d2");
    QTest::addColumn<double>("sig");
    QTest::addColumn<QString>("expected"); // empty: not found
    auto t = [](const char *name, int nu, double s, const char *v) {
        QTest::newRow(name) << QChar(QLatin1Char('t')) << nu << 0 << s << QString::fromLatin1(v);
    };
    auto f = [](const char *name, int d1, int d2, double s, const char *v) {
        QTest::newRow(name) << QChar(QLatin1Char('f')) << d1 << d2 << s << QString::fromLatin1(v);
    };
    t("t 10 at 5", 10, 5, "2.2286");
    t("t 10 at 45", 10, 45, "0.7863");
    t("t 1 at 30, mass below -7 missing", 1, 30, "2.9258");
    t("t 2 at 5 above the cap", 2, 5, "");
    t("t 10 at 0.001", 10, 0.001, "");
    f("F 4,4 at 5", 4, 4, 5, "9.6046");
    f("F 2,2 at 5", 2, 2, 5, "39.0000");
    f("F 5,10 at 10", 5, 10, 10, "3.3259");
    f("F 19,19 at 45 below the start", 19, 19, 45, "1.4221");
    f("F 2,1 at 5 above the cap", 2, 1, 5, "");
}

void TestCriticalValues::search()
{
    QFETCH(QChar, kind);
    QFETCH(int, d1);
    QFETCH(int, d2);
    QFETCH(double, sig);
    QFETCH(QString, expected);
    const GammaTable g = gammaHalf();
    const auto x = kind == QLatin1Char('t') ? CriticalT(g, d1, sig) : CriticalF(g, d1, d2, sig);
    if (expected.isEmpty()) {
        QVERIFY(!x);
        return;
    }
    QVERIFY(x);
    QCOMPARE(FormatPictureD(*x, QStringLiteral("#0.0000")), expected);
    // On the finest grid, not merely rounding to the figure.
    QVERIFY(std::fabs(*x - expected.toDouble()) < 1e-9);
}

void TestCriticalValues::againstIndependentQuantile()
{
#ifndef PELTRIX_HAVE_BOOST_MATH
    QSKIP("Boost.Math headers not installed");
#else
    // The F area starts at 0, so the search must land on the true quantile;
    // large significance levels put it below the start 1.6.
    const GammaTable g = gammaHalf();
    int compared = 0, belowStart = 0;
    for (int d1 : {2, 5, 10, 19})
        for (int d2 : {2, 5, 10, 19})
            for (double s : {45.0, 40.0, 20.0, 5.0}) {
                const auto x = CriticalF(g, d1, d2, s);
                const double q = quantile(boost::math::fisher_f_distribution<double>(d1, d2),
                                          TargetProbability(s));
                if (q > 81.6) {
                    QVERIFY(!x);
                    continue;
                }
                QVERIFY(x);
                QVERIFY2(std::fabs(*x - q) < 0.001,
                         qPrintable(QStringLiteral("F(%1,%2) at %3").arg(d1).arg(d2).arg(s)));
                ++compared;
                if (q < 1.6) ++belowStart;
            }
    QVERIFY(belowStart >= 4);
    QVERIFY(compared >= 40);
    // Many degrees of freedom make the missing mass below -7 negligible.
    const auto t = CriticalT(g, 38, 5);
    QVERIFY(std::fabs(*t - quantile(boost::math::students_t_distribution<double>(38), 0.975)) <
            0.001);
#endif
}

QTEST_GUILESS_MAIN(TestCriticalValues)
#include "test_criticalvalues.moc"
