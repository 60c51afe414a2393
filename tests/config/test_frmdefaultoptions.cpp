// The default options window, driven by its controls.
#include "app/frmmain.h"
#include "config/configfile.h"
#include "config/frmdefaultoptions.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

namespace {
QList<QByteArray> iniLines(const Session &s)
{
    QFile f(ConfigFilePath(s));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> l = f.readAll().split('\n');
    l.removeLast();
    return l;
}

// A started program: folders resolved, its own peltrix.ini read.
struct Started {
    Started()
    {
        t.app->ResolveFolders();
        QDir().mkpath(t.session.DocumentsDir);
        t.app->LoadConfig();
        ResetSession(t.session);
        QVERIFY(SaveConfigFile(t.session));
        startup = iniLines(t.session);
    }
    TestApp t;
    QList<QByteArray> startup;
};

} // namespace

class TestConfigForms : public QObject {
    Q_OBJECT
private slots:
    void tutorialFolderNeverKept();
};

void TestConfigForms::tutorialFolderNeverKept()
{
    // The tutorial lends its folder to the import dialog; the user's own is kept.
    Started s;
    Session &ss = s.t.session;
    const QString own = s.t.dir.filePath(QStringLiteral("scans"));
    ss.ImageDir = own;
    s.t.app->ShowTutorial();
    QVERIFY(ss.ImageDir != own);
    {
        frmDefaultOptions w(*s.t.app);
        w.show();
        w.chkImPath->setChecked(true);
        QTest::mouseClick(w.cmdSaveDefNow, Qt::LeftButton);
        QCOMPARE(ss.DefImageDir, own);
        QTest::mouseClick(w.cmdSaveDefExit, Qt::LeftButton);
    }
    ss.DefImageDir.clear();
    frmMain *m = s.t.app->Main();
    m->show();
    QVERIFY(m->close());
    QCOMPARE(iniLines(ss)[12], "\"" + own.toUtf8() + "\"\r");
}

QTEST_MAIN(TestConfigForms)
#include "test_frmdefaultoptions.moc"
