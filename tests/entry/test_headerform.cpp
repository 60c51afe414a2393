// The header form shows what is stored so that Ok keeps it, and its boxes
// take typing where the mouse puts the cursor.
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "files/statsfile.h"
#include "model/textnum.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {
QString &storedField(Session &s, const QString &box)
{
    return box == QLatin1String("txtLotNumber") ? s.LotNumber : s.Comments;
}

int fieldWidth(const QString &box)
{
    return box == QLatin1String("txtLotNumber") ? LotNumberWidth : CommentsWidth;
}
} // namespace

class TestHeaderForm : public QObject {
    Q_OBJECT
private slots:
    void rangeKeptThroughReopening_data();
    void rangeKeptThroughReopening();
    void textsTakeTypingAfterClick_data();
    void textsTakeTypingAfterClick();
};

void TestHeaderForm::rangeKeptThroughReopening_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("fromFile"); // else the default range
    for (const char *r : {"1000", "87.5"})
        for (bool fromFile : {true, false})
            QTest::addRow("%s %s", r, fromFile ? "from .pxs" : "default")
                << QString::fromLatin1(r) << fromFile;
}

void TestHeaderForm::rangeKeptThroughReopening()
{
    QFETCH(QString, range);
    QFETCH(bool, fromFile);
    TestApp t;
    Session &s = t.session;
    const float value = range.toFloat();
    if (fromFile) {
        const QString path = t.dir.filePath(QStringLiteral("g.pxs"));
        s.RangeToTarget = value;
        QVERIFY(SaveStatsFile(s, path));
        ResetSession(s);
        QVERIFY(OpenStatsFile(s, path));
    } else {
        s.DefRangeToTarget = value;
        ResetSession(s);
    }
    for (int cycle = 0; cycle < 2; ++cycle) {
        QString shown;
        WhenModal([&](QWidget *w) {
            auto *h = qobject_cast<frmEnterHeader *>(w);
            shown = h->txtRangeToTarget->text();
            h->cmdHeaderOk->click();
        });
        t.app->ShowHeaderForm(t.app->Main());
        QCOMPARE(shown, range);
        QCOMPARE(s.RangeToTarget, value);
        QVERIFY(s.RangeEntered);
    }
    QVERIFY(t.prompter.messages().isEmpty());
}

void TestHeaderForm::textsTakeTypingAfterClick_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::newRow("lot, leading blank kept")
        << QStringLiteral("txtLotNumber") << QStringLiteral("  L-17") << QStringLiteral("b");
    QTest::newRow("comments") << QStringLiteral("txtComments")
                              << QStringLiteral("Calm\nsecond line") << QStringLiteral(", 12 C");
}

void TestHeaderForm::textsTakeTypingAfterClick()
{
    QFETCH(QString, box);
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    TestApp t;
    Session &s = t.session;
    storedField(s, box) = FixedWidth(stored, fieldWidth(box));
    QString shown;
    WhenModal([&](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        QWidget *target = h->findChild<QWidget *>(box);
        if (auto *line = qobject_cast<QLineEdit *>(target)) {
            shown = line->text();
            // A click into the empty part of the box, then typing.
            QTest::mouseClick(line, Qt::LeftButton, {},
                              QPoint(line->width() - 4, line->height() / 2));
            QTest::keyClicks(line, typed);
        } else {
            auto *edit = qobject_cast<QPlainTextEdit *>(target);
            shown = edit->toPlainText();
            QWidget *area = edit->viewport();
            QTest::mouseClick(area, Qt::LeftButton, {},
                              QPoint(area->width() - 4, area->height() - 4));
            QTest::keyClicks(area, typed);
        }
        h->cmdHeaderOk->click();
    });
    t.app->ShowHeaderForm(t.app->Main());
    QCOMPARE(shown, stored);
    QCOMPARE(storedField(s, box), FixedWidth(stored + typed, fieldWidth(box)));
}

QTEST_MAIN(TestHeaderForm)
#include "test_headerform.moc"
