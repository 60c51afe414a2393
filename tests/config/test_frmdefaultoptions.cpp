// The default options window, driven by its controls.
#include "app/frmmain.h"
#include "config/configfile.h"
#include "config/frmdefaultoptions.h"
#include "filetestutil.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

class TestConfigForms : public QObject {
    Q_OBJECT
private slots:
    void tutorialFolderNeverKept();
};

void TestConfigForms::tutorialFolderNeverKept()
{
    // The tutorial lends its folder to the import dialog; the user's own is kept.
    TestApp t;
    t.app->ResolveFolders();
    t.app->LoadConfig();
    ResetSession(t.session);
    Session &ss = t.session;
    const QString own = t.dir.filePath(QStringLiteral("scans"));
    ss.ImageDir = own;
    t.app->ShowTutorial();
    QVERIFY(ss.ImageDir != own);
    {
        frmDefaultOptions w(*t.app);
        w.show();
        w.chkImPath->setChecked(true);
        QTest::mouseClick(w.cmdSaveDefNow, Qt::LeftButton);
        QCOMPARE(ss.DefImageDir, own);
        QTest::mouseClick(w.cmdSaveDefExit, Qt::LeftButton);
    }
    ss.DefImageDir.clear();
    frmMain *m = t.app->Main();
    m->show();
    QVERIFY(m->close());
    QCOMPARE(ReadBytes(ConfigFilePath(ss)).split('\n')[12], "\"" + own.toUtf8() + "\"\r");
}

QTEST_MAIN(TestConfigForms)
#include "test_frmdefaultoptions.moc"
