#include "detect/scanreader.h"

#include "detect/holenet.h"
#include "imaging/targetimage.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cmath>

namespace {
// Below this a hole has too few pixels to be told from dirt.
constexpr double SmallestDiameterPixels = 3;

bool Fail(QString *error, const QString &why)
{
    if (error) *error = why;
    return false;
}

// `done` percent of the work (the decoding) lies behind.
std::optional<HoleReport> Search(const QImage &image, const HoleRequest &request, QSize fullSize,
                                 QString *error, int done)
{
    if (image.isNull()) {
        Fail(error, QStringLiteral("The image could not be decoded."));
        return std::nullopt;
    }
    if (const QString off = HoleModelProblem(); !off.isEmpty()) {
        Fail(error, off);
        return std::nullopt;
    }
    const double sx = double(fullSize.width()) / image.width();
    const double sy = double(fullSize.height()) / image.height();
    QRect region;
    if (!request.region.isEmpty())
        region =
            QRect(QPoint(int(std::floor(request.region.x() / sx)),
                         int(std::floor(request.region.y() / sy))),
                  QPoint(int(std::ceil((request.region.x() + request.region.width()) / sx)) - 1,
                         int(std::ceil((request.region.y() + request.region.height()) / sy)) - 1));
    const double diameter = request.bulletDiameter * request.pixelsPerUnit / std::sqrt(sx * sy);
    SearchControl stretch;
    if (request.control) {
        stretch = *request.control;
        stretch.from = done;
    }
    HoleReport report{fullSize,
                      FindHoles(image, diameter, region, request.control ? &stretch : nullptr)};
    if (request.control && request.control->Cancelled()) {
        Fail(error, QStringLiteral("The search was cancelled."));
        return std::nullopt;
    }
    for (auto &h : report.holes) {
        h.x *= sx;
        h.y *= sy;
        h.diameter *= std::sqrt(sx * sy);
    }
    return report;
}
} // namespace

QString CheckHoleRequest(const HoleRequest &request, QSize imageSize)
{
    if (!imageSize.isValid() || imageSize.isEmpty()) return QStringLiteral("The image is empty.");
    // The same limit as the picture of graphical entry.
    if (const QString tooLarge = ImageSizeRefusal(imageSize); !tooLarge.isEmpty()) return tooLarge;
    if (!(request.pixelsPerUnit > 0) || !std::isfinite(request.pixelsPerUnit))
        return QStringLiteral("The scale must be a positive number.");
    if (!(request.bulletDiameter > 0) || !std::isfinite(request.bulletDiameter))
        return QStringLiteral("The bullet diameter must be a positive number.");
    const double px = request.bulletDiameter * request.pixelsPerUnit;
    if (!std::isfinite(px) || px > std::min(imageSize.width(), imageSize.height()))
        return QStringLiteral("A bullet of that diameter is larger than the image.");
    if (px < SmallestDiameterPixels)
        return QStringLiteral("A bullet of that diameter is less than %1 pixels across on this "
                              "image; holes that small cannot be found.")
            .arg(SmallestDiameterPixels);
    if (!request.region.isEmpty() && !QRect(QPoint(0, 0), imageSize).contains(request.region))
        return QStringLiteral("The region lies outside the image (%1 x %2 pixels).")
            .arg(imageSize.width())
            .arg(imageSize.height());
    return {};
}

std::optional<HoleReport> FindHolesInImage(const QImage &image, const HoleRequest &request,
                                           QString *error)
{
    if (const QString why = CheckHoleRequest(request, image.size()); !why.isEmpty()) {
        Fail(error, why);
        return std::nullopt;
    }
    return Search(image, request, image.size(), error, 0);
}

std::optional<HoleReport> FindHolesInFile(const QString &path, const HoleRequest &request,
                                          QString *error)
{
    QFile file;
    QImageReader reader;
    if (QString no; !OpenImageFile(path, file, reader, &no)) {
        Fail(error, QStringLiteral("The image %1 cannot be read: %2").arg(path, no));
        return std::nullopt;
    }
    // Photos open upright: every position refers to the picture as seen.
    reader.setAutoTransform(true);
    const QSize full = UprightSize(reader);
    if (!reader.canRead() || !full.isValid()) {
        Fail(error, QStringLiteral("The file is not an image that can be read: ") + path);
        return std::nullopt;
    }
    if (const QString why = CheckHoleRequest(request, full); !why.isEmpty()) {
        Fail(error, why);
        return std::nullopt;
    }
    // A JPEG or bitmap cut short still decodes, grey where its data ran out.
    if (!ImageFileComplete(path, reader.format())) {
        Fail(error, QStringLiteral("The image is damaged or cut short: ") + path);
        return std::nullopt;
    }
    // The limit above is ours; the reader's own would refuse large scans.
    RaiseAllocationLimit();
    if (request.control) {
        if (request.control->Cancelled())
            return Fail(error, QStringLiteral("The search was cancelled.")), std::nullopt;
        request.control->Progress(0);
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        Fail(error, QStringLiteral("The image could not be decoded: ") + reader.errorString());
        return std::nullopt;
    }
    if (request.control) request.control->Progress(0.3);
    // Decoded whole, so that a picture in memory (the target sheet's) and its
    // file give the very same holes.
    return Search(image, request, image.size(), error, 30);
}
