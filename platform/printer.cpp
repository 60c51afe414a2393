#include "platform/printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
class PrinterJob : public PageJob {
public:
    PrinterJob() : printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution)
    {
        printer.setFullPage(true);
        Start(&printer, printer.resolution());
    }
    bool Ok() const { return painter && painter->isActive(); }
    bool End() override
    {
        if (!painter) return false;
        const bool ok = painter->end();
        painter.reset();
        if (!ok) error = QStringLiteral("The page could not be printed.");
        return ok;
    }

private:
    QPrinter printer;
};
} // namespace

bool HavePrinter() { return !QPrinterInfo::defaultPrinter().isNull(); }

std::unique_ptr<PageJob> BeginPrint(Prompter &prompter, const QString &title,
                                    const QString &suggestedPdf)
{
    if (HavePrinter()) {
        auto job = std::make_unique<PrinterJob>();
        if (job->Ok()) return job;
        prompter.MsgBox(QStringLiteral("The printer could not be started."),
                        QStringLiteral("Print"), Buttons::Ok, Icon::Exclamation);
        return nullptr;
    }
    const auto path =
        prompter.SaveFileName(QStringLiteral("No printer installed - save the page as PDF"),
                              suggestedPdf, QStringLiteral("PDF files (*.pdf)"));
    if (!path || path->isEmpty()) return nullptr;
    auto job = PageJob::Pdf(*path, title);
    if (!job)
        prompter.MsgBox(QStringLiteral("The file ") + *path +
                            QStringLiteral(" could not be written."),
                        QStringLiteral("Print"), Buttons::Ok, Icon::Exclamation);
    return job;
}
