// The Logbook window and Add to Logbook, driven through the real forms.
#include "app/frmmain.h"
#include "filetestutil.h"
#include "logbook/frmlogbook.h"
#include "logbook/frmlogbookcompare.h"
#include "logbook/frmlogbooktrend.h"
#include "shownwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {
std::vector<LogbookEntry> kept(const QString &db)
{
    Logbook b;
    if (!b.Open(db)) return {};
    return b.Groups().value_or(std::vector<LogbookEntry>{});
}

LogbookEntry group(const QString &load, double spread, int day)
{
    LogbookEntry e;
    e.Source = QStringLiteral("/g%1.pxs").arg(day);
    e.Shots = {{0, 0}, {spread, 0}, {0, spread}, {spread, spread}, {spread / 2, spread / 3}};
    e.Load.Text = load;
    e.Date = QDate(2026, 1, day);
    e.Added = QDateTime::currentDateTimeUtc();
    e.UnitName = QStringLiteral("Inches");
    e.RangeYards = 100;
    e.Firearm = QStringLiteral("Bolt");
    return e;
}

void clickRow(QTableView *view, int row, Qt::KeyboardModifiers mods = {})
{
    const QRect r = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, r.center());
}
} // namespace

class TestFrmLogbook : public QObject {
    Q_OBJECT
private slots:
    void addFromTheMenuAndOnSave();
    void windowFilterPoolDeleteCompare();
    void damagedLogbookIsLeftAlone();
};

void TestFrmLogbook::addFromTheMenuAndOnSave()
{
    TestApp t;
    t.session.AppDataDir = t.dir.filePath(QStringLiteral("appdata"));
    const QString db = t.app->LogbookPath();
    AddShots(t.session, {{0.5f, 0.25f}, {-0.5f, 0.75f}, {0.1f, -0.2f}});
    t.prompter.QueueInput(QStringLiteral("H4350 41.5"));
    t.app->Main()->findChild<QAction *>(QStringLiteral("mnuAddLogbook"))->trigger();
    auto groups = kept(db);
    QCOMPARE(groups.size(), size_t(1));
    QCOMPARE(groups[0].Load.Text, QStringLiteral("H4350 41.5"));
    // Cancelling the load question adds nothing.
    t.prompter.QueueInput(std::nullopt);
    t.app->AddToLogbook(t.app->Main());
    QCOMPARE(kept(db).size(), size_t(1));

    t.app->LogbookConfig().AddOnSave = true;
    t.session.StatsFilePath = t.dir.filePath(QStringLiteral("saved.pxs"));
    t.app->SaveStats(t.app->Main());
    t.app->SaveStats(t.app->Main()); // the same group again: updated, not doubled
    groups = kept(db);
    QCOMPARE(groups.size(), size_t(2));
    QCOMPARE(groups[1].Source, t.session.StatsFilePath);
}

void TestFrmLogbook::windowFilterPoolDeleteCompare()
{
    TestApp t;
    t.session.AppDataDir = t.dir.filePath(QStringLiteral("appdata"));
    {
        Logbook b;
        QVERIFY(b.Open(t.app->LogbookPath()));
        QVERIFY(b.Add({group(QStringLiteral("A"), 1.0, 1), group(QStringLiteral("A"), 1.2, 2),
                       group(QStringLiteral("B"), 2.0, 3), group(QStringLiteral("B"), 2.5, 4)}));
        QVERIFY(b.AddVelocities({0, 0, QStringLiteral("b"), VelocityUnit::Fps, {2800, 2810}, {}}));
    }
    t.app->ShowLogbook(t.app->Main());
    frmLogbook *w = t.app->LogbookWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->Model().rowCount(), 4);
    QTest::keyClicks(w->txtLoad, QStringLiteral("a"));
    QCOMPARE(w->Model().rowCount(), 2);

    clickRow(w->grdGroups, 0);
    clickRow(w->grdGroups, 1, Qt::ControlModifier);
    QCOMPARE(w->Selected().size(), size_t(2));
    QVERIFY2(w->lblPooled->text().contains(QStringLiteral("Shots: 10")),
             qPrintable(w->lblPooled->text()));

    // The load of both, its fields typed in place; a bad charge changes nothing.
    QCOMPARE(w->txtLoadName->text(), QStringLiteral("A"));
    QTest::keyClicks(w->txtPowder, QStringLiteral("H4350"));
    QTest::keyClicks(w->txtCharge, QStringLiteral("41.5"));
    QTest::mouseClick(w->cmdSetLoad, Qt::LeftButton);
    QCOMPARE(w->Selected().size(), size_t(2));
    for (const LogbookEntry *e : w->Selected())
        QVERIFY(e->Load.Text == QStringLiteral("A") && e->Load.Charge == 41.5);
    QVERIFY(w->Model()
                .data(w->Model().index(0, LogbookModel::Load), Qt::ToolTipRole)
                .toString()
                .startsWith(QStringLiteral("H4350 41.5 gr")));
    w->txtCharge->clear();
    QTest::keyClicks(w->txtCharge, QStringLiteral("-3"));
    QTest::mouseClick(w->cmdSetLoad, Qt::LeftButton);
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(kept(t.app->LogbookPath())[0].Load.Charge, std::optional<double>(41.5));

    t.prompter.QueueMsgAnswer(Answer::Yes);
    QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
    QCOMPARE(w->Entries().size(), size_t(2));
    // One of them added again meanwhile: the undo says why it fails and can be tried again.
    Logbook b;
    std::vector<qint64> again;
    QVERIFY(b.Open(t.app->LogbookPath()) && b.Add({group(QStringLiteral("A"), 1.0, 1)}, &again));
    QTest::mouseClick(w->cmdUndo, Qt::LeftButton);
    QVERIFY(t.prompter.messages().last().text.contains(QStringLiteral("UNIQUE")));
    QVERIFY(b.Delete(again[0]) && w->cmdUndo->isEnabled());
    QTest::mouseClick(w->cmdUndo, Qt::LeftButton);
    QCOMPARE(w->Entries().size(), size_t(4));

    w->txtLoad->clear();
    // Velocities kept for load B show beside its groups.
    QVERIFY(w->Model()
                .data(w->Model().index(3, LogbookModel::Velocity), Qt::DisplayRole)
                .toString()
                .endsWith(QStringLiteral("fps (load)")));
    QTest::mouseClick(w->cmdCompare, Qt::LeftButton);
    auto *c = ShownWindow<frmLogbookCompare>();
    QVERIFY(c);
    c->cboA->setCurrentText(QStringLiteral("A"));
    c->cboB->setCurrentText(QStringLiteral("B"));
    QTest::mouseClick(c->cmdCompute, Qt::LeftButton);
    QVERIFY2(c->txtResult->toPlainText().contains(QStringLiteral("F = ")) &&
                 c->txtResult->toPlainText().contains(QStringLiteral("velocity: n 2")),
             qPrintable(c->txtResult->toPlainText()));

    QTest::mouseClick(w->cmdTrend, Qt::LeftButton);
    auto *trend = ShownWindow<frmLogbookTrend>();
    QVERIFY(trend);
    const QString png = t.dir.filePath(QStringLiteral("trend.png"));
    const QString pdf = t.dir.filePath(QStringLiteral("trend.pdf"));
    t.prompter.QueueSaveFile(png);
    QTest::mouseClick(trend->cmdSavePng, Qt::LeftButton);
    t.prompter.QueueSaveFile(pdf);
    QTest::mouseClick(trend->cmdSavePdf, Qt::LeftButton);
    QVERIFY(!QImage(png).isNull());
    QVERIFY(ReadBytes(pdf).startsWith("%PDF-"));
}

void TestFrmLogbook::damagedLogbookIsLeftAlone()
{
    TestApp t;
    t.session.AppDataDir = t.dir.filePath(QStringLiteral("appdata"));
    const QString db = t.app->LogbookPath();
    const QByteArray junk("SQLite format 3\0but nothing after it is a database page", 56);
    QVERIFY(WriteBytes(db, junk));
    AddShots(t.session, {{0.5f, 0.25f}, {-0.5f, 0.75f}});
    t.prompter.QueueInput(QStringLiteral("A"));
    t.app->AddToLogbook(t.app->Main());
    t.app->ShowLogbook(t.app->Main());
    QCOMPARE(t.prompter.messages().size(), 2);
    QVERIFY(t.prompter.messages().first().text.contains(QStringLiteral("left as it is")));
    QCOMPARE(ReadBytes(db), junk);
    QVERIFY(!t.app->LogbookWindow()->cmdDelete->isEnabled());
}

QTEST_MAIN(TestFrmLogbook)
#include "test_frmlogbook.moc"
