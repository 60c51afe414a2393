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
    void openingShowsHeaderThenWindows();
    void addShots();
    void refusedTexts_data();
    void refusedTexts();
    void fullGroup();
    void deleteShot_data();
    void deleteShot();
    void deleteLastAndEmpty();
    void headerRange_data();
    void headerRange();
    void headerKeepsTextsAndCancel();
};

void TestKeyboardEntry::openingShowsHeaderThenWindows()
{
    TestApp t;
    bool headerSeen = false;
    WhenModal([&](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        QVERIFY(h);
        headerSeen = true;
        QCOMPARE(h->windowTitle(), QStringLiteral("Enter Header Information"));
        QCOMPARE(h->txtRangeToTarget->text(), QStringLiteral("100"));
        QCOMPARE(h->txtShooterName->maxLength(), 30);
        QCOMPARE(h->txtDate->maxLength(), 20);
        h->cmdHeaderCancel->click();
    });
    t.app->ViewTextEntry();
    QVERIFY(headerSeen);
    QVERIFY(t.app->HasKeyBoardEnter());
    QVERIFY(t.app->KeyBoardEnter()->isVisible());
    QCOMPARE(t.app->KeyBoardEnter()->windowTitle(), QStringLiteral("Keyboard Data Entry"));
    QVERIFY(t.app->TextEnter()->isVisible());
    QVERIFY(!t.app->TextEnter()->cmdRemShot->isVisible());
    QVERIFY(t.app->TextOutput()->isVisible());
    QVERIFY(!t.session.HeaderEntered);

    // Closing releases the forms; the next opening creates them afresh.
    t.app->KeyBoardEnter()->mnuKBClose_Click();
    QCoreApplication::processEvents();
    QTRY_VERIFY(!t.app->HasKeyBoardEnter());
}

void TestKeyboardEntry::addShots()
{
    TestApp t;
    frmTextEnter *e = openEntry(t);
    type(e, QStringLiteral("1.5"), QStringLiteral("-2"));
    QVERIFY(t.prompter.messages().isEmpty());
    QCOMPARE(t.session.ShotCount, 1);
    QCOMPARE(t.session.ShotR[1], 2.5f);
    QCOMPARE(t.session.MeanX, 0.0f);
    QVERIFY(!t.session.StatsSaved);
    QVERIFY(e->txtEnterX->text().isEmpty());
    QVERIFY(e->cmdRemShot->isVisible());
    QVERIFY(reportShows(t, QStringLiteral(" 1.500")));

    type(e, QStringLiteral(" -.5 "), QStringLiteral("1E-1"));
    QCOMPARE(t.session.ShotCount, 2);
    QCOMPARE(t.session.ShotX[2], -0.5f);
    QCOMPARE(t.session.ShotY[2], 0.1f);
    QVERIFY(t.session.GroupSize > 0);
    QVERIFY(reportShows(t, QStringLiteral("02")));
}

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
    QTest::newRow("y empty") << "1"
                             << "" << empty;
    QTest::newRow("letters") << "abc"
                             << "1" << notNumber;
    QTest::newRow("comma") << "1,5"
                           << "1" << notNumber;
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

void TestKeyboardEntry::fullGroup()
{
    TestApp t;
    frmTextEnter *e = openEntry(t);
    for (int k = 1; k <= ShotCapacity; ++k) type(e, QString::number(k), QStringLiteral("0.5"));
    QCOMPARE(t.session.ShotCount, 21);
    QVERIFY(t.prompter.messages().isEmpty());
    type(e, QStringLiteral("30"), QStringLiteral("30"));
    QCOMPARE(lastMessage(t.prompter),
             QStringLiteral("Enter Data: You have entered the maximum number of shots...no "
                            "additional shots can be entered"));
    QCOMPARE(t.session.ShotCount, 21);
    QCOMPARE(t.session.ShotX[21], 21.0f);
    QCOMPARE(t.session.RangeX, 20.0f);
}

void TestKeyboardEntry::deleteShot_data()
{
    QTest::addColumn<QString>("answer"); // "<cancel>" cancels the box
    QTest::addColumn<int>("shotsAfter");
    QTest::addColumn<QString>("message");
    QTest::newRow("halves to even") << "2.5" << 2 << QString();
    QTest::newRow("first") << "1" << 2 << QString();
    QTest::newRow("out of range") << "3.4" << 3
                                  << QStringLiteral(
                                         "Invalid Shot Number: You must enter a Shot Number "
                                         "between 1 and 3.\r\rPlease enter a valid Shot Number.");
    QTest::newRow("zero") << "0" << 3
                          << QStringLiteral(
                                 "Invalid Shot Number: You must enter a Shot Number between 1 and "
                                 "3.\r\rPlease enter a valid Shot Number.");
    QTest::newRow("cancel")
        << "<cancel>" << 3
        << QStringLiteral("Number Entry Error: You must enter a NUMBER for the shot to delete.");
    QTest::newRow("text")
        << "two" << 3
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

void TestKeyboardEntry::deleteLastAndEmpty()
{
    TestApp t;
    frmTextEnter *e = openEntry(t);
    type(e, QStringLiteral("1"), QStringLiteral("1"));
    t.prompter.QueueInput(QStringLiteral("2"));
    e->cmdRemShot->click();
    QCOMPARE(lastMessage(t.prompter),
             QStringLiteral("Invalid Shot Number: You must enter 1 for the Shot Number.\r\r"));
    QCOMPARE(t.session.ShotCount, 1);
    t.prompter.QueueInput(QStringLiteral("1"));
    e->cmdRemShot->click();
    QCOMPARE(t.session.ShotCount, 0);
    QVERIFY(!e->cmdRemShot->isVisible());
    QVERIFY(reportShows(t, QStringLiteral("0")));

    // Cleared elsewhere while the button is shown: reported, nothing changes.
    type(e, QStringLiteral("1"), QStringLiteral("1"));
    t.app->ClearDataSet();
    t.prompter.clear();
    t.prompter.QueueInput(QStringLiteral("1"));
    e->cmdRemShot->click();
    QCOMPARE(lastMessage(t.prompter),
             QStringLiteral("Remove Shots: There are no Shots to Remove from Data Set."));
    QCOMPARE(t.prompter.messages().last().icon, Icon::Exclamation);
}

void TestKeyboardEntry::headerRange_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<int>("warningAnswer"); // 0: no warning expected
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("rangeEntered");
    QTest::newRow("valid") << "100" << 0 << true << true;
    QTest::newRow("fraction") << "87.5" << 0 << true << true;
    QTest::newRow("empty, ok") << "" << int(Answer::Ok) << true << false;
    QTest::newRow("empty, cancel") << "" << int(Answer::Cancel) << false << false;
    QTest::newRow("zero") << "0" << int(Answer::Ok) << true << false;
    QTest::newRow("negative") << "-5" << int(Answer::Ok) << true << false;
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
        QCOMPARE(m[0].title, QStringLiteral("No Range to Target"));
        QCOMPARE(m[0].buttons, Buttons::OkCancel);
        QCOMPARE(m[0].text, RangeWarningText());
        QVERIFY(m[0].text.startsWith(QStringLiteral(
            "You have not entered a valid number (larger than 0) for the Range to Target.\r"
            "Peltrix will not compute group MOA if no range is entered.\r\r")));
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

void TestKeyboardEntry::headerKeepsTextsAndCancel()
{
    TestApp t;
    const QString comments =
        QStringLiteral("Wind \"gusty\" from 3 o'clock, 5 °C, café\nsecond line");
    WhenModal([&](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        h->txtRangeToTarget->setText(QStringLiteral("100"));
        h->txtShooterName->setText(QStringLiteral("Zoë \"Z\" O'Neil"));
        h->txtRifle->setText(QString(40, QLatin1Char('x'))); // longer than the field
        h->txtComments->setPlainText(comments + QString(400, QLatin1Char('y')));
        h->cmdHeaderOk->click();
    });
    t.app->ShowHeaderForm(t.app->Main());
    QCOMPARE(t.session.ShooterName,
             FixedWidth(QStringLiteral("Zoë \"Z\" O'Neil"), ShooterNameWidth));
    QCOMPARE(t.session.Firearm, QString(30, QLatin1Char('x')));
    QCOMPARE(t.session.Comments.size(), CommentsWidth);
    QVERIFY(t.session.Comments.startsWith(comments));
    QVERIFY(!t.session.StatsSaved); // a changed header is unsaved work

    // Reopening shows what is stored; Cancel after editing changes nothing.
    const Session before = t.session;
    WhenModal([&](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        QCOMPARE(h->txtShooterName->text(), QString::fromUtf8("Zoë \"Z\" O'Neil"));
        QCOMPARE(h->txtRangeToTarget->text(), QStringLiteral("100"));
        h->txtShooterName->setText(QStringLiteral("Bob"));
        h->txtRangeToTarget->setText(QStringLiteral("-1"));
        h->cmdHeaderCancel->click();
    });
    t.app->ShowHeaderForm(t.app->Main());
    QCOMPARE(t.session.ShooterName, before.ShooterName);
    QCOMPARE(t.session.RangeToTarget, before.RangeToTarget);
    QCOMPARE(t.session.RangeEntered, before.RangeEntered);
    QCOMPARE(t.session.Comments, before.Comments);
    QVERIFY(t.prompter.messages().isEmpty());
}

QTEST_MAIN(TestKeyboardEntry)
#include "test_keyboardentry.moc"
