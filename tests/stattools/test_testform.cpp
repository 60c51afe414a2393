// The T-test and F-test windows driven through their controls, with their
// boxes answered by the scripted prompter, and their printed page.
#include "app/frmmain.h"
#include "platform/printer.h"
#include "stats/report.h"
#include "stattools/frmftest.h"
#include "stattools/frmttest.h"
#include "testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>
#include <cmath>

namespace {
const QString InputError = QStringLiteral("Input Error");

// The window's fields in their order on the form, the window shown.
QList<QLineEdit *> fieldsOf(TestApp &t, bool tTest)
{
    if (tTest) {
        t.app->ShowTTest();
        frmTTest *f = t.app->TTestWindow();
        return {f->txtAverageA, f->txtStdDevA, f->txtNumberA, f->txtAverageB,
                f->txtStdDevB,  f->txtNumberB, f->txtSigLevel};
    }
    t.app->ShowFTest();
    frmFTest *f = t.app->FTestWindow();
    return {f->txtStdDevA, f->txtNumberA, f->txtStdDevB, f->txtNumberB, f->txtSigLevel};
}
} // namespace

class TestTestWindows : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void equalToCriticalIsSignificant();
    void printedPdf();
};

void TestTestWindows::refusals_data()
{
    // The first field at fault is named, in the window's own order, and
    // arithmetic that has no answer is refused rather than shown.
    QTest::addColumn<bool>("tTest");
    QTest::addColumn<QStringList>("fields"); // t: avgA sdA nA avgB sdB nB sig; F: sdA nA sdB nB sig
    QTest::addColumn<QString>("message");    // empty: accepted
    auto row = [](const char *name, bool t, const char *fields, const char *msg) {
        QTest::newRow(name) << t << QString::fromLatin1(fields).split(QLatin1Char('|'))
                            << QString::fromLatin1(msg);
    };
    const char *numberA = "Number A must be a number between 1 and 20.";
    const char *tooLarge = "The numbers are too large or too small to compute with.";
    row("t: empty average A first", true, "|x|0|x|x|x|x", "Sample A Average must be a number.");
    row("t: number A .5, range first", true, "1|2|.5|3|2|5|5", numberA);
    row("t: average B before number B", true, "1|2|5|b|2|x|5",
        "Sample B Average must be a number.");
    row("t: sd A after the numbers", true, "1||5|3||5|",
        "The Standard Deviation for Sample A must be a number.");
    row("t: sig 45.01", true, "1|2|5|3|2|5|45.01",
        "The Significance Level must be a number between 0.001 and 45.00");
    row("t: bounds pass 1 20 0.001", true, "1|2|1|3|2|20|0.001", "");
    row("t: two single shots", true, "1|2|1|3|2|1|5",
        "The two samples together need at least 3 shots for this test.");
    row("t: both deviations 0", true, "1|0|5|3|0|5|5",
        "A pooled standard deviation of 0 cannot be compared: a sample of 2 or more shots needs "
        "a standard deviation other than 0.");
    row("t: squares overflow", true, "1|1E200|5|3|1|5|5", tooLarge);
    row("F: a sample of 1", false, "2|1|1|10|5",
        "Each sample needs at least 2 shots for this test.");
    row("F: deviation 0", false, "0|5|2|5|5", "A standard deviation of 0 cannot be compared.");
    row("F: ratio overflows", false, "1E150|5|1E-150|5|5", tooLarge);
    row("F: squares underflow", false, "1E-170|10|1E-160|10|5", tooLarge);
}

void TestTestWindows::refusals()
{
    QFETCH(bool, tTest);
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    TestApp t;
    const QList<QLineEdit *> e = fieldsOf(t, tTest);
    for (int k = 0; k < e.size(); ++k) {
        e[k]->setText(fields[k]);
        QCOMPARE(e[k]->text(), fields[k]); // the field holds the text
    }
    QWidget *w = e[0]->window();
    w->findChild<QPushButton *>(QStringLiteral("cmdCompute"))->click();
    auto *result = w->findChild<QLabel *>(QStringLiteral("lblResult"));
    if (message.isEmpty()) {
        QVERIFY(t.prompter.messages().isEmpty());
        return;
    }
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(t.prompter.messages()[0].title, InputError);
    QCOMPARE(t.prompter.messages()[0].text, message);
    QVERIFY(!result->isVisible() && result->text().isEmpty());
    QVERIFY(!w->findChild<QPushButton *>(QStringLiteral("cmdPrint"))->isVisible());
}

void TestTestWindows::equalToCriticalIsSignificant()
{
    Session s;
    PrepareTestSession(s);
    ScriptedPrompter p;
    // t: samples of 2 with deviations 1 make the standard error exactly 1, so t
    // is the average typed; 17 digits give the critical value to the last bit.
    const double tx = *CriticalT(s.GammaHalf, 2, 45);
    TTestFields tf;
    tf.AverageA = QString::number(tx, 'g', 17), tf.AverageB = QStringLiteral("0");
    tf.StdDevA = tf.StdDevB = QStringLiteral("1");
    tf.NumberA = tf.NumberB = QStringLiteral("2");
    tf.SigLevel = QStringLiteral("45");
    QVERIFY(ComputeTTest(tf, s.GammaHalf, p)
                .caption.endsWith(QStringLiteral("are significantly different.")));
    tf.AverageA = QString::number(std::nextafter(tx, 0.0), 'g', 17);
    QVERIFY(ComputeTTest(tf, s.GammaHalf, p).caption.endsWith(QStringLiteral("amount.")));

    // F: deviations whose squares divide to the critical value exactly.
    const double fx = *CriticalF(s.GammaHalf, 4, 4, 5);
    double sdA = 0, sdB = 0;
    for (int b = 1; b <= 50 && sdA == 0; ++b) {
        double a = std::sqrt(fx * b * b);
        for (int k = 0; k < 6; ++k) a = std::nextafter(a, 0.0);
        for (int k = 0; k < 12 && sdA == 0; ++k, a = std::nextafter(a, 100.0))
            if (a * a / (double(b) * b) == fx) sdA = a, sdB = b;
    }
    QVERIFY(sdA != 0);
    FTestFields ff;
    ff.StdDevA = QString::number(sdA, 'g', 17), ff.StdDevB = QString::number(sdB);
    ff.NumberA = ff.NumberB = QStringLiteral("5");
    const TestOutcome r = ComputeFTest(ff, s.GammaHalf, p);
    QVERIFY(r.statistic == *r.critical);
    QVERIFY(r.caption.endsWith(QStringLiteral("are significantly different.")));
}

void TestTestWindows::printedPdf()
{
    if (HavePrinter()) QSKIP("a printer is installed; the page would go to it");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) not installed");
    TestApp t;
    const QList<QLineEdit *> e = fieldsOf(t, true);
    const QStringList texts = QStringLiteral("10 2 10 12 2 10").split(QLatin1Char(' '));
    for (int k = 0; k < texts.size(); ++k) e[k]->setText(texts[k]);
    frmTTest *w = t.app->TTestWindow();
    w->txtLotA->setText(QStringLiteral("A7"));
    w->cmdCompute->click();
    const QString pdf = t.dir.filePath(QStringLiteral("ttest.pdf"));
    t.prompter.QueueSaveFile(pdf);
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    const auto words = PdfWords(pdf);
    auto find = [&](const QString &text, int nth = 0) {
        for (const auto &[word, pos] : words)
            if (word == text && nth-- == 0) return pos;
        return QPointF(-1, -1);
    };
    const double left = 2500 / 20.0, right = 6050 / 20.0, top = 1200 / 20.0; // points
    auto at = [](double a, double b) { return std::fabs(a - b) < 0.5; };
    QVERIFY(at(find(QStringLiteral("Sample")).x(), left) &&
            at(find(QStringLiteral("Sample")).y(), top));
    QVERIFY(at(find(QStringLiteral("Sample"), 1).x(), right) &&
            at(find(QStringLiteral("Sample"), 1).y(), top));
    const QPointF lotA = find(QStringLiteral("Lot#:")), lotB = find(QStringLiteral("Lot#:"), 1);
    QVERIFY(at(lotA.x(), left) && lotA.y() > top && at(lotB.x(), right) && at(lotB.y(), lotA.y()));
    QVERIFY(find(QStringLiteral("A7")).x() > lotA.x());
    // Each result line on its own line at the left column, below the significance.
    // Text as typed, no ligature glyphs: "Significance" is found as such.
    const QPointF sig = find(QStringLiteral("Significance"));
    const QPointF l1 = find(QStringLiteral("T-Test")), l2 = find(QStringLiteral("Experimental")),
                  l3 = find(QStringLiteral("averages"));
    QVERIFY(at(sig.x(), left) && at(l1.x(), left) && at(l2.x(), left));
    QVERIFY(sig.y() < l1.y() && l1.y() < l2.y() && l2.y() < l3.y());
    QCOMPARE(find(QStringLiteral("2.10")).y(), l1.y());
}

QTEST_MAIN(TestTestWindows)
#include "test_testform.moc"
