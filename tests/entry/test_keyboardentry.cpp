// Keyboard entry and the header form, driven through the real forms.
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "entry/frmkeyboardenter.h"
#include "entry/frmtextenter.h"
#include "entry/keyboardentry.h"
#include "model/textnum.h"
#include "stats/frmtextoutput.h"
#include "stats/report.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <optional>

namespace {
// Opens keyboard entry, answering the header form that comes first with Cancel.
frmTextEnter *openEntry(TestApp &t)
{
    WhenModal([](QWidget *w) { qobject_cast<frmEnterHeader *>(w)->cmdHeaderCancel->click(); });
    t.app->ViewTextEntry();
    return t.app->TextEnter();
}

void type(frmTextEnter *e, const QString &x, const QString &y)
{
    e->txtEnterX->setText(x);
    e->txtEnterY->setText(y);
    e->cmdEnterTextData->click();
}

// The statistics window's display list as it was last rendered.
bool reportShows(TestApp &t, const QString &text)
{
    RecordingSurface out;
    PrintGroupStats(t.session, out, ReportOn::Window);
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
    QTest::newRow("x empty") << QString() << QStringLiteral("1");
    QTest::newRow("trailing letters") << QStringLiteral("1") << QStringLiteral("12.5abc");
    QTest::newRow("beyond double") << QStringLiteral("1") << QStringLiteral("-1E400");
}

void TestKeyboardEntry::refusedTexts()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    TestApp t;
    frmTextEnter *e = openEntry(t);
    type(e, QStringLiteral("1"), QStringLiteral("2"));
    t.session.StatsSaved = true;
    t.prompter.clear();
    type(e, x, y);
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(t.session.ShotCount, 1);
    QVERIFY(t.session.StatsSaved);
    // The typed texts stay for correction.
    QCOMPARE(e->txtEnterX->text(), x);
    QCOMPARE(e->txtEnterY->text(), y);
}

void TestKeyboardEntry::deleteShot_data()
{
    QTest::addColumn<std::optional<QString>>("answer"); // none: the box cancelled
    QTest::addColumn<int>("shotsAfter");
    QTest::newRow("halves to even") << std::optional<QString>(QStringLiteral("2.5")) << 2;
    QTest::newRow("out of range") << std::optional<QString>(QStringLiteral("3.4")) << 3;
    QTest::newRow("cancel") << std::optional<QString>() << 3;
}

void TestKeyboardEntry::deleteShot()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(int, shotsAfter);
    TestApp t;
    frmTextEnter *e = openEntry(t);
    for (const char *v : {"1", "2", "4"}) type(e, QString::fromLatin1(v), QString::fromLatin1(v));
    t.session.StatsSaved = true;
    t.prompter.clear();
    t.prompter.QueueInput(answer);
    e->cmdRemShot->click();
    QCOMPARE(t.prompter.records.first().defaultAnswer, QStringLiteral("3"));
    QCOMPARE(t.prompter.messages().size(), shotsAfter == 3 ? 1 : 0);
    QCOMPARE(t.session.ShotCount, shotsAfter);
    QCOMPARE(t.session.StatsSaved, shotsAfter == 3);
    if (shotsAfter == 2) {
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
