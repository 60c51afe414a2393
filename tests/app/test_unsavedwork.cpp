// Unsaved work is offered for saving before Open or Import replaces it, and an
// edited header counts as unsaved work.
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "entry/frmkeyboardenter.h"
#include "files/frmfiledialog.h"
#include "files/frmfilesaveas.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "graph/frmgraphenter.h"
#include "model/textnum.h"
#include "platform/folderlists.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
// Picks `name` in the open dialog once it shows and presses "Open File";
// `cancelSaveAs` calls off the save-as window the question may bring up.
void chooseInOpenDialog(const QString &name, bool cancelSaveAs)
{
    WhenModal([=](QWidget *w) {
        auto *dlg = qobject_cast<frmFileDialog *>(w);
        QVERIFY(dlg);
        const auto items = dlg->File1->findItems(name, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        dlg->File1->setCurrentItem(items[0]);
        if (cancelSaveAs)
            WhenModal([](QWidget *s) { qobject_cast<frmFileSaveAs *>(s)->cmdCancFile->click(); });
        dlg->cmdImportFile->click();
    });
}
} // namespace

class TestUnsavedWork : public QObject {
    Q_OBJECT
private slots:
    void openAndImportAskFirst_data();
    void openAndImportAskFirst();
    void headerEditsAreUnsaved_data();
    void headerEditsAreUnsaved();
};

void TestUnsavedWork::openAndImportAskFirst_data()
{
    QTest::addColumn<QString>("command"); // window: its menu command's handler
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("hasFile"); // the group has a current file to save to
    QTest::addColumn<bool>("replaced");
    auto row = [](const char *name, const char *command, int answer, bool hasFile, bool replaced) {
        QTest::newRow(name) << QString::fromLatin1(command) << answer << hasFile << replaced;
    };
    row("main open, cancel", "main:mnuOpenStats_Click", Answer::Cancel, true, false);
    row("keyboard open, no", "keyboard:mnuKBOpen_Click", Answer::No, false, true);
    row("graph open, yes", "graph:mnuGraphFileOpen_Click", Answer::Yes, true, true);
    row("main import, yes, save-as called off", "main:mnuImportItem_Click", Answer::Yes, false,
        false);
    row("graph import, no", "graph:mnuGraphImportImage_Click", Answer::No, true, true);
}

void TestUnsavedWork::openAndImportAskFirst()
{
    QFETCH(QString, command);
    QFETCH(int, answer);
    QFETCH(bool, hasFile);
    QFETCH(bool, replaced);
    TestApp t;
    Session &s = t.session;
    const QString folder = t.dir.path();
    s.StatsDir = s.ImageDir = folder;
    QVERIFY(QFile::copy(FixturePath("keyboard_old.pxs"), t.dir.filePath(QStringLiteral("kb.pxs"))));
    QImage(40, 30, QImage::Format_RGB32).save(t.dir.filePath(QStringLiteral("t.bmp")), "BMP");
    // The entry windows exist, so what opens into them asks for no header.
    t.app->KeyBoardEnter();
    t.app->GraphEnter();
    AddShots(s, {{1, 1}, {2, 2}});
    s.StatsSaved = false;
    const QString current = t.dir.filePath(QStringLiteral("current.pxs"));
    if (hasFile) s.StatsFilePath = current;
    const bool import = command.contains(QLatin1String("Import"));
    t.prompter.QueueMsgAnswer(answer);
    chooseInOpenDialog(import ? QStringLiteral("t.bmp") : QStringLiteral("kb.pxs"),
                       answer == Answer::Yes && !hasFile);
    const QString window = command.section(QLatin1Char(':'), 0, 0);
    QObject *target = window == QLatin1String("main") ? static_cast<QObject *>(t.app->Main())
                      : window == QLatin1String("keyboard")
                          ? static_cast<QObject *>(t.app->KeyBoardEnter())
                          : t.app->GraphEnter();
    QVERIFY(QMetaObject::invokeMethod(target, qPrintable(command.section(QLatin1Char(':'), 1))));
    const auto m = t.prompter.messages();
    QVERIFY(!m.isEmpty());
    QCOMPARE(m[0].buttons, Buttons::YesNoCancel);
    // Yes wrote the group before it was replaced.
    QCOMPARE(QFileInfo::exists(current), answer == Answer::Yes && hasFile);
    if (replaced) {
        QCOMPARE(s.ShotCount, import ? 0 : 3);
        QVERIFY(s.StatsSaved);
        if (import) QCOMPARE(s.ImagePath, t.dir.filePath(QStringLiteral("t.bmp")));
    } else {
        QCOMPARE(s.ShotCount, 2);
        QCOMPARE(s.ShotX[2], 2.0f);
        QVERIFY(!s.StatsSaved);
        QCOMPARE(s.StatsFilePath, hasFile ? current : QString());
    }
}

void TestUnsavedWork::headerEditsAreUnsaved_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("shooter");
    QTest::addColumn<bool>("changed");
    QTest::newRow("nothing changed") << QStringLiteral("1000") << QStringLiteral("Ann") << false;
    QTest::newRow("same range, typed otherwise")
        << QStringLiteral("1000.0") << QStringLiteral("Ann") << false;
    QTest::newRow("shooter") << QStringLiteral("1000") << QStringLiteral("Ann Lee") << true;
    QTest::newRow("range") << QStringLiteral("87.5") << QStringLiteral("Ann") << true;
    // The file keeps the range itself, not whether MOA is wanted.
    QTest::newRow("range left empty") << QString() << QStringLiteral("Ann") << false;
}

void TestUnsavedWork::headerEditsAreUnsaved()
{
    QFETCH(QString, range);
    QFETCH(QString, shooter);
    QFETCH(bool, changed);
    TestApp t;
    Session &s = t.session;
    AddShots(s, {{1, 1}, {2, 2}});
    s.RangeToTarget = 1000;
    s.RangeEntered = true;
    s.ShooterName = FixedWidth(QStringLiteral("Ann"), ShooterNameWidth);
    const QString path = t.dir.filePath(QStringLiteral("g.pxs"));
    QVERIFY(SaveStatsFile(s, path));
    s.StatsFilePath = path;
    QVERIFY(s.StatsSaved);

    if (range.isEmpty()) t.prompter.QueueMsgAnswer(Answer::Ok); // go on without MOA
    WhenModal([&](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        h->txtRangeToTarget->setText(range);
        h->txtShooterName->setText(shooter);
        h->cmdHeaderOk->click();
    });
    t.app->ShowHeaderForm(t.app->Main());
    QCOMPARE(s.StatsSaved, !changed);
    if (!changed) return;

    // New offers to save the edited header; Cancel keeps it.
    t.prompter.clear();
    t.prompter.QueueMsgAnswer(Answer::Cancel);
    t.app->Main()->mnuNewFile_Click();
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(s.ShooterName, FixedWidth(shooter, ShooterNameWidth));

    // Save writes the new values.
    t.app->SaveStats(t.app->Main());
    QVERIFY(s.StatsSaved);
    QCOMPARE(ReadBytes(path), StatsFileBytes(s));
}

QTEST_MAIN(TestUnsavedWork)
#include "test_unsavedwork.moc"
