#include "stats/report.h"

#include "model/textnum.h"
#include "platform/fonts.h"
#include "platform/pagejob.h"
#include "stats/groupstats.h"

#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
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
    : painter(p), font(PageFont(f)), metrics(font, p.device()), scale(dpi / 1440.0)
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

double PainterSurface::PageWidth() const { return painter.device()->width() / scale; }

void PainterSurface::DrawText(double x, double y, const QString &text)
{
    painter.drawText(QPointF(x * scale, y * scale + ascent), text);
}

QStringList WrapText(const ReportSurface &surface, const QString &text, double width)
{
    auto fits = [&](const QString &t) { return surface.TextWidth(t) <= width; };
    const bool oneLine = !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
    if (oneLine && fits(text)) return {text}; // as it stands, blanks and all
    QStringList lines;
    QString line;
    auto flush = [&] {
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        lines << line;
        line.clear();
    };
    const QStringList paragraphs = QString(text)
                                       .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                       .split(QRegularExpression(QStringLiteral("[\r\n]")));
    for (const QString &paragraph : paragraphs) {
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (fits(joined)) {
                line = joined;
                continue;
            }
            if (!line.isEmpty()) flush();
            // A word wider than the whole line is broken where it must be.
            for (QChar c : word) {
                if (!line.isEmpty() && !fits(line + c)) flush();
                line += c;
            }
        }
        flush();
    }
    return lines;
}

// One font for the window and the page, so both measure alike.
QFont ReportFont() { return PageFont(NarrowFont(8)); }

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

// Prints the header block and returns the Y below its last line.
double printHeaderBlock(const Session &s, ReportSurface &out, qint32 h)
{
    const QString lines[7] = {QStringLiteral("Shooter Name: ") + s.ShooterName,
                              QStringLiteral("Date Fired: ") + s.DateFired,
                              QStringLiteral("Rifle: ") + s.Firearm,
                              QStringLiteral("Caliber: ") + s.Caliber,
                              QStringLiteral("Ammo Lot Number: ") + s.LotNumber,
                              QStringLiteral("Range to Target: ") + GeneralNum(s.RangeToTarget, 7),
                              QStringLiteral("General Comments: ")};
    for (int i = 0; i < 7; ++i) {
        out.CurrentX = PageOffsetLeft;
        out.CurrentY = i == 0 ? 5.0 * h : out.CurrentY + h;
        out.Print(lines[i], true);
    }
    // The comment is as long as a paragraph: wrapped within the page, its
    // lines one under the other.
    out.CurrentY += h;
    for (const QString &line : WrapText(out, s.Comments, out.RightLimit() - PageOffsetLeft)) {
        out.CurrentX = PageOffsetLeft;
        out.Print(line, true);
    }
    return out.CurrentY;
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

namespace {
// The body of the report with every layout place moved by (dx, dy) twips.
void printBody(const Session &s, ReportSurface &out, qint32 dx, qint32 dy)
{
    const qint32 h = out.TextHeight(QStringLiteral("00.00"));
    std::array<qint32, 18> left = s.ReportLeft, top = s.ReportTop;
    for (int i = 0; i < 18; ++i) {
        left[i] += dx;
        top[i] += dy;
    }

    for (int i = 0; i < 18; ++i) printAt(out, left[i], top[i], s.ReportLabel[i]);
    printAt(out, left[0] + 1200, top[0], s.UnitName);

    for (qint32 k = 1; k <= s.ShotCount; ++k) {
        out.CurrentX = left[1] + 450;
        out.CurrentY = top[1] + double(k) * h;
        out.Print(FormatPicture(float(k), QStringLiteral("00")), false);
        out.CurrentX += 1000;
        out.Print(signedText(s.ShotX[k], QStringLiteral("###0.000")), false);
        out.CurrentX += 850;
        out.Print(signedText(s.ShotY[k], QStringLiteral("###0.000")), false);
        out.CurrentX += 1300;
        out.Print(FormatPicture(s.ShotR[k], QStringLiteral("###0.000")), true);
    }

    printAt(out, left[14] + 1400, top[14],
            FormatPicture(float(s.ShotCount), QStringLiteral("##0")));
    if (s.ShotCount > 1) {
        printAt(out, left[16] + 1250, top[16], FormatPicture(s.MeanX, QStringLiteral("##0.000")));
        printAt(out, left[17] + 1250, top[17], FormatPicture(s.MeanY, QStringLiteral("##0.000")));
    }
    const QString sizeText =
        FormatPicture(s.GroupSize, QStringLiteral("#0.000")) + QLatin1Char(' ') + s.UnitName;
    printAt(out, left[15] + 2050, top[15], sizeText);
    if (const auto moa = GroupSizeMOA(s)) {
        // A long unit name would run into the MOA at its usual place: then
        // the MOA follows the size text, two blanks after it.
        const double after = left[15] + 2050 + out.TextWidth(sizeText + QStringLiteral("  "));
        printAt(out, std::max(double(left[15] + 3250), after), top[15],
                FormatPictureD(*moa, QStringLiteral("##0.00")) + QStringLiteral(" MOA"));
    }

    const QString pat = QStringLiteral("###0.000");
    printRow(out, left[5] + 400, top[5] + h, signedText(s.MeanX, pat), signedText(s.SdX, pat),
             FormatPicture(s.RangeX, pat), 1300, 1300);
    printRow(out, left[8] + 400, top[8] + h, signedText(s.MeanY, pat), signedText(s.SdY, pat),
             FormatPicture(s.RangeY, pat), 1300, 1300);
    printRow(out, left[11] + 400, top[11] + h, signedText(s.MeanR, pat), FormatPicture(s.SdR, pat),
             FormatPicture(s.RangeR, pat), 1350, 1300);
}
} // namespace

void PrintGroupStats(const Session &s, ReportSurface &out, ReportOn on)
{
    if (on == ReportOn::Window) {
        out.Cls();
        printBody(s, out, 0, 0);
        return;
    }
    // The body goes below the header block, further down when a long
    // comment needs the room.
    const qint32 h = out.TextHeight(QStringLiteral("00.00"));
    const double headerEnd = printHeaderBlock(s, out, h);
    const qint32 pageTop =
        std::max(PageOffsetTop, qint32(std::ceil(headerEnd + h)) - s.ReportTop[0]);
    printBody(s, out, PageOffsetLeft, pageTop);
}

bool PrintReportPage(const Session &s, PageJob &job)
{
    PainterSurface surface(job.Painter(), ReportFont(), job.Dpi());
    PrintGroupStats(s, surface, ReportOn::Page);
    return job.End();
}
