#pragma once
// The picture area of the graphical entry window: shows the target canvas at
// the window's zoom and turns mouse positions into picture twips. Every
// conversion between widget positions and the canvas lives here; the widget
// is as large as the zoomed canvas and scrolls inside a PictureView.
#include "graph/graphguide.h"
#include "graph/targetcanvas.h"

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <vector>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(TargetCanvas &canvas, QWidget *parent = nullptr);
    ~PictureBox() override;

    // A widget position (pixels) as picture twips: the top-left corner of the
    // canvas pixel shown under it.
    QPointF ToPictureTwips(const QPointF &widgetPos) const;
    // Canvas pixels as the widget rectangle that shows them.
    QRect ToWidgetRect(const QRect &canvasPixels) const;
    // Asks for a repaint of the canvas pixels that changed.
    void CanvasChanged(const QRect &canvasPixels);
    // Shot numbers and calibration rings drawn over the picture.
    void SetNotes(const PictureNotes &notes);
    const PictureNotes &Notes() const { return notes; }
    // Below 100 % the picture shows each screen pixel as the average of the
    // image pixels under it (else the nearest one): kept in a cache for the
    // zoom, brought up to date only where the canvas changed and is shown.
    bool Smooth() const { return zoom < 1 && !smooth.isNull(); }

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
    void PaintNearest(QPainter &p, const QRect &r);
    // Averages the canvas into the cache for these widget pixels.
    void SmoothRect(const QRect &r);
    // Cells wholly toggled with the overlay colour swap their two averages.
    void CanvasXored(const QRect &canvasPixels, QRgb bits);
    void ResetSmooth();
    void PaintNotes(QPainter &p, const QRect &dirty);
    // The widget rectangles the notes cover.
    QRegion NotesRegion() const;
    // Where a note at this picture point is drawn on the widget.
    QPoint NoteAt(QPointF twips) const;
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
    // The averaged picture at this zoom, the part of it out of date, and the
    // first canvas column and row of each widget column and row.
    QImage smooth;
    QRegion smoothStale;
    // Beside it, while the cells are two pixels or more, the average of the
    // same cells toggled with the overlay colour: a level or upright line
    // (the cursor lines) is then drawn by swapping the two, reading nothing.
    QImage toggled;
    QRgb toggleBits = 0;
    QRegion swapped; // cells swapped since the last change report
    std::vector<int> cellX, cellY;
    std::vector<quint32> sums;
    PictureNotes notes;
};
