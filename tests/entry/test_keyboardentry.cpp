// Keyboard entry and the header form, driven through the real forms.
#include "app/frmmain.h"
#include "app/textnum.h"
#include "entry/frmenterheader.h"
#include "entry/frmkeyboardenter.h"
#include "entry/frmtextenter.h"
#include "entry/keyboardentry.h"
#include "stats/frmtextoutput.h"
#include "stats/report.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {
// Opens keyboard entry, answering the header form that comes first with Cancel.
frmTextEnter *openEntry(TestApp &t)
{
    WhenModal([](QWidget *w) { qobject_cast<frmEnterHeader *>(w)->cmdHeaderCancel->click(); });
    t.app->ViewTextEntry();
    frmTextEnter *e = t.app->TextEnter();
    return e;
}

void type(frmTextEnter *e, const QString &x, const QString &y)
{
    e->txtEnterX->setText(x);
    e->txtEnterY->setText(y);
    e->cmdEnterTextData->click();
}

QString lastMessage(const ScriptedPrompter &p)
{
    const auto m = p.messages();
    return m.isEmpty() ? QString() : m.last().title + QStringLiteral(": ") + m.last().text;
}

// The statistics window's display list as it was last rendered.
bool reportShows(TestApp &t, const QString &text)
{
    RecordingSurface out;
    t.session.ReportTarget = &out;
    t.session.RenderToWindow = true;
    PrintGroupStats(t.session);
    t.session.RenderToWindow = false;
    return out.Find(text) != nullptr;
}
} // namespace

class TestKeyboardEntry : public QObject {
    Q_OBJECT
private slots:
    void refusedTexts_data();
    void refusedTexts();
    void deleteShot_data();
    void deleteShot();
    void headerRange_data();
    void headerRange();
};

void TestKeyboardEntry::refusedTexts_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("message");
    const QString empty =
        QStringLiteral("Enter X and Y Data: Both X and Y values must be entered to add data");
    const QString notNumber =
        QStringLiteral("Enter X and Y Data: X and Y must be numbers, for example 1.25 or -0.5.");
    QTest::newRow("x empty") << ""
                             << "1" << empty;
    QTest::newRow("trailing letters") << "1"
                                      << "12.5abc" << notNumber;
    QTest::newRow("huge")
        << "1E30"
        << "1"
        << QStringLiteral("Enter X and Y Data: X and Y must lie between -1000000 and 1000000.");
    QTest::newRow("beyond double")
        << "1"
        << "-1E400"
        << QStringLiteral("Enter X and Y Data: X and Y must lie between -1000000 and 1000000.");
}

void TestKeyboardEntry::refusedTexts()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, message);
    TestApp t;
    frmTextEnter *e = openEntry(t);
    type(e, QStringLiteral("1"), QStringLiteral("2"));
    t.session.StatsSaved = true;
    t.prompter.clear();
    type(e, x, y);
    QCOMPARE(lastMessage(t.prompter), message);
    QCOMPARE(t.session.ShotCount, 1);
    QVERIFY(t.session.StatsSaved);
    // The typed texts stay for correction.
    QCOMPARE(e->txtEnterX->text(), x);
    QCOMPARE(e->txtEnterY->text(), y);
}

void TestKeyboardEntry::deleteShot_data()
{
    QTest::addColumn<QString>("answer"); // "<cancel>" cancels the box
    QTest::addColumn<int>("shotsAfter");
    QTest::addColumn<QString>("message");
    QTest::newRow("halves to even") << "2.5" << 2 << QString();
    QTest::newRow("out of range") << "3.4" << 3
                                  << QStringLiteral(
                                         "Invalid Shot Number: You must enter a Shot Number "
                                         "between 1 and 3.\r\rPlease enter a valid Shot Number.");
    QTest::newRow("cancel")
        << "<cancel>" << 3
        << QStringLiteral("Number Entry Error: You must enter a NUMBER for the shot to delete.");
}

void TestKeyboardEntry::deleteShot()
{
    QFETCH(QString, answer);
    QFETCH(int, shotsAfter);
    QFETCH(QString, message);
    TestApp t;
    frmTextEnter *e = openEntry(t);
    type(e, QStringLiteral("1"), QStringLiteral("1"));
    type(e, QStringLiteral("2"), QStringLiteral("2"));
    type(e, QStringLiteral("4"), QStringLiteral("4"));
    t.session.StatsSaved = true;
    t.prompter.clear();
    t.prompter.QueueInput(answer == QStringLiteral("<cancel>") ? std::nullopt
                                                               : std::optional<QString>(answer));
    e->cmdRemShot->click();
    const auto input = t.prompter.records.first();
    QCOMPARE(input.title, QStringLiteral("Delete Shot"));
    QCOMPARE(input.text, QStringLiteral("Enter the Number of the Shot to Delete"));
    QCOMPARE(input.defaultAnswer, QStringLiteral("3"));
    QCOMPARE(lastMessage(t.prompter), message.isEmpty() ? QString() : message);
    QCOMPARE(t.session.ShotCount, shotsAfter);
    QCOMPARE(t.session.StatsSaved, shotsAfter == 3);
    if (answer == QStringLiteral("2.5")) {
        QCOMPARE(t.session.ShotX[1], 1.0f);
        QCOMPARE(t.session.ShotX[2], 4.0f);
        QVERIFY(reportShows(t, QStringLiteral(" 4.000")));
        QVERIFY(!reportShows(t, QStringLiteral(" 2.000")));
    }
}

void TestKeyboardEntry::headerRange_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("warningAnswer"); // 0: no warning expected
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("rangeEntered");
    QTest::newRow("valid") << "100" << 0 << true << true;
    QTest::newRow("empty, ok") << "" << int(Answer::Ok) << true << false;
    QTest::newRow("empty, cancel") << "" << int(Answer::Cancel) << false << false;
    QTest::newRow("zero") << "0" << int(Answer::Ok) << true << false;
    QTest::newRow("letters") << "1O0" << int(Answer::Ok) << true << false;
}

void TestKeyboardEntry::headerRange()
{
    QFETCH(QString, range);
    QFETCH(int, warningAnswer);
    QFETCH(bool, stored);
    QFETCH(bool, rangeEntered);
    TestApp t;
    AddShots(t.session, {{0, 0}, {1.047198f, 0}});
    if (warningAnswer) t.prompter.QueueMsgAnswer(warningAnswer);
    bool stillOpen = false;
    WhenModal([&](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        h->txtRangeToTarget->setText(range);
        h->txtShooterName->setText(QStringLiteral("Ann"));
        h->cmdHeaderOk->click();
        stillOpen = h->isVisible();
        if (stillOpen) h->cmdHeaderCancel->click();
    });
    t.app->ShowHeaderForm(t.app->Main());
    const auto m = t.prompter.messages();
    if (warningAnswer) {
        QCOMPARE(m.size(), 1);
    } else {
        QVERIFY(m.isEmpty());
    }
    QCOMPARE(stillOpen, !stored);
    QCOMPARE(t.session.HeaderEntered, stored);
    QCOMPARE(t.session.ShooterName.trimmed(), stored ? QStringLiteral("Ann") : QString());
    QCOMPARE(t.session.RangeEntered, rangeEntered);
    if (rangeEntered)
        QCOMPARE(t.session.RangeToTarget, float(range.trimmed().toDouble()));
    else
        QCOMPARE(t.session.RangeToTarget, 100.0f);
    if (range == QStringLiteral("100")) QVERIFY(reportShows(t, QStringLiteral("1.00 MOA")));
}

QTEST_MAIN(TestKeyboardEntry)
#include "test_keyboardentry.moc"
