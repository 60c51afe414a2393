#include "platform/pagejob.h"

#include "platform/wholefile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

PageJob::~PageJob()
{
    if (painter && painter->isActive()) painter->end();
    painter.reset();
    owned.reset();
}

void PageJob::Start(QPagedPaintDevice *d, double resolution)
{
    device = d;
    dpi = resolution;
    painter = std::make_unique<QPainter>(device);
}

QPainter &PageJob::Painter() { return *painter; }

std::unique_ptr<PageJob> PageJob::Pdf(const QString &path, const QString &title)
{
    std::unique_ptr<PageJob> job(new PageJob);
    job->path = path;
    job->buffer = std::make_unique<QBuffer>();
    job->buffer->open(QIODevice::WriteOnly);
    auto writer = std::make_unique<QPdfWriter>(job->buffer.get());
    writer->setResolution(1200);
    writer->setTitle(title);
    writer->setCreator(QStringLiteral("Peltrix"));
    writer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPdfWriter *w = writer.get();
    job->owned = std::move(writer);
    job->Start(w, w->resolution());
    if (!job->painter->isActive()) return nullptr;
    return job;
}

bool PageJob::End()
{
    if (!painter) return false;
    const bool painted = painter->end();
    painter.reset();
    owned.reset(); // finishes the PDF in the buffer
    if (!buffer) return painted;
    QString why;
    if (!painted)
        why = QStringLiteral("The page could not be drawn.");
    else
        WriteWholeFile(path, buffer->data(), &why);
    buffer.reset();
    if (why.isEmpty()) return true;
    error = WriteFailedText(path, why);
    return false;
}
