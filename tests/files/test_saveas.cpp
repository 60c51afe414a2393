// The save-as window: the file a mouse click picks, and paths typed as names.
#include "files/frmfilesaveas.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "platform/folderlists.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
void clickFile(FileList *list, const QString &name)
{
    const auto items = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items[0]).center());
}
} // namespace

class TestSaveAs : public QObject {
    Q_OBJECT
private slots:
    void clickPicksTheFile();
    void typedPaths_data();
    void typedPaths();
};

void TestSaveAs::clickPicksTheFile()
{
    TestApp t;
    const QString folder = t.dir.filePath(QStringLiteral("groups"));
    QVERIFY(WriteBytes(folder + QStringLiteral("/a.pxs"), "old a"));
    QVERIFY(WriteBytes(folder + QStringLiteral("/b.pxs"), "old b"));
    t.session.StatsDir = folder;
    AddShots(t.session, {{1, 1}, {2, 3}});
    t.session.StatsSaved = false;
    frmFileSaveAs dlg(*t.app);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClicks(dlg.txtFileSave, QStringLiteral("typed"));
    // A click copies the name at once, also onto a name typed before, and a
    // click on the file already picked picks it again.
    clickFile(dlg.File1, QStringLiteral("b.pxs"));
    QCOMPARE(dlg.txtFileSave->text(), QStringLiteral("b.pxs"));
    dlg.txtFileSave->setText(QStringLiteral("other"));
    clickFile(dlg.File1, QStringLiteral("b.pxs"));
    QCOMPARE(dlg.txtFileSave->text(), QStringLiteral("b.pxs"));
    clickFile(dlg.File1, QStringLiteral("a.pxs"));
    QCOMPARE(dlg.txtFileSave->text(), QStringLiteral("a.pxs"));
    QCOMPARE(dlg.FileName, QStringLiteral("a.pxs"));
    // Save replaces the file clicked last, and only that one.
    t.prompter.QueueMsgAnswer(Answer::Yes);
    QTest::mouseClick(dlg.cmdSaveFile, Qt::LeftButton);
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(t.prompter.messages()[0].text,
             QStringLiteral("File a.pxs exists.\r\rOverwrite Existing File?"));
    QCOMPARE(ReadBytes(folder + QStringLiteral("/a.pxs")), StatsFileBytes(t.session));
    QCOMPARE(ReadBytes(folder + QStringLiteral("/b.pxs")), QByteArray("old b"));
    QCOMPARE(t.session.StatsFilePath, folder + QStringLiteral("/a.pxs"));
}

void TestSaveAs::typedPaths_data()
{
    QTest::addColumn<QString>("typed"); // {T} stands for the temporary folder
    QTest::addColumn<QString>("written");
    QTest::newRow("absolute") << "{T}/x/g.pxs"
                              << "{T}/x/g.pxs";
    QTest::newRow("absolute, no extension") << "{T}/x/g"
                                            << "{T}/x/g.pxs";
    QTest::newRow("relative") << "sub/g"
                              << "{T}/shown/sub/g.pxs";
    QTest::newRow("relative, upward") << "../x/g.data"
                                      << "{T}/x/g.data";
    QTest::newRow("dot in a folder only") << "{T}/d.x/g"
                                          << "{T}/d.x/g.pxs";
}

void TestSaveAs::typedPaths()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    TestApp t;
    const QString root = t.dir.path();
    for (const char *sub : {"shown/sub", "x", "d.x"}) QDir(root).mkpath(QString::fromLatin1(sub));
    typed.replace(QStringLiteral("{T}"), root);
    written.replace(QStringLiteral("{T}"), root);
    t.session.StatsDir = root + QStringLiteral("/shown");
    AddShots(t.session, {{1, 1}, {2, 3}});
    frmFileSaveAs dlg(*t.app);
    dlg.show();
    QTest::keyClicks(dlg.txtFileSave, typed);
    QTest::keyClick(dlg.txtFileSave, Qt::Key_Return);
    QVERIFY(t.prompter.messages().isEmpty());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(ReadBytes(written), StatsFileBytes(t.session));
    QCOMPARE(t.session.StatsFilePath, written);
    // The next save-as starts where this one wrote.
    QCOMPARE(t.session.StatsDir, QFileInfo(written).absolutePath());
    QVERIFY(t.session.StatsSaved);
}

QTEST_MAIN(TestSaveAs)
#include "test_saveas.moc"
