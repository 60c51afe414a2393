#pragma once
// The scrolled, zoomed view of the target picture in the graphical entry
// window: scroll bars, the wheel, middle-button dragging, and zoom from 5 %
// to 800 % around a point of the view. What the picture shows and how mouse
// positions become picture twips stays with PictureBox.
#include <QScrollArea>

class PictureBox;
class TargetCanvas;

class PictureView : public QScrollArea {
    Q_OBJECT
public:
    PictureView(TargetCanvas &canvas, QWidget *parent = nullptr);

    PictureBox *Picture() const { return box; }

    static constexpr double MinZoom = 0.05, MaxZoom = 8.0;
    double Zoom() const;
    // The zoom, within 5 % to 800 %, keeping the picture point at `anchor`
    // (viewport pixels) where it is; without one, the centre of the view.
    void SetZoom(double zoom, QPoint anchor);
    void SetZoom(double zoom);
    // The next zoom step up or down from the current zoom.
    void ZoomIn(QPoint anchor);
    void ZoomOut(QPoint anchor);
    void ZoomIn();
    void ZoomOut();
    // The largest zoom that shows the whole image (the whole picture when
    // there is none) without scrolling, centred in the view.
    void FitToWindow();
    // Scrolls so that this viewport pixel shows this widget pixel of the picture.
    void ScrollTo(QPoint picturePixel, QPoint viewportPixel);
    QPoint ScrollOffset() const;

    // "100 %" and the like.
    static QString ZoomText(double zoom);
    static double NextStep(double zoom, int direction);

signals:
    void ZoomChanged(double zoom);
    // The part of the picture shown changed: scrolled, zoomed or resized.
    void ViewMoved();

protected:
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Moved();
    void PlacePicture();
    TargetCanvas &canvas;
    PictureBox *box;
    bool panning = false;
    QPoint panStart, panScroll;
    int wheelRest = 0; // high-resolution wheels send parts of a step
};
