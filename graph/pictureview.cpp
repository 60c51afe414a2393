#include "graph/pictureview.h"

#include "graph/picturebox.h"
#include "graph/targetcanvas.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr std::array<double, 17> Steps = {0.05,    1.0 / 15, 0.1,     0.125, 1.0 / 6, 0.25,
                                          1.0 / 3, 0.5,      2.0 / 3, 1.0,   1.5,     2.0,
                                          3.0,     4.0,      5.0,     6.0,   8.0};
}

PictureView::PictureView(TargetCanvas &c, QWidget *parent)
    : QScrollArea(parent), canvas(c), box(new PictureBox(c))
{
    setObjectName(QStringLiteral("PictureView"));
    setWidgetResizable(false);
    // A picture smaller than the view sits in its middle.
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    setWidget(box);
    box->installEventFilter(this);
    viewport()->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &PictureView::Moved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &PictureView::Moved);
}

double PictureView::Zoom() const { return box->Zoom(); }

QString PictureView::ZoomText(double zoom)
{
    const double percent = zoom * 100;
    return QString::number(percent, 'f', std::fabs(percent - std::round(percent)) < 0.05 ? 0 : 1) +
           QStringLiteral(" %");
}

double PictureView::NextStep(double zoom, int direction)
{
    if (direction > 0) {
        for (double s : Steps)
            if (s > zoom * 1.001) return s;
        return MaxZoom;
    }
    for (auto it = Steps.rbegin(); it != Steps.rend(); ++it)
        if (*it < zoom / 1.001) return *it;
    return MinZoom;
}

QPoint PictureView::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void PictureView::ScrollTo(QPoint picturePixel, QPoint viewportPixel)
{
    horizontalScrollBar()->setValue(picturePixel.x() - viewportPixel.x());
    verticalScrollBar()->setValue(picturePixel.y() - viewportPixel.y());
}

void PictureView::SetZoom(double zoom, QPoint anchor)
{
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    const double old = box->Zoom();
    if (zoom == old) return;
    // The canvas point under the anchor, in canvas pixels, wherever the
    // picture sits (scrolled, or centred while smaller than the view).
    const QPointF at = QPointF(anchor - box->pos()) / old;
    box->SetZoom(zoom);
    // Visible widgets get their resize event at once; the scroll bars follow it.
    if (!box->isVisible()) QCoreApplication::sendPostedEvents(box, QEvent::Resize);
    const QPointF target = at * zoom - QPointF(anchor);
    {
        // One move report for the whole step, not one per scroll bar.
        const QSignalBlocker h(horizontalScrollBar()), v(verticalScrollBar());
        horizontalScrollBar()->setValue(int(std::lround(target.x())));
        verticalScrollBar()->setValue(int(std::lround(target.y())));
    }
    // The blocked bars did not move the picture: place it as they say.
    PlacePicture();
    emit ZoomChanged(zoom);
    Moved();
}

void PictureView::SetZoom(double zoom)
{
    SetZoom(zoom, QPoint(viewport()->width() / 2, viewport()->height() / 2));
}

void PictureView::ZoomIn(QPoint anchor) { SetZoom(NextStep(Zoom(), 1), anchor); }
void PictureView::ZoomOut(QPoint anchor) { SetZoom(NextStep(Zoom(), -1), anchor); }
void PictureView::ZoomIn() { SetZoom(NextStep(Zoom(), 1)); }
void PictureView::ZoomOut() { SetZoom(NextStep(Zoom(), -1)); }

void PictureView::FitToWindow()
{
    const QSize whole = canvas.HasImage() ? canvas.ImageSize() : canvas.SizePixels();
    // The room with no scroll bars, since a picture that fits needs none.
    const QSize room = maximumViewportSize();
    if (whole.isEmpty() || room.isEmpty()) return;
    const double fit =
        std::min(double(room.width()) / whole.width(), double(room.height()) / whole.height());
    // A hair under the exact fit, so rounding never brings back a scroll bar.
    SetZoom(std::floor(fit * 1000) / 1000, QPoint(0, 0));
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    PlacePicture();
}

void PictureView::PlacePicture()
{
    // As the scroll area places it: centred along a side shorter than the
    // view, else where the scroll bar stands.
    const QSize view = viewport()->size(), pic = box->size();
    box->move(pic.width() < view.width() ? (view.width() - pic.width()) / 2
                                         : -horizontalScrollBar()->value(),
              pic.height() < view.height() ? (view.height() - pic.height()) / 2
                                           : -verticalScrollBar()->value());
}

void PictureView::Moved()
{
    emit ViewMoved();
    box->RepeatMouseMove();
}

void PictureView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    Moved();
}

void PictureView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(event);
        return;
    }
    wheelRest += event->angleDelta().y();
    const int steps = wheelRest / 120;
    wheelRest -= steps * 120;
    const QPoint anchor = viewport()->mapFromGlobal(event->globalPosition()).toPoint();
    for (int i = 0; i < std::abs(steps); ++i) steps > 0 ? ZoomIn(anchor) : ZoomOut(anchor);
    event->accept();
}

bool PictureView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Wheel:
        // Straight to the view, whoever sent it: Qt passes only the
        // desktop's own wheel events on to the parent.
        if (watched != box) break;
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::MiddleButton) break;
        panning = true;
        panStart = e->globalPosition().toPoint();
        panScroll = ScrollOffset();
        viewport()->setCursor(Qt::ClosedHandCursor);
        box->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    case QEvent::MouseMove: {
        if (!panning) break;
        auto *e = static_cast<QMouseEvent *>(event);
        const QPoint global = e->globalPosition().toPoint();
        box->MouseAt(viewport()->mapFromGlobal(global));
        const QPoint moved = global - panStart;
        horizontalScrollBar()->setValue(panScroll.x() - moved.x());
        verticalScrollBar()->setValue(panScroll.y() - moved.y());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (!panning || e->button() != Qt::MiddleButton) break;
        panning = false;
        viewport()->unsetCursor();
        box->setCursor(Qt::CrossCursor);
        return true;
    }
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}
