// The About box and its way to the system information program.
#include "app/frmmain.h"
#include "entry/frmkeyboardenter.h"
#include "fakedesktop.h"
#include "help/frmabout.h"
#include "help/sysinfo.h"
#include "testsupport.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using TextMap = QMap<QString, QString>;

namespace {
const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");

frmAbout *visibleAbout()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *a = qobject_cast<frmAbout *>(w); a && a->isVisible()) return a;
    return nullptr;
}
} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void texts();
    void modelessSingleInstance();
    void modalFromMainMenu();
    void systemInformation_data();
    void systemInformation();
    void systemInformationOnPath();
};

void TestAbout::texts()
{
    TestApp t;
    frmAbout about(*t.app);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Peltrix"));
    QCOMPARE(about.lblTitle->text(), QStringLiteral("Peltrix"));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 2.0.13"));
    QCOMPARE(about.lblDescription->text(),
             QStringLiteral("Calculates shot group statistics via mouse or keyboard data entry.  "
                            "Peltrix also provides tools for statistical testing."));
    QVERIFY(about.lblDisclaimer->text().contains(QStringLiteral("Peltrix project")));
    QCOMPARE(about.cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(about.cmdSysInfo->text(), QStringLiteral("&System Info..."));
    QVERIFY(!about.picIcon->pixmap().isNull());
}

void TestAbout::modelessSingleInstance()
{
    TestApp t;
    auto *kb = t.app->KeyBoardEnter();
    t.session.HeaderEntered = true;
    kb->mnuKBAbout->trigger();
    QPointer<frmAbout> first = visibleAbout();
    QVERIFY(first);
    QVERIFY(!first->isModal());
    kb->mnuKBAbout->trigger();
    QCOMPARE(visibleAbout(), first.data());
    QTest::mouseClick(first->cmdOK, Qt::LeftButton);
    QTRY_VERIFY(first.isNull());
}

void TestAbout::modalFromMainMenu()
{
    TestApp t;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        if (frmAbout *a = visibleAbout()) {
            wasModal = QApplication::activeModalWidget() == a;
            a->cmdOK->click();
        }
    });
    t.app->Main()->findChild<QAction *>(QStringLiteral("mnuAboutItem"))->trigger();
    QVERIFY(wasModal);
    QVERIFY(!visibleAbout());
}

void TestAbout::systemInformation_data()
{
    QTest::addColumn<TextMap>("registry");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<TextMap>("onPath");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QString>("started");

    const TextMap none;
    QTest::newRow("registry names the program")
        << TextMap{{msinfoKey, QStringLiteral("C:\\Tools\\msinfo32.exe")}} << QStringList{}
        << TextMap{{QStringLiteral("hardinfo"), QStringLiteral("/usr/bin/hardinfo")}}
        << QStringList{} << QStringLiteral("C:\\Tools\\msinfo32.exe");
    QTest::newRow("shared tools location holding the program")
        << TextMap{{locationKey, QStringLiteral("C:\\Shared\\MSInfo")}}
        << QStringList{QStringLiteral("C:\\Shared\\MSInfo\\MSINFO32.EXE")} << none << QStringList{}
        << QStringLiteral("C:\\Shared\\MSInfo\\MSINFO32.EXE");
    QTest::newRow("location without the program, one on PATH")
        << TextMap{{locationKey, QStringLiteral("C:\\Gone")}} << QStringList{}
        << TextMap{{QStringLiteral("kinfocenter"), QStringLiteral("/usr/bin/kinfocenter")}}
        << QStringList{} << QStringLiteral("/usr/bin/kinfocenter");
    QTest::newRow("first known program on PATH wins")
        << none << QStringList{}
        << TextMap{{QStringLiteral("lshw-gtk"), QStringLiteral("/usr/bin/lshw-gtk")},
                   {QStringLiteral("hardinfo"), QStringLiteral("/usr/bin/hardinfo")}}
        << QStringList{} << QStringLiteral("/usr/bin/hardinfo");
    QTest::newRow("registry program that will not start")
        << TextMap{{msinfoKey, QStringLiteral("C:\\Broken.exe")}} << QStringList{}
        << TextMap{{QStringLiteral("hardinfo"), QStringLiteral("/usr/bin/hardinfo")}}
        << QStringList{QStringLiteral("C:\\Broken.exe")} << QStringLiteral("/usr/bin/hardinfo");
    QTest::newRow("nothing at all") << none << QStringList{} << none << QStringList{} << QString();
    QTest::newRow("empty registry text")
        << TextMap{{msinfoKey, QString()}} << QStringList{} << none << QStringList{} << QString();
}

void TestAbout::systemInformation()
{
    QFETCH(TextMap, registry);
    QFETCH(QStringList, files);
    QFETCH(TextMap, onPath);
    QFETCH(QStringList, failing);
    QFETCH(QString, started);
    TestApp t;
    FakeDesktop desktop;
    desktop.registry = registry;
    desktop.files = QSet<QString>(files.begin(), files.end());
    desktop.onPath = onPath;
    desktop.failingPrograms = QSet<QString>(failing.begin(), failing.end());
    t.app->desktop = &desktop;
    frmAbout about(*t.app);
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    if (started.isEmpty()) {
        QVERIFY(desktop.started.isEmpty());
        const auto msgs = t.prompter.messages();
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(msgs[0].buttons, Buttons::Ok);
    } else {
        QCOMPARE(desktop.started, QStringList{started});
        QVERIFY(t.prompter.messages().isEmpty());
    }
}

void TestAbout::systemInformationOnPath()
{
#ifdef Q_OS_WIN
    QSKIP("The registry names the program there.");
#endif
    // The host's own lookup: a program of the known list found on PATH is
    // really started.
    QTemporaryDir bin;
    const QString marker = bin.filePath(QStringLiteral("started"));
    const QString program = bin.filePath(SysInfoPrograms().constLast());
    {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > '" + marker.toUtf8() + "'\n");
    }
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    ScriptedPrompter prompter;
    const bool ok = StartSysInfo(HostDesktop(), prompter);
    qputenv("PATH", oldPath);
    QVERIFY(ok);
    QVERIFY(prompter.messages().isEmpty());
    QTRY_VERIFY(QFile::exists(marker));

    // With none of them on PATH the user is told.
    qputenv("PATH", QFile::encodeName(QDir(bin.path()).filePath(QStringLiteral("empty"))));
    const bool none = StartSysInfo(HostDesktop(), prompter);
    qputenv("PATH", oldPath);
    QVERIFY(!none);
    QCOMPARE(prompter.messages().size(), 1);
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
