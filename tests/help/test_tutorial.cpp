// The tutorial window: page files, captions, paging, the image folder it lends.
#include "help/frmtutorial.h"
#include "help/tutorial.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Eight pages "Title n" with two body lines each, in a fresh installation folder.
void writePages(const QString &installDir)
{
    for (int n = 1; n <= 8; ++n)
        writeFile(installDir + QStringLiteral("/Tutorial/tutorial%1.txt").arg(n),
                  QByteArray("Title ") + QByteArray::number(n) + "\r\nFirst line " +
                      QByteArray::number(n) + "\r\nSecond line\r\n");
}

frmTutorial *openTutorial(TestApp &t)
{
    t.app->ShowTutorial();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *tut = qobject_cast<frmTutorial *>(w); tut && tut->isVisible()) return tut;
    return nullptr;
}
} // namespace

class TestTutorial : public QObject {
    Q_OBJECT
private slots:
    void captionsAndPaths_data();
    void captionsAndPaths();
    void pageFormat_data();
    void pageFormat();
    void paging();
    void imageFolderLentAndGivenBack_data();
    void imageFolderLentAndGivenBack();
    void unreadablePage_data();
    void unreadablePage();
};

void TestTutorial::captionsAndPaths_data()
{
    QTest::addColumn<int>("page");
    for (int n = 1; n <= 8; ++n) QTest::addRow("page %d", n) << n;
}

void TestTutorial::captionsAndPaths()
{
    QFETCH(int, page);
    QCOMPARE(TutorialCaption(page), QStringLiteral("Tutorial: Page  %1 of 8").arg(page));
    const QString stem = TutorialStem(QStringLiteral("/opt/p"));
    QCOMPARE(stem, QStringLiteral("/opt/p/Tutorial/tutorial"));
    QCOMPARE(TutorialPagePath(stem, page),
             QStringLiteral("/opt/p/Tutorial/tutorial%1.txt").arg(page));
}

void TestTutorial::pageFormat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("body");
    QTest::newRow("title and body")
        << QByteArray("Calibrating\r\nClick one end.\r\n\r\nThen the other.\r\n")
        << QStringLiteral("Calibrating")
        << QStringList{QStringLiteral("Click one end."), QString(),
                       QStringLiteral("Then the other.")};
    QTest::newRow("title only") << QByteArray("Just a title\r\n") << QStringLiteral("Just a title")
                                << QStringList{};
    QTest::newRow("no final line end")
        << QByteArray("T\r\nlast") << QStringLiteral("T") << QStringList{QStringLiteral("last")};
    QTest::newRow("8-bit letters")
        << QByteArray("Caf\xe9 \x93quoted\x94\r\n10\xb0 \x96 ok\r\n")
        << QStringLiteral(u"Café “quoted”") << QStringList{QStringLiteral(u"10° – ok")};
    QTest::newRow("empty file") << QByteArray() << QString() << QStringList{};
}

void TestTutorial::pageFormat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);
    QFETCH(QStringList, body);
    TestApp t;
    t.session.InstallDir = t.dir.path();
    writePages(t.dir.path());
    writeFile(t.dir.path() + QStringLiteral("/Tutorial/tutorial1.txt"), bytes);
    frmTutorial *tut = openTutorial(t);
    QVERIFY(tut);
    QCOMPARE(tut->lblTutorialTitle->text(), title);
    QString expected;
    for (const QString &line : body) expected += line + QLatin1Char('\n');
    QCOMPARE(tut->txtTutorialBody->toPlainText(), expected);
    QVERIFY(t.prompter.messages().isEmpty());
}

void TestTutorial::paging()
{
    TestApp t;
    t.session.InstallDir = t.dir.path();
    writePages(t.dir.path());
    frmTutorial *tut = openTutorial(t);
    QVERIFY(tut);
    QCOMPARE(tut->windowTitle(), QStringLiteral("Tutorial: Page  1 of 8"));
    QVERIFY(!tut->cmdTutorialPrev->isEnabled());
    QVERIFY(tut->cmdTutorialNext->isEnabled());
    for (int n = 2; n <= 8; ++n) {
        QTest::mouseClick(tut->cmdTutorialNext, Qt::LeftButton);
        QCOMPARE(tut->windowTitle(), TutorialCaption(n));
        QCOMPARE(tut->lblTutorialTitle->text(), QStringLiteral("Title %1").arg(n));
        QCOMPARE(tut->txtTutorialBody->toPlainText(),
                 QStringLiteral("First line %1\nSecond line\n").arg(n));
        QVERIFY(tut->cmdTutorialPrev->isEnabled());
    }
    QCOMPARE(tut->windowTitle(), QStringLiteral("Tutorial: Page  8 of 8"));
    QVERIFY(!tut->cmdTutorialNext->isEnabled());
    QTest::mouseClick(tut->cmdTutorialPrev, Qt::LeftButton);
    QCOMPARE(tut->windowTitle(), QStringLiteral("Tutorial: Page  7 of 8"));
    QVERIFY(tut->cmdTutorialNext->isEnabled());
    QCOMPARE(tut->lblTutorialTitle->text(), QStringLiteral("Title 7"));
    // Asking for the tutorial again brings up the same window on its page.
    t.app->ShowTutorial();
    QCOMPARE(tut->CurrentPage, 7);
    QVERIFY(t.prompter.messages().isEmpty());
}

void TestTutorial::imageFolderLentAndGivenBack_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Close button") << false;
    QTest::newRow("close box") << true;
}

void TestTutorial::imageFolderLentAndGivenBack()
{
    QFETCH(bool, closeBox);
    TestApp t;
    t.session.InstallDir = t.dir.path();
    writePages(t.dir.path());
    const QString userImages = t.dir.filePath(QStringLiteral("my targets"));
    t.session.ImageDir = userImages;
    QVERIFY(!t.session.TutorialOpen);
    frmTutorial *tut = openTutorial(t);
    QVERIFY(tut);
    QCOMPARE(t.session.ImageDir, QDir(t.dir.path()).filePath(QStringLiteral("Tutorial")));
    QVERIFY(t.session.TutorialOpen);
    // A second opening must not take the tutorial's folder for the user's.
    t.app->ShowTutorial();
    QPointer<frmTutorial> guard(tut);
    if (closeBox)
        tut->close();
    else
        QTest::mouseClick(tut->cmdTutorialCanc, Qt::LeftButton);
    QCOMPARE(t.session.ImageDir, userImages);
    QVERIFY(!t.session.TutorialOpen);
    QTRY_VERIFY(guard.isNull());
    // Opened afresh it lends the folder again and starts on page 1.
    tut = openTutorial(t);
    QVERIFY(tut);
    QCOMPARE(tut->CurrentPage, 1);
    QVERIFY(t.session.TutorialOpen);
}

void TestTutorial::unreadablePage_data()
{
    QTest::addColumn<bool>("directoryInstead");
    QTest::newRow("missing") << false;
    QTest::newRow("a folder in its place") << true;
}

void TestTutorial::unreadablePage()
{
    QFETCH(bool, directoryInstead);
    TestApp t;
    t.session.InstallDir = t.dir.path();
    writePages(t.dir.path());
    const QString page3 = t.dir.path() + QStringLiteral("/Tutorial/tutorial3.txt");
    QVERIFY(QFile::remove(page3));
    if (directoryInstead) QVERIFY(QDir().mkpath(page3));
    t.session.ImageDir = QStringLiteral("/somewhere/else");
    frmTutorial *tut = openTutorial(t);
    QVERIFY(tut);
    QTest::mouseClick(tut->cmdTutorialNext, Qt::LeftButton);
    QTest::mouseClick(tut->cmdTutorialNext, Qt::LeftButton);
    QCOMPARE(tut->windowTitle(), QStringLiteral("Tutorial: Page  3 of 8"));
    const auto msgs = t.prompter.messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].title, QStringLiteral("Tutorial"));
    QVERIFY2(msgs[0].text.contains(QDir::toNativeSeparators(page3)), qPrintable(msgs[0].text));
    // Not page 2's text left standing.
    QCOMPARE(tut->lblTutorialTitle->text(), QString());
    QCOMPARE(tut->txtTutorialBody->toPlainText(), QString());
    QVERIFY(tut->cmdTutorialPrev->isEnabled());
    QVERIFY(tut->cmdTutorialNext->isEnabled());
    QTest::mouseClick(tut->cmdTutorialNext, Qt::LeftButton);
    QCOMPARE(tut->lblTutorialTitle->text(), QStringLiteral("Title 4"));
    QTest::mouseClick(tut->cmdTutorialPrev, Qt::LeftButton);
    QTest::mouseClick(tut->cmdTutorialPrev, Qt::LeftButton);
    QCOMPARE(tut->lblTutorialTitle->text(), QStringLiteral("Title 2"));
    QCOMPARE(t.prompter.messages().size(), 2);
    QTest::mouseClick(tut->cmdTutorialCanc, Qt::LeftButton);
    QCOMPARE(t.session.ImageDir, QStringLiteral("/somewhere/else"));
    QVERIFY(!t.session.TutorialOpen);
}

QTEST_MAIN(TestTutorial)
#include "test_tutorial.moc"
