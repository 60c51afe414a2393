#include "stats/frmtextoutput.h"

#include "platform/screen.h"

#include <QFontMetricsF>
#include <QPainter>

frmTextOutput::frmTextOutput(Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window), s(session), surface(ReportFont())
{
    setObjectName(QStringLiteral("frmTextOutput"));
    setWindowTitle(QStringLiteral("Peltrix"));
    setFont(ReportFont());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    // Wide enough for the labels at 3950 twips, tall enough for the rows
    // below the labels at 7000 twips.
    resize(TwipsToPixels(6300), TwipsToPixels(7700));
    surface.Changed = [this] {
        if (!painting) update();
    };
    s.StatsWindow = &surface;
}

frmTextOutput::~frmTextOutput()
{
    if (s.StatsWindow == &surface) s.StatsWindow = nullptr;
    if (s.ReportTarget == &surface) s.ReportTarget = nullptr;
}

void frmTextOutput::Form_Load()
{
    move(TwipsToPixels(ScreenWidthTwips() - 20) - width(), TwipsToPixels(600));
}

void frmTextOutput::showEvent(QShowEvent *event)
{
    if (!placed) {
        placed = true;
        Form_Load();
    }
    QWidget::showEvent(event);
}

void frmTextOutput::paintEvent(QPaintEvent *)
{
    painting = true;
    const bool wasRendering = s.RenderToWindow;
    ReportSurface *wasTarget = s.ReportTarget;
    s.RenderToWindow = true;
    s.ReportTarget = &surface;
    PrintGroupStats(s);
    s.RenderToWindow = wasRendering;
    s.ReportTarget = wasTarget;
    painting = false;

    QPainter p(this);
    p.setFont(surface.Font());
    p.setPen(palette().color(QPalette::WindowText));
    const double ascent = QFontMetricsF(surface.Font()).ascent();
    for (const ReportItem &item : surface.Items())
        p.drawText(QPointF(item.x / TwipsPerPixel, item.y / TwipsPerPixel + ascent), item.text);
}
