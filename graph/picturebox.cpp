#include "graph/picturebox.h"

#include "platform/screen.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

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
}

QPointF PictureBox::ToPictureTwips(const QPointF &widgetPos) const
{
    // The pixel under the mouse, at its top-left corner: a press and the
    // figures it leaves meet on the same canvas pixel.
    return QPointF(std::floor(widgetPos.x() / zoom) * TwipsPerPixel,
                   std::floor(widgetPos.y() / zoom) * TwipsPerPixel);
}

QRect PictureBox::ToWidgetRect(const QRect &px) const
{
    if (zoom == 1.0) return px;
    return QRectF(px.x() * zoom, px.y() * zoom, px.width() * zoom, px.height() * zoom)
        .toAlignedRect();
}

void PictureBox::CanvasChanged(const QRect &px)
{
    const QRect r = ToWidgetRect(px).intersected(rect());
    if (!r.isEmpty()) update(r);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QImage &img = canvas.Image();
    const QRect shown = ToWidgetRect(img.rect());
    for (const QRect &r : event->region()) {
        const QRect inside = r.intersected(shown);
        if (!inside.isEmpty()) {
            if (zoom == 1.0) p.drawImage(inside.topLeft(), img, inside);
            else
                p.drawImage(QRectF(inside), img,
                            QRectF(inside.x() / zoom, inside.y() / zoom, inside.width() / zoom,
                                   inside.height() / zoom));
        }
        // Beyond the canvas (a window larger than the picture): background.
        const QRegion outside = QRegion(r).subtracted(shown);
        for (const QRect &o : outside) p.fillRect(o, QColor(canvas.Background()));
    }
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF t = ToPictureTwips(event->position());
    emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), float(t.x()),
                   float(t.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF t = ToPictureTwips(event->position());
    emit MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()), float(t.x()),
                   float(t.y()));
}
