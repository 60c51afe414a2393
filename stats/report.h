#pragma once
// The statistics report: one drawing procedure for every surface it lands on
// (the statistics window, a printed page, a PDF, a recording for tests).
#include "model/session.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;

// A drawing surface measured in twips from its top-left corner, Y downward.
class ReportSurface {
public:
    virtual ~ReportSurface() = default;
    double CurrentX = 0;
    double CurrentY = 0;
    // Height of one line of text in the current font, whole twips.
    virtual qint32 TextHeight(const QString &text) const = 0;
    virtual double TextWidth(const QString &text) const = 0;
    virtual void Cls() { CurrentX = CurrentY = 0; }
    // Width of the page in twips (a Letter page unless the device says).
    virtual double PageWidth() const { return 12240; }
    // Where text on a page must end: one inch inside its right edge.
    double RightLimit() const { return PageWidth() - 1440; }
    // Prints at the current position; then either moves just past the text
    // or, at the end of a line, to the left margin of the next line.
    void Print(const QString &text, bool endLine);

protected:
    virtual void DrawText(double x, double y, const QString &text) = 0;
};

struct ReportItem {
    double x = 0, y = 0; // twips, top-left of the text
    QString text;
    bool operator==(const ReportItem &) const = default;
};

// Keeps what was printed as a display list. Measures text with a font at
// screen resolution (15 twips per pixel), or with fixed metrics when no font
// is given (tests that want exact arithmetic).
class RecordingSurface : public ReportSurface {
public:
    RecordingSurface(); // fixed metrics: 195 twips per line, 90 per character
    explicit RecordingSurface(const QFont &font);
    qint32 TextHeight(const QString &text) const override;
    double TextWidth(const QString &text) const override;
    void Cls() override;
    const QList<ReportItem> &Items() const { return items; }
    // The first item with exactly this text, or nullptr.
    const ReportItem *Find(const QString &text) const;
    QFont Font() const { return font; }
    bool HasFont() const { return hasFont; }
    // Called after every change, so a window can repaint.
    std::function<void()> Changed;

protected:
    void DrawText(double x, double y, const QString &text) override;

private:
    QList<ReportItem> items;
    QFont font;
    bool hasFont = false;
    // Measured once: every line of the report asks for its width.
    QFontMetricsF metrics{QFont()};
};

// Draws on a QPainter whose device has `dpi` dots per inch (printer, PDF).
class PainterSurface : public ReportSurface {
public:
    PainterSurface(QPainter &painter, const QFont &font, double dpi);
    qint32 TextHeight(const QString &text) const override;
    double TextWidth(const QString &text) const override;
    void Cls() override;
    double PageWidth() const override;

protected:
    void DrawText(double x, double y, const QString &text) override;

private:
    QPainter &painter;
    QFont font;
    QFontMetricsF metrics;
    double scale; // device units per twip
    double ascent;
};

// `text` broken into lines no wider than `width` twips on `surface`: at
// blanks where it can, inside a word only when the word alone is wider.
// A text that fits is kept as it is; wrapped lines lose their trailing
// blanks. An empty text gives one empty line.
QStringList WrapText(const ReportSurface &surface, const QString &text, double width);

// The font of the statistics window and the printed report.
QFont ReportFont();

void InitReportLabels(Session &s);
void InitReportLayout(Session &s);
// Where the report goes: a window is cleared first and shows the body at the
// layout's places; a page gets the header block and the body moved down and
// right below it.
enum class ReportOn { Window, Page };
void PrintGroupStats(const Session &s, ReportSurface &out, ReportOn on);

class PageJob;
// Prints the report on the page of `job` and ends the document. False when
// the page could not be written.
bool PrintReportPage(const Session &s, PageJob &job);
