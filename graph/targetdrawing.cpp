#include "graph/targetdrawing.h"

#include "entry/keyboardentry.h"
#include "model/textnum.h"
#include "stats/groupstats.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float CalMarkerRadius = 25;
constexpr float ShotMarkerRadius = 25;
constexpr float AimHalfWidth = 10, AimHalfLength = 70;
constexpr float CentroidHalfSide = 30;
constexpr float HitTolerance = 0.2f;

void Message(Prompter &prompter, const char *text, const char *title, Icon icon = Icon::None)
{
    prompter.MsgBox(QString::fromLatin1(text), QString::fromLatin1(title), Buttons::Ok, icon);
}

void SetBold(Session &s, ToolButton bold)
{
    s.Toolbox.cmdEnterShot.bold = bold == ToolButton::EnterShot;
    s.Toolbox.cmdRemShot.bold = bold == ToolButton::RemoveShot;
    s.Toolbox.cmdCalImg.bold = bold == ToolButton::Calibrate;
    s.Toolbox.cmdAimPoint.bold = bold == ToolButton::AimPoint;
}

// The checks both shot tools make before they use the scale and aim point.
bool ShotToolReady(const Session &s, Prompter &prompter)
{
    const bool scaleUsable = IsCalibrated(s) || (!s.ImageCalibrated && s.ImageScale > 0);
    if (!scaleUsable && (s.ImageScale == 0 || s.ImageCalibrated || s.AimX != -1)) {
        Message(prompter, "Image Scale Not Calibrated", "Calibration", Icon::Exclamation);
        return false;
    }
    if (s.AimX == -1) {
        Message(prompter, "No Aim Point Selected", "Aim Point", Icon::Exclamation);
        return false;
    }
    if (!scaleUsable) {
        Message(prompter, "Image Scale Not Calibrated", "Calibration", Icon::Exclamation);
        return false;
    }
    return true;
}

// The limits keyboard entry keeps to: beyond them (an absurd calibration
// value) the statistics would overflow to inf or NaN.
bool WithinReach(float x, float y, Prompter &prompter)
{
    if (std::fabs(x) <= MaxShotOffset && std::fabs(y) <= MaxShotOffset) return true;
    Message(prompter, "X and Y must lie between -1000000 and 1000000.", "Enter Data");
    return false;
}

void MarkShot(Session &s, GraphPicture &p, qint32 n)
{
    const float px = (s.AimX + s.ShotX[n]) / s.ImageScale;
    const float py = (s.AimY - s.ShotY[n]) / s.ImageScale;
    DrawShotMarker(p, px, py);
    p.ShotMarkX[n] = px;
    p.ShotMarkY[n] = py;
    p.ShotMarkDrawn[n] = true;
}

void PlaceAxes(Session &s, GraphPicture &p, float x, float y)
{
    DrawAxes(p, x, y);
    p.AxesX = x;
    p.AxesY = y;
    s.AxesDrawn = true;
}

void EraseAxes(Session &s, GraphPicture &p)
{
    if (s.AxesDrawn) DrawAxes(p, p.AxesX, p.AxesY);
    s.AxesDrawn = false;
}

void EraseBand(Session &s, GraphPicture &p)
{
    if (p.BandDrawn) DrawCalLine(p, s.CalPoint1X, s.CalPoint1Y, p.BandX, p.BandY);
    p.BandDrawn = false;
}

void EnterShot(Session &s, GraphPicture &p, Prompter &prompter, float X, float Y)
{
    if (!ShotToolReady(s, prompter)) return;
    s.Toolbox.cmdRemShot.enabled = true;
    if (s.ShotCount >= ShotCapacity) {
        Message(prompter,
                "You have entered the maximum number of shots...no additional shots can be entered",
                "Enter Data");
        return;
    }
    const float x = s.ImageScale * X - s.AimX, y = -(s.ImageScale * Y - s.AimY);
    if (!WithinReach(x, y, prompter)) return;
    const qint32 n = ++s.ShotCount;
    s.ShotX[n] = x;
    s.ShotY[n] = y;
    s.ShotR[n] = RadialDistance(x, y);
    MarkShot(s, p, n);
    if (s.ShotCount > 1) ComputeGroupStats(s);
    DrawCentroidMarker(s, p);
}

void RemoveShotAt(Session &s, GraphPicture &p, Prompter &prompter, float X, float Y)
{
    if (s.ShotCount <= 0) {
        Message(prompter, "There are no Shots to Remove from Data Set", "Remove Shots",
                Icon::Exclamation);
        return;
    }
    if (!ShotToolReady(s, prompter)) return;
    const float cx = s.ImageScale * X - s.AimX;
    const float cy = -(s.ImageScale * Y - s.AimY);
    float best = 100.0f;
    qint32 k = 0;
    const qint32 count = std::min(s.ShotCount, ShotCapacity);
    for (qint32 i = 1; i <= count; ++i) {
        const float dy = cy - s.ShotY[i], dx = cx - s.ShotX[i];
        const float d = std::sqrt(dy * dy + dx * dx);
        if (d < best) {
            best = d;
            k = i;
        }
    }
    if (k == 0 || best > HitTolerance) {
        Message(prompter, "This is not a point you have entered", "Remove Point");
        return;
    }
    if (p.ShotMarkDrawn[k]) DrawShotMarker(p, p.ShotMarkX[k], p.ShotMarkY[k]);
    for (qint32 i = k; i < count; ++i) {
        p.ShotMarkX[i] = p.ShotMarkX[i + 1];
        p.ShotMarkY[i] = p.ShotMarkY[i + 1];
        p.ShotMarkDrawn[i] = p.ShotMarkDrawn[i + 1];
    }
    p.ShotMarkDrawn[count] = false;
    if (s.ShotCount == 2) EraseCentroidMarker(s, p);
    RemoveShot(s, k);
    if (s.ShotCount > 1) DrawCentroidMarker(s, p);
}

void Calibrate(Session &s, GraphPicture &p, Prompter &prompter, float X, float Y)
{
    if (!p.FirstCalPointSet) {
        if (s.CalMarkersDrawn) DrawCalMarkers(s, p); // drawn again, they vanish
        s.CalMarkersDrawn = false;
        s.CalPoint1X = X;
        s.CalPoint1Y = Y;
        DrawCalPointMarker(p, X, Y);
        p.FirstCalPointSet = true;
        p.BandDrawn = false;
        return;
    }
    s.CalPoint2X = X;
    s.CalPoint2Y = Y;
    DrawCalPointMarker(p, X, Y);
    const float dy = s.CalPoint2Y - s.CalPoint1Y, dx = s.CalPoint1X - s.CalPoint2X;
    s.CalLength = std::sqrt(dy * dy + dx * dx);
    if (s.CalLength == 0) {
        // The second circle lies on the first; drawing it again brings the
        // first one back for the retry.
        DrawCalPointMarker(p, X, Y);
        Message(prompter, "Your Length to Calibrate is Zero...Please Retry", "Calibration Error");
        return;
    }
    // The rubber band becomes the calibration line, ending where the press was.
    if (p.BandDrawn && (p.BandX != X || p.BandY != Y)) EraseBand(s, p);
    if (!p.BandDrawn) DrawCalLine(p, s.CalPoint1X, s.CalPoint1Y, X, Y);
    p.BandDrawn = false;
    s.CalMarkersDrawn = true;
    const auto answer = prompter.InputBox(QStringLiteral("Enter Calibration Value:"),
                                          QStringLiteral("Calibration"), QStringLiteral("1"));
    s.CalDistance = float(Val(answer.value_or(QString())));
    const float scale = s.CalDistance / s.CalLength;
    // A negative or overflowing distance gives no usable scale either.
    if (!(s.CalDistance > 0) || !std::isfinite(scale) || !(scale > 0)) {
        Message(prompter, "You did not enter a calibration value...Please Recalibrate",
                "Calibration Error");
        p.FirstCalPointSet = false;
        return;
    }
    s.ImageScale = scale;
    p.FirstCalPointSet = false;
    s.Toolbox.cmdAimPoint.enabled = true;
    s.Toolbox.cmdAimPoint.bold = true;
    s.Toolbox.cmdCalImg.bold = false;
    s.ToolMode = Tool::AimPoint;
    s.ImageCalibrated = true;
}

void SetAimPoint(Session &s, GraphPicture &p, Prompter &prompter, float X, float Y)
{
    if (!IsCalibrated(s)) {
        Message(prompter, "Image Scale Not Calibrated", "Calibration", Icon::Exclamation);
        return;
    }
    if (!WithinReach(s.ImageScale * X, s.ImageScale * Y, prompter)) return;
    EraseAxes(s, p);
    if (p.AimMarkDrawn) DrawAimMarker(p, p.AimMarkX, p.AimMarkY);
    s.AimX = s.ImageScale * X;
    s.AimY = s.ImageScale * Y;
    DrawAimMarker(p, X, Y);
    p.AimMarkDrawn = true;
    p.AimMarkX = X;
    p.AimMarkY = Y;
    if (s.ShowAxes) PlaceAxes(s, p, X, Y);
    s.Toolbox.cmdEnterShot.enabled = true;
    s.Toolbox.cmdEnterShot.bold = true;
    s.Toolbox.cmdAimPoint.bold = false;
    s.ToolMode = Tool::EnterShot;
}
} // namespace

QRgb OverlayRgb() { return DisplayRgb(ButtonFaceColor); }
QRgb CentroidPenRgb() { return DisplayRgb(255); }

bool IsCalibrated(const Session &s)
{
    return s.ImageCalibrated && s.ImageScale > 0 && std::isfinite(s.ImageScale);
}

void DrawCalPointMarker(GraphPicture &p, float x, float y)
{
    p.canvas.XorCircle(x, y, CalMarkerRadius, OverlayRgb());
}

void DrawCalLine(GraphPicture &p, float x1, float y1, float x2, float y2)
{
    p.canvas.XorLine(x1, y1, x2, y2, OverlayRgb());
}

void DrawCalMarkers(Session &s, GraphPicture &p)
{
    DrawCalPointMarker(p, s.CalPoint1X, s.CalPoint1Y);
    DrawCalPointMarker(p, s.CalPoint2X, s.CalPoint2Y);
    DrawCalLine(p, s.CalPoint1X, s.CalPoint1Y, s.CalPoint2X, s.CalPoint2Y);
    s.CalMarkersDrawn = !s.CalMarkersDrawn;
}

void DrawAimMarker(GraphPicture &p, float ax, float ay)
{
    p.canvas.XorFilledBox(ax - AimHalfWidth, ay - AimHalfLength, ax + AimHalfWidth,
                          ay + AimHalfLength, OverlayRgb());
    p.canvas.XorFilledBox(ax - AimHalfLength, ay - AimHalfWidth, ax + AimHalfLength,
                          ay + AimHalfWidth, OverlayRgb());
}

void DrawAxes(GraphPicture &p, float ax, float ay)
{
    p.canvas.XorLine(ax, 0, ax, p.canvas.HeightTwips(), OverlayRgb());
    p.canvas.XorLine(0, ay, p.canvas.WidthTwips(), ay, OverlayRgb());
}

void DrawShotMarker(GraphPicture &p, float x, float y)
{
    p.canvas.XorCircle(x, y, ShotMarkerRadius, OverlayRgb());
}

void DrawCentroidBox(GraphPicture &p, float cx, float cy)
{
    p.canvas.XorBox(cx - CentroidHalfSide, cy - CentroidHalfSide, cx + CentroidHalfSide,
                    cy + CentroidHalfSide, OverlayRgb(), CentroidPenRgb());
}

void DrawCursorLines(GraphPicture &p, float x, float y)
{
    const QRectF &span = p.CursorSpan;
    if (span.isNull()) {
        p.canvas.XorLine(0, y, p.canvas.WidthTwips(), y, OverlayRgb());
        p.canvas.XorLine(x, 0, x, p.canvas.HeightTwips(), OverlayRgb());
    } else {
        // Only across the part shown: a move costs the same on any image size.
        p.canvas.XorLine(float(span.left()), y, float(span.right()), y, OverlayRgb());
        p.canvas.XorLine(x, float(span.top()), x, float(span.bottom()), OverlayRgb());
    }
}

void ResetPicture(Session &s, GraphPicture &p)
{
    p.canvas.Reset();
    s.AxesDrawn = s.CentroidDrawn = s.CursorLinesDrawn = false;
    s.CalMarkersDrawn = false;
    p.FirstCalPointSet = false;
    p.BandDrawn = false;
    p.AimMarkDrawn = false;
    p.ShotMarkDrawn.fill(false);
}

void RedrawTarget(Session &s, GraphPicture &p)
{
    const bool calibrated = IsCalibrated(s);
    const bool aimSet = s.AimX != -1;
    if (!calibrated) {
        s.Toolbox.cmdCalImg.bold = true;
        s.Toolbox.cmdAimPoint.enabled = false;
        s.Toolbox.cmdEnterShot.enabled = false;
        s.ToolMode = Tool::Calibrate;
    } else if (!aimSet) {
        s.Toolbox.cmdCalImg.bold = false;
        s.Toolbox.cmdAimPoint.bold = true;
        s.Toolbox.cmdEnterShot.enabled = false;
        s.ToolMode = Tool::AimPoint;
        if (!s.CalMarkersDrawn) DrawCalMarkers(s, p);
    } else {
        s.Toolbox.cmdCalImg.bold = false;
        s.Toolbox.cmdAimPoint.bold = false;
        s.Toolbox.cmdEnterShot.enabled = true;
        s.Toolbox.cmdEnterShot.bold = true;
        s.ToolMode = Tool::EnterShot;
        if (!s.CalMarkersDrawn) DrawCalMarkers(s, p);
        const float ax = s.AimX / s.ImageScale, ay = s.AimY / s.ImageScale;
        if (!p.AimMarkDrawn) {
            DrawAimMarker(p, ax, ay);
            p.AimMarkDrawn = true;
            p.AimMarkX = ax;
            p.AimMarkY = ay;
        }
        if (s.ShowAxes && !s.AxesDrawn) PlaceAxes(s, p, ax, ay);
    }
    if (aimSet && s.ShotCount >= 1 && calibrated) {
        s.Toolbox.cmdRemShot.enabled = true;
        const qint32 count = std::min(s.ShotCount, ShotCapacity);
        for (qint32 i = 1; i <= count; ++i)
            if (!p.ShotMarkDrawn[i]) MarkShot(s, p, i);
        DrawCentroidMarker(s, p);
    } else {
        s.Toolbox.cmdRemShot.enabled = false;
    }
}

void DrawCentroidMarker(Session &s, GraphPicture &p)
{
    if (!s.ShowCentroid || s.ShotCount < 2 || !IsCalibrated(s)) return;
    if (s.CentroidDrawn) DrawCentroidBox(p, s.CentroidMarkX, s.CentroidMarkY);
    s.CentroidMarkX = s.GroupCenterX / s.ImageScale;
    s.CentroidMarkY = s.GroupCenterY / s.ImageScale;
    DrawCentroidBox(p, s.CentroidMarkX, s.CentroidMarkY);
    s.CentroidDrawn = true;
}

void EraseCentroidMarker(Session &s, GraphPicture &p)
{
    // Erased where it was drawn, whatever the scale is now.
    if (s.CentroidDrawn) DrawCentroidBox(p, s.CentroidMarkX, s.CentroidMarkY);
    s.CentroidDrawn = false;
}

void Picture1_MouseDown(Session &s, GraphPicture &p, Prompter &prompter, float X, float Y)
{
    s.StatsSaved = false;
    switch (s.ToolMode) {
    case Tool::EnterShot:
        EnterShot(s, p, prompter, X, Y);
        break;
    case Tool::RemoveShot:
        RemoveShotAt(s, p, prompter, X, Y);
        break;
    case Tool::Calibrate:
        Calibrate(s, p, prompter, X, Y);
        break;
    case Tool::AimPoint:
        SetAimPoint(s, p, prompter, X, Y);
        break;
    default:
        break;
    }
}

void Picture1_MouseMove(Session &s, GraphPicture &p, float X, float Y)
{
    if (s.FullScreenCursor) {
        if (s.CursorLinesDrawn) DrawCursorLines(p, s.CursorLinesX, s.CursorLinesY);
        p.CursorSpan = p.VisibleTwips;
        DrawCursorLines(p, X, Y);
        s.CursorLinesX = X;
        s.CursorLinesY = Y;
        s.CursorLinesDrawn = true;
    }
    if (s.ToolMode == Tool::Calibrate && p.FirstCalPointSet) {
        EraseBand(s, p);
        DrawCalLine(p, s.CalPoint1X, s.CalPoint1Y, X, Y);
        p.BandDrawn = true;
        p.BandX = X;
        p.BandY = Y;
    }
    p.LastMouseX = X;
    p.LastMouseY = Y;
}

void ShowVisibleArea(Session &s, GraphPicture &p, const QRectF &visibleTwips)
{
    p.VisibleTwips = visibleTwips;
    if (!s.CursorLinesDrawn || p.CursorSpan == visibleTwips) return;
    DrawCursorLines(p, s.CursorLinesX, s.CursorLinesY);
    p.CursorSpan = visibleTwips;
    DrawCursorLines(p, s.CursorLinesX, s.CursorLinesY);
}

void ToggleFullScreenCursor(Session &s, GraphPicture &p)
{
    if (s.FullScreenCursor) {
        s.FullScreenCursor = false;
        if (s.CursorLinesDrawn) DrawCursorLines(p, s.CursorLinesX, s.CursorLinesY);
        s.CursorLinesDrawn = false;
        s.CursorLinesX = -1;
        s.CursorLinesY = -1;
    } else {
        s.FullScreenCursor = true;
    }
}

void ToggleCentroid(Session &s, GraphPicture &p)
{
    if (!s.ShowCentroid) {
        s.ShowCentroid = true;
        DrawCentroidMarker(s, p);
    } else {
        s.ShowCentroid = false;
        EraseCentroidMarker(s, p);
    }
}

void ToggleAxes(Session &s, GraphPicture &p)
{
    if (s.ShowAxes) {
        EraseAxes(s, p);
        s.ShowAxes = false;
    } else {
        if (s.AimX != -1 && IsCalibrated(s) && !s.AxesDrawn)
            PlaceAxes(s, p, s.AimX / s.ImageScale, s.AimY / s.ImageScale);
        s.ShowAxes = true;
    }
}

void ChangeBackColor(Session &s, GraphPicture &p, qint32 color)
{
    p.canvas.SetBackground(DisplayRgb(color));
    ResetPicture(s, p);
    RedrawTarget(s, p);
    s.BackColor = color;
}

void ChooseTool(Session &s, ToolButton button)
{
    SetBold(s, button);
    switch (button) {
    case ToolButton::Calibrate:
        s.ToolMode = Tool::Calibrate;
        break;
    case ToolButton::AimPoint:
        s.ToolMode = Tool::AimPoint;
        break;
    case ToolButton::EnterShot:
        s.ToolMode = s.GraphicalEntryActive ? Tool::EnterShot : Tool::None;
        break;
    case ToolButton::RemoveShot:
        if (s.GraphicalEntryActive) s.ToolMode = Tool::RemoveShot;
        break;
    }
}

bool LoadPictureFromSession(Session &s, GraphPicture &p, Prompter &prompter)
{
    bool ok = true;
    p.canvas.SetBackground(DisplayRgb(s.BackColor));
    if (!s.ImagePath.isEmpty() && p.canvas.HoldsFile(s.ImagePath)) {
        // Already on the picture: the figures are wiped below, no new decode.
    } else if (!s.ImagePath.isEmpty()) {
        QString why;
        bool incomplete = false;
        if (!p.canvas.LoadImage(s.ImagePath, &why, &incomplete)) {
            ok = false;
            prompter.MsgBox(QStringLiteral("The target image could not be loaded:") +
                                QLatin1Char('\r') + s.ImagePath + QLatin1Char('\r') + why,
                            QStringLiteral("Target Image"), Buttons::Ok, Icon::Exclamation);
        } else if (incomplete) {
            // What decoded stays on the picture, under the shots; the user is told.
            ok = false;
            prompter.MsgBox(QStringLiteral("The target image is damaged or incomplete: ") +
                                s.ImagePath,
                            QStringLiteral("Target Image"), Buttons::Ok, Icon::Exclamation);
        }
    } else {
        p.canvas.ClearImage();
    }
    ResetPicture(s, p);
    RedrawTarget(s, p);
    return ok;
}
