// Mouse work on the target picture that must not invent a shot or an
// infinite figure: double-clicks, and shots far beyond any target.
#include "graph/frmgraphenter.h"
#include "graph/picturebox.h"
#include "graph/targetdrawing.h"
#include "graphtestimages.h"
#include "testsupport.h"

#include <QtTest>
#include <cmath>

class TestGraphMouse : public QObject {
    Q_OBJECT
private slots:
    void doubleClickIsOnePress_data();
    void doubleClickIsOnePress();
    void shotsBeyondReachRefused_data();
    void shotsBeyondReachRefused();
};

void TestGraphMouse::doubleClickIsOnePress_data()
{
    QTest::addColumn<bool>("aimSet"); // else the Aim Point tool is on
    QTest::newRow("aim point tool") << false;
    QTest::newRow("enter shot tool") << true;
}

void TestGraphMouse::doubleClickIsOnePress()
{
    QFETCH(bool, aimSet);
    TestApp t;
    Session &s = t.session;
    const QString path = t.dir.filePath(QStringLiteral("target.png"));
    QVERIFY(TargetImage(600, 400).save(path, "PNG"));
    s.HeaderEntered = true;
    s.ImagePath = path;
    s.ImageScale = 1.0f / 1440;
    s.ImageCalibrated = true;
    if (aimSet) s.AimX = s.AimY = 1;
    t.app->ViewGraphicalEntry();
    frmGraphEnter *w = t.app->GraphEnter();
    PictureBox *pic = w->Picture1;
    QCOMPARE(s.ToolMode, aimSet ? Tool::EnterShot : Tool::AimPoint);
    const QImage before = w->Picture().canvas.Image().copy();

    // What the desktop sends for a double-click: press, release, double-click, release.
    const QPoint at(150, 120);
    QTest::mouseClick(pic, Qt::LeftButton, {}, at);
    QTest::mouseDClick(pic, Qt::LeftButton, {}, at);
    QTest::mouseRelease(pic, Qt::LeftButton, {}, at);

    const QPointF twips = pic->ToPictureTwips(at);
    if (aimSet) {
        QCOMPARE(s.ShotCount, 1);
        QCOMPARE(s.ShotX[1], float(twips.x()) / 1440 - 1);
    } else {
        QCOMPARE(s.AimX, float(twips.x()) / 1440);
        QCOMPARE(s.ShotCount, 0);
        QCOMPARE(s.ToolMode, Tool::EnterShot);
    }
    // The one figure the press placed is on the picture.
    QVERIFY(w->Picture().canvas.Image() != before);
    QVERIFY(t.prompter.messages().isEmpty());
}

void TestGraphMouse::shotsBeyondReachRefused_data()
{
    QTest::addColumn<QString>("calibration"); // units over 1440 twips
    QTest::addColumn<int>("refusals");
    QTest::addColumn<int>("shotsTaken"); // of presses 1000 and 1500 twips right of the aim
    QTest::newRow("1e20: all beyond reach") << QStringLiteral("1e20") << 3 << 0;
    QTest::newRow("1e6: the farther ones beyond") << QStringLiteral("1e6") << 2 << 1;
    QTest::newRow("1: all within") << QStringLiteral("1") << 0 << 2;
}

void TestGraphMouse::shotsBeyondReachRefused()
{
    QFETCH(QString, calibration);
    QFETCH(int, refusals);
    QFETCH(int, shotsTaken);
    Session s;
    PrepareTestSession(s);
    s.GraphicalEntryActive = true;
    GraphPicture p;
    p.canvas.SetPictureSize(QSize(400, 300));
    p.canvas.SetImage(NoiseImage(400, 300));
    ScriptedPrompter prompter;
    Picture1_MouseDown(s, p, prompter, 0, 0);
    prompter.QueueInput(calibration);
    Picture1_MouseDown(s, p, prompter, 1440, 0);
    QVERIFY(s.ImageCalibrated);
    // An aim point 1500 twips into the picture, then one at its corner.
    ChooseTool(s, ToolButton::AimPoint);
    Picture1_MouseDown(s, p, prompter, 1500, 0);
    ChooseTool(s, ToolButton::AimPoint);
    Picture1_MouseDown(s, p, prompter, 0, 0);
    QCOMPARE(s.AimX, 0.0f);
    for (float x : {1000.0f, 1500.0f}) Picture1_MouseDown(s, p, prompter, x, 0);
    QCOMPARE(s.ShotCount, shotsTaken);

    const QString refusal = QStringLiteral("X and Y must lie between -1000000 and 1000000.");
    int refused = 0;
    for (const PromptRecord &r : prompter.messages()) refused += r.text == refusal ? 1 : 0;
    QCOMPARE(refused, refusals);
    QCOMPARE(prompter.messages().size(), refusals);
    // Nothing infinite or undefined reaches the statistics.
    for (float v : {s.AimX, s.AimY, s.ShotX[1], s.ShotY[1], s.ShotR[1], s.ShotX[2], s.ShotR[2],
                    s.MeanX, s.SdX, s.SdR, s.RangeX, s.GroupSize})
        QVERIFY(std::isfinite(v));
}

QTEST_MAIN(TestGraphMouse)
#include "test_graphmouse.moc"
