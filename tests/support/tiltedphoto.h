#pragma once
// A card photographed at an angle: a flat card of known size with dark dots
// at known places, drawn through a perspective onto a grey photo, with where
// its corners and dots landed.
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>
#include <array>
#include <vector>

struct TiltedPhoto {
    QImage image;
    double width = 8, height = 6;   // of the card, in units
    std::array<QPointF, 4> corners; // on the photo, clockwise from the top-left
    std::vector<QPointF> dots;      // on the card, units from its top-left
    QTransform toPhoto;             // card units to photo pixels
    QPointF DotOnPhoto(size_t k) const { return toPhoto.map(dots[k]); }
};

inline TiltedPhoto MakeTiltedPhoto()
{
    TiltedPhoto t;
    t.corners = {QPointF(70, 40), QPointF(420, 85), QPointF(395, 330), QPointF(52, 292)};
    t.dots = {QPointF(1.5, 1.5), QPointF(6.5, 4.5), QPointF(6, 1)};
    const QPolygonF card(
        {QPointF(0, 0), QPointF(t.width, 0), QPointF(t.width, t.height), QPointF(0, t.height)});
    const QPolygonF photo({t.corners[0], t.corners[1], t.corners[2], t.corners[3]});
    QTransform::quadToQuad(card, photo, t.toPhoto);
    t.image = QImage(480, 360, QImage::Format_RGB32);
    t.image.fill(qRgb(150, 150, 150));
    QPainter p(&t.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(t.toPhoto);
    p.fillRect(QRectF(0, 0, t.width, t.height), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const QPointF &d : t.dots) p.drawEllipse(d, 0.2, 0.2);
    return t;
}

// The centre of the dark pixels within `reach` pixels of `near`.
inline QPointF DarkCentre(const QImage &image, QPointF near, double reach)
{
    double sx = 0, sy = 0, n = 0;
    for (int y = int(near.y() - reach); y <= int(near.y() + reach); ++y)
        for (int x = int(near.x() - reach); x <= int(near.x() + reach); ++x) {
            if (!image.rect().contains(x, y)) continue;
            const double dark = 1 - qGray(image.pixel(x, y)) / 255.0;
            if (dark < 0.5) continue;
            sx += dark * x, sy += dark * y, n += dark;
        }
    return n > 0 ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}
