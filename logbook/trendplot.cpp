#include "logbook/trendplot.h"

#include "analysis/groupplot.h"
#include "platform/wholefile.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

void DrawTrend(QPainter &p, const QSizeF &size, const Trend &t)
{
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    p.setFont(font);
    const QRectF area(64, 16, size.width() - 80, size.height() - 76);
    const auto &pts = t.Points;
    qint64 d0 = 0, d1 = 1;
    double top = 0;
    if (!pts.empty()) {
        d0 = pts.front().Date.toJulianDay();
        d1 = std::max(d0 + 1, pts.back().Date.toJulianDay());
        for (const TrendPoint &q : pts)
            top = std::max({top, q.SigmaHigh, q.MeanRadius, q.CenterOffset});
    }
    const double step = NiceStep(std::max(top, 1e-6) / 5);
    top = std::ceil(std::max(top, 1e-6) / step) * step;
    auto x = [&](const QDate &d) {
        // A single day sits in the middle.
        if (pts.empty() || pts.front().Date == pts.back().Date) return area.center().x();
        return area.left() + double(d.toJulianDay() - d0) / double(d1 - d0) * area.width();
    };
    auto y = [&](double v) { return area.bottom() - v / top * area.height(); };

    p.setPen(QPen(QColor(200, 200, 200), 1));
    for (double v = 0; v <= top + step / 2; v += step) {
        p.drawLine(QPointF(area.left(), y(v)), QPointF(area.right(), y(v)));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y(v) - 8, area.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v, 'g', 4));
        p.setPen(QPen(QColor(200, 200, 200), 1));
    }
    p.setPen(Qt::black);
    p.drawRect(area);
    if (!pts.empty()) {
        p.drawText(QRectF(area.left(), area.bottom() + 4, 120, 16), Qt::AlignLeft,
                   pts.front().Date.toString(Qt::ISODate));
        p.drawText(QRectF(area.right() - 120, area.bottom() + 4, 120, 16), Qt::AlignRight,
                   pts.back().Date.toString(Qt::ISODate));
    }
    p.drawText(QRectF(0, 0, area.left(), 14), Qt::AlignLeft, t.Scale.Name);

    const QColor sigma = PlotColor::Center, radius = PlotColor::MeanRadius,
                 offset = PlotColor::Spread;
    auto line = [&](double TrendPoint::*m, const QColor &c) {
        std::vector<QPointF> at;
        for (const TrendPoint &q : pts) at.emplace_back(x(q.Date), y(q.*m));
        DrawPointSeries(p, at, c);
    };
    p.setPen(QPen(sigma, 1));
    for (const TrendPoint &q : pts) DrawIntervalBar(p, x(q.Date), y(q.SigmaLow), y(q.SigmaHigh));
    line(&TrendPoint::Sigma, sigma);
    line(&TrendPoint::MeanRadius, radius);
    line(&TrendPoint::CenterOffset, offset);

    const std::pair<QString, QColor> legend[] = {
        {QStringLiteral("Rayleigh \u03c3 with interval"), sigma},
        {QStringLiteral("Mean radius"), radius},
        {QStringLiteral("Centre offset"), offset}};
    double lx = area.left();
    for (const auto &[label, c] : legend) {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(QRectF(lx, size.height() - 30, 12, 12));
        p.setPen(Qt::black);
        p.drawText(QPointF(lx + 18, size.height() - 20), label);
        lx += 18 + p.fontMetrics().horizontalAdvance(label) + 24;
    }
}

bool SaveTrendPng(const QString &path, const Trend &t, QString *errorText, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    {
        QPainter p(&img);
        DrawTrend(p, QSizeF(size), t);
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (!img.save(&buf, "PNG")) {
        if (errorText) *errorText = QStringLiteral("the picture could not be encoded");
        return false;
    }
    return WriteWholeFile(path, bytes, errorText);
}

bool SaveTrendPdf(const QString &path, const Trend &t, const QString &title, QString *errorText)
{
    // Drawn into memory first, so that a failed write leaves no partial file.
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buf);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(title);
        QPainter p(&pdf);
        // The lines and labels keep the proportions of the picture.
        const double scale = pdf.width() / 1000.0;
        p.scale(scale, scale);
        DrawTrend(p, QSizeF(1000, pdf.height() / scale), t);
    }
    return WriteWholeFile(path, bytes, errorText);
}
