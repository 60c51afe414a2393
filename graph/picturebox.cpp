#include "graph/picturebox.h"

#include "graph/targetdrawing.h"
#include "platform/screen.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>

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
    canvas.Xored = [this](const QRect &r, QRgb bits) { CanvasXored(r, bits); };
    FitToCanvas();
}

PictureBox::~PictureBox() { canvas.Xored = nullptr; }

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
    ResetSmooth();
}

void PictureBox::ResetSmooth()
{
    swapped = QRegion();
    if (zoom >= 1) {
        smooth = toggled = QImage();
        smoothStale = QRegion();
        return;
    }
    if (smooth.size() != size()) {
        smooth = toggled = QImage(); // the old ones go first, never held twice
        smooth = QImage(size(), QImage::Format_RGB32);
    }
    if (zoom > 0.5 || smooth.isNull()) {
        toggled = QImage();
    } else if (toggled.size() != size()) {
        toggled = QImage(size(), QImage::Format_RGB32);
    }
    toggleBits = OverlayRgb() & 0xFFFFFFu;
    // Widget pixel i averages canvas columns cellX[i] to cellX[i + 1] - 1.
    const auto cells = [this](std::vector<int> &cell, int widgetPixels, int canvasPixels) {
        cell.resize(size_t(widgetPixels) + 1);
        for (int i = 0; i <= widgetPixels; ++i)
            cell[size_t(i)] = std::min(TargetCanvas::CellStart(i, zoom), canvasPixels);
    };
    cells(cellX, width(), canvasSize.width());
    cells(cellY, height(), canvasSize.height());
    // Worked out when first shown: a zoom step costs only the part in view.
    smoothStale = smooth.isNull() ? QRegion() : QRegion(rect());
}

void PictureBox::SmoothRect(const QRect &r)
{
    const QImage &img = canvas.Image();
    const int w = img.width(), h = img.height();
    const auto end = [](const std::vector<int> &cell, int i, int limit) {
        return std::min(limit, std::max(cell[size_t(i) + 1], cell[size_t(i)] + 1));
    };
    const int x0 = std::min(cellX[size_t(r.left())], w - 1);
    const int x1 = end(cellX, r.right(), w);
    const size_t n = size_t(x1 - x0);
    const bool both = !toggled.isNull();
    const QRgb flip = toggleBits;
    // Per column: red, green, blue, then the same of the toggled pixels.
    sums.resize(n * 6);
    for (int j = r.top(); j <= r.bottom(); ++j) {
        const int y0 = std::min(cellY[size_t(j)], h - 1), y1 = end(cellY, j, h);
        // Column sums over the rows of this widget row, then cell sums.
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = y0; y < y1; ++y) {
            const QRgb *src = reinterpret_cast<const QRgb *>(img.constScanLine(y)) + x0;
            quint32 *acc = sums.data();
            for (size_t x = 0; x < n; ++x, acc += 6) {
                const QRgb v = src[x], t = v ^ flip;
                acc[0] += (v >> 16) & 0xFFu;
                acc[1] += (v >> 8) & 0xFFu;
                acc[2] += v & 0xFFu;
                acc[3] += (t >> 16) & 0xFFu;
                acc[4] += (t >> 8) & 0xFFu;
                acc[5] += t & 0xFFu;
            }
        }
        QRgb *dst = reinterpret_cast<QRgb *>(smooth.scanLine(j));
        QRgb *alt = both ? reinterpret_cast<QRgb *>(toggled.scanLine(j)) : nullptr;
        for (int i = r.left(); i <= r.right(); ++i) {
            const int a = std::min(cellX[size_t(i)], w - 1), b = end(cellX, i, w);
            std::array<quint32, 6> cell{};
            for (size_t x = size_t(a - x0); x < size_t(b - x0); ++x)
                for (size_t c = 0; c < 6; ++c) cell[c] += sums[x * 6 + c];
            const quint32 count = quint32((b - a) * (y1 - y0)), half = count / 2;
            const auto mean = [&](size_t c) { return int((cell[c] + half) / count); };
            dst[i] = qRgb(mean(0), mean(1), mean(2));
            if (alt) alt[i] = qRgb(mean(3), mean(4), mean(5));
        }
    }
}

void PictureBox::CanvasXored(const QRect &px, QRgb bits)
{
    if (!Smooth() || toggled.isNull() || bits != toggleBits) return;
    const int cells = int(std::floor(1 / zoom));
    if (px.width() < cells || px.height() < cells) return; // holds no whole cell
    // The widget pixels whose cells lie wholly inside the rectangle.
    const auto span = [](const std::vector<int> &cell, int from, int to, int pixels) {
        const int first = int(std::lower_bound(cell.begin(), cell.end(), from) - cell.begin());
        const int last = int(std::upper_bound(cell.begin(), cell.end(), to + 1) - cell.begin()) - 2;
        return std::pair(first, std::min(last, pixels - 1));
    };
    const auto [i0, i1] = span(cellX, px.left(), px.right(), width());
    const auto [j0, j1] = span(cellY, px.top(), px.bottom(), height());
    // Cells swapped before in this same change and toggled again: work them out.
    const QRegion again = swapped.intersected(ToWidgetRect(px));
    if (!again.isEmpty()) {
        smoothStale += again;
        swapped -= again;
    }
    if (i0 > i1 || j0 > j1) return;
    const QRect whole(QPoint(i0, j0), QPoint(i1, j1));
    for (const QRect &r : QRegion(whole).subtracted(smoothStale)) {
        for (int j = r.top(); j <= r.bottom(); ++j) {
            QRgb *a = reinterpret_cast<QRgb *>(smooth.scanLine(j)) + r.left();
            QRgb *b = reinterpret_cast<QRgb *>(toggled.scanLine(j)) + r.left();
            std::swap_ranges(a, a + r.width(), b);
        }
    }
    swapped += whole;
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
    if (Smooth()) smoothStale += QRegion(r).subtracted(swapped);
    swapped = QRegion();
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
        } else if (Smooth()) {
            const QRegion stale = smoothStale.intersected(r);
            if (!stale.isEmpty()) {
                for (const QRect &s : stale) SmoothRect(s);
                smoothStale -= stale;
            }
            p.drawImage(r.topLeft(), smooth, r);
        } else {
            PaintNearest(p, r);
        }
    }
    PaintNotes(p, event->rect());
}

void PictureBox::PaintNearest(QPainter &p, const QRect &r)
{
    const QImage &img = canvas.Image();
    const QColor back(canvas.Background());
    {
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

namespace {
constexpr int RingRadius = 7; // screen pixels, whatever the zoom

QFont NoteFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    f.setBold(true);
    return f;
}

struct NoteBox {
    QRect rect;
    QString text;
};

// One label per spot: shots whose markers lie within a few screen pixels of
// each other (two shots through one hole) share it, "3, 7".
std::vector<NoteBox> LabelBoxes(const PictureNotes &notes, const std::function<QPoint(QPointF)> &at)
{
    std::vector<std::pair<QPoint, QStringList>> spots;
    for (const auto &[twips, number] : notes.shots) {
        const QPoint w = at(twips);
        auto same = std::find_if(spots.begin(), spots.end(), [&](const auto &spot) {
            return (spot.first - w).manhattanLength() <= 6;
        });
        if (same == spots.end())
            spots.push_back({w, {QString::number(number)}});
        else
            same->second << QString::number(number);
    }
    const QFontMetrics m(NoteFont());
    std::vector<NoteBox> boxes;
    for (const auto &[w, numbers] : spots) {
        const QString text = numbers.join(QStringLiteral(", "));
        const QRect r(w + QPoint(RingRadius + 2, -m.height() - 2),
                      QSize(m.horizontalAdvance(text) + 6, m.height() + 2));
        boxes.push_back({r, text});
    }
    return boxes;
}
} // namespace

void PictureBox::SetNotes(const PictureNotes &n)
{
    if (n == notes) return;
    update(NotesRegion());
    notes = n;
    update(NotesRegion());
}

QRegion PictureBox::NotesRegion() const
{
    QRegion region;
    const auto at = [this](QPointF t) { return NoteAt(t); };
    for (const NoteBox &b : LabelBoxes(notes, at)) region += b.rect.adjusted(-1, -1, 1, 1);
    for (const QPointF &c : notes.calPoints)
        region += QRect(at(c) - QPoint(RingRadius + 3, RingRadius + 3),
                        QSize(2 * RingRadius + 7, 2 * RingRadius + 7));
    return region;
}

QPoint PictureBox::NoteAt(QPointF twips) const
{
    // The centre of the canvas pixel the point lies on, as shown.
    const QPointF px(std::floor(twips.x() / TwipsPerPixel) + 0.5,
                     std::floor(twips.y() / TwipsPerPixel) + 0.5);
    return (px * zoom).toPoint();
}

void PictureBox::PaintNotes(QPainter &p, const QRect &dirty)
{
    if (notes.shots.empty() && notes.calPoints.empty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const auto at = [this](QPointF t) { return NoteAt(t); };
    for (const QPointF &c : notes.calPoints) {
        const QPoint w = at(c);
        if (!dirty.intersects(QRect(w, QSize(1, 1)).adjusted(-12, -12, 12, 12))) continue;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 4));
        p.drawEllipse(QPointF(w), RingRadius, RingRadius);
        p.setPen(QPen(QColor(230, 60, 0), 2));
        p.drawEllipse(QPointF(w), RingRadius, RingRadius);
    }
    p.setFont(NoteFont());
    for (const NoteBox &b : LabelBoxes(notes, at)) {
        if (!dirty.intersects(b.rect)) continue;
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(255, 255, 230, 220));
        p.drawRoundedRect(QRectF(b.rect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        p.setPen(Qt::black);
        p.drawText(b.rect, Qt::AlignCenter, b.text);
    }
    p.restore();
}
