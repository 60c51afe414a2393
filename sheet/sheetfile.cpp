#include "sheet/sheetfile.h"

#include "platform/localfile.h"
#include "platform/wholefile.h"
#include "sheet/sheetstraighten.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {
// Far beyond any card, small enough that nothing downstream overflows.
constexpr double Huge = 1e7;
constexpr qsizetype MostMarks = 2000, MostShots = 100000;
constexpr qint64 LargestFile = 64 << 20;

QString Entered(ShotSource s)
{
    return s == ShotSource::Found ? QStringLiteral("found") : QStringLiteral("clicked");
}

// The reader: every value checked for its kind and range; the first fault
// found is the reason given.
class Reader {
public:
    QString fault;
    double Num(const QJsonObject &o, const char *key, double low, double high)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < low ||
            v.toDouble() > high) {
            fail(QStringLiteral("\"%1\" is missing or out of range.").arg(QLatin1String(key)));
            return low;
        }
        return v.toDouble();
    }
    QString Text(const QJsonObject &o, const char *key)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isUndefined() && !v.isString())
            fail(QStringLiteral("\"%1\" is not a text.").arg(QLatin1String(key)));
        return v.toString();
    }
    QJsonArray Array(const QJsonObject &o, const char *key, qsizetype most)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isArray() || v.toArray().size() > most)
            fail(QStringLiteral("\"%1\" is missing or too long.").arg(QLatin1String(key)));
        return v.toArray();
    }
    QJsonObject Object(const QJsonValue &v, const char *what)
    {
        if (!v.isObject())
            fail(QStringLiteral("An entry of \"%1\" is damaged.").arg(QLatin1String(what)));
        return v.toObject();
    }
    void fail(const QString &why)
    {
        if (fault.isEmpty()) fault = why;
    }
};
} // namespace

QByteArray SheetFileBytes(const TargetSheet &sheet, const QString &sheetPath)
{
    QJsonObject o;
    o.insert(QStringLiteral("format"), SheetFormatName);
    o.insert(QStringLiteral("version"), SheetFormatVersion);
    QString image = sheet.ImagePath;
    if (!image.isEmpty()) {
        const QDir folder = QFileInfo(sheetPath).absoluteDir();
        const QString relative = folder.relativeFilePath(QFileInfo(image).absoluteFilePath());
        if (!relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative))
            image = relative;
    }
    o.insert(QStringLiteral("image"), image);
    o.insert(QStringLiteral("pixelsPerUnit"), sheet.PixelsPerUnit);
    o.insert(QStringLiteral("unit"), sheet.UnitName);
    o.insert(QStringLiteral("rangeYards"),
             sheet.RangeYards ? QJsonValue(*sheet.RangeYards) : QJsonValue());
    o.insert(QStringLiteral("bulletDiameter"), sheet.BulletDiameter);
    if (sheet.ShotsPerGroup > 0) o.insert(QStringLiteral("shotsPerGroup"), sheet.ShotsPerGroup);
    const SheetHeader &h = sheet.Header;
    o.insert(QStringLiteral("header"), QJsonObject{{QStringLiteral("shooter"), h.Shooter},
                                                   {QStringLiteral("date"), h.Date},
                                                   {QStringLiteral("firearm"), h.Firearm},
                                                   {QStringLiteral("caliber"), h.Caliber},
                                                   {QStringLiteral("lot"), h.Lot},
                                                   {QStringLiteral("comments"), h.Comments}});
    QJsonArray marks, groups, shots;
    for (size_t i = 0; i < sheet.Marks.size(); ++i) {
        const SheetMark &m = sheet.Marks[i];
        QJsonObject j{{QStringLiteral("x"), m.x},
                      {QStringLiteral("y"), m.y},
                      {QStringLiteral("size"), m.size}};
        if (!m.cell.isEmpty())
            j.insert(QStringLiteral("cell"),
                     QJsonArray{m.cell.x(), m.cell.y(), m.cell.width(), m.cell.height()});
        marks.append(j);
        groups.append(
            QJsonObject{{QStringLiteral("aim"), int(i) + 1}, {QStringLiteral("label"), m.label}});
    }
    for (const SheetShot &s : sheet.Shots)
        shots.append(QJsonObject{
            {QStringLiteral("x"), s.x},
            {QStringLiteral("y"), s.y},
            {QStringLiteral("group"), s.group >= 0 ? QJsonValue(s.group + 1) : QJsonValue()},
            {QStringLiteral("entered"), Entered(s.source)},
            {QStringLiteral("confidence"), s.confidence},
            {QStringLiteral("accepted"), s.accepted}});
    o.insert(QStringLiteral("marks"), marks);
    o.insert(QStringLiteral("groups"), groups);
    o.insert(QStringLiteral("shots"), shots);
    if (sheet.Original) o.insert(QStringLiteral("original"), OriginalJson(sheet, sheetPath));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool ParseSheetFile(const QByteArray &bytes, const QString &sheetPath, TargetSheet &out,
                    QString *errorText)
{
    auto refuse = [&](const QString &why) {
        if (errorText) *errorText = why;
        return false;
    };
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        return refuse(QStringLiteral("It is not a target sheet (no readable JSON)."));
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != SheetFormatName)
        return refuse(QStringLiteral("It is not a target sheet."));
    const QJsonValue version = o.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() < 1 ||
        version.toDouble() != std::floor(version.toDouble()))
        return refuse(QStringLiteral("Its format version is damaged."));
    if (version.toDouble() > SheetFormatVersion)
        return refuse(QStringLiteral("It was written by a newer version of Peltrix."));

    Reader r;
    TargetSheet s;
    s.ImagePath = r.Text(o, "image");
    if (!s.ImagePath.isEmpty() && QDir::isRelativePath(s.ImagePath))
        s.ImagePath = QFileInfo(sheetPath).absoluteDir().absoluteFilePath(s.ImagePath);
    s.PixelsPerUnit = r.Num(o, "pixelsPerUnit", 0, Huge);
    s.UnitName = r.Text(o, "unit");
    if (const QJsonValue range = o.value(QStringLiteral("rangeYards")); !range.isNull())
        s.RangeYards = r.Num(o, "rangeYards", 1e-9, Huge);
    s.BulletDiameter = r.Num(o, "bulletDiameter", 0, Huge);
    if (o.contains(QStringLiteral("shotsPerGroup")))
        s.ShotsPerGroup = int(r.Num(o, "shotsPerGroup", 1, 10000));
    const QJsonObject h = o.value(QStringLiteral("header")).toObject();
    s.Header = {r.Text(h, "shooter"), r.Text(h, "date"), r.Text(h, "firearm"),
                r.Text(h, "caliber"), r.Text(h, "lot"),  r.Text(h, "comments")};
    for (const QJsonValue &v : r.Array(o, "marks", MostMarks)) {
        const QJsonObject j = r.Object(v, "marks");
        SheetMark m{r.Num(j, "x", -Huge, Huge),
                    r.Num(j, "y", -Huge, Huge),
                    r.Num(j, "size", 0, Huge),
                    {},
                    {}};
        if (j.contains(QStringLiteral("cell"))) {
            const QJsonArray c = j.value(QStringLiteral("cell")).toArray();
            bool ok = c.size() == 4;
            for (int k = 0; ok && k < 4; ++k)
                ok = c[k].isDouble() && std::abs(c[k].toDouble()) < Huge &&
                     (k < 2 || c[k].toDouble() > 0);
            if (!ok)
                r.fail(QStringLiteral("A mark's cell is damaged."));
            else
                m.cell = QRectF(c[0].toDouble(), c[1].toDouble(), c[2].toDouble(), c[3].toDouble());
        }
        s.Marks.push_back(m);
    }
    const double marks = double(s.Marks.size());
    for (const QJsonValue &v : r.Array(o, "groups", MostMarks)) {
        const QJsonObject j = r.Object(v, "groups");
        const int aim = int(r.Num(j, "aim", 1, marks));
        if (r.fault.isEmpty()) s.Marks[size_t(aim - 1)].label = r.Text(j, "label");
    }
    for (const QJsonValue &v : r.Array(o, "shots", MostShots)) {
        const QJsonObject j = r.Object(v, "shots");
        SheetShot shot;
        shot.x = r.Num(j, "x", -Huge, Huge);
        shot.y = r.Num(j, "y", -Huge, Huge);
        if (!j.value(QStringLiteral("group")).isNull())
            shot.group = int(r.Num(j, "group", 1, marks)) - 1;
        const QString entered = r.Text(j, "entered");
        if (entered != QLatin1String("found") && entered != QLatin1String("clicked"))
            r.fail(QStringLiteral("A shot's entry is neither found nor clicked."));
        shot.source = entered == QLatin1String("found") ? ShotSource::Found : ShotSource::Clicked;
        shot.confidence = r.Num(j, "confidence", 0, 1);
        const QJsonValue accepted = j.value(QStringLiteral("accepted"));
        if (!accepted.isBool()) r.fail(QStringLiteral("A shot's acceptance is damaged."));
        shot.accepted = accepted.toBool();
        s.Shots.push_back(shot);
    }
    if (QString why; !ReadOriginal(o, sheetPath, s, &why)) r.fail(why);
    if (!r.fault.isEmpty()) return refuse(QStringLiteral("It is damaged: ") + r.fault);
    out = std::move(s);
    return true;
}

bool SaveSheetFile(const TargetSheet &sheet, const QString &path, QString *errorText)
{
    return WriteWholeFile(path, SheetFileBytes(sheet, path), errorText);
}

bool OpenSheetFile(const QString &path, TargetSheet &sheet, QString *errorText)
{
    const auto bytes = ReadRegularFile(path, LargestFile, errorText, Beyond::Refuse,
                                       QStringLiteral("It is too large to be a target sheet."));
    return bytes && ParseSheetFile(*bytes, path, sheet, errorText);
}
