#pragma once
// The groups of a sheet as text, the one way the window's table shows them
// and the printed page lists them, and the printed page itself, drawn from
// the sheet alone so the window and the command line print the same page.
#include "sheet/targetsheet.h"

#include <QImage>
#include <QStringList>
#include <functional>

class QPainter;

// What the figures can be shown in: the sheet's unit, then MOA and mrad
// when the unit converts to inches and the range is known.
QStringList SheetFigureUnits(const TargetSheet &sheet);
// The table's columns.
QStringList SheetTableHeader();
// One row per group, then the pooled row; figures in SheetFigureUnits()[show].
std::vector<QStringList> SheetTableRows(const TargetSheet &sheet, const SheetFigures &figures,
                                        int show);
// The sentence under the table: what was pooled, and the groups short of shots.
QString SheetPooledText(const TargetSheet &sheet, const SheetFigures &figures);
// The lines printed under the card: what the figures are in, the table in
// even columns with its header, and the pooled sentence.
QStringList SheetPageLines(const TargetSheet &sheet, const SheetFigures &figures, int show);

// Draws the load chart into a box of the page; the chart lives with the
// windows, so a page printed without them has none.
using SheetChartPainter = std::function<void(QPainter &, const QRectF &)>;

struct SheetPage {
    const TargetSheet &sheet;
    const SheetFigures &figures;
    QImage card;
    QString name; // in the heading and the PDF's title
    int show = 0; // index into SheetFigureUnits
    SheetChartPainter chart;
};

// The page on a painter whose printable area is `page`, in pixels of 150 dpi.
void DrawSheetPage(QPainter &p, const QRectF &page, const SheetPage &what);
// A Letter page with 12 mm margins written whole to `pdfPath`; false with
// the reason and nothing written when it cannot be.
bool PrintSheetPdf(const QString &pdfPath, const SheetPage &what, QString *why);
