// Drawing on the target: redraws, mouse calibration, aim point, shots and the
// options, on a session and picture without the window.
#include "graphtestsupport.h"

#include <optional>

class TestTargetDrawing : public QObject {
    Q_OBJECT
private slots:
    void calibration_data();
    void calibration();
    void zeroLengthCalibrationAndRecalibration();
    void rubberBandSurvivesOtherTools();
    void aimPointAndShot();
    void removeShotDistance_data();
    void removeShotDistance();
    void damagedScale_data();
    void damagedScale();
    void options();
};

void TestTargetDrawing::calibration_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<float>("scale"); // -1: refused
    QTest::newRow("1 over 1440 twips")
        << std::optional<QString>(QStringLiteral("1")) << 1.0f / 1440;
    QTest::newRow("2.5 and a unit word")
        << std::optional<QString>(QStringLiteral("2.5 Inches")) << 2.5f / 1440;
    QTest::newRow("cancel") << std::optional<QString>() << -1.0f;
    QTest::newRow("negative") << std::optional<QString>(QStringLiteral("-2")) << -1.0f;
    QTest::newRow("overflow") << std::optional<QString>(QStringLiteral("1E60")) << -1.0f;
}

void TestTargetDrawing::calibration()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(float, scale);
    Desk d;
    ChooseTool(d.s, ToolButton::Calibrate);
    d.down(300, 600);
    QVERIFY(d.p.FirstCalPointSet);
    d.move(1740, 600);
    d.prompter.QueueInput(answer);
    d.down(1740, 600);
    QCOMPARE(d.s.CalLength, 1440.0f);
    QCOMPARE(d.s.StatsSaved, false);
    QVERIFY(!d.p.FirstCalPointSet);
    // The circles and the line are on the picture either way.
    QCOMPARE(d.p.canvas.FigureCount(), 3);
    if (scale > 0) {
        QCOMPARE(d.s.ImageScale, scale);
        QCOMPARE(d.s.ToolMode, Tool::AimPoint);
        QVERIFY(d.messages().isEmpty());
        QCOMPARE(d.p.canvas.Image(), d.redrawn());
    } else {
        QCOMPARE(d.messages().size(), 1);
        QVERIFY(!d.s.ImageCalibrated);
        // The next press starts a new calibration and takes the old marks away.
        d.down(3000, 3000);
        QCOMPARE(d.p.canvas.FigureCount(), 1);
    }
}

void TestTargetDrawing::zeroLengthCalibrationAndRecalibration()
{
    Desk d;
    ChooseTool(d.s, ToolButton::Calibrate);
    d.down(720, 720);
    d.down(720, 720);
    QCOMPARE(d.messages().size(), 1);
    QVERIFY(d.p.FirstCalPointSet);
    // The first circle is still there, once.
    const auto onlyMarker = [](float x, float y) {
        GraphPicture expect;
        expect.canvas.SetPictureSize(QSize(400, 300));
        expect.canvas.SetImage(NoiseImage(400, 300));
        DrawCalPointMarker(expect, x, y);
        return expect.canvas.Image().copy();
    };
    QCOMPARE(d.p.canvas.Image(), onlyMarker(720, 720));
    d.prompter.QueueInput(QStringLiteral("1"));
    d.down(2160, 720);
    QCOMPARE(d.s.ImageScale, 1.0f / 1440);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    // A second calibration: its first press leaves only its own circle.
    ChooseTool(d.s, ToolButton::Calibrate);
    d.down(1500, 1500);
    QCOMPARE(d.p.canvas.Image(), onlyMarker(1500, 1500));
}

void TestTargetDrawing::rubberBandSurvivesOtherTools()
{
    Desk d;
    d.s.FullScreenCursor = true;
    ChooseTool(d.s, ToolButton::Calibrate);
    d.move(600, 600);
    d.down(600, 600);
    for (int x = 700; x < 2000; x += 150) d.move(float(x), 900);
    ChooseTool(d.s, ToolButton::AimPoint); // the calibration stays in progress
    d.move(3000, 3000);
    d.move(3100, 2800);
    ChooseTool(d.s, ToolButton::Calibrate);
    d.move(2400, 1200);
    d.move(2550, 1200);
    d.prompter.QueueInput(QStringLiteral("3"));
    d.down(2700, 1200); // pressed without a move to the press point
    ToggleFullScreenCursor(d.s, d.p);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    QCOMPARE(d.p.canvas.FigureCount(), 3);
}

void TestTargetDrawing::aimPointAndShot()
{
    Desk d;
    d.s.ShowAxes = true;
    d.calibrate(0, 300, 1440, 300, QStringLiteral("1"));
    d.down(2880, 1440);
    QCOMPARE(d.s.AimX, 2.0f);
    QCOMPARE(d.s.AimY, 1.0f);
    QVERIFY(d.s.AxesDrawn);
    QCOMPARE(d.s.ToolMode, Tool::EnterShot);
    d.down(2880 + 1440, 1440 - 720);
    QCOMPARE(d.s.ShotCount, 1);
    QCOMPARE(d.s.ShotX[1], 1.0f);
    QCOMPARE(d.s.ShotY[1], 0.5f);
    QVERIFY(qAbs(d.s.ShotR[1] - 1.118034f) < 1e-5f);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    // A new aim point keeps the old distances; the old marker stays until a
    // redraw, and is removed where it is.
    d.s.ShowCentroid = true;
    d.down(3000, 1500);
    QCOMPARE(d.s.ShotCount, 2);
    QVERIFY(d.s.CentroidDrawn);
    ChooseTool(d.s, ToolButton::AimPoint);
    d.down(1500, 1500);
    QCOMPARE(d.s.ShotX[1], 1.0f);
    ChooseTool(d.s, ToolButton::RemoveShot);
    d.down(1500 + 1440, 1500 - 720); // shot 1 as seen from the new aim point
    QCOMPARE(d.s.ShotCount, 1);
    QVERIFY(d.messages().isEmpty());
    // Its marker went from where it was drawn: left are the calibration marks,
    // the aim point, the axes and the second shot's marker.
    QCOMPARE(d.p.canvas.FigureCount(), 3 + 2 + 2 + 1);
    ResetPicture(d.s, d.p);
    RedrawTarget(d.s, d.p);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
}

void TestTargetDrawing::removeShotDistance_data()
{
    QTest::addColumn<float>("dx"); // units from the shot
    QTest::addColumn<float>("dy");
    QTest::addColumn<bool>("removed");
    QTest::newRow("0.15 below") << 0.0f << 0.15f << true;
    QTest::newRow("0.2 exactly") << 0.2f << 0.0f << true;
    QTest::newRow("0.25") << 0.25f << 0.0f << false;
    QTest::newRow("0.15 and 0.15") << 0.15f << 0.15f << false;
}

void TestTargetDrawing::removeShotDistance()
{
    QFETCH(float, dx);
    QFETCH(float, dy);
    QFETCH(bool, removed);
    Desk d;
    d.exactSetup(0, 0);
    d.down(0, 0); // a shot on the aim point
    QCOMPARE(d.s.ShotCount, 1);
    ChooseTool(d.s, ToolButton::RemoveShot);
    d.down(dx * 1024, dy * 1024);
    QCOMPARE(d.s.ShotCount, removed ? 0 : 1);
    QCOMPARE(d.messages().size(), removed ? 0 : 1);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
}

void TestTargetDrawing::damagedScale_data()
{
    QTest::addColumn<float>("scale");
    QTest::newRow("zero") << 0.0f;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN();
}

void TestTargetDrawing::damagedScale()
{
    QFETCH(float, scale);
    Desk d;
    d.s.ImageCalibrated = true;
    d.s.ImageScale = scale;
    d.s.AimX = d.s.AimY = 1;
    d.s.ShowAxes = d.s.ShowCentroid = true;
    AddShots(d.s, {{0.1f, 0.1f}, {0.2f, 0.3f}});
    RedrawTarget(d.s, d.p);
    QCOMPARE(d.p.canvas.Image(), d.base);
    QCOMPARE(d.s.ToolMode, Tool::Calibrate);
    for (qint32 tool : {Tool::EnterShot, Tool::RemoveShot}) {
        d.prompter.clear();
        d.s.ToolMode = tool;
        d.down(500, 500);
        QCOMPARE(d.messages(), QStringList{QStringLiteral("Image Scale Not Calibrated")});
    }
    d.s.ShowAxes = false;
    ToggleAxes(d.s, d.p);
    ToggleCentroid(d.s, d.p);
    ToggleCentroid(d.s, d.p);
    QCOMPARE(d.s.ShotCount, 2);
    QCOMPARE(d.p.canvas.Image(), d.base);
}

void TestTargetDrawing::options()
{
    Desk d;
    // Axes before an aim point: nothing, then drawn by the aim click.
    ToggleAxes(d.s, d.p);
    QVERIFY(d.s.ShowAxes && !d.s.AxesDrawn);
    QCOMPARE(d.p.canvas.Image(), d.base);
    d.exactSetup(1024, 1024);
    QVERIFY(d.s.AxesDrawn);
    // Centroid option with one shot: nothing to show or remove.
    d.down(1200, 1100);
    ToggleCentroid(d.s, d.p);
    ToggleCentroid(d.s, d.p);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    // Cursor lines follow the mouse and go with the option.
    ToggleFullScreenCursor(d.s, d.p);
    ToggleFullScreenCursor(d.s, d.p); // off before any move: nothing erased
    ToggleFullScreenCursor(d.s, d.p);
    for (int i = 0; i < 20; ++i) d.move(float(30 * i), float(45 * i));
    QVERIFY(d.s.CursorLinesDrawn);
    QCOMPARE(d.s.CursorLinesX, 570.0f);
    ToggleFullScreenCursor(d.s, d.p);
    QCOMPARE(d.s.CursorLinesX, -1.0f);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    ToggleAxes(d.s, d.p);
    QVERIFY(!d.s.AxesDrawn);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
}

QTEST_MAIN(TestTargetDrawing)
#include "test_targetdrawing.moc"
