#pragma once
// What the graphical entry suites share: a session and picture without the
// window, the window opened on a generated target, and clicks at any zoom.
#include "graph/frmgraphenter.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "graph/targetdrawing.h"
#include "graphtestimages.h"
#include "testsupport.h"

#include <QtTest>
#include <cmath>

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

inline frmGraphEnter *OpenWindow(TestApp &t, const QString &imagePath)
{
    t.session.HeaderEntered = true;
    t.session.ImagePath = imagePath;
    t.app->ViewGraphicalEntry();
    return t.app->GraphEnter();
}

inline QString WriteTarget(const QTemporaryDir &dir, int w = 600, int h = 400)
{
    const QString path = dir.filePath(QStringLiteral("target.png"));
    TargetImage(w, h).save(path, "PNG");
    return path;
}
// The widget pixel of the picture that shows canvas pixel `px` at this zoom
// (the nearest-pixel rule the picture paints with).
inline QPoint WidgetPixelShowing(const PictureBox *pic, QPoint px)
{
    const auto one = [&](int c) {
        for (int w = int(std::floor(c * pic->Zoom())) - 1;; ++w)
            if (std::floor((w + 0.5) / pic->Zoom()) >= c) return w;
    };
    return QPoint(one(px.x()), one(px.y()));
}

// Clicks (or moves to) canvas pixel `px` the way a user would at the window's
// zoom: scrolled so that it shows at viewport position `at`.
inline QPoint BringToView(frmGraphEnter *w, QPoint px, QPoint at)
{
    const QPoint wp = WidgetPixelShowing(w->Picture1, px);
    w->View->ScrollTo(wp, at);
    return wp; // in the picture's own coordinates, wherever it scrolled to
}

inline void ClickPixel(frmGraphEnter *w, QPoint px, QPoint at = QPoint(300, 200))
{
    QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, BringToView(w, px, at));
}

inline QImage ShownImage(frmGraphEnter *w) { return w->View->viewport()->grab().toImage(); }
