#include "sheet/sheetwork.h"

#include "detect/scanreader.h"
#include "imaging/targetimage.h"
#include "model/settingsfile.h"
#include "sheet/aimfinder.h"
#include "sheet/assign.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

std::optional<std::vector<FoundHole>> FindCardHoles(const QImage &image, double bulletPixels,
                                                    const SheetProgress &progress)
{
    if (image.isNull() || !(bulletPixels > 0)) return std::vector<FoundHole>();
    // The card is searched exactly as detect searches an image, whole; its
    // progress and a Cancel reach into the search.
    bool stopped = false;
    double last = 0;
    SearchControl control;
    control.progress = [&](int percent) {
        last = percent / 100.0;
        if (progress && !progress(last)) stopped = true;
    };
    control.cancelled = [&] {
        if (progress && !stopped && !progress(last)) stopped = true;
        return stopped;
    };
    HoleRequest request;
    request.pixelsPerUnit = bulletPixels;
    request.bulletDiameter = 1;
    request.control = &control;
    QString why;
    auto report = FindHolesInImage(image, request, &why);
    if (stopped || (progress && !progress(1))) return std::nullopt;
    if (!report) return std::vector<FoundHole>();
    return std::move(report->holes);
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
    QFile file;
    QImageReader reader;
    if (QString no; !OpenImageFile(path, file, reader, &no))
        return fail(QStringLiteral("The image %1 cannot be read: %2").arg(path, no));
    reader.setAutoTransform(true);
    const QSize size = UprightSize(reader);
    if (!reader.canRead() || !size.isValid())
        return fail(QStringLiteral("The file is not an image that can be read: ") + path);
    if (const QString why = ImageSizeRefusal(size); !why.isEmpty()) return fail(why);
    if (!ImageFileComplete(path, reader.format()))
        return fail(QStringLiteral("The image is damaged or cut short: ") + path);
    RaiseAllocationLimit();
    QImage image = reader.read();
    if (image.isNull()) return fail(QStringLiteral("The image could not be decoded: ") + path);
    // The resolution as the file's headers best tell it (1 dot per metre:
    // none).
    const double dpm = FileDpi(path, image).value_or(0.0254) / 0.0254;
    image.setDotsPerMeterX(int(std::lround(dpm)));
    image.setDotsPerMeterY(int(std::lround(dpm)));
    return image;
}

QImage SheetCardImage(const TargetSheet &sheet, QString *problem)
{
    if (!sheet.ImagePath.isEmpty())
        if (const auto i = ReadCardImage(sheet.ImagePath, problem)) return *i;
    double w = 800, h = 1000;
    for (const SheetMark &m : sheet.Marks)
        w = std::max(w, m.x + m.size), h = std::max(h, m.y + m.size);
    for (const SheetShot &s : sheet.Shots) w = std::max(w, s.x + 50), h = std::max(h, s.y + 50);
    QImage image(int(std::min(w, 20000.0)), int(std::min(h, 20000.0)), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

namespace {
QString SizeKey(QSize size)
{
    return QStringLiteral("TypedDpi/%1x%2").arg(size.width()).arg(size.height());
}
QString SheetSettings(const QString &appDataDir)
{
    return QDir(appDataDir).filePath(QStringLiteral("sheet.ini"));
}
} // namespace

std::optional<double> RememberedDpi(const QString &appDataDir, QSize size)
{
    if (appDataDir.isEmpty() || size.isEmpty()) return std::nullopt;
    return SettingsFile(SheetSettings(appDataDir)).Number(SizeKey(size), 1, 1e6);
}

void RememberDpi(const QString &appDataDir, QSize size, double dpi)
{
    if (appDataDir.isEmpty() || size.isEmpty()) return;
    SettingsFile ini(SheetSettings(appDataDir));
    ini.Set(SizeKey(size), QString::number(dpi, 'g', 10));
    // Remembering is a convenience: a file that cannot be written is no error.
    ini.Save();
}

QString CheckCardRequest(const TargetSheet &sheet, QSize imageSize)
{
    HoleRequest r;
    r.pixelsPerUnit = sheet.PixelsPerUnit;
    r.bulletDiameter = sheet.BulletDiameter;
    return CheckHoleRequest(r, imageSize);
}
