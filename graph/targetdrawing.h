#pragma once
// What the graphical entry draws over the target, and the mouse and toolbox
// steps that change the group, as plain functions over the session and the
// picture. The windows only route events here and mirror the toolbox state.
#include "graph/targetcanvas.h"
#include "model/session.h"
#include "platform/prompter.h"

#include <QRectF>
#include <array>

// The picture of the graphical entry window with the values that live as
// long as the window does.
struct GraphPicture {
    TargetCanvas canvas;
    bool FirstCalPointSet = false;
    float LastMouseX = -1, LastMouseY = 0;
    // The rubber band on the picture and where it ends; kept apart from the
    // last mouse position so moves with other tools cannot misplace its erase.
    bool BandDrawn = false;
    float BandX = 0, BandY = 0;
    // Where each shot's marker was drawn, so it is erased where it is even
    // after a new aim point or scale.
    std::array<float, ShotCapacity + 1> ShotMarkX{}, ShotMarkY{};
    std::array<bool, ShotCapacity + 1> ShotMarkDrawn{};
    // The same for the aim point marker and the axes.
    bool AimMarkDrawn = false;
    float AimMarkX = 0, AimMarkY = 0;
    float AxesX = 0, AxesY = 0;
    // The part of the picture the window shows (picture twips, corners on the
    // first and last pixel shown); empty: all of it. The cursor lines span it,
    // and CursorSpan is where the lines on the picture were drawn, so they are
    // erased there even after a scroll.
    QRectF VisibleTwips, CursorSpan;
};

// The colour every figure but the centroid outline is drawn in.
QRgb OverlayRgb();
// 255 as 0x00BBGGRR: pure red.
QRgb CentroidPenRgb();

// The image has a scale that can be divided by. A damaged file can claim a
// calibration with a scale of 0 or below; it counts as not calibrated.
bool IsCalibrated(const Session &s);

// The figures, each toggled by drawing it.
void DrawCalPointMarker(GraphPicture &p, float x, float y);
void DrawCalLine(GraphPicture &p, float x1, float y1, float x2, float y2);
void DrawCalMarkers(Session &s, GraphPicture &p); // circle 1, circle 2, line
void DrawAimMarker(GraphPicture &p, float ax, float ay);
void DrawAxes(GraphPicture &p, float ax, float ay);
void DrawShotMarker(GraphPicture &p, float x, float y);
void DrawCentroidBox(GraphPicture &p, float cx, float cy);
void DrawCursorLines(GraphPicture &p, float x, float y);

// Wipes every figure (after the image or background changed) and clears the
// flags that follow them. A calibration in progress ends with it.
void ResetPicture(Session &s, GraphPicture &p);
void RedrawTarget(Session &s, GraphPicture &p);
void DrawCentroidMarker(Session &s, GraphPicture &p);
void EraseCentroidMarker(Session &s, GraphPicture &p);

// Mouse events on the picture; X, Y in picture twips. Buttons and shift keys
// make no difference.
void Picture1_MouseDown(Session &s, GraphPicture &p, Prompter &prompter, float X, float Y);
void Picture1_MouseMove(Session &s, GraphPicture &p, float X, float Y);
// The window scrolled or zoomed: cursor lines on the picture are drawn again
// across the part now shown.
void ShowVisibleArea(Session &s, GraphPicture &p, const QRectF &visibleTwips);

// The options of the window's Options menu.
void ToggleFullScreenCursor(Session &s, GraphPicture &p);
void ToggleCentroid(Session &s, GraphPicture &p);
void ToggleAxes(Session &s, GraphPicture &p);
// A new background colour value: the figures are drawn again over it.
void ChangeBackColor(Session &s, GraphPicture &p, qint32 color);

// The toolbox's four tool buttons.
enum class ToolButton { EnterShot, RemoveShot, Calibrate, AimPoint };
void ChooseTool(Session &s, ToolButton button);
// "Del Shot" while keyboard entry is the active entry: asks for the number.
// True when a shot was removed.
bool RemoveShotByNumber(Session &s, Prompter &prompter);

// Loads ImagePath into the picture (or empties it), then draws the figures
// (imaging/targetimage.cpp). False, with the message shown, when the image
// could not be loaded, the picture then empty, or loaded only in part, that
// part shown; the session is unchanged either way.
bool LoadPictureFromSession(Session &s, GraphPicture &p, Prompter &prompter);
