#include "graph/picturebox.h"

#include "platform/screen.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
int ButtonCode(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}
int ShiftCode(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}
} // namespace

PictureBox::PictureBox(TargetCanvas &c, QWidget *parent) : QWidget(parent), canvas(c)
{
    setObjectName(QStringLiteral("Picture1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    FitToCanvas();
}

int PictureBox::CanvasPixel(int widgetPixel) const
{
    if (zoom == 1.0) return widgetPixel;
    return int(std::floor((widgetPixel + 0.5) / zoom));
}

QPointF PictureBox::ToPictureTwips(const QPointF &widgetPos) const
{
    // The pixel under the mouse, at its top-left corner: a press and the
    // figures it leaves meet on the same canvas pixel, the one shown there.
    const int x = CanvasPixel(int(std::floor(widgetPos.x())));
    const int y = CanvasPixel(int(std::floor(widgetPos.y())));
    return QPointF(double(x) * TwipsPerPixel, double(y) * TwipsPerPixel);
}

QRect PictureBox::ToWidgetRect(const QRect &px) const
{
    if (zoom == 1.0) return px;
    // Every widget pixel whose centre falls on one of these canvas pixels.
    return QRect(QPoint(int(std::floor(px.left() * zoom)), int(std::floor(px.top() * zoom))),
                 QPoint(int(std::ceil((px.right() + 1) * zoom)) - 1,
                        int(std::ceil((px.bottom() + 1) * zoom)) - 1));
}

void PictureBox::FitToCanvas()
{
    canvasSize = canvas.SizePixels();
    // The widget pixels whose centres lie on the canvas.
    const auto span = [this](int n) { return std::max(1, int(std::ceil(n * zoom - 0.5))); };
    resize(zoom == 1.0 ? canvasSize : QSize(span(canvasSize.width()), span(canvasSize.height())));
}

void PictureBox::SetZoom(double z)
{
    if (!(z > 0) || z == zoom) return;
    canvas.SetViewScale(z);
    zoom = z;
    FitToCanvas();
    update();
}

void PictureBox::CanvasChanged(const QRect &px)
{
    if (canvas.SizePixels() != canvasSize) {
        FitToCanvas();
        update();
        return;
    }
    const QRect r = ToWidgetRect(px).intersected(rect());
    if (!r.isEmpty()) update(r);
}

QRectF PictureBox::VisibleTwips() const
{
    const QWidget *parent = parentWidget();
    if (!parent) return QRectF();
    const QRect shown = QRect(-pos(), parent->size()).intersected(rect());
    if (shown.isEmpty()) return QRectF();
    const QPointF first = ToPictureTwips(shown.topLeft());
    const QPointF last = ToPictureTwips(shown.bottomRight());
    const double maxX = double(canvasSize.width() - 1) * TwipsPerPixel;
    const double maxY = double(canvasSize.height() - 1) * TwipsPerPixel;
    return QRectF(QPointF(std::clamp(first.x(), 0.0, maxX), std::clamp(first.y(), 0.0, maxY)),
                  QPointF(std::clamp(last.x(), 0.0, maxX), std::clamp(last.y(), 0.0, maxY)));
}

bool PictureBox::RepeatMouseMove()
{
    if (!mouseInside) return false;
    const QPointF t = ToPictureTwips(QPointF(mouseInParent - pos()));
    emit MouseMove(ButtonCode(QGuiApplication::mouseButtons()),
                   ShiftCode(QGuiApplication::keyboardModifiers()), float(t.x()), float(t.y()));
    return true;
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QImage &img = canvas.Image();
    const QColor back(canvas.Background());
    for (const QRect &dirty : event->region()) {
        const QRect r = dirty.intersected(rect());
        if (r.isEmpty()) continue;
        if (zoom == 1.0) {
            const QRect inside = r.intersected(img.rect());
            if (!inside.isEmpty()) p.drawImage(inside.topLeft(), img, inside);
            for (const QRect &o : QRegion(r).subtracted(inside)) p.fillRect(o, back);
            continue;
        }
        // Nearest canvas pixel for each widget pixel, the same rule as the
        // mouse conversion, so the pixel clicked is the pixel seen.
        if (tile.width() < r.width() || tile.height() < r.height())
            tile = QImage(std::max(tile.width(), r.width()), std::max(tile.height(), r.height()),
                          QImage::Format_RGB32);
        columns.resize(size_t(r.width()));
        const QRgb fill = back.rgb();
        for (int i = 0; i < r.width(); ++i) {
            const int cx = CanvasPixel(r.left() + i);
            columns[size_t(i)] = cx >= 0 && cx < img.width() ? cx : -1;
        }
        int lastRow = -2;
        for (int j = 0; j < r.height(); ++j) {
            QRgb *dst = reinterpret_cast<QRgb *>(tile.scanLine(j));
            const int cy = CanvasPixel(r.top() + j);
            if (cy == lastRow && j > 0) { // enlarged: the row above again
                std::memcpy(dst, tile.constScanLine(j - 1), size_t(r.width()) * sizeof(QRgb));
                continue;
            }
            lastRow = cy;
            if (cy < 0 || cy >= img.height()) {
                std::fill_n(dst, r.width(), fill);
                continue;
            }
            const QRgb *src = reinterpret_cast<const QRgb *>(img.constScanLine(cy));
            for (int i = 0; i < r.width(); ++i) {
                const int cx = columns[size_t(i)];
                dst[i] = cx >= 0 ? src[cx] : fill;
            }
        }
        p.drawImage(r.topLeft(), tile, QRect(0, 0, r.width(), r.height()));
    }
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    // The middle button moves the view (PictureView), it places nothing.
    if (event->button() == Qt::MiddleButton) {
        event->ignore();
        return;
    }
    const QPointF t = ToPictureTwips(event->position());
    emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), float(t.x()),
                   float(t.y()));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The press that began the double-click has placed its point already;
    // the widget's default would take the second half as one more press.
    if (event->button() == Qt::MiddleButton)
        event->ignore();
    else
        event->accept();
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    mouseInParent = mapToParent(event->position().toPoint());
    mouseInside = rect().contains(event->position().toPoint());
    const QPointF t = ToPictureTwips(event->position());
    emit MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()), float(t.x()),
                   float(t.y()));
}

void PictureBox::leaveEvent(QEvent *event)
{
    mouseInside = false;
    QWidget::leaveEvent(event);
}
