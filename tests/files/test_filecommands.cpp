// The open/import and save-as windows, driven by their controls under offscreen.
#include "entry/frmkeyboardenter.h"
#include "files/frmfiledialog.h"
#include "files/frmfilesaveas.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "platform/folderlists.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
QStringList listed(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    names.sort(Qt::CaseInsensitive);
    return names;
}

void select(FileList *list, const QString &name)
{
    const auto items = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(name));
    list->setCurrentItem(items[0]);
}

// A program with a folder of statistics files and images.
struct Fixture {
    Fixture()
    {
        folder = t.dir.filePath(QStringLiteral("groups"));
        QDir().mkpath(folder);
        QDir().mkpath(t.session.DocumentsDir);
        t.session.StatsDir = t.session.ImageDir = folder;
        for (const char *name : {"c.txt", "d.gif", "e.JPG", "f.bmp", "g.png"})
            WriteBytes(folder + QLatin1Char('/') + QString::fromLatin1(name), QByteArray("x"));
        QFile::copy(FixturePath("keyboard_old.pxs"), folder + QStringLiteral("/kb.pxs"));
        QFile::copy(FixturePath("graph_old.pxs"), folder + QStringLiteral("/GRAPH.PXS"));
        QFile::copy(FixturePath("not_stats.pxs"), folder + QStringLiteral("/broken.pxs"));
        // The entry windows exist already, so opening into them asks for no header.
        t.app->KeyBoardEnter();
        t.app->GraphEnter();
        // Unsaved work that a failed open must not touch.
        AddShots(t.session, {{1, 1}, {2, 2}});
        t.session.StatsSaved = false;
        t.session.StatsFilePath = folder + QStringLiteral("/current.pxs");
        t.session.ImagePath = QStringLiteral("/images/current.jpg");
    }
    QString path(const char *name) const
    {
        return folder + QLatin1Char('/') + QString::fromLatin1(name);
    }
    TestApp t;
    QString folder;
};
} // namespace

class TestFileDialogs : public QObject {
    Q_OBJECT
private slots:
    void saveAsOverwriteQuestion();
    void saveAsFailureChangesNothing();
    void openBringsUpEntryWindow();
};

void TestFileDialogs::saveAsOverwriteQuestion()
{
    Fixture f;
    const QByteArray old = ReadBytes(f.path("kb.pxs"));
    frmFileSaveAs dlg(*f.t.app);
    dlg.show();
    // Picking an existing file fills the name; its list shows only statistics files.
    QCOMPARE(listed(dlg.File1),
             (QStringList{QStringLiteral("broken.pxs"), QStringLiteral("GRAPH.PXS"),
                          QStringLiteral("kb.pxs")}));
    select(dlg.File1, QStringLiteral("kb.pxs"));
    QCOMPARE(dlg.txtFileSave->text(), QStringLiteral("kb.pxs"));
    f.t.prompter.QueueMsgAnswer(Answer::No);
    QTest::keyClick(dlg.txtFileSave, Qt::Key_Return);
    QCOMPARE(f.t.prompter.messages().size(), 1);
    QCOMPARE(ReadBytes(f.path("kb.pxs")), old);
    QVERIFY(dlg.isVisible());
    QVERIFY(!f.t.session.StatsSaved);

    // Without an extension the name still finds the file, and Yes replaces it.
    dlg.txtFileSave->setText(QStringLiteral("kb"));
    f.t.prompter.QueueMsgAnswer(Answer::Yes);
    QTest::mouseClick(dlg.cmdSaveFile, Qt::LeftButton);
    QCOMPARE(f.t.prompter.messages().size(), 2);
    QCOMPARE(ReadBytes(f.path("kb.pxs")), StatsFileBytes(f.t.session));
    QCOMPARE(f.t.session.StatsFilePath, f.path("kb.pxs"));
    QVERIFY(!dlg.isVisible());
}

void TestFileDialogs::saveAsFailureChangesNothing()
{
    Fixture f;
    const QString gone = f.t.dir.filePath(QStringLiteral("gone"));
    QDir().mkpath(gone);
    f.t.session.StatsDir = gone;
    const QString before = f.t.session.StatsFilePath;
    frmFileSaveAs dlg(*f.t.app);
    dlg.show();
    QCOMPARE(dlg.Dir1->Path(), gone);
    QDir(gone).removeRecursively();
    QTest::keyClicks(dlg.txtFileSave, QStringLiteral("lost"));
    QTest::mouseClick(dlg.cmdSaveFile, Qt::LeftButton);
    QCOMPARE(f.t.prompter.messages().size(), 1);
    QVERIFY(!f.t.session.StatsSaved);
    QCOMPARE(f.t.session.StatsFilePath, before);
    QCOMPARE(f.t.session.StatsDir, gone);
    QVERIFY(dlg.isVisible());
}

void TestFileDialogs::openBringsUpEntryWindow()
{
    Fixture f;
    f.t.session.FileDialogMode = 1;
    {
        // Over unsaved shots the open asks first; No lets it go on.
        frmFileDialog open(*f.t.app);
        open.show();
        select(open.File1, QStringLiteral("kb.pxs"));
        f.t.prompter.QueueMsgAnswer(Answer::No);
        QTest::mouseClick(open.cmdImportFile, Qt::LeftButton);
        QCOMPARE(f.t.prompter.messages().size(), 1);
    }
    Session &s = f.t.session;
    QCOMPARE(s.StatsFilePath, f.path("kb.pxs"));
    QCOMPARE(s.ShotCount, 3);
    QVERIFY(!s.GraphicalEntryActive);
    QVERIFY(s.EntryWindowOpen);
    QVERIFY(f.t.app->KeyBoardEnter()->isVisible());

    // The typed group closed the graphical entry window.
    QTRY_VERIFY(!f.t.app->HasGraphEnter());
    f.t.app->GraphEnter();
    // A group from graphical entry goes to the graphical entry window.
    s.FileDialogMode = 1;
    frmFileDialog again(*f.t.app);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const auto items = again.File1->findItems(QStringLiteral("GRAPH.PXS"), Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    const QRect r = again.File1->visualItemRect(items[0]);
    QVERIFY(r.isValid());
    QTest::mouseClick(again.File1->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(again.File1->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(s.StatsFilePath, f.path("GRAPH.PXS"));
    QVERIFY(s.GraphicalEntryActive);
    QVERIFY(s.ImageCalibrated);
}

QTEST_MAIN(TestFileDialogs)
#include "test_filecommands.moc"
