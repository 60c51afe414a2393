// Where the windows open and who owns them, the open dialog's location box
// and import pattern, Delete Shot, and the help that opens without a browser.
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "entry/frmkeyboardenter.h"
#include "entry/frmtextenter.h"
#include "files/frmfiledialog.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "graph/frmgraphenter.h"
#include "graph/frmtoolbox.h"
#include "graph/pictureview.h"
#include "help/frmmanual.h"
#include "platform/desktop.h"
#include "platform/folderlists.h"
#include "shownwindow.h"
#include "stats/frmtextoutput.h"
#include "testsupport.h"

#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

namespace {
QRect Screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

QRect MenuBarOnScreen(QMainWindow *w)
{
    QMenuBar *bar = w->menuBar();
    return QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
}

// Inside the screen and clear of the owner's title and menu bar.
void CheckPlaced(QWidget *w, QMainWindow *owner)
{
    QVERIFY2(Screen().contains(w->frameGeometry()),
             qPrintable(w->objectName() + QStringLiteral(" off-screen")));
    QVERIFY2(!w->frameGeometry().intersects(MenuBarOnScreen(owner)),
             qPrintable(w->objectName() + QStringLiteral(" over the menu bar of ") +
                        owner->objectName()));
}

// A desktop with no program for HTML files.
struct NoBrowser : Desktop {
    bool OpenDocument(const QString &, const QString &) override { return false; }
    bool StartProgram(const QString &, const QStringList &) override { return false; }
    bool FileExists(const QString &) override { return false; }
    QString FindExecutable(const QString &) override { return QString(); }
    std::optional<QString> GetKeyValue(const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

QStringList Listed(const FileList *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}
} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void keyboardEntryIsOneWindow();
    void statisticsOwnedAndPlaced();
    void graphicalWindows();
    void importPattern();
    void locationBox();
    void deleteShotVisibility();
    void helpWithoutBrowser();
};

void TestWindows::keyboardEntryIsOneWindow()
{
    TestApp t;
    t.app->Main()->show();
    bool hiddenDuringHeader = false;
    WhenModal([&](QWidget *w) {
        hiddenDuringHeader = !t.app->KeyBoardEnter()->isVisible();
        qobject_cast<frmEnterHeader *>(w)->cmdHeaderOk->click();
    });
    t.session.RangeToTarget = 100;
    t.app->ViewTextEntry();
    QVERIFY(hiddenDuringHeader);
    frmKeyBoardEnter *kb = t.app->KeyBoardEnter();
    frmTextEnter *entry = t.app->TextEnter();
    QCOMPARE(kb->centralWidget(), entry);
    QCOMPARE(entry->window(), kb);
    QVERIFY(entry->isVisible());
    CheckPlaced(kb, t.app->Main());
    // Closed on its own, it comes back with View Text Entry.
    entry->close();
    QVERIFY(!entry->isVisible());
    t.app->Main()->mnuTextDataItem_Click();
    QVERIFY(t.app->TextEnter()->isVisible());
    QCOMPARE(t.app->TextEnter()->window(), kb);
}

void TestWindows::statisticsOwnedAndPlaced()
{
    TestApp t;
    t.session.HeaderEntered = true;
    t.app->Main()->show();
    t.app->ViewTextEntry();
    frmKeyBoardEnter *kb = t.app->KeyBoardEnter();
    frmTextOutput *stats = t.app->TextOutput();
    QCOMPARE(stats->parentWidget(), kb);
    QVERIFY(stats->isWindow() && stats->isVisible());
    CheckPlaced(stats, kb);
    const QRect k = kb->frameGeometry(), st = stats->frameGeometry();
    if (k.right() + st.width() < Screen().right() || k.bottom() + st.height() < Screen().bottom())
        QVERIFY(!st.intersects(k)); // beside it, where the screen has room
    // Its owner gone, it stays for the next one, which takes it over.
    kb->close();
    QTRY_VERIFY(!t.app->HasKeyBoardEnter());
    QCOMPARE(t.app->TextOutput(), stats);
    QVERIFY(!stats->isVisible());
    t.app->Main()->mnuViewStats_Click();
    QCOMPARE(stats->parentWidget(), t.app->Main());
    CheckPlaced(stats, t.app->Main());
    // Smaller than its report, it scrolls instead of cutting it.
    stats->resize(150, 120);
    QTRY_VERIFY(stats->horizontalScrollBar()->maximum() > 0 &&
                stats->verticalScrollBar()->maximum() > 0);
}

void TestWindows::graphicalWindows()
{
    TestApp t;
    t.session.HeaderEntered = true;
    const QString image = t.dir.filePath(QStringLiteral("target.png"));
    QImage(400, 300, QImage::Format_RGB32).save(image);
    t.session.ImagePath = image;
    t.app->ViewGraphicalEntry();
    frmGraphEnter *w = t.app->GraphEnter();
    frmToolBox *tools = w->ToolBox();
    QVERIFY(tools->isVisible());
    // The toolbox at the picture's top-left, the statistics owned and clear of the menus.
    const QPoint picture = w->View->mapToGlobal(QPoint(0, 0));
    QVERIFY((tools->pos() - picture).manhattanLength() < 40);
    CheckPlaced(tools, w);
    QCOMPARE(t.app->TextOutput()->parentWidget(), w);
    CheckPlaced(t.app->TextOutput(), w);

    // A keyboard group opened from a file closes the picture of the old one.
    const QString file = t.dir.filePath(QStringLiteral("typed.pxs"));
    Session typed;
    PrepareTestSession(typed);
    AddShots(typed, {{1, 2}, {3, 1}});
    QVERIFY(SaveStatsFile(typed, file));
    t.session.FileDialogMode = 1;
    frmFileDialog dialog(*t.app);
    WhenModal(
        [](QWidget *header) { qobject_cast<frmEnterHeader *>(header)->cmdHeaderOk->click(); });
    dialog.txtLocation->setText(file);
    QTest::keyClick(dialog.txtLocation, Qt::Key_Return);
    QTRY_VERIFY(!t.app->HasGraphEnter());
    QVERIFY(t.app->KeyBoardEnter()->isVisible());
}

void TestWindows::importPattern()
{
    // Image names listed whatever their case; other files not.
    TestApp t;
    for (const char *name : {"a.JPG", "b.Png", "c.gif", "d.jpeg", "e.txt", "f.pxs"})
        QFile(t.dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    t.session.FileDialogMode = 2;
    t.session.ImageDir = t.dir.path();
    frmFileDialog dialog(*t.app);
    QStringList listed = Listed(dialog.File1);
    listed.sort();
    QCOMPARE(listed, (QStringList{QStringLiteral("a.JPG"), QStringLiteral("b.Png"),
                                  QStringLiteral("c.gif"), QStringLiteral("d.jpeg")}));
}

void TestWindows::locationBox()
{
    TestApp t;
    QDir(t.dir.path()).mkpath(QStringLiteral("scans/old"));
    const QString scans = t.dir.filePath(QStringLiteral("scans"));
    // A folder gone: the dialog starts in the folder of the last file used.
    t.session.FileDialogMode = 1;
    t.session.StatsDir = t.dir.filePath(QStringLiteral("gone"));
    t.session.StatsFilePath = scans + QStringLiteral("/last.pxs");
    frmFileDialog dialog(*t.app);
    QCOMPARE(dialog.Dir1->Path(), scans);
    struct Case {
        QString typed, folder;
        int messages;
    };
    for (const Case &c : {Case{QStringLiteral("old"), scans + QStringLiteral("/old"), 0},
                          Case{t.dir.path() + QStringLiteral("/"), t.dir.path(), 0},
                          Case{QStringLiteral("nowhere/at/all"), t.dir.path(), 1}}) {
        dialog.txtLocation->setText(c.typed);
        QTest::keyClick(dialog.txtLocation, Qt::Key_Return);
        QCOMPARE(dialog.Dir1->Path(), c.folder);
        QCOMPARE(int(t.prompter.messages().size()), c.messages);
    }
    QVERIFY(t.prompter.messages().last().text.contains(QStringLiteral("nowhere/at/all")));
}

void TestWindows::deleteShotVisibility()
{
    TestApp t;
    t.session.HeaderEntered = true;
    AddShots(t.session, {{1, 1}, {2, 2}});
    t.app->ViewTextEntry();
    frmTextEnter *e = t.app->TextEnter();
    // An opened group with shots can lose one at once.
    QVERIFY(e->cmdRemShot->isVisible());
    t.app->ClearDataSet();
    QVERIFY(!e->cmdRemShot->isVisible());

    // The toolbox's typed removal says so when the number is not in the group.
    AddShots(t.session, {{1, 1}, {2, 2}});
    t.session.GraphicalEntryActive = false;
    t.session.Toolbox.cmdRemShot.enabled = true;
    frmToolBox tools(*t.app, nullptr);
    tools.show();
    t.prompter.clear();
    for (const char *typed : {"3", "0"}) {
        t.prompter.QueueInput(QString::fromLatin1(typed));
        QTest::mouseClick(tools.cmdRemShot, Qt::LeftButton);
    }
    t.prompter.QueueInput(std::nullopt); // Cancel: nothing to say
    QTest::mouseClick(tools.cmdRemShot, Qt::LeftButton);
    const auto msgs = t.prompter.messages();
    QCOMPARE(msgs.size(), 2);
    QCOMPARE(t.session.ShotCount, 2);
    QVERIFY(msgs[0].text.contains(QStringLiteral("1 to 2")));
}

void TestWindows::helpWithoutBrowser()
{
    TestApp t;
    t.session.InstallDir = t.dir.path();
    NoBrowser desktop;
    t.app->desktop = &desktop;
    // No manual at all: the message names the file looked for.
    t.app->OpenManual(nullptr);
    QCOMPARE(t.prompter.messages().size(), 1);
    QVERIFY(t.prompter.messages()[0].text.contains(QStringLiteral("index.html")));
    // With the manual but no program for it: the program's own help window.
    QVERIFY(WriteBytes(t.dir.filePath(QStringLiteral("Docs/index.html")),
                       "<h1>Contents</h1><a href=\"keyboard.html\">Keyboard</a>"));
    QVERIFY(WriteBytes(t.dir.filePath(QStringLiteral("Docs/keyboard.html")),
                       "<h1>Keyboard entry</h1>"));
    t.prompter.clear();
    t.app->OpenManual(nullptr);
    QVERIFY(t.prompter.messages().isEmpty());
    frmManual *help = ShownWindow<frmManual>();
    QVERIFY(help);
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Contents")));
    help->Browser->setSource(QUrl(QStringLiteral("keyboard.html")));
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Keyboard entry")));
    QVERIFY(help->cmdBack->isEnabled());
    QTest::mouseClick(help->cmdBack, Qt::LeftButton);
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Contents")));
    help->close();
}

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
