// The graphical entry window and its toolbox, driven as a user would.
#include "filetestutil.h"
#include "graph/frmtoolbox.h"
#include "graph/straighten.h"
#include "graphtestsupport.h"
#include "platform/screen.h"
#include "stats/frmtextoutput.h"
#include "tiltedphoto.h"

#include <QAction>
#include <QDialog>
#include <QTimer>
#include <optional>

class TestFrmGraphEnter : public QObject {
    Q_OBJECT
private slots:
    void windowEndToEnd();
    void toolboxClear();
    void straightenPicture();
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

void TestFrmGraphEnter::straightenPicture()
{
    TestApp t;
    const TiltedPhoto card = MakeTiltedPhoto();
    const QString photo = t.dir.filePath(QStringLiteral("card.png"));
    QVERIFY(card.image.save(photo));
    const QByteArray original = ReadBytes(photo);
    // The first name beside the photo is taken: it stays as it is.
    const QString taken = t.dir.filePath(QStringLiteral("card straightened.png"));
    QVERIFY(WriteBytes(taken, "not ours"));
    const QStringList files = QDir(t.dir.path()).entryList({QStringLiteral("card*")});
    frmGraphEnter *w = OpenWindow(t, photo);
    auto click = [&](QPointF px) { ClickPixel(w, px.toPoint()); };
    // Calibrated along the slanted top edge, aimed at one dot, a shot on another.
    click(card.corners[0]);
    t.prompter.QueueInput(QStringLiteral("8"));
    click(card.corners[1]);
    click(card.DotOnPhoto(0));
    click(card.DotOnPhoto(1));
    QCOMPARE(t.session.ShotCount, 1);
    const Session before = t.session;
    auto unchanged = [&] {
        return t.session.ImagePath == photo && t.session.ImageScale == before.ImageScale &&
               t.session.AimX == before.AimX && t.session.ShotX[1] == before.ShotX[1] &&
               t.session.ShotY[1] == before.ShotY[1] &&
               QDir(t.dir.path()).entryList({QStringLiteral("card*")}) == files;
    };

    // Esc halfway: as it was.
    w->mnuStraighten->trigger();
    click(card.corners[0]);
    click(card.corners[1]);
    QApplication::setActiveWindow(w);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(unchanged());
    // Corners that cross: refused with the reason, nothing written.
    w->mnuStraighten->trigger();
    t.prompter.QueueInput(QStringLiteral("8"));
    t.prompter.QueueInput(QStringLiteral("6"));
    for (size_t k : {0, 2, 1, 3}) click(card.corners[k]);
    QCOMPARE(t.prompter.messages().size(), 1);
    QCOMPARE(t.prompter.messages().last().title, StraightenTitle);
    QVERIFY(unchanged());

    // The four corners clockwise, then the card's size.
    w->mnuStraighten->trigger();
    t.prompter.QueueInput(QStringLiteral("8"));
    t.prompter.QueueInput(QStringLiteral("6"));
    for (const QPointF &c : card.corners) click(c);
    const QString flat = t.dir.filePath(QStringLiteral("card straightened 2.png"));
    QCOMPARE(t.session.ImagePath, flat);
    QCOMPARE(w->Picture().canvas.ImageSize(), QImage(flat).size());
    QCOMPARE(ReadBytes(photo), original);
    QCOMPARE(ReadBytes(taken), QByteArray("not ours"));
    QCOMPARE(t.prompter.messages().size(), 1);
    // The shot keeps its place on the card, now at its true offset from the aim.
    const QPointF truth = card.dots[1] - card.dots[0];
    QVERIFY2(std::abs(t.session.ShotX[1] - truth.x()) < 0.05 &&
                 std::abs(t.session.ShotY[1] + truth.y()) < 0.05,
             qPrintable(QStringLiteral("%1, %2").arg(t.session.ShotX[1]).arg(t.session.ShotY[1])));
    // No calibration needed: a shot clicked on the new picture measures true.
    QCOMPARE(t.session.ToolMode, Tool::EnterShot);
    const double perUnit = 1 / (double(t.session.ImageScale) * TwipsPerPixel);
    const QPointF aim(t.session.AimX * perUnit, t.session.AimY * perUnit);
    click(aim + (card.dots[2] - card.dots[0]) * perUnit);
    QCOMPARE(t.session.ShotCount, 2);
    QVERIFY(std::abs(t.session.ShotX[2] - (card.dots[2].x() - card.dots[0].x())) < 0.05);
}

QTEST_MAIN(TestFrmGraphEnter)
#include "test_frmgraphenter.moc"
