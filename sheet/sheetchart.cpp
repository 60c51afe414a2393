#include "sheet/sheetchart.h"

#include "analysis/groupplot.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

QChart *MakeLoadChart(const TargetSheet &sheet, const SheetFigures &figures)
{
    auto *chart = new QChart;
    const std::vector<LoadPoint> points = LoadDevelopment(sheet, figures);
    const QString unit = sheet.UnitName.trimmed();
    if (points.empty()) {
        chart->setTitle(QStringLiteral("Label the groups with numbers (charge, seating depth) "
                                       "to see the load chart."));
        return chart;
    }
    chart->setTitle(QStringLiteral("Load development (%1)").arg(unit));
    auto *vertical = new QLineSeries, *horizontal = new QLineSeries, *sigma = new QLineSeries;
    vertical->setName(QStringLiteral("Vertical offset"));
    horizontal->setName(QStringLiteral("Horizontal offset"));
    sigma->setName(QStringLiteral("Rayleigh \u03c3"));
    double low = 0, high = 0;
    for (const LoadPoint &p : points) {
        vertical->append(p.Label, p.Vertical);
        horizontal->append(p.Label, p.Horizontal);
        sigma->append(p.Label, p.Sigma);
        low = std::min({low, p.Vertical, p.Horizontal});
        high = std::max({high, p.Vertical, p.Horizontal, p.SigmaHigh});
    }
    vertical->setColor(PlotColor::Aim);
    horizontal->setColor(PlotColor::Spread);
    sigma->setColor(PlotColor::Center);
    std::vector<QAbstractSeries *> all{vertical, horizontal, sigma};
    for (QLineSeries *s : {vertical, horizontal, sigma}) s->setPointsVisible(true);
    for (const LoadPoint &p : points) {
        auto *bar = new QLineSeries;
        bar->append(p.Label, p.SigmaLow);
        bar->append(p.Label, p.SigmaHigh);
        bar->setColor(PlotColor::Center);
        all.push_back(bar);
    }
    for (QAbstractSeries *s : all) chart->addSeries(s);
    for (QLegendMarker *m : chart->legend()->markers())
        if (m->series() != vertical && m->series() != horizontal && m->series() != sigma)
            m->setVisible(false);
    auto *x = new QValueAxis, *y = new QValueAxis;
    x->setTitleText(QStringLiteral("Label"));
    y->setTitleText(unit);
    const double span = points.back().Label - points.front().Label;
    const double pad = span > 0 ? span * 0.08 : 1;
    x->setRange(points.front().Label - pad, points.back().Label + pad);
    const double margin = (high - low) * 0.08 + 1e-9;
    y->setRange(low - margin, high + margin);
    x->applyNiceNumbers();
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *s : all) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    return chart;
}
