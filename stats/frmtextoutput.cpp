#include "stats/frmtextoutput.h"

#include "model/groupdocument.h"
#include "platform/screen.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

class frmTextOutput::Page : public QWidget {
public:
    explicit Page(frmTextOutput *w) : QWidget(w), owner(w) {}

protected:
    void paintEvent(QPaintEvent *) override { owner->PaintPage(this); }

private:
    frmTextOutput *owner;
};

frmTextOutput::frmTextOutput(GroupDocument &document, QWidget *parent)
    : QScrollArea(parent), s(document.session), surface(ReportFont()), page(new Page(this))
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmTextOutput"));
    setWindowTitle(QStringLiteral("Peltrix"));
    setFont(ReportFont());
    setFrameShape(QFrame::NoFrame);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    page->setAutoFillBackground(true);
    page->setPalette(pal);
    viewport()->setPalette(pal);
    setWidget(page);
    setWidgetResizable(true);
    // Wide enough for the labels at 3950 twips, tall enough for the rows
    // below the labels at 7000 twips.
    resize(TwipsToPixels(6300), TwipsToPixels(7700));
    surface.Changed = [this] {
        if (painting) return;
        FitPage();
        page->update();
    };
    connect(&document, &GroupDocument::groupChanged, this,
            [this] { PrintGroupStats(s, surface, ReportOn::Window); });
}

QSize frmTextOutput::ReportSize() const
{
    const QFontMetricsF m(surface.Font());
    double right = 0, bottom = 0;
    for (const ReportItem &item : surface.Items()) {
        right = std::max(right, item.x / TwipsPerPixel + m.horizontalAdvance(item.text));
        bottom = std::max(bottom, item.y / TwipsPerPixel + m.height());
    }
    // A margin as wide as the one left of the labels.
    return QSize(int(std::ceil(right)), int(std::ceil(bottom))) +
           QSize(TwipsToPixels(120), TwipsToPixels(120));
}

void frmTextOutput::FitPage()
{
    const QSize size = ReportSize();
    if (page->minimumSize() != size) page->setMinimumSize(size);
}

void frmTextOutput::PaintPage(QWidget *target)
{
    painting = true;
    PrintGroupStats(s, surface, ReportOn::Window);
    painting = false;

    QPainter p(target);
    p.setFont(surface.Font());
    p.setPen(palette().color(QPalette::WindowText));
    const double ascent = QFontMetricsF(surface.Font()).ascent();
    for (const ReportItem &item : surface.Items())
        p.drawText(QPointF(item.x / TwipsPerPixel, item.y / TwipsPerPixel + ascent), item.text);
    // The first paint is the first rendering: size the page after it.
    if (page->minimumSize() != ReportSize())
        QMetaObject::invokeMethod(this, &frmTextOutput::FitPage, Qt::QueuedConnection);
}
