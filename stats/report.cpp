#include "stats/report.h"

#include "app/textnum.h"
#include "platform/fonts.h"
#include "platform/pagejob.h"
#include "stats/groupstats.h"

#include <QPainter>
#include <cmath>

namespace {
constexpr double TwipsPerPixel = 15.0;
constexpr qint32 PageOffsetLeft = 2500;
constexpr qint32 PageOffsetTop = 7500;
} // namespace

void ReportSurface::Print(const QString &text, bool endLine)
{
    DrawText(CurrentX, CurrentY, text);
    if (endLine) {
        CurrentX = 0;
        CurrentY += TextHeight(text);
    } else {
        CurrentX += TextWidth(text);
    }
}

RecordingSurface::RecordingSurface() = default;

RecordingSurface::RecordingSurface(const QFont &f) : font(f), hasFont(true), metrics(f) {}

qint32 RecordingSurface::TextHeight(const QString &) const
{
    if (!hasFont) return 195;
    return qint32(std::lround(metrics.height() * TwipsPerPixel));
}

double RecordingSurface::TextWidth(const QString &text) const
{
    if (!hasFont) return 90.0 * text.size();
    return metrics.horizontalAdvance(text) * TwipsPerPixel;
}

void RecordingSurface::Cls()
{
    ReportSurface::Cls();
    items.clear();
    if (Changed) Changed();
}

const ReportItem *RecordingSurface::Find(const QString &text) const
{
    for (const ReportItem &item : items)
        if (item.text == text) return &item;
    return nullptr;
}

void RecordingSurface::DrawText(double x, double y, const QString &text)
{
    items.append({x, y, text});
    if (Changed) Changed();
}

PainterSurface::PainterSurface(QPainter &p, const QFont &f, double dpi)
    : painter(p), font(f), metrics(f, p.device()), scale(dpi / 1440.0)
{
    painter.setFont(font);
    ascent = metrics.ascent();
}

qint32 PainterSurface::TextHeight(const QString &) const
{
    return qint32(std::lround(metrics.height() / scale));
}

double PainterSurface::TextWidth(const QString &text) const
{
    return metrics.horizontalAdvance(text) / scale;
}

void PainterSurface::Cls()
{
    ReportSurface::Cls();
    painter.eraseRect(painter.window());
}

void PainterSurface::DrawText(double x, double y, const QString &text)
{
    painter.drawText(QPointF(x * scale, y * scale + ascent), text);
}

QFont ReportFont() { return NarrowFont(8); }

void InitReportLabels(Session &s)
{
    static const char *const labels[18] = {"Value Units:  ",
                                           "Shot Number",
                                           "X Coordinate",
                                           "Y Coordinate",
                                           "Distance From Aim Point",
                                           "Group Average X",
                                           "Group X Std. Deviation",
                                           "Group X Range",
                                           "Group Average Y",
                                           "Group Y Std. Deviation",
                                           "Group Y Range",
                                           "Group R Average",
                                           "Group R Std. Deviation",
                                           "Group R Range",
                                           "Number of Shots:",
                                           "Group Size, Center-Center:",
                                           "Group Center X:",
                                           "Group Center Y:"};
    for (int i = 0; i < 18; ++i) s.ReportLabel[i] = QString::fromLatin1(labels[i]);
}

void InitReportLayout(Session &s)
{
    static constexpr qint32 left[18] = {50,   50,   1350, 2650, 3950, 50, 1550, 3550, 50,
                                        1550, 3550, 50,   1550, 3550, 50, 50,   1950, 3750};
    static constexpr qint32 top[18] = {20,   400,  400,  400,  400,  6000, 6000, 6000, 6500,
                                       6500, 6500, 7000, 7000, 7000, 5500, 5750, 5500, 5500};
    for (int i = 0; i < 18; ++i) {
        s.ReportLeft[i] = left[i];
        s.ReportTop[i] = top[i];
    }
}

namespace {
// A figure with one blank in front when it is 0 or more.
QString signedText(float v, const QString &pattern)
{
    const QString t = FormatPicture(v, pattern);
    return v >= 0 ? QLatin1Char(' ') + t : t;
}

void printAt(ReportSurface &out, double x, double y, const QString &text)
{
    out.CurrentX = x;
    out.CurrentY = y;
    out.Print(text, true);
}

void printHeaderBlock(const Session &s, ReportSurface &out, qint32 h)
{
    const QString lines[8] = {QStringLiteral("Shooter Name: ") + s.ShooterName,
                              QStringLiteral("Date Fired: ") + s.DateFired,
                              QStringLiteral("Rifle: ") + s.Firearm,
                              QStringLiteral("Caliber: ") + s.Caliber,
                              QStringLiteral("Ammo Lot Number: ") + s.LotNumber,
                              QStringLiteral("Range to Target: ") + GeneralNum(s.RangeToTarget, 7),
                              QStringLiteral("General Comments: "),
                              s.Comments};
    for (int i = 0; i < 8; ++i) {
        out.CurrentX = PageOffsetLeft;
        out.CurrentY = i == 0 ? 5.0 * h : out.CurrentY + h;
        out.Print(lines[i], true);
    }
}

void shiftLayout(Session &s, qint32 dx, qint32 dy)
{
    for (int i = 0; i < 18; ++i) {
        s.ReportLeft[i] += dx;
        s.ReportTop[i] += dy;
    }
}

void printRow(ReportSurface &out, double x, double y, const QString &a, const QString &b,
              const QString &c, double step1, double step2)
{
    out.CurrentX = x;
    out.CurrentY = y;
    out.Print(a, false);
    out.CurrentX += step1;
    out.Print(b, false);
    out.CurrentX += step2;
    out.Print(c, true);
}
} // namespace

void PrintGroupStats(Session &s)
{
    if (!s.ReportTarget) return;
    ReportSurface &out = *s.ReportTarget;
    const qint32 h = out.TextHeight(QStringLiteral("00.00"));
    const bool page = !s.RenderToWindow;

    if (page) {
        printHeaderBlock(s, out, h);
        shiftLayout(s, PageOffsetLeft, PageOffsetTop);
    } else {
        out.Cls();
    }

    for (int i = 0; i < 18; ++i) printAt(out, s.ReportLeft[i], s.ReportTop[i], s.ReportLabel[i]);
    printAt(out, s.ReportLeft[0] + 1200, s.ReportTop[0], s.UnitName);

    for (qint32 k = 1; k <= s.ShotCount; ++k) {
        out.CurrentX = s.ReportLeft[1] + 450;
        out.CurrentY = s.ReportTop[1] + double(k) * h;
        out.Print(FormatPicture(float(k), QStringLiteral("00")), false);
        out.CurrentX += 1000;
        out.Print(signedText(s.ShotX[k], QStringLiteral("###0.000")), false);
        out.CurrentX += 850;
        out.Print(signedText(s.ShotY[k], QStringLiteral("###0.000")), false);
        out.CurrentX += 1300;
        out.Print(FormatPicture(s.ShotR[k], QStringLiteral("###0.000")), true);
    }

    printAt(out, s.ReportLeft[14] + 1400, s.ReportTop[14],
            FormatPicture(float(s.ShotCount), QStringLiteral("##0")));
    if (s.ShotCount > 1) {
        printAt(out, s.ReportLeft[16] + 1250, s.ReportTop[16],
                FormatPicture(s.MeanX, QStringLiteral("##0.000")));
        printAt(out, s.ReportLeft[17] + 1250, s.ReportTop[17],
                FormatPicture(s.MeanY, QStringLiteral("##0.000")));
    }
    printAt(out, s.ReportLeft[15] + 2050, s.ReportTop[15],
            FormatPicture(s.GroupSize, QStringLiteral("#0.000")) + QLatin1Char(' ') + s.UnitName);
    if (const auto moa = GroupSizeMOA(s))
        printAt(out, s.ReportLeft[15] + 3250, s.ReportTop[15],
                FormatPictureD(*moa, QStringLiteral("##0.00")) + QStringLiteral(" MOA"));

    const QString pat = QStringLiteral("###0.000");
    printRow(out, s.ReportLeft[5] + 400, s.ReportTop[5] + h, signedText(s.MeanX, pat),
             signedText(s.SdX, pat), FormatPicture(s.RangeX, pat), 1300, 1300);
    printRow(out, s.ReportLeft[8] + 400, s.ReportTop[8] + h, signedText(s.MeanY, pat),
             signedText(s.SdY, pat), FormatPicture(s.RangeY, pat), 1300, 1300);
    printRow(out, s.ReportLeft[11] + 400, s.ReportTop[11] + h, signedText(s.MeanR, pat),
             FormatPicture(s.SdR, pat), FormatPicture(s.RangeR, pat), 1350, 1300);

    if (page) shiftLayout(s, -PageOffsetLeft, -PageOffsetTop);
}

void RenderToStatsWindow(Session &s)
{
    if (s.StatsWindow) {
        s.RenderToWindow = true;
        s.ReportTarget = s.StatsWindow;
        PrintGroupStats(s);
        s.RenderToWindow = false;
    }
    if (s.GroupRendered) s.GroupRendered();
}

bool PrintReportPage(Session &s, PageJob &job)
{
    PainterSurface surface(job.Painter(), ReportFont(), job.Dpi());
    s.RenderToWindow = false;
    s.ReportTarget = &surface;
    PrintGroupStats(s);
    s.ReportTarget = nullptr;
    return job.End();
}
