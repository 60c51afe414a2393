#include "logbook/frmlogbooktrend.h"

#include "analysis/groupplot.h"
#include "platform/prompter.h"
#include "platform/wholefile.h"

#include <QAreaSeries>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {
// Interval bars for each group while they stay readable; a band beyond.
constexpr size_t MaxBars = 60;

double when(const QDate &d) { return double(d.startOfDay(Qt::UTC).toMSecsSinceEpoch()); }
} // namespace

frmLogbookTrend::frmLogbookTrend(Prompter &p) : QWidget(nullptr, Qt::Window), prompter(p)
{
    setObjectName(QStringLiteral("frmLogbookTrend"));
    setWindowTitle(QStringLiteral("Logbook Trend"));
    chtTrend = new QChartView(this);
    chtTrend->setObjectName(QStringLiteral("chtTrend"));
    chtTrend->setRenderHint(QPainter::Antialiasing);
    chtTrend->setMinimumSize(760, 440);
    cmdSavePng = new QPushButton(QStringLiteral("Save &PNG..."), this);
    cmdSavePng->setObjectName(QStringLiteral("cmdSavePng"));
    cmdSavePdf = new QPushButton(QStringLiteral("Save P&DF..."), this);
    cmdSavePdf->setObjectName(QStringLiteral("cmdSavePdf"));
    connect(cmdSavePng, &QPushButton::clicked, this, &frmLogbookTrend::cmdSavePng_Click);
    connect(cmdSavePdf, &QPushButton::clicked, this, &frmLogbookTrend::cmdSavePdf_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSavePng);
    buttons->addWidget(cmdSavePdf);
    auto *v = new QVBoxLayout(this);
    v->addWidget(chtTrend);
    v->addLayout(buttons);
}

void frmLogbookTrend::SetTrend(const Trend &t)
{
    auto *chart = new QChart;
    chart->setTitle(
        QStringLiteral("Trend of %1 groups (%2)").arg(t.Points.size()).arg(t.Scale.Name));
    auto *sigma = new QLineSeries, *radius = new QLineSeries, *offset = new QLineSeries;
    auto *low = new QLineSeries, *high = new QLineSeries;
    sigma->setName(QStringLiteral("Rayleigh \u03c3"));
    radius->setName(QStringLiteral("Mean radius"));
    offset->setName(QStringLiteral("Centre offset"));
    double top = 0;
    for (const TrendPoint &p : t.Points) {
        const double x = when(p.Date);
        sigma->append(x, p.Sigma);
        low->append(x, p.SigmaLow);
        high->append(x, p.SigmaHigh);
        radius->append(x, p.MeanRadius);
        offset->append(x, p.CenterOffset);
        top = std::max({top, p.SigmaHigh, p.MeanRadius, p.CenterOffset});
    }
    auto *band = new QAreaSeries(high, low);
    band->setName(QStringLiteral("\u03c3 interval (95 %)"));
    QColor fill = PlotColor::Center;
    fill.setAlpha(40);
    band->setBrush(fill);
    band->setPen(Qt::NoPen);
    sigma->setColor(PlotColor::Center);
    sigma->setPointsVisible(true);
    radius->setColor(PlotColor::MeanRadius);
    radius->setPointsVisible(true);
    offset->setColor(PlotColor::Spread);
    offset->setPointsVisible(true);
    std::vector<QAbstractSeries *> all{band, sigma, radius, offset};
    if (t.Points.size() <= MaxBars)
        for (const TrendPoint &p : t.Points) {
            auto *bar = new QLineSeries;
            bar->append(when(p.Date), p.SigmaLow);
            bar->append(when(p.Date), p.SigmaHigh);
            bar->setColor(PlotColor::Center);
            all.push_back(bar);
        }
    for (QAbstractSeries *s : all) chart->addSeries(s);
    for (auto *m : chart->legend()->markers())
        if (m->series() != band && m->series() != sigma && m->series() != radius &&
            m->series() != offset)
            m->setVisible(false);
    auto *x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("yyyy-MM-dd"));
    x->setTitleText(QStringLiteral("Date"));
    auto *y = new QValueAxis;
    y->setTitleText(t.Scale.Name);
    y->setRange(0, top > 0 ? top * 1.05 : 1);
    if (!t.Points.empty()) {
        const double a = when(t.Points.front().Date), b = when(t.Points.back().Date);
        const double day = 86400000.0;
        x->setRange(QDateTime::fromMSecsSinceEpoch(qint64(a - day), Qt::UTC),
                    QDateTime::fromMSecsSinceEpoch(qint64(b + day), Qt::UTC));
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *s : all) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    QChart *old = chtTrend->chart();
    chtTrend->setChart(chart);
    delete old;
}

bool frmLogbookTrend::SavePng(const QString &path, QString *errorText)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (!chtTrend->grab().save(&buf, "PNG")) {
        if (errorText) *errorText = QStringLiteral("the picture could not be encoded");
        return false;
    }
    return WriteWholeFile(path, bytes, errorText);
}

bool frmLogbookTrend::SavePdf(const QString &path, QString *errorText)
{
    // Drawn into memory first, so that a failed write leaves no partial file.
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buf);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(windowTitle());
        QPainter p(&pdf);
        chtTrend->render(&p, QRectF(0, 0, pdf.width(), pdf.height()));
    }
    return WriteWholeFile(path, bytes, errorText);
}

void frmLogbookTrend::cmdSavePng_Click()
{
    prompter.SetOwner(this);
    const auto path =
        prompter.SaveFileName(QStringLiteral("Save Trend"), QStringLiteral("trend.png"),
                              QStringLiteral("PNG pictures (*.png)"));
    QString why;
    if (path && !SavePng(*path, &why))
        prompter.MsgBox(QStringLiteral("The chart could not be saved to %1: %2").arg(*path, why),
                        QStringLiteral("Save Trend"), Buttons::Ok, Icon::Exclamation);
}

void frmLogbookTrend::cmdSavePdf_Click()
{
    prompter.SetOwner(this);
    const auto path =
        prompter.SaveFileName(QStringLiteral("Save Trend"), QStringLiteral("trend.pdf"),
                              QStringLiteral("PDF documents (*.pdf)"));
    QString why;
    if (path && !SavePdf(*path, &why))
        prompter.MsgBox(QStringLiteral("The chart could not be saved to %1: %2").arg(*path, why),
                        QStringLiteral("Save Trend"), Buttons::Ok, Icon::Exclamation);
}
