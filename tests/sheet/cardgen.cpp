#include "cardgen.h"

#include "synthtarget.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <random>

Card MakeCard(const CardOptions &o)
{
    const double in = o.dpi;
    Card c;
    c.image = QImage(int(8.5 * in), int(11 * in), QImage::Format_RGB32);
    c.image.fill(QColor(250, 250, 247));
    c.bulletPixels = o.caliber * in;
    std::mt19937 rng(o.seed);
    std::normal_distribution<double> spread(0, o.spread * in);
    QPainter p(&c.image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(0.22 * in));
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(0.7 * in, 0.8 * in), QStringLiteral("LOAD DEVELOPMENT  .308  100 yd"));

    const double top = 1.5 * in, bottom = 11 * in - 0.8 * in;
    const double pitchY = (bottom - top) / (o.rows - 1 + o.drop);
    const double left = 1.1 * in,
                 pitchX = o.columns > 1 ? (8.5 * in - 2 * left) / (o.columns - 1) : 0;
    const QColor ink = o.colour ? QColor(240, 110, 20) : QColor(15, 15, 15);
    const double r = std::min(0.3 * in, 0.22 * std::min(pitchX > 0 ? pitchX : 1e9, pitchY));
    if (o.cells) {
        p.setPen(QPen(QColor(40, 40, 40), 0.02 * in));
        for (int k = 0; k <= o.columns; ++k) {
            const double x = left + (k - 0.5) * pitchX;
            p.drawLine(QPointF(x, top - 0.4 * pitchY), QPointF(x, top + (o.rows - 0.4) * pitchY));
        }
        for (int k = 0; k <= o.rows; ++k) {
            const double y = top + (k - 0.4) * pitchY;
            p.drawLine(QPointF(left - 0.5 * pitchX, y),
                       QPointF(left + (o.columns - 0.5) * pitchX, y));
        }
    }
    font.setPixelSize(int(0.14 * in));
    p.setFont(font);
    for (int row = 0; row < o.rows; ++row)
        for (int col = 0; col < o.columns; ++col) {
            const QPointF m(left + col * pitchX, top + row * pitchY);
            const int k = int(c.marks.size());
            c.marks.push_back(m);
            const int kind = o.marks == CardOptions::Mixed ? k % 3 : int(o.marks);
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            if (kind == CardOptions::Ringed) {
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(ink, 0.03 * in));
                for (double f : {1.0, 0.66, 0.33}) p.drawEllipse(m, r * f, r * f);
                p.setBrush(ink);
                p.drawEllipse(m, r * 0.1, r * 0.1);
            } else if (kind == CardOptions::Solid) {
                p.drawEllipse(m, r, r);
            } else {
                QPainterPath d;
                d.moveTo(m + QPointF(0, -r));
                d.lineTo(m + QPointF(r, 0));
                d.lineTo(m + QPointF(0, r));
                d.lineTo(m + QPointF(-r, 0));
                d.closeSubpath();
                p.drawPath(d);
            }
            p.setPen(Qt::black);
            p.drawText(m + QPointF(-r - 0.35 * in, -r), QString::number(k + 1));
        }
    // The holes: the backing through the paper and a grease ring around it;
    // no two touching, so the count is exact.
    const QPointF zero(0.08 * in, o.drop * pitchY);
    for (size_t k = 0; k < c.marks.size(); ++k)
        for (int n = 0; n < o.shotsPerGroup; ++n) {
            QPointF s;
            for (int tries = 0; tries < 1000; ++tries) {
                s = c.marks[k] + zero + QPointF(spread(rng), spread(rng));
                bool apart = true;
                for (const QPointF &q : c.shots)
                    apart =
                        apart && std::hypot(q.x() - s.x(), q.y() - s.y()) > 1.3 * c.bulletPixels;
                if (apart) break;
            }
            c.shots.push_back(s);
            c.groups.push_back(int(k));
        }
    p.end();
    DrawSynthHoles(c.image, c.shots, c.bulletPixels / 2, o.seed);
    return c;
}
