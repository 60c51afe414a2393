#pragma once
// The picture area of the graphical entry window: shows the target canvas at
// the window's zoom and turns mouse positions into picture twips. Every
// conversion between widget positions and the canvas lives here; the widget
// is as large as the zoomed canvas and scrolls inside a PictureView.
#include "graph/targetcanvas.h"

#include <QImage>
#include <QWidget>
#include <vector>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(TargetCanvas &canvas, QWidget *parent = nullptr);

    // A widget position (pixels) as picture twips: the top-left corner of the
    // canvas pixel shown under it.
    QPointF ToPictureTwips(const QPointF &widgetPos) const;
    // Canvas pixels as the widget rectangle that shows them.
    QRect ToWidgetRect(const QRect &canvasPixels) const;
    // Asks for a repaint of the canvas pixels that changed.
    void CanvasChanged(const QRect &canvasPixels);

    // Screen pixels per canvas pixel. Resizes the widget; the figures on the
    // canvas are drawn again to suit (TargetCanvas::SetViewScale).
    void SetZoom(double zoom);
    double Zoom() const { return zoom; }
    // The canvas, picture twips, of the part of this widget its parent shows.
    QRectF VisibleTwips() const;
    // The mouse stood still while the picture moved under it: tells of a move
    // to the picture point now under it. False when the mouse is elsewhere.
    bool RepeatMouseMove();
    // The mouse is at this point of the parent (a drag the view handles).
    void MouseAt(QPoint inParent)
    {
        mouseInParent = inParent;
        mouseInside = true;
    }

signals:
    // Button and shift codes as the desktop reports them; positions in twips.
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void FitToCanvas();
    // The canvas pixel a widget pixel shows: the one under its centre.
    int CanvasPixel(int widgetPixel) const;

    TargetCanvas &canvas;
    double zoom = 1.0; // widget pixels per canvas pixel
    QSize canvasSize;
    // Where the mouse was last seen, in the parent's coordinates.
    QPoint mouseInParent;
    bool mouseInside = false;
    // Reused for painting at a zoom, so a repaint allocates nothing.
    QImage tile;
    std::vector<int> columns;
};
