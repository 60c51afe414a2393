// The manual through the desktop seam, the installation folder, and the help
// files the build ships beside the program.
#include "app/frmmain.h"
#include "fakedesktop.h"
#include "help/frmtutorial.h"
#include "help/tutorial.h"
#include "platform/installfolder.h"
#include "testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QtTest>

namespace {
void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

const QString helpError = QStringLiteral("An error occured trying to open the local help files.  "
                                         "Please contact Tech Support to Report this error.");
} // namespace

class TestHelpFiles : public QObject {
    Q_OBJECT
private slots:
    void manualThroughSeam_data();
    void manualThroughSeam();
    void manualMissingOnHost();
    void installFolder_data();
    void installFolder();
    void menusReachTheHelp();
    void shippedTutorial();
    void shippedManualLinks();
};

void TestHelpFiles::manualThroughSeam_data()
{
    QTest::addColumn<bool>("opens");
    QTest::newRow("opened") << true;
    QTest::newRow("no program for it") << false;
}

void TestHelpFiles::manualThroughSeam()
{
    QFETCH(bool, opens);
    TestApp t;
    t.session.InstallDir = t.dir.path();
    FakeDesktop desktop;
    desktop.openSucceeds = opens;
    t.app->desktop = &desktop;
    t.app->Main()->findChild<QAction *>(QStringLiteral("mnuHtmlHelp"))->trigger();
    QCOMPARE(desktop.opened,
             QStringList{QDir(t.dir.path()).filePath(QStringLiteral("Docs/index.html"))});
    QCOMPARE(desktop.openDirs, QStringList{t.dir.path()});
    const auto msgs = t.prompter.messages();
    if (opens) {
        QVERIFY(msgs.isEmpty());
    } else {
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs[0].title, QStringLiteral("Help Error"));
        QVERIFY(msgs[0].text.startsWith(helpError));
        QCOMPARE(msgs[0].buttons, Buttons::Ok);
    }
}

void TestHelpFiles::manualMissingOnHost()
{
    // The host's opener is never started for a manual that is not installed.
    TestApp t;
    t.session.InstallDir = t.dir.filePath(QStringLiteral("no such installation"));
    t.app->OpenManual(nullptr);
    const auto msgs = t.prompter.messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].title, QStringLiteral("Help Error"));
    QVERIFY(msgs[0].text.startsWith(helpError));
}

void TestHelpFiles::installFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("exeDir");
    QTest::addColumn<QString>("expected");
    QTest::newRow("build tree") << QStringList{QStringLiteral("build/peltrix.ini"),
                                               QStringLiteral("share/peltrix/peltrix.ini")}
                                << QStringLiteral("build") << QStringLiteral("build");
    QTest::newRow("build tree with the manual only")
        << QStringList{QStringLiteral("build/Docs/index.html")} << QStringLiteral("build")
        << QStringLiteral("build");
    QTest::newRow("installed tree")
        << QStringList{QStringLiteral("usr/bin/peltrix"),
                       QStringLiteral("usr/share/peltrix/peltrix.ini"),
                       QStringLiteral("usr/share/peltrix/Docs/index.html")}
        << QStringLiteral("usr/bin") << QStringLiteral("usr/share/peltrix");
    QTest::newRow("nothing installed") << QStringList{QStringLiteral("bin/peltrix")}
                                       << QStringLiteral("bin") << QStringLiteral("bin");
}

void TestHelpFiles::installFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, exeDir);
    QFETCH(QString, expected);
    QTemporaryDir root;
    for (const QString &f : files) touch(root.filePath(f));
    QCOMPARE(FindInstallFolder(root.filePath(exeDir)), QDir::cleanPath(root.filePath(expected)));
}

void TestHelpFiles::menusReachTheHelp()
{
    TestApp t;
    t.session.InstallDir = QCoreApplication::applicationDirPath();
    t.app->Main()->findChild<QAction *>(QStringLiteral("mnuTutorial"))->trigger();
    frmTutorial *tut = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<frmTutorial *>(w); f && f->isVisible()) tut = f;
    QVERIFY(tut);
    QVERIFY(!tut->parentWidget());
    QVERIFY(t.session.TutorialOpen);
    // Importing a target resets the session while the tutorial stays open;
    // the graphical entry command that follows brings the tutorial up again.
    ResetSession(t.session);
    QVERIFY(!t.session.TutorialOpen);
    t.session.HeaderEntered = true;
    t.app->ViewGraphicalEntry();
    QVERIFY(tut->isVisible());
    QVERIFY(t.session.TutorialOpen);
    QVERIFY(t.prompter.messages().isEmpty());
}

void TestHelpFiles::shippedTutorial()
{
    // The build puts the installation files beside the executables.
    const QString installDir = FindInstallFolder(QCoreApplication::applicationDirPath());
    for (int n = 1; n <= TutorialPageCount; ++n) {
        QString why;
        const auto page = ReadTutorialPage(TutorialPagePath(TutorialStem(installDir), n), &why);
        QVERIFY2(page, qPrintable(why));
        QVERIFY(!page->title.trimmed().isEmpty());
        QVERIFY(page->body.size() > 2);
    }
    // The sample targets the pages talk about, one of each kind the import lists.
    QStringList kinds;
    for (const QFileInfo &fi : QDir(TutorialFolder(installDir)).entryInfoList(QDir::Files)) {
        const QString suffix = fi.suffix().toLower();
        if (suffix == QStringLiteral("txt")) continue;
        QImageReader reader(fi.filePath());
        QVERIFY2(reader.canRead(), qPrintable(fi.filePath()));
        QVERIFY(reader.size().width() >= 400);
        kinds << suffix;
    }
    for (const char *kind : {"gif", "jpg", "bmp"})
        QVERIFY2(kinds.contains(QString::fromLatin1(kind)), kind);
}

void TestHelpFiles::shippedManualLinks()
{
    const QString docs = QDir(FindInstallFolder(QCoreApplication::applicationDirPath()))
                             .filePath(QStringLiteral("Docs"));
    QVERIFY(QFile::exists(QDir(docs).filePath(QStringLiteral("index.html"))));
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#]+)[^\"]*\""));
    int links = 0;
    for (const QFileInfo &page :
         QDir(docs).entryInfoList({QStringLiteral("*.html")}, QDir::Files)) {
        QFile f(page.filePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (target.contains(QStringLiteral("://")) ||
                target.startsWith(QStringLiteral("mailto:")))
                continue;
            ++links;
            QVERIFY2(QFile::exists(QDir(docs).filePath(target)),
                     qPrintable(page.fileName() + QStringLiteral(" -> ") + target));
        }
    }
    QVERIFY(links > 10);
}

QTEST_MAIN(TestHelpFiles)
#include "test_helpfiles.moc"
