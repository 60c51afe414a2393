#include "sheet/sheetstraighten.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QPolygonF>
#include <cmath>

namespace {
// As the file's other positions: far beyond any card.
constexpr double Huge = 1e7;

QString RelativeTo(const QString &path, const QString &sheetPath)
{
    if (path.isEmpty()) return path;
    const QDir folder = QFileInfo(sheetPath).absoluteDir();
    const QString relative = folder.relativeFilePath(QFileInfo(path).absoluteFilePath());
    if (!relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative))
        return relative;
    return path;
}

bool Within(const QJsonValue &v, double low, double high)
{
    return v.isDouble() && std::isfinite(v.toDouble()) && v.toDouble() >= low &&
           v.toDouble() <= high;
}
} // namespace

std::optional<SheetStraightened> StraightenSheet(const TargetSheet &sheet, const QImage &photo,
                                                 const StraightenCorners &corners, double width,
                                                 double height, QString *why)
{
    if (photo.isNull() || sheet.ImagePath.isEmpty()) {
        if (why) *why = QStringLiteral("Import a scanned card first.");
        return std::nullopt;
    }
    // A sheet whose scan is missing shows a blank card: nothing to straighten.
    if (!QFileInfo(sheet.ImagePath).isFile()) {
        if (why) *why = QStringLiteral("The card's scan cannot be found: ") + sheet.ImagePath;
        return std::nullopt;
    }
    StraightenRequest request;
    request.imageSize = photo.size();
    request.corners = corners;
    request.width = width;
    request.height = height;
    for (const SheetMark &m : sheet.Marks) request.keep.emplace_back(m.x, m.y);
    for (const SheetShot &s : sheet.Shots) request.keep.emplace_back(s.x, s.y);
    const auto plan = PlanStraighten(request, why);
    if (!plan) return std::nullopt;

    SheetStraightened out{sheet, {}};
    TargetSheet &s = out.sheet;
    size_t k = 0;
    for (SheetMark &m : s.Marks) {
        const QPointF at = *plan->Map(request.keep[k++]);
        // The mark's size and cell as the new picture shows them around it.
        double across = 0;
        int sides = 0;
        for (const QPointF &d : {QPointF(m.size / 2, 0), QPointF(0, m.size / 2)}) {
            const auto a = plan->Map(QPointF(m.x, m.y) - d), b = plan->Map(QPointF(m.x, m.y) + d);
            if (a && b) across += std::hypot(a->x() - b->x(), a->y() - b->y()), ++sides;
        }
        m.size = sides ? across / sides : m.size;
        if (!m.cell.isEmpty()) {
            QPolygonF cell;
            for (const QPointF &c :
                 {m.cell.topLeft(), m.cell.topRight(), m.cell.bottomRight(), m.cell.bottomLeft()})
                if (const auto q = plan->Map(c)) cell << *q;
            m.cell = cell.size() == 4 ? cell.boundingRect() : QRectF();
        }
        m.x = at.x();
        m.y = at.y();
    }
    for (SheetShot &shot : s.Shots) {
        const QPointF at = *plan->Map(request.keep[k++]);
        shot.x = at.x();
        shot.y = at.y();
    }
    out.picture = StraightenImage(photo, *plan, sheet.UnitName);
    if (out.picture.isNull()) {
        if (why) *why = QStringLiteral("There is not enough memory for the straightened picture.");
        return std::nullopt;
    }
    const auto saved = SaveBesidePhoto(out.picture, sheet.ImagePath, why);
    if (!saved) return std::nullopt;
    s.Original = SheetOriginal{sheet.ImagePath, corners, width, height};
    s.ImagePath = *saved;
    s.PixelsPerUnit = plan->dotsPerUnit;
    return out;
}

QJsonValue OriginalJson(const TargetSheet &sheet, const QString &sheetPath)
{
    if (!sheet.Original) return QJsonValue(QJsonValue::Undefined);
    const SheetOriginal &o = *sheet.Original;
    QJsonArray corners;
    for (const QPointF &c : o.Corners) corners.append(QJsonArray{c.x(), c.y()});
    return QJsonObject{{QStringLiteral("image"), RelativeTo(o.ImagePath, sheetPath)},
                       {QStringLiteral("corners"), corners},
                       {QStringLiteral("size"), QJsonArray{o.Width, o.Height}}};
}

bool ReadOriginal(const QJsonObject &file, const QString &sheetPath, TargetSheet &sheet,
                  QString *fault)
{
    const QJsonValue v = file.value(QStringLiteral("original"));
    if (v.isUndefined() || v.isNull()) {
        sheet.Original.reset();
        return true;
    }
    const QJsonObject o = v.toObject();
    const QJsonValue image = o.value(QStringLiteral("image"));
    const QJsonArray corners = o.value(QStringLiteral("corners")).toArray();
    const QJsonArray size = o.value(QStringLiteral("size")).toArray();
    bool ok = v.isObject() && image.isString() && corners.size() == 4 && size.size() == 2 &&
              Within(size[0], 1e-9, Huge) && Within(size[1], 1e-9, Huge);
    SheetOriginal read;
    for (qsizetype k = 0; ok && k < 4; ++k) {
        const QJsonArray c = corners[k].toArray();
        ok = c.size() == 2 && Within(c[0], -Huge, Huge) && Within(c[1], -Huge, Huge);
        if (ok) read.Corners[size_t(k)] = QPointF(c[0].toDouble(), c[1].toDouble());
    }
    if (!ok) {
        if (fault) *fault = QStringLiteral("\"original\" is damaged.");
        return false;
    }
    read.ImagePath = image.toString();
    if (!read.ImagePath.isEmpty() && QDir::isRelativePath(read.ImagePath))
        read.ImagePath = QFileInfo(sheetPath).absoluteDir().absoluteFilePath(read.ImagePath);
    read.Width = size[0].toDouble();
    read.Height = size[1].toDouble();
    sheet.Original = read;
    return true;
}
