#pragma once
// What the two test windows have in common: building their controls in
// twips, showing a caption whose lines end in carriage returns, printing.
#include <QRect>
#include <QString>
#include <functional>

class Prompter;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class ReportSurface;
struct TestOutcome;

namespace TestForm {
QGroupBox *Frame(QWidget *parent, const char *name, const QString &caption, QRect twips);
QLabel *Label(QWidget *parent, const char *name, const QString &caption, QRect twips);
// maxLength 0: no limit of its own.
QLineEdit *Field(QWidget *parent, const char *name, QRect twips, int maxLength);
QPushButton *Button(QWidget *parent, const char *name, const QString &caption, QRect twips);
// A label breaks lines at line feeds, the captions at carriage returns.
void SetCaption(QLabel *label, const QString &caption);
// Prints one page on the default printer (or into a PDF the user names);
// a page that cannot be written is reported.
void PrintPage(Prompter &prompter, QWidget *owner, const QString &title,
               const QString &suggestedPdf, const std::function<void(ReportSurface &)> &draw);
// Compute of both windows: clears the verdict, runs `compute` (which shows
// its refusals itself) and shows what it found; Print appears once a result
// was computed.
void RunCompute(QLabel *result, QPushButton *print, QString &caption,
                const std::function<TestOutcome()> &compute);
// Where the page of a window goes when it is saved as a PDF.
QString SuggestedPdf(const QString &documentsDir, const QString &fileName);
} // namespace TestForm
