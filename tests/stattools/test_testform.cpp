// The T-test and F-test windows driven through their controls, with their
// boxes answered by the scripted prompter, and their printed page.
#include "app/frmmain.h"
#include "platform/printer.h"
#include "stats/report.h"
#include "stattools/frmftest.h"
#include "stattools/frmttest.h"
#include "testsupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>
#include <cmath>

namespace {
const QString InputError = QStringLiteral("Input Error");

// Runs Compute on the core with these fields; the message shown, if any.
QString tMessage(const QStringList &v)
{
    TTestFields f;
    f.AverageA = v[0], f.StdDevA = v[1], f.NumberA = v[2];
    f.AverageB = v[3], f.StdDevB = v[4], f.NumberB = v[5], f.SigLevel = v[6];
    Session s;
    PrepareTestSession(s);
    ScriptedPrompter p;
    const TestOutcome r = ComputeTTest(f, s.GammaHalf, p);
    if (p.messages().isEmpty()) return r.computed ? QString() : QStringLiteral("?");
    [&] { QCOMPARE(p.messages().first().title, InputError); }();
    return p.messages().first().text;
}

// The word boxes of a PDF page in points: text -> (xMin, yMin), in reading order.
QList<std::pair<QString, QPointF>> pdfWords(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished();
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    QList<std::pair<QString, QPointF>> words;
    for (auto m = re.globalMatch(html); m.hasNext();) {
        const auto w = m.next();
        words.append({w.captured(3), QPointF(w.captured(1).toDouble(), w.captured(2).toDouble())});
    }
    return words;
}
} // namespace

class TestTestWindows : public QObject {
    Q_OBJECT
private slots:
    void tValidationOrder_data();
    void tValidationOrder();
    void equalToCriticalIsSignificant();
    void undefinedArithmeticRefused_data();
    void undefinedArithmeticRefused();
    void lotTextsWrap();
    void printedPdf();
};

void TestTestWindows::tValidationOrder_data()
{
    QTest::addColumn<QStringList>("fields"); // avgA sdA nA avgB sdB nB sig
    QTest::addColumn<QString>("message");
    auto row = [](const char *name, const char *fields, const char *msg) {
        QTest::newRow(name) << QString::fromLatin1(fields).split(QLatin1Char('|'))
                            << QString::fromLatin1(msg);
    };
    row("empty average A first", "|x|0|x|x|x|x", "Sample A Average must be a number.");
    row("number A 0", "1|2|0|3|2|5|5", "Number A must be a number between 1 and 20.");
    row("number A 21", "1|2|21|3|2|5|5", "Number A must be a number between 1 and 20.");
    row("number A 0.5: range first", "1|2|0.5|3|2|5|5",
        "Number A must be a number between 1 and 20.");
    row("number A 1.5", "1|2|1.5|3|2|5|5",
        "Number A must be a whole number (1,2,3) with no decimals.");
    row("average B before number B", "1|2|5|b|2|x|5", "Sample B Average must be a number.");
    row("sd A after the numbers", "1||5|3||5|",
        "The Standard Deviation for Sample A must be a number.");
    row("sig 0", "1|2|5|3|2|5|0",
        "The Significance Level must be a number between 0.001 and 45.00");
    row("sig 45.01", "1|2|5|3|2|5|45.01",
        "The Significance Level must be a number between 0.001 and 45.00");
    row("bounds pass 1 20 0.001", "1|2|1|3|2|20|0.001", "");
}

void TestTestWindows::tValidationOrder()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    QCOMPARE(tMessage(fields), message);
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

void TestTestWindows::undefinedArithmeticRefused_data()
{
    QTest::addColumn<bool>("tTest");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("message");
    auto row = [](const char *name, bool t, const char *fields, const char *msg) {
        QTest::newRow(name) << t << QString::fromLatin1(fields).split(QLatin1Char('|'))
                            << QString::fromLatin1(msg);
    };
    const char *tooLarge = "The numbers are too large or too small to compute with.";
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

void TestTestWindows::undefinedArithmeticRefused()
{
    QFETCH(bool, tTest);
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    TestApp t;
    QWidget *w;
    QLabel *result;
    QPushButton *print, *compute;
    if (tTest) {
        t.app->ShowTTest();
        frmTTest *f = t.app->TTestWindow();
        QLineEdit *e[] = {f->txtAverageA, f->txtStdDevA, f->txtNumberA, f->txtAverageB,
                          f->txtStdDevB,  f->txtNumberB, f->txtSigLevel};
        for (int k = 0; k < 7; ++k) e[k]->setText(fields[k]);
        w = f, result = f->lblResult, print = f->cmdPrint, compute = f->cmdCompute;
    } else {
        t.app->ShowFTest();
        frmFTest *f = t.app->FTestWindow();
        QLineEdit *e[] = {f->txtStdDevA, f->txtNumberA, f->txtStdDevB, f->txtNumberB,
                          f->txtSigLevel};
        for (int k = 0; k < 5; ++k) e[k]->setText(fields[k]);
        w = f, result = f->lblResult, print = f->cmdPrint, compute = f->cmdCompute;
    }
    for (QLineEdit *e : w->findChildren<QLineEdit *>())
        QVERIFY2(e->text().size() <= e->maxLength(), "the field holds the text");
    compute->click();
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(t.prompter.messages()[0].title, InputError);
    QCOMPARE(t.prompter.messages()[0].buttons, Buttons::Ok);
    QCOMPARE(t.prompter.messages()[0].text, message);
    QCOMPARE(t.prompter.beeps, 0);
    QVERIFY(!result->isVisible() && result->text().isEmpty() && !print->isVisible());
}

void TestTestWindows::lotTextsWrap()
{
    // Long lot texts wrap within their columns and push the rows below down
    // (fixed metrics: 195 twips a line).
    FTestFields f;
    f.StdDevA = QStringLiteral("3"), f.NumberA = QStringLiteral("6");
    f.StdDevB = QStringLiteral("1"), f.NumberB = QStringLiteral("11");
    f.SigLevel = QStringLiteral("10");
    f.LotA = QStringLiteral("Lapua 2023 lot 4411 from the second case, sorted by weight");
    f.LotB = QString(60, QLatin1Char('B'));
    RecordingSurface wrapped;
    PrintFTestPage(wrapped, f, QString());
    QStringList lotA, lotB;
    for (const ReportItem &i : wrapped.Items()) {
        const double right = i.x + wrapped.TextWidth(i.text);
        QVERIFY2(i.x == 2500 ? right < 6050 : right <= wrapped.RightLimit(), qPrintable(i.text));
        if (i.y > 1200 && i.y < 1200 + 4 * 195 && !i.text.isEmpty() &&
            !i.text.startsWith(QStringLiteral("Standard")))
            (i.x == 2500 ? lotA : lotB) << i.text;
    }
    QCOMPARE(lotA.join(QLatin1Char(' ')), QStringLiteral("Lot#: ") + f.LotA);
    QCOMPARE(lotB.join(QString()).remove(QLatin1Char(' ')), QStringLiteral("Lot#:") + f.LotB);
    QVERIFY(lotA.size() >= 2);
    QCOMPARE(wrapped.Find(QStringLiteral("Standard Deviation: 3"))->y,
             1395 + std::max(lotA.size(), lotB.size()) * 195.0);
}

void TestTestWindows::printedPdf()
{
    if (HavePrinter()) QSKIP("a printer is installed; the page would go to it");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) not installed");
    TestApp t;
    t.app->ShowTTest();
    frmTTest *w = t.app->TTestWindow();
    const char *texts[] = {"10", "2", "10", "12", "2", "10"};
    QLineEdit *e[] = {w->txtAverageA, w->txtStdDevA, w->txtNumberA,
                      w->txtAverageB, w->txtStdDevB, w->txtNumberB};
    for (int k = 0; k < 6; ++k) e[k]->setText(QString::fromLatin1(texts[k]));
    w->txtLotA->setText(QStringLiteral("A7"));
    w->cmdCompute->click();
    const QString pdf = t.dir.filePath(QStringLiteral("ttest.pdf"));
    t.prompter.QueueSaveFile(pdf);
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    QVERIFY(QFileInfo::exists(pdf));
    const auto words = pdfWords(pdf);
    if (qEnvironmentVariableIsSet("PELTRIX_DUMP_WORDS"))
        for (const auto &[word, pos] : words) qDebug() << word << pos;
    auto find = [&](const QString &text, int nth = 0) {
        for (const auto &[word, pos] : words)
            if (word == text && nth-- == 0) return pos;
        return QPointF(-1, -1);
    };
    const double pt = 1.0 / 20; // points per twip
    auto near = [](QPointF a, QPointF b) {
        return std::fabs(a.x() - b.x()) < 0.5 && std::fabs(a.y() - b.y()) < 0.5;
    };
    QVERIFY(near(find(QStringLiteral("Sample")), QPointF(2500 * pt, 1200 * pt)));
    QVERIFY(near(find(QStringLiteral("Sample"), 1), QPointF(6050 * pt, 1200 * pt)));
    const QPointF lotA = find(QStringLiteral("Lot#:")), lotB = find(QStringLiteral("Lot#:"), 1);
    QVERIFY(near(QPointF(lotA.x(), 0), QPointF(2500 * pt, 0)) && lotA.y() > 1200 * pt);
    QVERIFY(near(QPointF(lotB.x(), lotA.y()), QPointF(6050 * pt, lotA.y())));
    QVERIFY(find(QStringLiteral("A7")).x() > lotA.x());
    // Each result line on its own line at the left column, below the significance.
    // Text as typed, no ligature glyphs: "Significance" is found as such.
    const QPointF sig = find(QStringLiteral("Significance"));
    const QPointF l1 = find(QStringLiteral("T-Test")), l2 = find(QStringLiteral("Experimental")),
                  l3 = find(QStringLiteral("averages"), 0);
    QVERIFY(std::fabs(sig.x() - 2500 * pt) < 0.5 && std::fabs(l1.x() - 2500 * pt) < 0.5 &&
            std::fabs(l2.x() - 2500 * pt) < 0.5);
    QVERIFY(sig.y() < l1.y() && l1.y() < l2.y() && l2.y() < l3.y());
    QCOMPARE(find(QStringLiteral("2.10")).y(), l1.y());
}

QTEST_MAIN(TestTestWindows)
#include "test_testform.moc"
