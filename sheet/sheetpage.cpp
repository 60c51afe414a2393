#include "sheet/sheetpage.h"

#include "platform/pagejob.h"
#include "sheet/sheetdraw.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

namespace {
const QString Title = QStringLiteral("Target Sheet");

QString Num(double v) { return QString::number(v, 'f', 3); }
QString Interval(double low, double high)
{
    return Num(low) + QStringLiteral(" \u2013 ") + Num(high);
}
} // namespace

QStringList SheetFigureUnits(const TargetSheet &sheet)
{
    QStringList units{sheet.UnitName.trimmed()};
    if (InchesPerUnit(sheet.UnitName) && sheet.RangeYards)
        units << QStringLiteral("MOA") << QStringLiteral("mrad");
    return units;
}

QStringList SheetTableHeader()
{
    return {QStringLiteral("Group"),
            QStringLiteral("Label"),
            QStringLiteral("Shots"),
            QStringLiteral("Extreme spread"),
            QStringLiteral("Mean radius"),
            QStringLiteral("Rayleigh \u03c3"),
            QStringLiteral("\u03c3 interval (95 %)"),
            QStringLiteral("CEP"),
            QStringLiteral("Centre offset")};
}

std::vector<QStringList> SheetTableRows(const TargetSheet &sheet, const SheetFigures &figures,
                                        int show)
{
    std::vector<QStringList> rows;
    auto in = [&](const GroupAnalysis &a) -> const std::optional<LengthFigures> & {
        return show == 1 ? a.MOA : show == 2 ? a.Mrad : a.Length;
    };
    for (size_t g = 0; g < sheet.Marks.size() && g < figures.Groups.size(); ++g) {
        const GroupAnalysis &a = figures.Groups[g];
        const auto &f = in(a);
        const QString shots =
            sheet.CountNote(int(g)).isEmpty()
                ? QString::number(a.ShotCount)
                : QStringLiteral("%1 of %2").arg(a.ShotCount).arg(sheet.ShotsPerGroup);
        if (!f) {
            rows.push_back({QString::number(g + 1), sheet.Marks[g].label, shots, UndefinedFigure,
                            UndefinedFigure, UndefinedFigure, UndefinedFigure, UndefinedFigure,
                            UndefinedFigure});
            continue;
        }
        rows.push_back({QString::number(g + 1), sheet.Marks[g].label, shots, Num(f->ExtremeSpread),
                        Num(f->MeanRadius), Num(f->Rayleigh.Sigma),
                        Interval(f->Rayleigh.SigmaLow, f->Rayleigh.SigmaHigh),
                        Num(f->Rayleigh.CEP50), Num(f->CenterOffset)});
    }
    const auto &p = figures.Pooled;
    const std::optional<RayleighFigures> *r = nullptr;
    if (p) r = show == 1 ? &p->MOA : show == 2 ? &p->Mrad : &p->Length;
    const bool pooled = r && r->has_value();
    rows.push_back({QStringLiteral("Pooled"), QString(),
                    p ? QString::number(p->ShotCount) : QStringLiteral("0"), QString(), QString(),
                    pooled ? Num((*r)->Sigma) : UndefinedFigure,
                    pooled ? Interval((*r)->SigmaLow, (*r)->SigmaHigh) : UndefinedFigure,
                    pooled ? Num((*r)->CEP50) : UndefinedFigure, QString()});
    return rows;
}

QString SheetPooledText(const TargetSheet &sheet, const SheetFigures &figures)
{
    const auto &p = figures.Pooled;
    QString text =
        p ? QStringLiteral("Pooled over %1 groups, %2 shots, each around its own centre (%3 "
                           "degrees of freedom).")
                .arg(p->Groups)
                .arg(p->ShotCount)
                .arg(p->DegreesOfFreedom)
          : QStringLiteral("Pooled: ") + figures.PooledError;
    QStringList notes;
    for (int g = 0; g < int(sheet.Marks.size()); ++g)
        if (const QString n = sheet.CountNote(g); !n.isEmpty()) notes << n;
    if (!notes.isEmpty())
        text += QStringLiteral(" Not as many shots as asked: ") + notes.join(QStringLiteral("; ")) +
                QStringLiteral(".");
    return text;
}

QStringList SheetPageLines(const TargetSheet &sheet, const SheetFigures &figures, int show)
{
    // The table in even columns: the first two to the left, figures to the right.
    std::vector<QStringList> rows = SheetTableRows(sheet, figures, show);
    rows.insert(rows.begin(), SheetTableHeader());
    std::vector<qsizetype> width(size_t(rows.front().size()), 0);
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c)
            width[size_t(c)] = std::max(width[size_t(c)], row[c].size());
    QStringList lines{QStringLiteral("Figures in %1, range %2")
                          .arg(SheetFigureUnits(sheet).value(show),
                               sheet.RangeYards
                                   ? QString::number(*sheet.RangeYards) + QStringLiteral(" yards")
                                   : QStringLiteral("not entered"))};
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += (c < 2 ? row[c].leftJustified(width[size_t(c)])
                           : row[c].rightJustified(width[size_t(c)])) +
                    QStringLiteral("  ");
        lines << line.trimmed();
    }
    lines << QString() << SheetPooledText(sheet, figures);
    return lines;
}

void DrawSheetPage(QPainter &p, const QRectF &page, const SheetPage &what)
{
    const TargetSheet &sheet = what.sheet;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    QString heading = Title + QStringLiteral(": ") + what.name;
    for (const QString &t : {sheet.Header.Shooter, sheet.Header.Firearm, sheet.Header.Date})
        if (!t.isEmpty()) heading += QStringLiteral(" \u2014 ") + t;
    p.drawText(QRectF(0, 0, page.width(), 40), Qt::AlignLeft | Qt::AlignVCenter, heading);

    // The card on the upper half, the chart beside it, the table below.
    const QImage card = MarkedCard(what.card, sheet, 1600);
    QRectF cardBox(0, 50, page.width() * 0.55, page.height() * 0.5);
    const QSizeF fit = QSizeF(card.size()).scaled(cardBox.size(), Qt::KeepAspectRatio);
    p.drawImage(QRectF(cardBox.topLeft(), fit), card);

    // The chart only where the labels make one: a page says no more than it has.
    if (what.chart && !LoadDevelopment(sheet, what.figures).empty())
        what.chart(p, QRectF(page.width() * 0.57, 50, page.width() * 0.43, page.height() * 0.48));

    // The table, as small as needed to fit below.
    const QStringList lines = SheetPageLines(sheet, what.figures, what.show);
    const QRectF tableBox(0, 70 + page.height() * 0.5, page.width(), page.height() * 0.5 - 70);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(20);
    double widest = 1;
    for (const QString &l : lines)
        widest = std::max(widest, QFontMetricsF(mono).horizontalAdvance(l));
    const double px = std::min(
        {20.0, 20 * tableBox.width() / widest, tableBox.height() / double(lines.size()) / 1.2});
    mono.setPixelSize(std::max(4, int(px)));
    p.setFont(mono);
    const double lineHeight = QFontMetricsF(mono).lineSpacing();
    for (qsizetype i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(tableBox.x(), tableBox.y() + double(i + 1) * lineHeight), lines[i]);
}

bool PrintSheetPdf(const QString &pdfPath, const SheetPage &what, QString *why)
{
    auto job = PageJob::Pdf(pdfPath, what.name);
    if (!job) {
        if (why) *why = QStringLiteral("The page could not be started.");
        return false;
    }
    // Laid out at 150 dpi inside 12 mm margins, as the page always was.
    constexpr double PageDpi = 150;
    const QPageLayout layout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                             QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    const QRect area = layout.paintRectPixels(int(PageDpi));
    QPainter &p = job->Painter();
    p.scale(job->Dpi() / PageDpi, job->Dpi() / PageDpi);
    p.translate(area.topLeft());
    DrawSheetPage(p, QRectF(0, 0, area.width(), area.height()), what);
    if (job->End()) return true;
    if (why) *why = job->ErrorText();
    return false;
}
