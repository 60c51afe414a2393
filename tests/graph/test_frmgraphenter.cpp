// The graphical entry window and its toolbox, driven as a user would.
#include "graph/frmtoolbox.h"
#include "graphtestsupport.h"
#include "stats/frmtextoutput.h"

#include <QAction>
#include <QDialog>
#include <QTimer>
#include <optional>

class TestFrmGraphEnter : public QObject {
    Q_OBJECT
private slots:
    void windowEndToEnd();
    void toolboxClear();
};

void TestFrmGraphEnter::windowEndToEnd()
{
    TestApp t;
    const QString path = WriteTarget(t.dir);
    frmGraphEnter *w = OpenWindow(t, path);
    frmToolBox *tools = w->ToolBox();
    QVERIFY(tools && tools->isVisible());
    QPushButton *aim = tools->cmdAimPoint, *enter = tools->cmdEnterShot, *del = tools->cmdRemShot;
    QVERIFY(!aim->isEnabled() && !enter->isEnabled() && !del->isEnabled());

    PictureBox *pic = w->Picture1;
    // 96 pixels are 1440 twips.
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(96, 96));
    t.prompter.QueueInput(QStringLiteral("1"));
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(192, 96));
    QCOMPARE(t.session.ImageScale, 1.0f / 1440);
    QVERIFY(aim->isEnabled());
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(192, 192));
    QCOMPARE(t.session.AimX, 2.0f);
    QVERIFY(enter->isEnabled());
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(288, 144));
    QCOMPARE(t.session.ShotCount, 1);
    QCOMPARE(t.session.ShotX[1], 1.0f);
    QCOMPARE(t.session.ShotY[1], 0.5f);
    // The right button acts the same.
    QTest::mouseClick(pic, Qt::RightButton, {}, QPoint(200, 250));
    QCOMPARE(t.session.ShotCount, 2);
    const RecordingSurface &report = t.app->TextOutput()->Surface();
    QVERIFY(report.Find(QStringLiteral("02")) && report.Find(QStringLiteral("1.118")));

    // Del Shot near the first shot.
    QTest::mouseClick(del, Qt::LeftButton);
    QCOMPARE(t.session.ToolMode, Tool::RemoveShot);
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(290, 146));
    QCOMPARE(t.session.ShotCount, 1);
    QVERIFY(!report.Find(QStringLiteral("02")));
    QVERIFY(t.prompter.messages().isEmpty());
    // What the window shows is what a fresh redraw of the session draws.
    Session copy = t.session;
    GraphPicture fresh;
    fresh.canvas.SetPictureSize(w->Picture().canvas.SizePixels());
    QString why;
    QVERIFY(fresh.canvas.LoadImage(path, &why));
    fresh.canvas.SetBackground(DisplayRgb(t.session.BackColor));
    ResetPicture(copy, fresh);
    RedrawTarget(copy, fresh);
    QCOMPARE(w->Picture().canvas.Image(), fresh.canvas.Image());
}

void TestFrmGraphEnter::toolboxClear()
{
    TestApp t;
    frmGraphEnter *w = OpenWindow(t, WriteTarget(t.dir, 200, 150));
    frmToolBox *tools = w->ToolBox();
    t.session.ImageScale = 1.0f / 1440;
    t.session.ImageCalibrated = true;
    RedrawTarget(t.session, w->Picture());
    w->Picture1_MouseDown(1, 0, 600, 600);
    w->Picture1_MouseDown(1, 0, 900, 600);
    QCOMPARE(t.session.ShotCount, 1);
    // Cancel, and a save that does not happen (cancelled save-as): nothing lost.
    for (int answer : {Answer::Cancel, Answer::Yes}) {
        t.prompter.QueueMsgAnswer(answer);
        // Yes brings up the save-as window (no current file): it is cancelled.
        QTimer::singleShot(0, [] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) d->reject();
        });
        QTest::mouseClick(tools->cmdClrDat, Qt::LeftButton);
        QCOMPARE(t.session.ShotCount, 1);
        QVERIFY(w->Picture().canvas.HasImage());
        QVERIFY(!t.session.StatsSaved);
    }
    QCOMPARE(t.prompter.messages().size(), 2);
    // No: cleared without saving.
    t.prompter.QueueMsgAnswer(Answer::No);
    QTest::mouseClick(tools->cmdClrDat, Qt::LeftButton);
    QCOMPARE(t.session.ShotCount, 0);
    QVERIFY(t.session.ImagePath.isEmpty());
    QVERIFY(!w->Picture().canvas.HasImage());
    QVERIFY(!tools->cmdAimPoint->isEnabled() && !tools->cmdRemShot->isEnabled());
    QCOMPARE(t.session.ToolMode, Tool::Calibrate);
}

QTEST_MAIN(TestFrmGraphEnter)
#include "test_frmgraphenter.moc"
