// The tutorial window: page files, paging, the image folder it lends.
#include "filetestutil.h"
#include "help/frmtutorial.h"
#include "help/tutorial.h"
#include "shownwindow.h"
#include "testsupport.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {
// Eight pages "Title n" in the session's installation folder, the tutorial open.
frmTutorial *openTutorial(TestApp &t)
{
    t.session.InstallDir = t.dir.path();
    for (int n = 1; n <= 8; ++n)
        WriteBytes(t.dir.path() + QStringLiteral("/Tutorial/tutorial%1.txt").arg(n),
                   QByteArray("Title ") + QByteArray::number(n) + "\r\nFirst line\r\n");
    t.app->ShowTutorial();
    return ShownWindow<frmTutorial>();
}
} // namespace

class TestTutorial : public QObject {
    Q_OBJECT
private slots:
    void imageFolderLentAndGivenBack();
    void unreadablePage();
};

void TestTutorial::imageFolderLentAndGivenBack()
{
    TestApp t;
    const QString userImages = t.dir.filePath(QStringLiteral("my targets"));
    t.session.ImageDir = userImages;
    frmTutorial *tut = openTutorial(t);
    QVERIFY(tut);
    QCOMPARE(t.session.ImageDir, QDir(t.dir.path()).filePath(QStringLiteral("Tutorial")));
    QVERIFY(t.session.TutorialOpen);
    // A second opening must not take the tutorial's folder for the user's.
    t.app->ShowTutorial();
    QPointer<frmTutorial> guard(tut);
    tut->close();
    QCOMPARE(t.session.ImageDir, userImages);
    QVERIFY(!t.session.TutorialOpen);
    QTRY_VERIFY(guard.isNull());
}

void TestTutorial::unreadablePage()
{
    TestApp t;
    t.session.ImageDir = QStringLiteral("/somewhere/else");
    frmTutorial *tut = openTutorial(t);
    QVERIFY(tut);
    QVERIFY(!tut->cmdTutorialPrev->isEnabled());
    const QString page3 = t.dir.path() + QStringLiteral("/Tutorial/tutorial3.txt");
    QVERIFY(QFile::remove(page3));
    QTest::mouseClick(tut->cmdTutorialNext, Qt::LeftButton);
    QTest::mouseClick(tut->cmdTutorialNext, Qt::LeftButton);
    QCOMPARE(tut->windowTitle(), QStringLiteral("Tutorial: Page  3 of 8"));
    const auto msgs = t.prompter.messages();
    QCOMPARE(msgs.size(), 1);
    QVERIFY2(msgs[0].text.contains(QDir::toNativeSeparators(page3)), qPrintable(msgs[0].text));
    // Not page 2's text left standing, and paging goes on.
    QCOMPARE(tut->lblTutorialTitle->text(), QString());
    QCOMPARE(tut->txtTutorialBody->toPlainText(), QString());
    for (int n = 4; n <= 8; ++n) QTest::mouseClick(tut->cmdTutorialNext, Qt::LeftButton);
    QCOMPARE(tut->lblTutorialTitle->text(), QStringLiteral("Title 8"));
    QVERIFY(!tut->cmdTutorialNext->isEnabled());
    QTest::mouseClick(tut->cmdTutorialCanc, Qt::LeftButton);
    QCOMPARE(t.session.ImageDir, QStringLiteral("/somewhere/else"));
}

QTEST_MAIN(TestTutorial)
#include "test_tutorial.moc"
