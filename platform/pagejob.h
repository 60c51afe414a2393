#pragma once
// One printed page: on a printer (see printer.h) or into a PDF file. The page
// is drawn in device units; dpi() converts twips (twips * dpi / 1440).
#include <QBuffer>
#include <QPagedPaintDevice>
#include <QString>
#include <memory>

class QPainter;

class PageJob {
public:
    virtual ~PageJob();
    // A PDF page, drawn in memory and written whole to `path` by End(), so a
    // failed write never leaves a partial file over a good one.
    static std::unique_ptr<PageJob> Pdf(const QString &path, const QString &title);

    QPainter &Painter();
    double Dpi() const { return dpi; }
    // Ends the document so the page is printed or the file is complete.
    // False when it could not be written.
    virtual bool End();
    // Why End() failed, naming the file where there is one.
    QString ErrorText() const { return error; }

protected:
    PageJob() = default;
    void Start(QPagedPaintDevice *device, double dpi);
    std::unique_ptr<QPainter> painter;
    QPagedPaintDevice *device = nullptr;
    double dpi = 1200;
    QString error;

private:
    QString path;
    std::unique_ptr<QBuffer> buffer;
    std::unique_ptr<QPagedPaintDevice> owned;
};
