// Mouse work on the target picture that must not invent a shot or an
// infinite figure: double-clicks, and shots far beyond any target.
#include "graphtestsupport.h"

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
    s.ImageScale = 1.0f / 1440;
    s.ImageCalibrated = true;
    if (aimSet) s.AimX = s.AimY = 1;
    frmGraphEnter *w = OpenWindow(t, WriteTarget(t.dir));
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
    Desk d;
    Session &s = d.s;
    d.down(0, 0);
    d.prompter.QueueInput(calibration);
    d.down(1440, 0);
    QVERIFY(s.ImageCalibrated);
    // An aim point 1500 twips into the picture, then one at its corner.
    ChooseTool(s, ToolButton::AimPoint);
    d.down(1500, 0);
    ChooseTool(s, ToolButton::AimPoint);
    d.down(0, 0);
    QCOMPARE(s.AimX, 0.0f);
    for (float x : {1000.0f, 1500.0f}) d.down(x, 0);
    QCOMPARE(s.ShotCount, shotsTaken);
    QCOMPARE(d.prompter.messages().size(), refusals);
    // Nothing infinite or undefined reaches the statistics.
    for (float v : {s.AimX, s.AimY, s.ShotX[1], s.ShotY[1], s.ShotR[1], s.ShotX[2], s.ShotR[2],
                    s.MeanX, s.SdX, s.SdR, s.RangeX, s.GroupSize})
        QVERIFY(std::isfinite(v));
}

QTEST_MAIN(TestGraphMouse)
#include "test_graphmouse.moc"
