// The open/import and save-as windows, driven by their controls under offscreen.
#include "app/textnum.h"
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
    void saveAsNames_data();
    void saveAsNames();
    void saveAsRefusals();
    void saveAsOverwriteQuestion();
    void saveAsFailureChangesNothing();
    void saveCommandWritesCurrentFile();
    void openListsItsPattern();
    void openBringsUpEntryWindow();
    void openDamagedKeepsSession();
    void openCancelAndNoSelection();
    void importImage();
    void missingFoldersStartInDocuments();
};

void TestFileDialogs::saveAsNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << QStringLiteral("group1") << QStringLiteral("group1.pxs");
    QTest::newRow("txt kept") << QStringLiteral("group1.txt") << QStringLiteral("group1.txt");
    QTest::newRow("any dot") << QStringLiteral("my.data") << QStringLiteral("my.data");
}

void TestFileDialogs::saveAsNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    Fixture f;
    frmFileSaveAs dlg(*f.t.app);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Save File As"));
    QCOMPARE(dlg.cboFileType->currentText(), QStringLiteral("Peltrix File    *.pxs"));
    QCOMPARE(dlg.Dir1->Path(), f.folder);
    QTest::keyClicks(dlg.txtFileSave, typed);
    QCOMPARE(dlg.FileName, typed);
    QTest::mouseClick(dlg.cmdSaveFile, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(f.t.prompter.messages().isEmpty());
    QCOMPARE(f.t.session.StatsFilePath, f.folder + QLatin1Char('/') + written);
    QVERIFY(f.t.session.StatsSaved);
    QCOMPARE(ReadBytes(f.t.session.StatsFilePath), StatsFileBytes(f.t.session));
}

void TestFileDialogs::saveAsRefusals()
{
    Fixture f;
    const QString before = f.t.session.StatsFilePath;
    frmFileSaveAs dlg(*f.t.app);
    dlg.show();
    QTest::mouseClick(dlg.cmdSaveFile, Qt::LeftButton);
    QCOMPARE(f.t.prompter.messages().size(), 1);
    QCOMPARE(f.t.prompter.messages()[0].text,
             QStringLiteral("You have not entered a File Name to Save"));
    QCOMPARE(f.t.prompter.messages()[0].title, QStringLiteral("No File Name"));
    QVERIFY(dlg.isVisible());
    // Cancel after typing writes nothing and keeps the current file.
    QTest::keyClicks(dlg.txtFileSave, QStringLiteral("later"));
    QTest::mouseClick(dlg.cmdCancFile, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!QFileInfo::exists(f.path("later.pxs")));
    QCOMPARE(f.t.session.StatsFilePath, before);
    QVERIFY(!f.t.session.StatsSaved);
}

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
    QCOMPARE(f.t.prompter.messages()[0].text,
             QStringLiteral("File kb.pxs exists.\r\rOverwrite Existing File?"));
    QCOMPARE(f.t.prompter.messages()[0].title, QStringLiteral("File Exists"));
    QCOMPARE(f.t.prompter.messages()[0].buttons, Buttons::YesNo);
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
    QCOMPARE(f.t.prompter.messages()[0].title, QStringLiteral("Save Failed"));
    QVERIFY(f.t.prompter.messages()[0].text.contains(QStringLiteral("lost.pxs")));
    QVERIFY(!f.t.session.StatsSaved);
    QCOMPARE(f.t.session.StatsFilePath, before);
    QCOMPARE(f.t.session.StatsDir, gone);
    QVERIFY(dlg.isVisible());
}

void TestFileDialogs::saveCommandWritesCurrentFile()
{
    Fixture f;
    f.t.app->SaveStats(nullptr);
    QVERIFY(f.t.prompter.messages().isEmpty());
    QVERIFY(f.t.session.StatsSaved);
    QCOMPARE(ReadBytes(f.path("current.pxs")), StatsFileBytes(f.t.session));
    // A current file that can no longer be written: said, and still unsaved.
    f.t.session.StatsFilePath = f.path("nofolder/current.pxs");
    f.t.session.StatsSaved = false;
    f.t.app->SaveStats(nullptr);
    QCOMPARE(f.t.prompter.messages().size(), 1);
    QVERIFY(!f.t.session.StatsSaved);
}

void TestFileDialogs::openListsItsPattern()
{
    Fixture f;
    f.t.session.FileDialogMode = 1;
    frmFileDialog open(*f.t.app);
    QCOMPARE(open.windowTitle(), QStringLiteral("Open Graphical File"));
    QCOMPARE(listed(open.File1),
             (QStringList{QStringLiteral("broken.pxs"), QStringLiteral("GRAPH.PXS"),
                          QStringLiteral("kb.pxs")}));
    f.t.session.FileDialogMode = 2;
    frmFileDialog import(*f.t.app);
    QCOMPARE(listed(import.File1), (QStringList{QStringLiteral("d.gif"), QStringLiteral("e.JPG"),
                                                QStringLiteral("f.bmp")}));
    // The folder list moves the file list with it.
    QDir().mkpath(f.path("sub"));
    WriteBytes(f.path("sub/s.bmp"), "x");
    import.Dir1->SetPath(f.path("sub"));
    QCOMPARE(listed(import.File1), QStringList{QStringLiteral("s.bmp")});
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
        QCOMPARE(f.t.prompter.messages()[0].title, QStringLiteral("File Not Saved"));
    }
    Session &s = f.t.session;
    QCOMPARE(s.StatsFilePath, f.path("kb.pxs"));
    QCOMPARE(s.StatsDir, f.folder);
    QCOMPARE(s.ShotCount, 3);
    QCOMPARE(s.ShooterName, FixedWidth(QString::fromUtf8("Jos\u00e9 M\u00fcller"), 30));
    QVERIFY(s.StatsSaved);
    QVERIFY(!s.GraphicalEntryActive);
    QVERIFY(s.EntryWindowOpen);
    QVERIFY(f.t.app->KeyBoardEnter()->isVisible());

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
    QCOMPARE(s.ImagePath, QStringLiteral("C:\\Targets\\t1.jpg"));
    QVERIFY(s.StatsSaved);
}

void TestFileDialogs::openDamagedKeepsSession()
{
    Fixture f;
    const Session before = f.t.session;
    f.t.session.FileDialogMode = 1;
    frmFileDialog open(*f.t.app);
    open.show();
    select(open.File1, QStringLiteral("broken.pxs"));
    f.t.prompter.QueueMsgAnswer(Answer::No); // not saved first
    QTest::mouseClick(open.cmdImportFile, Qt::LeftButton);
    QCOMPARE(f.t.prompter.messages().size(), 2);
    QVERIFY(f.t.prompter.messages()[1].text.startsWith(
        QDir::toNativeSeparators(f.path("broken.pxs")) +
        QStringLiteral(" is not a valid Peltrix statistics file")));
    const Session &s = f.t.session;
    QCOMPARE(s.ShotCount, before.ShotCount);
    QCOMPARE(s.StatsFilePath, before.StatsFilePath);
    QCOMPARE(s.ImagePath, before.ImagePath);
    QCOMPARE(s.StatsSaved, false);
    QVERIFY(!f.t.app->KeyBoardEnter()->isVisible());
}

void TestFileDialogs::openCancelAndNoSelection()
{
    Fixture f;
    const QString image = f.t.session.ImagePath;
    const QString current = f.t.session.StatsFilePath;
    f.t.session.FileDialogMode = 1;
    {
        // A file clicked and then called off leaves the current file and image alone.
        frmFileDialog open(*f.t.app);
        open.show();
        select(open.File1, QStringLiteral("kb.pxs"));
        QTest::mouseClick(open.cmdCancFile, Qt::LeftButton);
    }
    QCOMPARE(f.t.session.ImagePath, image);
    QCOMPARE(f.t.session.StatsFilePath, current);
    QCOMPARE(f.t.session.ShotCount, 2);
    {
        frmFileDialog open(*f.t.app);
        open.show();
        QTest::mouseClick(open.cmdImportFile, Qt::LeftButton);
    }
    QCOMPARE(f.t.prompter.messages().size(), 1);
    QCOMPARE(f.t.prompter.messages()[0].text, QStringLiteral("You must select a valid file"));
    QCOMPARE(f.t.prompter.messages()[0].title, QStringLiteral("No File Name Entered"));
    QCOMPARE(f.t.session.ShotCount, 2);
    // Calling off an import keeps the image path too.
    f.t.session.FileDialogMode = 2;
    frmFileDialog import(*f.t.app);
    import.show();
    select(import.File1, QStringLiteral("d.gif"));
    QTest::mouseClick(import.cmdCancFile, Qt::LeftButton);
    QCOMPARE(f.t.session.ImagePath, image);
    QCOMPARE(f.t.session.ShotCount, 2);
}

void TestFileDialogs::importImage()
{
    Fixture f;
    f.t.session.FileDialogMode = 2;
    f.t.session.Comments = FixedWidth(QStringLiteral("kept by a reset"), 354);
    f.t.session.StatsSaved = true;
    frmFileDialog import(*f.t.app);
    import.show();
    select(import.File1, QStringLiteral("e.JPG"));
    QTest::mouseClick(import.cmdImportFile, Qt::LeftButton);
    const Session &s = f.t.session;
    QCOMPARE(s.ImagePath, f.path("e.JPG"));
    QCOMPARE(s.ImageDir, f.folder);
    QCOMPARE(s.ShotCount, 0);
    QVERIFY(s.StatsFilePath.isEmpty());
    QVERIFY(s.GraphicalEntryActive);
    QVERIFY(s.EntryWindowOpen);
    QCOMPARE(s.Comments, FixedWidth(QStringLiteral("kept by a reset"), 354));
}

void TestFileDialogs::missingFoldersStartInDocuments()
{
    Fixture f;
    f.t.session.StatsDir = f.t.dir.filePath(QStringLiteral("no/such"));
    f.t.session.ImageDir = QStringLiteral("C:\\Targets");
    frmFileSaveAs save(*f.t.app);
    QCOMPARE(save.Dir1->Path(), f.t.session.DocumentsDir);
    f.t.session.FileDialogMode = 1;
    frmFileDialog open(*f.t.app);
    QCOMPARE(open.Dir1->Path(), f.t.session.DocumentsDir);
    f.t.session.FileDialogMode = 2;
    frmFileDialog import(*f.t.app);
    QCOMPARE(import.Dir1->Path(), f.t.session.DocumentsDir);
    QCOMPARE(import.File1->Path(), f.t.session.DocumentsDir);
    QVERIFY(save.Drive1->count() >= 1);
}

QTEST_MAIN(TestFileDialogs)
#include "test_filedialogs.moc"
