#include "sheet/sheetwork.h"

#include "detect/scanreader.h"
#include "graph/targetcanvas.h"
#include "graph/targetimage.h"
#include "sheet/aimfinder.h"
#include "sheet/assign.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace {
// A 600-dpi letter card is searched whole; a larger scan in strips.
constexpr qint64 LargestInOnePiece = 40'000'000;
} // namespace

std::optional<std::vector<FoundHole>> FindCardHoles(const QImage &image, double bulletPixels,
                                                    const SheetProgress &progress)
{
    std::vector<FoundHole> holes;
    if (image.isNull() || !(bulletPixels > 0)) return holes;
    if (progress && !progress(0)) return std::nullopt;
    // The search judges each hole against the whole card around it, so a
    // card is searched in one piece; only a very large scan goes in strips
    // (each a quarter of it, overlapping by two bullets) so that it reports
    // progress and can stop between them.
    const bool large = qint64(image.width()) * image.height() > LargestInOnePiece;
    const int overlap = int(std::ceil(2 * bulletPixels));
    const int step = large ? std::max(overlap * 2, (image.height() + 3) / 4) : image.height();
    const int strips = (image.height() + step - 1) / step;
    for (int k = 0; k < strips; ++k) {
        if (progress && !progress(double(k) / strips)) return std::nullopt;
        const int top = k * step, bottom = std::min(image.height(), top + step);
        const QRect region(0, std::max(0, top - overlap), image.width(),
                           std::min(image.height(), bottom + overlap) - std::max(0, top - overlap));
        for (const FoundHole &h : FindHoles(image, bulletPixels, strips > 1 ? region : QRect()))
            if (h.y >= top && h.y < bottom) holes.push_back(h);
    }
    if (progress && !progress(1)) return std::nullopt;
    return holes;
}

std::optional<double> RecordedDpi(const QImage &image)
{
    const double dpi = image.dotsPerMeterX() * 0.0254;
    if (dpi < 99.5 || !std::isfinite(dpi)) return std::nullopt;
    return std::round(dpi * 10) / 10;
}

bool ReadCard(TargetSheet &sheet, const QImage &image, const SheetProgress &progress)
{
    const double bullet = sheet.BulletDiameter * sheet.PixelsPerUnit;
    if (sheet.Marks.empty()) sheet.Marks = FindAimMarks(image, bullet);
    auto part = [&](double from, double to) -> SheetProgress {
        if (!progress) return {};
        return [=](double done) { return progress(from + (to - from) * done); };
    };
    const auto holes = FindCardHoles(image, bullet, part(0.05, 0.95));
    if (!holes) return false;
    for (const FoundHole &h : *holes) {
        // A shot already on the card is not proposed again.
        const bool known =
            std::any_of(sheet.Shots.begin(), sheet.Shots.end(), [&](const SheetShot &s) {
                return std::hypot(s.x - h.x, s.y - h.y) < 0.5 * bullet;
            });
        if (known) continue;
        // A proposal on the very centre of a printed mark is more likely its
        // printed dot than a shot: shown, but left for the user to take.
        const bool onCentre =
            std::any_of(sheet.Marks.begin(), sheet.Marks.end(), [&](const SheetMark &m) {
                return std::hypot(m.x - h.x, m.y - h.y) < 0.15 * bullet;
            });
        sheet.Shots.push_back({h.x, h.y, -1, ShotSource::Found, h.confidence,
                               h.confidence >= SureConfidence && !onCentre});
    }
    AssignShots(sheet, true);
    return !progress || progress(1);
}

std::optional<QImage> ReadCardImage(const QString &path, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<QImage> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (!QFileInfo(path).isFile()) return fail(QStringLiteral("The file does not exist: ") + path);
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        return fail(QStringLiteral("The file is not an image that can be read: ") + path);
    if (const QString why = ImageSizeRefusal(size); !why.isEmpty()) return fail(why);
    if (!ImageFileComplete(path, reader.format()))
        return fail(QStringLiteral("The image is damaged or cut short: ") + path);
    if (QImageReader::allocationLimit() < TargetCanvas::ImageAllocationLimitMB)
        QImageReader::setAllocationLimit(TargetCanvas::ImageAllocationLimitMB);
    QImage image = reader.read();
    if (image.isNull()) return fail(QStringLiteral("The image could not be decoded: ") + path);
    return image;
}

QString CheckCardRequest(const TargetSheet &sheet, QSize imageSize)
{
    HoleRequest r;
    r.pixelsPerUnit = sheet.PixelsPerUnit;
    r.bulletDiameter = sheet.BulletDiameter;
    return CheckHoleRequest(r, imageSize);
}
