#pragma once
// The picture area of the graphical entry window: shows the target canvas and
// turns mouse positions into picture twips. Every conversion between widget
// positions and the canvas lives here, so a scrolled or zoomed view only has
// to change these two functions.
#include "graph/targetcanvas.h"

#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(TargetCanvas &canvas, QWidget *parent = nullptr);

    // A widget position (pixels) as picture twips.
    QPointF ToPictureTwips(const QPointF &widgetPos) const;
    // Canvas pixels as the widget rectangle that shows them.
    QRect ToWidgetRect(const QRect &canvasPixels) const;
    // Asks for a repaint of the canvas pixels that changed.
    void CanvasChanged(const QRect &canvasPixels);

signals:
    // Button and shift codes as the desktop reports them; positions in twips.
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    TargetCanvas &canvas;
    double zoom = 1.0; // widget pixels per canvas pixel
};
