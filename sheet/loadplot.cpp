#include "sheet/loadplot.h"

#include "analysis/groupplot.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Grid values from lo to hi at a round step.
std::vector<double> Ticks(double lo, double hi)
{
    const double step = NiceStep(std::max(hi - lo, 1e-9) / 5);
    std::vector<double> v;
    for (double t = std::ceil(lo / step) * step; t <= hi + step * 1e-6; t += step)
        v.push_back(std::abs(t) < step * 1e-9 ? 0 : t);
    return v;
}

} // namespace

void DrawLoadChart(QPainter &p, const QRectF &box, const TargetSheet &sheet,
                   const SheetFigures &figures)
{
    p.save();
    p.fillRect(box, Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::clamp(int(box.height() / 30), 9, 14));
    p.setFont(font);
    const double line = p.fontMetrics().height();
    const std::vector<LoadPoint> points = LoadDevelopment(sheet, figures);
    const QString unit = sheet.UnitName.trimmed();
    const QRectF titleBox(box.left(), box.top() + 4, box.width(), line * 2);
    if (points.empty()) {
        p.drawText(titleBox.adjusted(8, 0, -8, box.height() / 2),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("Label the groups with numbers (charge, seating depth) "
                                  "to see the load chart."));
        p.restore();
        return;
    }
    p.drawText(titleBox, Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Load development (%1)").arg(unit));

    double low = 0, high = 0;
    for (const LoadPoint &q : points) {
        low = std::min({low, q.Vertical, q.Horizontal});
        high = std::max({high, q.Vertical, q.Horizontal, q.SigmaHigh});
    }
    const double margin = (high - low) * 0.08 + 1e-9;
    low -= margin;
    high += margin;
    const double span = points.back().Label - points.front().Label;
    const double pad = span > 0 ? span * 0.08 : 1;
    const double x0 = points.front().Label - pad, x1 = points.back().Label + pad;

    const double left =
        box.left() + p.fontMetrics().horizontalAdvance(QStringLiteral("-00.000")) + 10;
    const QRectF area(left, box.top() + line * 1.8, box.right() - 12 - left,
                      box.height() - line * 5.6);
    auto X = [&](double v) { return area.left() + (v - x0) / (x1 - x0) * area.width(); };
    auto Y = [&](double v) { return area.bottom() - (v - low) / (high - low) * area.height(); };

    const QPen grid(QColor(210, 210, 210), 1);
    for (double t : Ticks(low, high)) {
        p.setPen(grid);
        p.drawLine(QPointF(area.left(), Y(t)), QPointF(area.right(), Y(t)));
        p.setPen(Qt::black);
        p.drawText(QRectF(box.left(), Y(t) - line / 2, area.left() - box.left() - 5, line),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(t, 'g', 4));
    }
    for (double t : Ticks(x0, x1)) {
        p.setPen(grid);
        p.drawLine(QPointF(X(t), area.top()), QPointF(X(t), area.bottom()));
        p.setPen(Qt::black);
        p.drawText(QRectF(X(t) - 40, area.bottom() + 2, 80, line), Qt::AlignHCenter,
                   QString::number(t, 'g', 5));
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    p.drawText(QRectF(area.left(), area.bottom() + line, area.width(), line), Qt::AlignHCenter,
               QStringLiteral("Label"));
    p.save();
    p.translate(box.left() + 2, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, 0, area.height(), line), Qt::AlignHCenter, unit);
    p.restore();

    const QColor sigma = PlotColor::Center;
    p.setPen(QPen(sigma, 1));
    for (const LoadPoint &q : points) DrawIntervalBar(p, X(q.Label), Y(q.SigmaLow), Y(q.SigmaHigh));
    const std::pair<double LoadPoint::*, std::pair<QString, QColor>> series[] = {
        {&LoadPoint::Vertical, {QStringLiteral("Vertical offset"), PlotColor::Aim}},
        {&LoadPoint::Horizontal, {QStringLiteral("Horizontal offset"), PlotColor::Spread}},
        {&LoadPoint::Sigma, {QStringLiteral("Rayleigh \u03c3"), sigma}}};
    double lx = area.left();
    for (const auto &[member, legend] : series) {
        const auto &[label, c] = legend;
        std::vector<QPointF> at;
        for (const LoadPoint &q : points) at.emplace_back(X(q.Label), Y(q.*member));
        DrawPointSeries(p, at, c);
        const double ly = box.bottom() - line * 1.3;
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(lx, ly, line * 0.8, line * 0.8));
        p.setPen(Qt::black);
        p.drawText(QPointF(lx + line, ly + line * 0.75), label);
        lx += line * 2 + p.fontMetrics().horizontalAdvance(label);
    }
    p.restore();
}
