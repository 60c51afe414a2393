#pragma once
// One printed page: on a printer (see printer.h) or into a PDF file. The page
// is drawn in device units; dpi() converts twips (twips * dpi / 1440).
#include <QPagedPaintDevice>
#include <QSaveFile>
#include <QString>
#include <memory>

class QPainter;
class QPagedPaintDevice;
class QSaveFile;

class PageJob {
public:
    virtual ~PageJob();
    // A PDF page written to `path` only when End() succeeds, so a failed
    // print never leaves a partial file over a good one. Null when the file
    // cannot be created.
    static std::unique_ptr<PageJob> Pdf(const QString &path, const QString &title);

    QPainter &Painter();
    double Dpi() const { return dpi; }
    // Ends the document so the page is printed or the file is complete.
    // False when it could not be written.
    virtual bool End();
    QString ErrorText() const { return error; }

protected:
    PageJob() = default;
    void Start(QPagedPaintDevice *device, double dpi);
    std::unique_ptr<QPainter> painter;
    QPagedPaintDevice *device = nullptr;
    double dpi = 1200;
    QString error;

private:
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QPagedPaintDevice> owned;
};
