#include "platform/pagejob.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

PageJob::~PageJob()
{
    if (painter && painter->isActive()) painter->end();
    painter.reset();
    owned.reset();
    if (file) file->cancelWriting();
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
    job->file = std::make_unique<QSaveFile>(path);
    if (!job->file->open(QIODevice::WriteOnly)) return nullptr;
    auto writer = std::make_unique<QPdfWriter>(job->file.get());
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
    owned.reset(); // flushes the PDF into the file
    if (!file) return painted;
    if (!painted || !file->commit()) {
        error = file->errorString();
        file.reset();
        return false;
    }
    file.reset();
    return true;
}
