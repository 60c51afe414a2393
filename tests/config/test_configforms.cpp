// The default options and units windows, driven by their controls.
#include "app/frmmain.h"
#include "app/textnum.h"
#include "config/configfile.h"
#include "config/frmdefaultoptions.h"
#include "config/frmoptunit.h"
#include "entry/frmkeyboardenter.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

// Where the round indicator is: a radio button answers only on its indicator and caption.
void clickOption(QRadioButton *o)
{
    QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(6, o->height() / 2));
}

const char *const Boxes[] = {"chkImPath",     "chkFilePath", "chkAPAxes",  "chkCentroid",
                             "chkFullCursor", "chkBGColor",  "chkCalDist", "chkUnits",
                             "chkCaliber",    "chkFirearm",  "chkShooter", "chkRange"};
} // namespace

class TestConfigForms : public QObject {
    Q_OBJECT
private slots:
    void defaultOptionsCaptions();
    void saveNowWritesSelected();
    void resetAllThenSaveEverything();
    void saveOnExitKeepsValuesAtClose();
    void tutorialFolderNeverKept();
    void unitsWindow();
};

void TestConfigForms::defaultOptionsCaptions()
{
    Started s;
    frmDefaultOptions w(*s.t.app);
    QCOMPARE(w.windowTitle(), QStringLiteral("Peltrix Defaults"));
    for (const char *name : Boxes) {
        auto *box = w.findChild<QCheckBox *>(QString::fromLatin1(name));
        QVERIFY2(box, name);
        QVERIFY(!box->isChecked());
    }
    QCOMPARE(w.chkFilePath->text(), QStringLiteral("Path to Peltrix .pxs Files"));
    QCOMPARE(w.cmdSaveDefExit->toolTip(),
             QStringLiteral("When Peltrix Is Closed, Save Current Values as Defaults"));
    QCOMPARE(w.cmdDefReset->toolTip(),
             QStringLiteral("Reset All Values to Those When Peltrix Was Installed"));
    QVERIFY(w.lblExplain->text().contains(QStringLiteral("future use.  This controls")));
}

void TestConfigForms::saveNowWritesSelected()
{
    Started s;
    Session &ss = s.t.session;
    frmDefaultOptions w(*s.t.app);
    w.show();
    // Nothing selected: the file is written again with its start-up values.
    QTest::mouseClick(w.cmdSaveDefNow, Qt::LeftButton);
    QCOMPARE(iniLines(ss), s.startup);

    ss.UnitName = QStringLiteral("Centimeters");
    ss.ShooterName = FixedWidth(QStringLiteral("Not kept"), 30);
    w.chkUnits->setChecked(true);
    QTest::mouseClick(w.cmdSaveDefNow, Qt::LeftButton);
    QVERIFY(w.isVisible());
    QList<QByteArray> l = iniLines(ss);
    QCOMPARE(l[5], QByteArray("\"Centimeters\"\r"));
    for (int i = 0; i < 13; ++i)
        if (i != 5) QCOMPARE(l[i], s.startup[i]);
    QCOMPARE(ss.DefUnitName, QStringLiteral("Centimeters"));
    // Changing the unit is no change to the group.
    QVERIFY(ss.StatsSaved);
    // The write at exit keeps it.
    ss.UnitName = QStringLiteral("Inches");
    s.t.app->SaveConfig();
    QCOMPARE(iniLines(ss)[5], QByteArray("\"Centimeters\"\r"));
    QVERIFY(s.t.prompter.messages().isEmpty());
}

void TestConfigForms::resetAllThenSaveEverything()
{
    Started s;
    Session &ss = s.t.session;
    ss.RangeToTarget = 300;
    ss.ShooterName = FixedWidth(QStringLiteral("Ann"), 30);
    ss.UnitName = QStringLiteral("mm");
    ss.BackColor = 255;
    ss.ShowAxes = true;
    ss.StatsDir = QStringLiteral("/elsewhere");
    frmDefaultOptions w(*s.t.app);
    w.show();
    QTest::mouseClick(w.cmdDefReset, Qt::LeftButton);
    QCOMPARE(ss.RangeToTarget, 100.0f);
    QCOMPARE(ss.UnitName, QStringLiteral("Inches"));
    QCOMPARE(ss.StatsDir, ss.DocumentsDir);
    // Defaults and file untouched until asked.
    QCOMPARE(iniLines(ss), s.startup);
    for (const char *name : Boxes)
        w.findChild<QCheckBox *>(QString::fromLatin1(name))->setChecked(true);
    QTest::mouseClick(w.cmdSaveDefNow, Qt::LeftButton);
    const QList<QByteArray> l = iniLines(ss);
    QCOMPARE(l[1], QByteArray("100\r"));
    QCOMPARE(l[2], "\"" + QByteArray(30, ' ') + "\"\r");
    QCOMPARE(l[7], QByteArray("-2147483633\r"));
    QCOMPARE(l[10], QByteArray("#FALSE#\r"));
    QCOMPARE(l[11], "\"" + ss.DocumentsDir.toUtf8() + "\"\r");
    QTest::mouseClick(w.cmdDefCancel, Qt::LeftButton);
    QVERIFY(!w.isVisible());
}

void TestConfigForms::saveOnExitKeepsValuesAtClose()
{
    Started s;
    Session &ss = s.t.session;
    {
        frmDefaultOptions w(*s.t.app);
        w.show();
        w.chkRange->setChecked(true);
        w.chkShooter->setChecked(true);
        QTest::mouseClick(w.cmdSaveDefExit, Qt::LeftButton);
        QVERIFY(w.isVisible());
    }
    QCOMPARE(iniLines(ss), s.startup);
    // Values changed after the button was pressed are the ones kept.
    ss.RangeToTarget = 25;
    ss.ShooterName = FixedWidth(QStringLiteral("At close"), 30);
    ss.Firearm = FixedWidth(QStringLiteral("not selected"), 30);
    frmMain *m = s.t.app->Main();
    m->show();
    QVERIFY(m->close());
    const QList<QByteArray> l = iniLines(ss);
    QCOMPARE(l[1], QByteArray("25\r"));
    QCOMPARE(l[2], "\"At close" + QByteArray(22, ' ') + "\"\r");
    QCOMPARE(l[3], s.startup[3]);
}

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

void TestConfigForms::unitsWindow()
{
    Started s;
    Session &ss = s.t.session;
    AddShots(ss, {{1, 2}, {3, 4}});
    const float size = ss.GroupSize;
    ss.StatsSaved = true;
    FrmOptUnit w(*s.t.app);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Unit Option Select"));
    QVERIFY(!w.TxtOtherUnit->isEnabled());
    clickOption(w.OptCM);
    QCOMPARE(ss.UnitName, QStringLiteral("Centimeters"));
    clickOption(w.OptOther);
    QVERIFY(w.TxtOtherUnit->isEnabled());
    QCOMPARE(ss.UnitName, QStringLiteral("Centimeters"));
    QTest::keyClicks(w.TxtOtherUnit, QStringLiteral("mm"));
    // The keyboard entry window is refreshed after the change.
    s.t.app->KeyBoardEnter();
    ss.EntryWindowOpen = true;
    ss.GraphicalEntryActive = false;
    QTest::mouseClick(w.cmdSetUnit, Qt::LeftButton);
    QCOMPARE(ss.UnitName, QStringLiteral("mm"));
    QVERIFY(!w.isVisible());
    QVERIFY(s.t.app->KeyBoardEnter()->isVisible());
    QVERIFY(ss.StatsSaved);
    QCOMPARE(ss.GroupSize, size);
    QCOMPARE(ss.ShotX[2], 3.0f);

    FrmOptUnit again(*s.t.app);
    again.show();
    QCOMPARE(again.TxtOtherUnit->text(), QStringLiteral("mm"));
    clickOption(again.OptInch);
    QCOMPARE(ss.UnitName, QStringLiteral("Inches"));
    QVERIFY(!again.TxtOtherUnit->isEnabled());
}

QTEST_MAIN(TestConfigForms)
#include "test_configforms.moc"
