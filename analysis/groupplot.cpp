#include "analysis/groupplot.h"

#include "platform/fonts.h"
#include "platform/pagejob.h"
#include "platform/wholefile.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
QFont plotFont(int pixels)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    return PageFont(f);
}

QPen pen(const QColor &c, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen p(c, width, style);
    p.setCapStyle(Qt::FlatCap);
    return p;
}

QString tickText(double v, double step)
{
    // As many decimals as the step needs, and no "-0".
    const int decimals = std::max(0, int(std::ceil(-std::log10(step) - 1e-9)));
    if (std::abs(v) < step * 1e-6) v = 0;
    return QString::number(v, 'f', decimals);
}

void drawAxes(QPainter &p, const PlotLayout &l, const QString &unit)
{
    const QRectF &r = l.area;
    const double step = NiceStep(48.0 / l.scale);
    p.setFont(plotFont(11));
    const QFontMetricsF fm(p.font());
    const QPen grid = pen(QColor(228, 228, 228), 1);
    const QPen axis = pen(QColor(60, 60, 60), 1);
    // Vertical lines and X labels.
    const double x0 = (r.left() - l.aim.x()) / l.scale, x1 = (r.right() - l.aim.x()) / l.scale;
    for (double v = std::ceil(x0 / step) * step; v <= x1 + step * 1e-9; v += step) {
        const double px = l.ToPixel(v, 0).x();
        p.setPen(grid);
        p.drawLine(QPointF(px, r.top()), QPointF(px, r.bottom()));
        p.setPen(axis);
        p.drawLine(QPointF(px, r.bottom()), QPointF(px, r.bottom() + 4));
        const QString t = tickText(v, step);
        p.drawText(QPointF(px - fm.horizontalAdvance(t) / 2, r.bottom() + 6 + fm.ascent()), t);
    }
    const double y0 = (l.aim.y() - r.bottom()) / l.scale, y1 = (l.aim.y() - r.top()) / l.scale;
    for (double v = std::ceil(y0 / step) * step; v <= y1 + step * 1e-9; v += step) {
        const double py = l.ToPixel(0, v).y();
        p.setPen(grid);
        p.drawLine(QPointF(r.left(), py), QPointF(r.right(), py));
        p.setPen(axis);
        p.drawLine(QPointF(r.left() - 4, py), QPointF(r.left(), py));
        const QString t = tickText(v, step);
        p.drawText(QPointF(r.left() - 6 - fm.horizontalAdvance(t), py + fm.ascent() / 2 - 1), t);
    }
    p.setPen(axis);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    const QString u = unit.trimmed();
    p.drawText(
        QPointF(r.right() - fm.horizontalAdvance(u), r.bottom() + 8 + fm.height() + fm.ascent()),
        u);
}

void drawScaleBar(QPainter &p, const PlotLayout &l, const QString &unit)
{
    const double len = NiceStep(l.area.width() / 5 / l.scale);
    const double px = len * l.scale;
    const QPointF end(l.area.right() - 12, l.area.bottom() - 14);
    const QPointF start(end.x() - px, end.y());
    p.setPen(pen(Qt::black, 2));
    p.drawLine(start, end);
    p.drawLine(start + QPointF(0, -4), start + QPointF(0, 4));
    p.drawLine(end + QPointF(0, -4), end + QPointF(0, 4));
    p.setFont(plotFont(11));
    const QFontMetricsF fm(p.font());
    const QString t = tickText(len, len) + QLatin1Char(' ') + unit.trimmed();
    p.drawText(QPointF((start.x() + end.x() - fm.horizontalAdvance(t)) / 2, end.y() - 6), t);
}

void drawCross(QPainter &p, QPointF c, double half)
{
    p.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
    p.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
}

void drawLegend(QPainter &p, const PlotLayout &l)
{
    struct Entry {
        QColor color;
        Qt::PenStyle style;
        QString text;
    };
    const Entry entries[] = {{PlotColor::Spread, Qt::SolidLine, QStringLiteral("Extreme Spread")},
                             {PlotColor::MeanRadius, Qt::SolidLine, QStringLiteral("Mean Radius")},
                             {PlotColor::CEP, Qt::DashLine, QStringLiteral("CEP (50 %)")},
                             {PlotColor::Box, Qt::DotLine, QStringLiteral("Bounding Box")},
                             {PlotColor::Center, Qt::SolidLine, QStringLiteral("Group Center")},
                             {PlotColor::Aim, Qt::SolidLine, QStringLiteral("Point of Aim")}};
    p.setFont(plotFont(11));
    const QFontMetricsF fm(p.font());
    double x = l.area.left(), y = l.area.bottom() + 44;
    for (const Entry &e : entries) {
        const double w = 26 + fm.horizontalAdvance(e.text) + 14;
        if (x + w > l.canvas.width() && x > l.area.left()) {
            x = l.area.left();
            y += fm.height() + 2;
        }
        p.setPen(pen(e.color, 2, e.style));
        p.drawLine(QPointF(x, y), QPointF(x + 20, y));
        p.setPen(Qt::black);
        p.drawText(QPointF(x + 26, y + fm.ascent() / 2 - 1), e.text);
        x += w;
    }
}
} // namespace

void DrawIntervalBar(QPainter &p, double x, double yLow, double yHigh)
{
    p.drawLine(QPointF(x, yLow), QPointF(x, yHigh));
    p.drawLine(QPointF(x - 4, yLow), QPointF(x + 4, yLow));
    p.drawLine(QPointF(x - 4, yHigh), QPointF(x + 4, yHigh));
}

void DrawPointSeries(QPainter &p, const std::vector<QPointF> &points, const QColor &colour)
{
    QPainterPath path;
    for (size_t k = 0; k < points.size(); ++k)
        k == 0 ? path.moveTo(points[k]) : path.lineTo(points[k]);
    p.setPen(QPen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setBrush(colour);
    for (const QPointF &at : points) p.drawEllipse(at, 3, 3);
}

double NiceStep(double rough)
{
    if (!(rough > 0) || !std::isfinite(rough)) return 1;
    const double mag = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * mag >= rough * (1 - 1e-12)) return m * mag;
    return 10 * mag;
}

namespace {
struct Bounds {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    void take(double x, double y)
    {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        if (!any) {
            minX = maxX = x;
            minY = maxY = y;
            any = true;
            return;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    double span() const { return std::max(maxX - minX, maxY - minY); }
};
} // namespace

PlotLayout FitPlot(const std::vector<ShotXY> &shots, const GroupAnalysis &a, QSizeF canvas)
{
    PlotLayout l;
    l.canvas = canvas;
    l.area = QRectF(PlotMarginLeft, PlotMarginTop,
                    std::max(10.0, canvas.width() - PlotMarginLeft - PlotMarginRight),
                    std::max(10.0, canvas.height() - PlotMarginTop - PlotMarginBottom));
    Bounds group;
    for (const ShotXY &s : shots) group.take(s.x, s.y);
    if (a.Length) {
        const double r = std::max(a.Length->MeanRadius, a.Length->Rayleigh.CEP50);
        group.take(a.CenterX - r, a.CenterY - r);
        group.take(a.CenterX + r, a.CenterY + r);
    }
    Bounds b = group;
    b.take(0, 0);
    // A point of aim far from a tight group would shrink the group to a dot.
    if (group.any && group.span() > 0 && b.span() > AimKeptWithin * group.span()) {
        b = group;
        l.aimInView = false;
    }
    double spanX = b.maxX - b.minX, spanY = b.maxY - b.minY;
    const double span = std::max(spanX, spanY);
    const double unit = span > 0 ? span : 1.0;
    // Some room beyond the outermost mark, so no marker sits on the frame.
    const double pad = unit * 0.08;
    spanX += 2 * pad;
    spanY += 2 * pad;
    if (spanX <= 2 * pad) spanX = unit;
    if (spanY <= 2 * pad) spanY = unit;
    l.scale = std::min(l.area.width() / spanX, l.area.height() / spanY);
    const double midX = (b.minX + b.maxX) / 2, midY = (b.minY + b.maxY) / 2;
    l.aim = QPointF(l.area.center().x() - midX * l.scale, l.area.center().y() + midY * l.scale);
    return l;
}

namespace {
// An arrow at the edge of the area pointing from the group towards the point
// of aim, labelled with how far the group's center lies from it.
void drawAimArrow(QPainter &p, const PlotLayout &l, const std::vector<ShotXY> &shots,
                  const QString &unit)
{
    double cx = 0, cy = 0;
    int n = 0;
    for (const ShotXY &s : shots)
        if (std::isfinite(s.x) && std::isfinite(s.y)) {
            cx += s.x;
            cy += s.y;
            ++n;
        }
    if (n == 0) return;
    cx /= n;
    cy /= n;
    const QPointF from = l.ToPixel(cx, cy);
    const QPointF to = l.aim;
    const double len = std::hypot(to.x() - from.x(), to.y() - from.y());
    if (!(len > 0) || !std::isfinite(len)) return;
    const QPointF dir((to.x() - from.x()) / len, (to.y() - from.y()) / len);
    // Where the line from the group to the aim leaves the area, a little inside.
    const QRectF edge = l.area.adjusted(8, 8, -8, -8);
    double t = len;
    if (dir.x() > 0) t = std::min(t, (edge.right() - from.x()) / dir.x());
    if (dir.x() < 0) t = std::min(t, (edge.left() - from.x()) / dir.x());
    if (dir.y() > 0) t = std::min(t, (edge.bottom() - from.y()) / dir.y());
    if (dir.y() < 0) t = std::min(t, (edge.top() - from.y()) / dir.y());
    t = std::max(t, 0.0);
    const QPointF tip = from + dir * t;
    const QPointF tail = tip - dir * 40;
    p.setPen(pen(PlotColor::Aim, 2));
    p.drawLine(tail, tip);
    const double headAngle = 0.45, head = 11;
    for (double side : {-1.0, 1.0}) {
        const double c = std::cos(headAngle), s = std::sin(headAngle) * side;
        const QPointF back(-(dir.x() * c - dir.y() * s), -(dir.x() * s + dir.y() * c));
        p.drawLine(tip, tip + back * head);
    }
    p.setFont(plotFont(11));
    const QFontMetricsF fm(p.font());
    const QString label = QStringLiteral("Point of Aim: ") + FigureText(std::hypot(cx, cy)) +
                          QLatin1Char(' ') + unit.trimmed();
    // Beside the tail, kept inside the area.
    const double w = fm.horizontalAdvance(label);
    double x = tail.x() - (dir.x() > 0 ? w + 6 : -6);
    double y = tail.y() + (dir.y() > 0 ? -6 : fm.ascent() + 6);
    x = std::clamp(x, l.area.left() + 4, std::max(l.area.left() + 4, l.area.right() - 4 - w));
    y = std::clamp(y, l.area.top() + 4 + fm.ascent(),
                   std::max(l.area.top() + 4 + fm.ascent(), l.area.bottom() - 4));
    p.setPen(PlotColor::Aim);
    p.drawText(QPointF(x, y), label);
}
} // namespace

void DrawGroupPlot(QPainter &p, const PlotLayout &l, const std::vector<ShotXY> &shots,
                   const GroupAnalysis &a, bool antialias)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, antialias);
    p.setRenderHint(QPainter::TextAntialiasing, antialias);
    p.fillRect(QRectF(QPointF(0, 0), l.canvas), Qt::white);
    drawAxes(p, l, a.UnitName);

    p.save();
    p.setClipRect(l.area);
    p.setBrush(Qt::NoBrush);
    const QPointF aim = l.ToPixel(0, 0);
    // The figures belong to these shots only when the counts agree.
    if (a.Length && size_t(a.ShotCount) == shots.size()) {
        const LengthFigures &f = *a.Length;
        const QPointF c = l.ToPixel(a.CenterX, a.CenterY);
        // The box spans the extreme shots; its corners follow from the center
        // only through them, so take them again.
        double minX = shots[0].x, maxX = minX, minY = shots[0].y, maxY = minY;
        for (const ShotXY &s : shots) {
            minX = std::min(minX, s.x);
            maxX = std::max(maxX, s.x);
            minY = std::min(minY, s.y);
            maxY = std::max(maxY, s.y);
        }
        p.setPen(pen(PlotColor::Box, 1, Qt::DotLine));
        p.drawRect(QRectF(l.ToPixel(minX, maxY), l.ToPixel(maxX, minY)));
        p.setPen(pen(PlotColor::MeanRadius, 2));
        p.drawEllipse(c, f.MeanRadius * l.scale, f.MeanRadius * l.scale);
        p.setPen(pen(PlotColor::CEP, 2, Qt::DashLine));
        p.drawEllipse(c, f.Rayleigh.CEP50 * l.scale, f.Rayleigh.CEP50 * l.scale);
        const ShotXY &sa = shots[size_t(a.SpreadShotA - 1)], &sb = shots[size_t(a.SpreadShotB - 1)];
        p.setPen(pen(PlotColor::Spread, 2));
        p.drawLine(l.ToPixel(sa.x, sa.y), l.ToPixel(sb.x, sb.y));
        p.setPen(pen(PlotColor::Center, 2));
        drawCross(p, c, 6);
    }
    p.setPen(pen(PlotColor::Aim, 2));
    p.drawEllipse(aim, 7, 7);
    p.drawLine(aim + QPointF(-11, 0), aim + QPointF(11, 0));
    p.drawLine(aim + QPointF(0, -11), aim + QPointF(0, 11));

    p.setFont(plotFont(11));
    const QFontMetricsF fm(p.font());
    for (size_t k = 0; k < shots.size(); ++k) {
        if (!std::isfinite(shots[k].x) || !std::isfinite(shots[k].y)) continue;
        const QPointF s = l.ToPixel(shots[k].x, shots[k].y);
        p.setPen(Qt::NoPen);
        p.setBrush(PlotColor::Shot);
        p.drawEllipse(s, 4, 4);
        p.setBrush(Qt::NoBrush);
        p.setPen(PlotColor::Shot);
        p.drawText(s + QPointF(6, -5), QString::number(k + 1));
    }
    if (!l.area.contains(aim)) drawAimArrow(p, l, shots, a.UnitName);
    drawScaleBar(p, l, a.UnitName);
    p.restore();

    drawLegend(p, l);
    p.restore();
}

QImage RenderGroupPlot(const std::vector<ShotXY> &shots, const GroupAnalysis &a, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DrawGroupPlot(p, FitPlot(shots, a, QSizeF(size)), shots, a);
    return img;
}

bool SavePlotPng(const QString &path, const std::vector<ShotXY> &shots, const GroupAnalysis &a,
                 QString *errorText, QSize size)
{
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QString why;
    if (!RenderGroupPlot(shots, a, size).save(&png, "PNG"))
        why = QStringLiteral("The picture could not be encoded.");
    else
        WriteWholeFile(path, png.data(), &why);
    if (why.isEmpty()) return true;
    if (errorText) *errorText = WriteFailedText(path, why);
    return false;
}

bool SavePlotPdf(const QString &path, const std::vector<ShotXY> &shots, const GroupAnalysis &a,
                 const QString &title, QString *errorText)
{
    auto job = PageJob::Pdf(path, title);
    if (!job) {
        if (errorText)
            *errorText = WriteFailedText(path, QStringLiteral("The page could not be started."));
        return false;
    }
    QPainter &p = job->Painter();
    // Logical pixels of 1/96 inch, as on the screen; three quarters of an inch of margin.
    const double k = job->Dpi() / 96.0;
    p.scale(k, k);
    p.translate(72, 72);
    p.setFont(plotFont(16));
    p.setPen(Qt::black);
    p.drawText(QPointF(0, QFontMetricsF(p.font()).ascent()), title);
    p.translate(0, 36);
    const QSizeF canvas(672, 720);
    DrawGroupPlot(p, FitPlot(shots, a, canvas), shots, a);
    if (!job->End()) {
        if (errorText) *errorText = job->ErrorText();
        return false;
    }
    return true;
}
