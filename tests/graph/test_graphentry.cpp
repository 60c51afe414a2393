// Graphical entry: redraws, mouse calibration, aim point, shots, toolbox and
// the window, driven as a user would with generated target images.
#include "files/statsfile.h"
#include "graph/frmgraphenter.h"
#include "graph/frmtoolbox.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "graph/targetdrawing.h"
#include "graphtestimages.h"
#include "stats/frmtextoutput.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <optional>

namespace {
// A session and picture as the window holds them, without the window.
struct Desk {
    Session s;
    GraphPicture p;
    ScriptedPrompter prompter;
    QImage base;
    Desk()
    {
        PrepareTestSession(s);
        s.GraphicalEntryActive = true;
        p.canvas.SetPictureSize(QSize(400, 300));
        p.canvas.SetImage(NoiseImage(400, 300));
        base = p.canvas.Image().copy();
    }
    void down(float x, float y) { Picture1_MouseDown(s, p, prompter, x, y); }
    void move(float x, float y) { Picture1_MouseMove(s, p, x, y); }
    void calibrate(float x1, float y1, float x2, float y2, const QString &answer)
    {
        ChooseTool(s, ToolButton::Calibrate);
        move(x1, y1);
        down(x1, y1);
        move(x2, y2);
        prompter.QueueInput(answer);
        down(x2, y2);
    }
    // Scale and aim set straight in the session, binary-exact for float checks.
    void exactSetup(float aimX, float aimY)
    {
        s.ImageScale = 1.0f / 1024;
        s.ImageCalibrated = true;
        RedrawTarget(s, p);
        down(aimX, aimY);
    }
    // The same session drawn from scratch on a fresh picture.
    QImage redrawn() const
    {
        Session copy = s;
        GraphPicture fresh;
        fresh.canvas.SetPictureSize(QSize(400, 300));
        fresh.canvas.SetImage(NoiseImage(400, 300));
        ResetPicture(copy, fresh);
        RedrawTarget(copy, fresh);
        return fresh.canvas.Image().copy();
    }
    QStringList messages() const
    {
        QStringList out;
        for (const PromptRecord &r : prompter.messages()) out << r.text;
        return out;
    }
};

frmGraphEnter *OpenWindow(TestApp &t, const QString &imagePath)
{
    t.session.HeaderEntered = true;
    t.session.ImagePath = imagePath;
    t.app->ViewGraphicalEntry();
    return t.app->GraphEnter();
}

QString WriteTarget(const QTemporaryDir &dir, int w = 600, int h = 400)
{
    const QString path = dir.filePath(QStringLiteral("target.png"));
    TargetImage(w, h).save(path, "PNG");
    return path;
}
// The widget pixel of the picture that shows canvas pixel `px` at this zoom
// (the nearest-pixel rule the picture paints with).
QPoint WidgetPixelShowing(const PictureBox *pic, QPoint px)
{
    const auto one = [&](int c) {
        for (int w = int(std::floor(c * pic->Zoom())) - 1;; ++w)
            if (std::floor((w + 0.5) / pic->Zoom()) >= c) return w;
    };
    return QPoint(one(px.x()), one(px.y()));
}

// Clicks (or moves to) canvas pixel `px` the way a user would at the window's
// zoom: scrolled so that it shows at viewport position `at`.
QPoint BringToView(frmGraphEnter *w, QPoint px, QPoint at)
{
    const QPoint wp = WidgetPixelShowing(w->Picture1, px);
    w->View->ScrollTo(wp, at);
    return wp; // in the picture's own coordinates, wherever it scrolled to
}

void ClickPixel(frmGraphEnter *w, QPoint px, QPoint at = QPoint(300, 200))
{
    QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, BringToView(w, px, at));
}

QImage ShownImage(frmGraphEnter *w) { return w->View->viewport()->grab().toImage(); }
} // namespace

class TestGraphEntry : public QObject {
    Q_OBJECT
private slots:
    void redrawTargetSteps_data();
    void redrawTargetSteps();
    void calibration_data();
    void calibration();
    void zeroLengthCalibrationAndRecalibration();
    void rubberBandSurvivesOtherTools();
    void aimPointAndShot();
    void removeShotDistance_data();
    void removeShotDistance();
    void removeShotTiesAndCentroid();
    void refusals();
    void damagedScale_data();
    void damagedScale();
    void options();
    void toolButtons();
    void windowEndToEnd();
    void windowUnloadableImage();
    void windowColourDialog();
    void toolboxClear();
    void toolboxTypedRemoval();
    void zoomCoordinates_data();
    void zoomCoordinates();
    void zoomCommandsAndWheel();
    void middleButtonDrag();
    void sessionSameAtAnyZoom();
    void figuresRemovedAtAnotherZoom();
};

void TestGraphEntry::redrawTargetSteps_data()
{
    QTest::addColumn<bool>("calibrated");
    QTest::addColumn<bool>("aim");
    QTest::addColumn<int>("shots");
    QTest::addColumn<bool>("drawsNothing");
    QTest::addColumn<qint32>("tool");
    QTest::addColumn<bool>("enterShot"); // enabled and bold
    QTest::addColumn<bool>("remShot");
    QTest::addColumn<bool>("calBold");
    QTest::addColumn<bool>("aimBold");
    QTest::newRow("not calibrated, aim and shots held")
        << false << true << 3 << true << Tool::Calibrate << false << false << true << false;
    QTest::newRow("calibrated, no aim")
        << true << false << 0 << false << Tool::AimPoint << false << false << false << true;
    QTest::newRow("calibrated, aim")
        << true << true << 0 << false << Tool::EnterShot << true << false << false << false;
    QTest::newRow("one shot") << true << true << 1 << false << Tool::EnterShot << true << true
                              << false << false;
    QTest::newRow("three shots") << true << true << 3 << false << Tool::EnterShot << true << true
                                 << false << false;
}

void TestGraphEntry::redrawTargetSteps()
{
    QFETCH(bool, calibrated);
    QFETCH(bool, aim);
    QFETCH(int, shots);
    QFETCH(bool, drawsNothing);
    Desk d;
    d.s.ShowCentroid = d.s.ShowAxes = true;
    d.s.CalPoint1X = 300, d.s.CalPoint1Y = 300, d.s.CalPoint2X = 1740, d.s.CalPoint2Y = 300;
    if (calibrated) d.s.ImageScale = 1.0f / 1440, d.s.ImageCalibrated = true;
    if (aim) d.s.AimX = 2, d.s.AimY = 2;
    for (int i = 0; i < shots; ++i) AddShots(d.s, {{0.5f * float(i), 0.25f}});
    RedrawTarget(d.s, d.p);
    QCOMPARE(d.p.canvas.Image() == d.base, drawsNothing);
    QTEST(d.s.ToolMode, "tool");
    QTEST(d.s.Toolbox.cmdEnterShot.enabled, "enterShot");
    if (aim && calibrated) QVERIFY(d.s.Toolbox.cmdEnterShot.bold);
    QTEST(d.s.Toolbox.cmdRemShot.enabled, "remShot");
    QTEST(d.s.Toolbox.cmdCalImg.bold, "calBold");
    QTEST(d.s.Toolbox.cmdAimPoint.bold, "aimBold");
    // Never enabled by a redraw: only a new calibration does that.
    QVERIFY(!d.s.Toolbox.cmdAimPoint.enabled);
    QCOMPARE(d.s.AxesDrawn, calibrated && aim);
    QCOMPARE(d.s.CentroidDrawn, calibrated && aim && shots >= 2);
    if (calibrated && aim && shots >= 2)
        QCOMPARE(d.s.CentroidMarkX, d.s.GroupCenterX / d.s.ImageScale);
    // Two figures toggled away again leave what a single redraw gives.
    const QImage once = d.p.canvas.Image().copy();
    ResetPicture(d.s, d.p);
    QCOMPARE(d.p.canvas.Image(), d.base);
    RedrawTarget(d.s, d.p);
    QCOMPARE(d.p.canvas.Image(), once);
}

void TestGraphEntry::calibration_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<float>("scale"); // -1: refused
    QTest::newRow("1 over 1440 twips")
        << std::optional<QString>(QStringLiteral("1")) << 1.0f / 1440;
    QTest::newRow("2.5 and a unit word")
        << std::optional<QString>(QStringLiteral("2.5 Inches")) << 2.5f / 1440;
    QTest::newRow("empty") << std::optional<QString>(QString()) << -1.0f;
    QTest::newRow("cancel") << std::optional<QString>() << -1.0f;
    QTest::newRow("no leading number") << std::optional<QString>(QStringLiteral("one")) << -1.0f;
    QTest::newRow("negative") << std::optional<QString>(QStringLiteral("-2")) << -1.0f;
    QTest::newRow("overflow") << std::optional<QString>(QStringLiteral("1E60")) << -1.0f;
}

void TestGraphEntry::calibration()
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
    const QList<PromptRecord> inputs = [&] {
        QList<PromptRecord> out;
        for (const PromptRecord &r : d.prompter.records)
            if (r.kind == PromptRecord::Input) out << r;
        return out;
    }();
    QCOMPARE(inputs.size(), 1);
    QCOMPARE(inputs[0].text, QStringLiteral("Enter Calibration Value:"));
    QCOMPARE(inputs[0].title, QStringLiteral("Calibration"));
    QCOMPARE(inputs[0].defaultAnswer, QStringLiteral("1"));
    QVERIFY(!d.p.FirstCalPointSet);
    QVERIFY(d.s.CalMarkersDrawn);
    // The circles and the line are on the picture either way.
    QCOMPARE(d.p.canvas.FigureCount(), 3);
    if (scale > 0) {
        QCOMPARE(d.s.ImageScale, scale);
        QVERIFY(d.s.ImageCalibrated);
        QCOMPARE(d.s.ToolMode, Tool::AimPoint);
        QVERIFY(d.s.Toolbox.cmdAimPoint.enabled && d.s.Toolbox.cmdAimPoint.bold);
        QVERIFY(!d.s.Toolbox.cmdCalImg.bold);
        QVERIFY(d.messages().isEmpty());
        QCOMPARE(d.p.canvas.Image(), d.redrawn());
    } else {
        QCOMPARE(d.messages(), QStringList{QStringLiteral(
                                   "You did not enter a calibration value...Please Recalibrate")});
        QCOMPARE(d.prompter.messages()[0].title, QStringLiteral("Calibration Error"));
        QCOMPARE(d.s.ImageScale, -1.0f);
        QVERIFY(!d.s.ImageCalibrated);
        QCOMPARE(d.s.ToolMode, Tool::Calibrate);
        // The next press starts a new calibration and takes the old marks away.
        d.down(3000, 3000);
        QCOMPARE(d.p.canvas.FigureCount(), 1);
    }
}

void TestGraphEntry::zeroLengthCalibrationAndRecalibration()
{
    Desk d;
    ChooseTool(d.s, ToolButton::Calibrate);
    d.down(720, 720);
    d.down(720, 720);
    QCOMPARE(d.messages(),
             QStringList{QStringLiteral("Your Length to Calibrate is Zero...Please Retry")});
    QVERIFY(d.p.FirstCalPointSet);
    // The first circle is still there, once.
    GraphPicture expect;
    expect.canvas.SetPictureSize(QSize(400, 300));
    expect.canvas.SetImage(NoiseImage(400, 300));
    DrawCalPointMarker(expect, 720, 720);
    QCOMPARE(d.p.canvas.Image(), expect.canvas.Image());
    d.prompter.QueueInput(QStringLiteral("1"));
    d.down(2160, 720);
    QCOMPARE(d.s.ImageScale, 1.0f / 1440);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    // A second calibration: its first press leaves only its own circle.
    ChooseTool(d.s, ToolButton::Calibrate);
    d.down(1500, 1500);
    GraphPicture expect2;
    expect2.canvas.SetPictureSize(QSize(400, 300));
    expect2.canvas.SetImage(NoiseImage(400, 300));
    DrawCalPointMarker(expect2, 1500, 1500);
    QCOMPARE(d.p.canvas.Image(), expect2.canvas.Image());
}

void TestGraphEntry::rubberBandSurvivesOtherTools()
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

void TestGraphEntry::aimPointAndShot()
{
    Desk d;
    d.s.ShowAxes = true;
    d.calibrate(0, 300, 1440, 300, QStringLiteral("1"));
    d.down(2880, 1440);
    QCOMPARE(d.s.AimX, 2.0f);
    QCOMPARE(d.s.AimY, 1.0f);
    QVERIFY(d.s.AxesDrawn);
    QCOMPARE(d.s.ToolMode, Tool::EnterShot);
    QVERIFY(d.s.Toolbox.cmdEnterShot.enabled && d.s.Toolbox.cmdEnterShot.bold);
    QVERIFY(!d.s.Toolbox.cmdAimPoint.bold);
    d.down(2880 + 1440, 1440 - 720);
    QCOMPARE(d.s.ShotCount, 1);
    QCOMPARE(d.s.ShotX[1], 1.0f);
    QCOMPARE(d.s.ShotY[1], 0.5f);
    QVERIFY(qAbs(d.s.ShotR[1] - 1.118034f) < 1e-5f);
    QVERIFY(d.s.Toolbox.cmdRemShot.enabled);
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

void TestGraphEntry::removeShotDistance_data()
{
    QTest::addColumn<float>("dx"); // units from the shot
    QTest::addColumn<float>("dy");
    QTest::addColumn<bool>("removed");
    QTest::newRow("0.15 right") << 0.15f << 0.0f << true;
    QTest::newRow("0.15 below") << 0.0f << 0.15f << true;
    QTest::newRow("0.2 exactly") << 0.2f << 0.0f << true;
    QTest::newRow("0.25") << 0.25f << 0.0f << false;
    QTest::newRow("0.15 and 0.15") << 0.15f << 0.15f << false;
}

void TestGraphEntry::removeShotDistance()
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
    if (!removed) {
        QCOMPARE(d.messages(), QStringList{QStringLiteral("This is not a point you have entered")});
        QCOMPARE(d.prompter.messages()[0].title, QStringLiteral("Remove Point"));
    }
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
}

void TestGraphEntry::removeShotTiesAndCentroid()
{
    Desk d;
    d.s.ShowCentroid = true;
    d.exactSetup(1024, 1024);
    d.down(1024 + 128, 1024);
    d.down(1024 - 128, 1024);
    QVERIFY(d.s.CentroidDrawn);
    ChooseTool(d.s, ToolButton::RemoveShot);
    d.down(1024, 1024); // both 0.125 away: the first entered goes
    QCOMPARE(d.s.ShotCount, 1);
    QCOMPARE(d.s.ShotX[1], -0.125f);
    QVERIFY(!d.s.CentroidDrawn);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    // Three shots: removing one moves the centroid.
    ChooseTool(d.s, ToolButton::EnterShot);
    d.down(1024, 1024 + 256);
    d.down(1024 + 512, 1024 - 256);
    QCOMPARE(d.s.ShotCount, 3);
    const float before = d.s.CentroidMarkX;
    ChooseTool(d.s, ToolButton::RemoveShot);
    d.down(1024 + 512, 1024 - 256);
    QCOMPARE(d.s.ShotCount, 2);
    QVERIFY(d.s.CentroidDrawn);
    QVERIFY(d.s.CentroidMarkX != before);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
}

void TestGraphEntry::refusals()
{
    Desk d;
    d.s.ToolMode = Tool::EnterShot;
    d.down(100, 100);
    QCOMPARE(d.messages(), QStringList{QStringLiteral("No Aim Point Selected")});
    d.prompter.clear();
    d.s.ToolMode = Tool::RemoveShot;
    d.down(100, 100);
    QCOMPARE(d.messages(),
             QStringList{QStringLiteral("There are no Shots to Remove from Data Set")});
    QCOMPARE(d.p.canvas.Image(), d.base);
    // A full group.
    d.prompter.clear();
    d.exactSetup(1024, 1024);
    for (int i = 0; i < 21; ++i) d.down(float(60 * i), 2000);
    QCOMPARE(d.s.ShotCount, 21);
    d.s.Toolbox.cmdRemShot.enabled = false;
    d.down(3000, 3000);
    QCOMPARE(d.s.ShotCount, 21);
    QCOMPARE(
        d.messages(),
        QStringList{QStringLiteral(
            "You have entered the maximum number of shots...no additional shots can be entered")});
    QVERIFY(d.s.Toolbox.cmdRemShot.enabled);
    QCOMPARE(d.p.canvas.Image(), d.redrawn());
    // "None" does nothing but mark the group changed.
    d.s.StatsSaved = true;
    d.s.ToolMode = Tool::None;
    d.down(10, 10);
    QVERIFY(!d.s.StatsSaved);
    QCOMPARE(d.s.ShotCount, 21);
}

void TestGraphEntry::damagedScale_data()
{
    QTest::addColumn<float>("scale");
    QTest::newRow("zero") << 0.0f;
    QTest::newRow("negative") << -0.5f;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN();
}

void TestGraphEntry::damagedScale()
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

void TestGraphEntry::options()
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

void TestGraphEntry::toolButtons()
{
    Session s;
    PrepareTestSession(s);
    s.GraphicalEntryActive = true;
    const std::pair<ToolButton, qint32> table[] = {{ToolButton::Calibrate, Tool::Calibrate},
                                                   {ToolButton::AimPoint, Tool::AimPoint},
                                                   {ToolButton::EnterShot, Tool::EnterShot},
                                                   {ToolButton::RemoveShot, Tool::RemoveShot}};
    for (const auto &[button, tool] : table) {
        ChooseTool(s, button);
        QCOMPARE(s.ToolMode, tool);
        const int bold = int(s.Toolbox.cmdEnterShot.bold) + int(s.Toolbox.cmdRemShot.bold) +
                         int(s.Toolbox.cmdCalImg.bold) + int(s.Toolbox.cmdAimPoint.bold);
        QCOMPARE(bold, 1);
    }
    s.GraphicalEntryActive = false;
    ChooseTool(s, ToolButton::EnterShot);
    QCOMPARE(s.ToolMode, Tool::None);
    ChooseTool(s, ToolButton::RemoveShot);
    QCOMPARE(s.ToolMode, Tool::None);
}

void TestGraphEntry::windowEndToEnd()
{
    TestApp t;
    const QString path = WriteTarget(t.dir);
    frmGraphEnter *w = OpenWindow(t, path);
    QCOMPARE(w->windowTitle(), QStringLiteral("Graphical Data Entry - ") + path);
    frmToolBox *tools = w->findChild<frmToolBox *>(QStringLiteral("frmToolBox"));
    QVERIFY(tools && tools->isVisible());
    QCOMPARE(tools->windowTitle(), QStringLiteral("Tools"));
    auto *cal = tools->findChild<QPushButton *>(QStringLiteral("cmdCalImg"));
    auto *aim = tools->findChild<QPushButton *>(QStringLiteral("cmdAimPoint"));
    auto *enter = tools->findChild<QPushButton *>(QStringLiteral("cmdEnterShot"));
    auto *del = tools->findChild<QPushButton *>(QStringLiteral("cmdRemShot"));
    QVERIFY(cal->font().bold() && cal->isEnabled());
    QVERIFY(!aim->isEnabled() && !enter->isEnabled() && !del->isEnabled());
    QVERIFY(tools->findChild<QPushButton *>(QStringLiteral("cmdClrDat"))->isEnabled());
    QCOMPARE(del->toolTip(), QStringLiteral("Clickshot to remove data"));

    PictureBox *pic = w->Picture1;
    // 96 pixels are 1440 twips.
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(96, 96));
    t.prompter.QueueInput(QStringLiteral("1"));
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(192, 96));
    QCOMPARE(t.session.ImageScale, 1.0f / 1440);
    QVERIFY(aim->isEnabled() && aim->font().bold() && !cal->font().bold());
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(192, 192));
    QCOMPARE(t.session.AimX, 2.0f);
    QVERIFY(enter->isEnabled() && enter->font().bold());
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(288, 144));
    QCOMPARE(t.session.ShotCount, 1);
    QCOMPARE(t.session.ShotX[1], 1.0f);
    QCOMPARE(t.session.ShotY[1], 0.5f);
    QVERIFY(del->isEnabled());
    // The right button acts the same.
    QTest::mouseClick(pic, Qt::RightButton, {}, QPoint(200, 250));
    QCOMPARE(t.session.ShotCount, 2);
    const RecordingSurface &report = t.app->TextOutput()->Surface();
    QVERIFY(report.Find(QStringLiteral("01")) && report.Find(QStringLiteral("02")));
    QVERIFY(report.Find(QStringLiteral("1.118")));
    QVERIFY(!t.session.StatsSaved);

    // Del Shot near the first shot.
    QTest::mouseClick(del, Qt::LeftButton);
    QCOMPARE(t.session.ToolMode, Tool::RemoveShot);
    QVERIFY(del->font().bold());
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

    // Closing and reopening keeps the group and options, the picture is rebuilt.
    w->mnuAxes->trigger();
    QVERIFY(t.session.AxesDrawn);
    w->mnuGraphClose->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!t.app->HasGraphEnter());
    frmGraphEnter *again = OpenWindow(t, path);
    QVERIFY(again->mnuAxes->isChecked());
    QCOMPARE(t.session.ShotCount, 1);
    QVERIFY(t.session.AxesDrawn);
    QCOMPARE(t.session.ToolMode, Tool::EnterShot);
}

void TestGraphEntry::windowUnloadableImage()
{
    TestApp t;
    AddShots(t.session, {{1, 1}, {2, 1}});
    t.session.ImageScale = 0.01f;
    t.session.ImageCalibrated = true;
    t.session.AimX = t.session.AimY = 1;
    const QString gone = t.dir.filePath(QStringLiteral("moved.jpg"));
    frmGraphEnter *w = OpenWindow(t, gone);
    const QList<PromptRecord> msgs = t.prompter.messages();
    QCOMPARE(msgs.size(), 1);
    QVERIFY(msgs[0].text.contains(gone));
    QVERIFY(!w->Picture().canvas.HasImage());
    QCOMPARE(t.session.ShotCount, 2);
    QCOMPARE(t.session.ImagePath, gone);
    QCOMPARE(w->windowTitle(), QStringLiteral("Graphical Data Entry - ") + gone);
    // Not an image at all.
    const QString text = t.dir.filePath(QStringLiteral("notes.bmp"));
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("just text\r\n");
    f.close();
    t.prompter.clear();
    t.session.ImagePath = text;
    w->ReloadTargetImage();
    QCOMPARE(t.prompter.messages().size(), 1);
    QVERIFY(t.prompter.messages()[0].text.contains(text));
    QCOMPARE(t.session.ShotCount, 2);
}

void TestGraphEntry::windowColourDialog()
{
    TestApp t;
    t.session.ShowCentroid = t.session.ShowAxes = true;
    frmGraphEnter *w = OpenWindow(t, WriteTarget(t.dir, 200, 150));
    GraphPicture &p = w->Picture();
    t.prompter.QueueInput(QStringLiteral("1"));
    ChooseTool(t.session, ToolButton::Calibrate);
    w->Picture1_MouseDown(1, 0, 300, 300);
    w->Picture1_MouseDown(1, 0, 1740, 300);
    w->Picture1_MouseDown(1, 0, 1500, 1500);
    w->Picture1_MouseDown(1, 0, 1600, 1400);
    w->Picture1_MouseDown(1, 0, 1400, 1700);
    const QImage before = p.canvas.Image().copy();
    const qint32 colour = t.session.BackColor;
    const int figures = p.canvas.FigureCount();
    t.prompter.QueueColor(std::nullopt);
    w->mnuGraphColor->trigger();
    QCOMPARE(t.session.BackColor, colour);
    QCOMPARE(p.canvas.Image(), before);
    QCOMPARE(p.canvas.FigureCount(), figures);
    QVERIFY(t.session.CentroidDrawn && t.session.AxesDrawn && t.session.CalMarkersDrawn);
    // A chosen colour: new background, the image and every figure as before.
    t.prompter.QueueColor(QColor(0, 0, 255));
    w->mnuGraphColor->trigger();
    QCOMPARE(t.session.BackColor, 0x00FF0000);
    QCOMPARE(p.canvas.FigureCount(), figures);
    QVERIFY(t.session.CentroidDrawn && t.session.AxesDrawn && t.session.CalMarkersDrawn);
    QCOMPARE(p.canvas.Image().copy(0, 0, 150, 150), before.copy(0, 0, 150, 150));
    QCOMPARE(p.canvas.Image().pixel(p.canvas.SizePixels().width() - 2, 140), qRgb(0, 0, 255));
}

void TestGraphEntry::toolboxClear()
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
    QCOMPARE(t.prompter.messages()[0].title, QStringLiteral("File Not Saved"));
    // No: cleared without saving.
    t.prompter.QueueMsgAnswer(Answer::No);
    QTest::mouseClick(tools->cmdClrDat, Qt::LeftButton);
    QCOMPARE(t.session.ShotCount, 0);
    QVERIFY(t.session.ImagePath.isEmpty());
    QVERIFY(!w->Picture().canvas.HasImage());
    QCOMPARE(w->windowTitle(), QStringLiteral("Graphical Data Entry - "));
    QVERIFY(tools->cmdCalImg->font().bold() && tools->cmdCalImg->isEnabled());
    QVERIFY(!tools->cmdAimPoint->isEnabled() && !tools->cmdEnterShot->isEnabled() &&
            !tools->cmdRemShot->isEnabled());
    QVERIFY(tools->cmdClrDat->isEnabled() && tools->cmdPrintData->isEnabled());
    QCOMPARE(t.session.ToolMode, Tool::Calibrate);
}

void TestGraphEntry::toolboxTypedRemoval()
{
    TestApp t;
    frmGraphEnter *w = OpenWindow(t, QString());
    QCOMPARE(w->windowTitle(), QStringLiteral("Graphical Data Entry - "));
    frmToolBox *tools = w->ToolBox();
    t.session.GraphicalEntryActive = false;
    AddShots(t.session, {{1, 1}, {2, 2}, {3, 3}});
    tools->cmdRemShot->setEnabled(true);
    for (const std::optional<QString> &a :
         {std::optional<QString>(QStringLiteral("0")), std::optional<QString>(),
          std::optional<QString>(QStringLiteral("7")),
          std::optional<QString>(QStringLiteral("x"))}) {
        t.prompter.QueueInput(a);
        tools->cmdRemShot_Click();
        QCOMPARE(t.session.ShotCount, 3);
    }
    const PromptRecord &ask = t.prompter.records.first();
    QCOMPARE(ask.title, QStringLiteral("Remove Shot"));
    QCOMPARE(ask.text,
             QStringLiteral("Enter number of shot (from shot data list) to Remove from Data Set:"));
    t.prompter.QueueInput(QStringLiteral("2"));
    tools->cmdRemShot_Click();
    QCOMPARE(t.session.ShotCount, 2);
    QCOMPARE(t.session.ShotX[2], 3.0f);
    QVERIFY(!t.session.StatsSaved);
    for (int i = 0; i < 2; ++i) {
        t.prompter.QueueInput(QStringLiteral("1"));
        tools->cmdRemShot_Click();
    }
    QCOMPARE(t.session.ShotCount, 0);
    QVERIFY(!tools->cmdRemShot->isEnabled());
}

void TestGraphEntry::zoomCoordinates_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("at"); // viewport position of the pixel
    QTest::newRow("25 %") << 0.25 << QPoint(300, 200);
    QTest::newRow("100 %") << 1.0 << QPoint(250, 150);
    QTest::newRow("400 %") << 4.0 << QPoint(401, 333);
}

void TestGraphEntry::zoomCoordinates()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, at);
    TestApp t;
    frmGraphEnter *w = OpenWindow(t, QString());
    GraphPicture &p = w->Picture();
    const QImage noise = NoiseImage(6000, 4000);
    p.canvas.SetImage(noise);
    w->View->SetZoom(zoom);
    QCOMPARE(w->ZoomLabel->text(), PictureView::ZoomText(zoom));
    // A pixel far from the top-left corner: only reachable scrolled.
    const QPoint px(1234, 986);
    PictureBox *pic = w->Picture1;
    const QPoint local = BringToView(w, px, at);
    QVERIFY(w->View->ScrollOffset().x() > 0 && w->View->ScrollOffset().y() > 0);
    QCOMPARE(pic->mapTo(w->View->viewport(), local), at);

    // What the view shows there is that very pixel (below 100 % the average
    // of the pixels there: test_pictureview).
    const bool exact = zoom >= 1;
    if (exact) QCOMPARE(ShownImage(w).pixel(at), noise.pixel(px));
    QSignalSpy down(pic, &PictureBox::MouseDown), moved(pic, &PictureBox::MouseMove);
    QTest::mouseClick(pic, Qt::LeftButton, {}, local);
    QCOMPARE(down.size(), 1);
    QCOMPARE(down[0][2].toFloat(), 1234.0f * 15);
    QCOMPARE(down[0][3].toFloat(), 986.0f * 15);
    QCOMPARE(t.session.CalPoint1X, 1234.0f * 15);
    QCOMPARE(t.session.CalPoint1Y, 986.0f * 15);

    // A move with the full-screen cursor: the same twips, and the lines
    // reach both edges of the view.
    t.session.FullScreenCursor = true;
    QTest::mouseMove(pic, local + QPoint(5, 5));
    QTest::mouseMove(pic, local);
    QVERIFY(!moved.isEmpty());
    QCOMPARE(moved.last()[2].toFloat(), 1234.0f * 15);
    QCOMPARE(t.session.CursorLinesX, 1234.0f * 15);
    QCOMPARE(t.session.CursorLinesY, 986.0f * 15);
    const QImage shown = ShownImage(w);
    const QRgb overlay = OverlayRgb() & 0xFFFFFF;
    const QPoint offset = w->View->ScrollOffset();
    const int right = w->View->viewport()->width() - 1, bottom = w->View->viewport()->height() - 1;
    const auto canvasAt = [&](int vx, int vy) {
        const QPointF tw = pic->ToPictureTwips(QPointF(vx + offset.x(), vy + offset.y()));
        return QPoint(int(tw.x()) / 15, int(tw.y()) / 15);
    };
    for (const QPoint &v :
         {QPoint(0, at.y()), QPoint(right, at.y()), QPoint(at.x(), 0), QPoint(at.x(), bottom)}) {
        const QPoint c = canvasAt(v.x(), v.y());
        if (exact) QCOMPARE(shown.pixel(v) & 0xFFFFFF, (noise.pixel(c) ^ overlay) & 0xFFFFFF);
    }
    // Every pixel of the horizontal line on screen shows it: none falls
    // between the pixels the zoomed view samples.
    for (int vx = 0; vx <= right; vx += 7) {
        const QPoint c = canvasAt(vx, at.y());
        // Near the crossing: the other line and the calibration mark.
        if (!exact || std::abs(c.x() - px.x()) <= 10 / std::min(zoom, 1.0)) continue;
        QCOMPARE(shown.pixel(vx, at.y()) & 0xFFFFFF, (noise.pixel(c) ^ overlay) & 0xFFFFFF);
    }
    // Scrolled away with the scroll bar: the lines still span what is shown.
    w->View->horizontalScrollBar()->setValue(0);
    const QRectF visible = pic->VisibleTwips();
    QCOMPARE(p.CursorSpan, visible);
    QCOMPARE(visible.topLeft(), pic->ToPictureTwips(QPointF(0, w->View->ScrollOffset().y())));
}

void TestGraphEntry::zoomCommandsAndWheel()
{
    TestApp t;
    frmGraphEnter *w = OpenWindow(t, QString());
    w->Picture().canvas.SetImage(NoiseImage(3000, 2000));
    QCOMPARE(w->mnuZoomIn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Equal));
    QCOMPARE(w->mnuZoomOut->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QCOMPARE(w->mnuZoomActual->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
    QCOMPARE(w->ZoomLabel->text(), QStringLiteral("100 %"));
    w->mnuZoomIn->trigger();
    QCOMPARE(w->View->Zoom(), 1.5);
    QCOMPARE(w->ZoomLabel->text(), QStringLiteral("150 %"));
    // The ends: 5 % and 800 %, however often asked.
    for (int i = 0; i < 20; ++i) w->mnuZoomIn->trigger();
    QCOMPARE(w->View->Zoom(), 8.0);
    for (int i = 0; i < 30; ++i) w->mnuZoomOut->trigger();
    QCOMPARE(w->View->Zoom(), 0.05);
    QCOMPARE(w->ZoomLabel->text(), QStringLiteral("5 %"));
    w->View->SetZoom(50);
    QCOMPARE(w->View->Zoom(), 8.0);
    w->mnuZoomActual->trigger();
    QCOMPARE(w->View->Zoom(), 1.0);
    // Fit to Window: the whole image, no scroll bar needed.
    w->mnuZoomFit->trigger();
    const double z = w->View->Zoom();
    QVERIFY(z < 1.0 && z >= 0.05);
    const QSize room = w->View->maximumViewportSize();
    QVERIFY(3000 * z <= room.width() && 2000 * z <= room.height());
    QVERIFY(3000 * z >= room.width() - 4 || 2000 * z >= room.height() - 4);
    QCOMPARE(w->View->ScrollOffset(), QPoint(0, 0));

    // Ctrl + wheel zooms around the mouse: the picture point under it stays.
    w->mnuZoomActual->trigger();
    PictureBox *pic = w->Picture1;
    QWidget *vp = w->View->viewport();
    const QPoint at(333, 222);
    for (int notches : {1, 1, -3, -2, 4}) {
        const QPointF before = pic->ToPictureTwips(pic->mapFrom(vp, at));
        const double zoomBefore = w->View->Zoom();
        const QPoint local = pic->mapFrom(vp, at);
        QWheelEvent wheel(local, pic->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pic, &wheel);
        QVERIFY(notches > 0 ? w->View->Zoom() > zoomBefore : w->View->Zoom() < zoomBefore);
        const QPointF after = pic->ToPictureTwips(pic->mapFrom(vp, at));
        // Unless the view is at an end and cannot scroll any further.
        const auto pinned = [](const QScrollBar *b) {
            return b->value() == b->minimum() || b->value() == b->maximum();
        };
        if (pinned(w->View->horizontalScrollBar()) || pinned(w->View->verticalScrollBar()))
            continue;
        // Within a canvas pixel of the coarser of the two zooms.
        const double slack = 15 / std::min(zoomBefore, w->View->Zoom()) + 15;
        QVERIFY2(std::abs(after.x() - before.x()) <= slack &&
                     std::abs(after.y() - before.y()) <= slack,
                 qPrintable(QStringLiteral("%1,%2 -> %3,%4")
                                .arg(before.x())
                                .arg(before.y())
                                .arg(after.x())
                                .arg(after.y())));
    }
    // A wheel without Ctrl scrolls.
    w->mnuZoomActual->trigger();
    w->View->verticalScrollBar()->setValue(0);
    QWheelEvent plain(QPointF(100, 100), pic->mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pic, &plain);
    QVERIFY(w->View->verticalScrollBar()->value() > 0);
    QCOMPARE(w->View->Zoom(), 1.0);
}

void TestGraphEntry::middleButtonDrag()
{
    TestApp t;
    frmGraphEnter *w = OpenWindow(t, QString());
    GraphPicture &p = w->Picture();
    p.canvas.SetImage(NoiseImage(3000, 2000));
    t.session.ImageScale = 1.0f / 1440;
    t.session.ImageCalibrated = true;
    t.session.AimX = t.session.AimY = 1;
    RedrawTarget(t.session, p);
    QCOMPARE(t.session.ToolMode, Tool::EnterShot);
    w->View->ScrollTo(QPoint(1000, 800), QPoint(0, 0));
    PictureBox *pic = w->Picture1;
    QSignalSpy down(pic, &PictureBox::MouseDown);
    const QPoint start = pic->mapFrom(w->View->viewport(), QPoint(300, 300));
    const QPoint global = pic->mapToGlobal(start);
    QTest::mousePress(pic, Qt::MiddleButton, {}, start);
    // The picture follows the mouse: dragged up-left, it scrolls down-right.
    const QPoint to = global - QPoint(120, 70);
    QMouseEvent move(QEvent::MouseMove, pic->mapFromGlobal(QPointF(to)), QPointF(to), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &move);
    QCOMPARE(w->View->ScrollOffset(), QPoint(1120, 870));
    QTest::mouseRelease(pic, Qt::MiddleButton, {}, pic->mapFromGlobal(to));
    // Nothing was placed by the middle button.
    QCOMPARE(down.size(), 0);
    QCOMPARE(t.session.ShotCount, 0);
    QTest::mouseClick(pic, Qt::LeftButton, {}, pic->mapFromGlobal(to));
    QCOMPARE(t.session.ShotCount, 1);
}

void TestGraphEntry::sessionSameAtAnyZoom()
{
    // The same calibration, aim and shots clicked at 100 % and at 300 %
    // (scrolled): the saved files are byte for byte the same.
    const std::array<QPoint, 6> clicks = {QPoint(40, 50),   QPoint(520, 50),  QPoint(300, 200),
                                          QPoint(310, 190), QPoint(285, 230), QPoint(577, 377)};
    QByteArray saved[2];
    for (int pass = 0; pass < 2; ++pass) {
        TestApp t;
        frmGraphEnter *w = OpenWindow(t, WriteTarget(t.dir));
        w->View->SetZoom(pass == 0 ? 1.0 : 3.0);
        t.session.FullScreenCursor = t.session.ShowAxes = t.session.ShowCentroid = true;
        t.prompter.QueueInput(QStringLiteral("3.2"));
        for (const QPoint &c : clicks) ClickPixel(w, c);
        QVERIFY(t.prompter.messages().isEmpty());
        QCOMPARE(t.session.ShotCount, 3);
        if (pass == 1) QVERIFY(w->View->ScrollOffset() != QPoint(0, 0));
        t.session.ImagePath = QStringLiteral("target.png"); // the folders differ
        saved[pass] = StatsFileBytes(t.session);
        QCOMPARE(t.session.CalPoint1X, 40.0f * 15);
        QCOMPARE(t.session.CalPoint2Y, 50.0f * 15);
    }
    QCOMPARE(saved[1], saved[0]);
}

void TestGraphEntry::figuresRemovedAtAnotherZoom()
{
    TestApp t;
    const QString path = WriteTarget(t.dir, 900, 700);
    frmGraphEnter *w = OpenWindow(t, path);
    GraphPicture &p = w->Picture();
    const QImage scan = p.canvas.Image().copy();
    t.session.ShowAxes = t.session.ShowCentroid = true;
    w->View->SetZoom(4.0);
    t.prompter.QueueInput(QStringLiteral("1"));
    for (const QPoint &c : {QPoint(100, 100), QPoint(196, 100), QPoint(450, 350), QPoint(460, 340),
                            QPoint(445, 362), QPoint(470, 330)})
        ClickPixel(w, c);
    QCOMPARE(t.session.ShotCount, 3);
    w->mnuCursor->trigger();
    QTest::mouseMove(w->Picture1, BringToView(w, QPoint(455, 345), QPoint(200, 200)));
    QVERIFY(t.session.CursorLinesDrawn && t.session.CentroidDrawn && t.session.AxesDrawn);
    // Down to 25 %: every figure grows to stay visible; remove them there.
    w->View->SetZoom(0.25);
    QTest::mouseClick(w->ToolBox()->cmdRemShot, Qt::LeftButton);
    for (const QPoint &c : {QPoint(460, 340), QPoint(445, 362), QPoint(470, 330)})
        ClickPixel(w, c, QPoint(150, 120));
    QCOMPARE(t.session.ShotCount, 0);
    QVERIFY(t.prompter.messages().isEmpty());
    w->mnuCursor->trigger();
    w->mnuAxes->trigger();
    w->View->SetZoom(1.0);
    // What is left is what a fresh picture draws at 100 % for the session.
    Session copy = t.session;
    GraphPicture fresh;
    fresh.canvas.SetPictureSize(p.canvas.SizePixels());
    fresh.canvas.SetImage(scan.copy(0, 0, 900, 700));
    fresh.canvas.SetBackground(DisplayRgb(t.session.BackColor));
    ResetPicture(copy, fresh);
    RedrawTarget(copy, fresh);
    QCOMPARE(p.canvas.Image(), fresh.canvas.Image());
    // And with the calibration gone too, the scan itself, byte for byte.
    DrawCalMarkers(t.session, p);
    DrawAimMarker(p, p.AimMarkX, p.AimMarkY);
    QCOMPARE(p.canvas.FigureCount(), 0);
    QVERIFY(memcmp(p.canvas.Image().constBits(), scan.constBits(), size_t(scan.sizeInBytes())) ==
            0);
}

QTEST_MAIN(TestGraphEntry)
#include "test_graphentry.moc"
