// Hole detection on arbitrary small image files: never crashes, and every
// hole it reports lies in the image with a sane size and confidence.
#include "detect/scanreader.h"

#include <QImage>
#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2) return 0;
    // The first byte picks the bullet's size; the rest is the image file.
    const double diameter = 3 + data[0] % 40;
    const QImage image = QImage::fromData(data + 1, int(size - 1));
    if (image.isNull() || qint64(image.width()) * image.height() > 512 * 512) return 0;
    HoleRequest request;
    request.pixelsPerUnit = 1;
    request.bulletDiameter = diameter;
    QString why;
    const auto report = FindHolesInImage(image, request, &why);
    if (!report) {
        if (why.isEmpty()) std::abort(); // a refusal always says why
        return 0;
    }
    for (const FoundHole &h : report->holes)
        if (!(h.x >= 0 && h.y >= 0 && h.x <= image.width() && h.y <= image.height()) ||
            !(h.diameter > 0) || !(h.confidence >= 0 && h.confidence <= 1))
            std::abort();
    return 0;
}
