#include "sheet/sheetdocument.h"

#include "model/textnum.h"
#include "sheet/assign.h"
#include "sheet/sheetfile.h"
#include "sheet/sheetwork.h"

#include <QFileInfo>
#include <QUndoCommand>
#include <cmath>

// One edit: the sheet before and after (a few hundred marks and shots at
// most), and the picture where the edit changed it.
class SheetStep : public QUndoCommand {
public:
    SheetStep(SheetDocument &doc, const QString &what, TargetSheet after,
              std::optional<QImage> picture)
        : QUndoCommand(what), doc(doc), before(doc.sheet), after(std::move(after)),
          newCard(std::move(picture))
    {
        if (newCard) oldCard = doc.card;
    }
    void undo() override { doc.Put(before, oldCard ? &*oldCard : nullptr); }
    void redo() override { doc.Put(after, newCard ? &*newCard : nullptr); }

private:
    SheetDocument &doc;
    TargetSheet before, after;
    std::optional<QImage> oldCard, newCard;
};

namespace {
// A number typed in a field: blank is nothing, anything else must be positive.
std::optional<double> Positive(const QString &typed, bool *bad)
{
    const QString t = typed.trimmed();
    if (t.isEmpty()) return std::nullopt;
    const double v = ParseNumber(t).value_or(0);
    if (!(v > 0)) {
        *bad = true;
        return std::nullopt;
    }
    return v;
}

bool SameSettings(const TargetSheet &a, const TargetSheet &b)
{
    return a.UnitName == b.UnitName && a.PixelsPerUnit == b.PixelsPerUnit &&
           a.BulletDiameter == b.BulletDiameter && a.RangeYards == b.RangeYards &&
           a.ShotsPerGroup == b.ShotsPerGroup && a.Header.Shooter == b.Header.Shooter &&
           a.Header.Firearm == b.Header.Firearm && a.Header.Date == b.Header.Date;
}
} // namespace

SheetDocument::SheetDocument(QObject *parent) : QObject(parent), figures(AnalyzeSheet(sheet))
{
    connect(&stack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit ModifiedChanged(!clean); });
}

QString SheetDocument::Name() const
{
    if (!path.isEmpty()) return QFileInfo(path).completeBaseName();
    if (!sheet.ImagePath.isEmpty()) return QFileInfo(sheet.ImagePath).completeBaseName();
    return QStringLiteral("Sheet");
}

void SheetDocument::Put(const TargetSheet &s, const QImage *picture)
{
    sheet = s;
    figures = AnalyzeSheet(sheet);
    if (picture) {
        card = *picture;
        emit CardChanged();
    }
    emit Changed();
}

void SheetDocument::Edit(const QString &what, TargetSheet after)
{
    stack.push(new SheetStep(*this, what, std::move(after), std::nullopt));
}

void SheetDocument::Start(TargetSheet s, const QImage &picture, const QString &file, bool saved)
{
    stack.clear();
    if (!saved) stack.resetClean();
    path = file;
    Put(s, &picture);
    emit PathChanged();
}

SheetDocument::ScaleFrom SheetDocument::Import(const QString &imagePath, const QImage &image,
                                               std::optional<double> typedDpi)
{
    TargetSheet fresh;
    fresh.ImagePath = QFileInfo(imagePath).absoluteFilePath();
    fresh.UnitName = sheet.UnitName;
    fresh.BulletDiameter = sheet.BulletDiameter;
    fresh.RangeYards = sheet.RangeYards;
    fresh.Header = sheet.Header;
    fresh.ShotsPerGroup = sheet.ShotsPerGroup;
    // The file's own resolution, else the one last typed for a card of
    // this size (a scanner that writes none scans each card alike).
    const auto recorded = RecordedDpi(image);
    ScaleFrom from = ScaleFrom::None;
    if (const auto dpi = recorded ? recorded : typedDpi) {
        fresh.PixelsPerUnit = ScaleFromDpi(*dpi, fresh.UnitName).value_or(0);
        from = recorded ? ScaleFrom::File : ScaleFrom::Typed;
    }
    Start(std::move(fresh), image, QString(), false);
    return sheet.Scaled() ? from : ScaleFrom::None;
}

bool SheetDocument::Open(const QString &file, QString *why, QString *cardProblem)
{
    TargetSheet read;
    if (!OpenSheetFile(file, read, why)) return false;
    const QImage picture = SheetCardImage(read, cardProblem);
    Start(std::move(read), picture, QFileInfo(file).absoluteFilePath(), true);
    return true;
}

bool SheetDocument::Save(const QString &file, QString *why)
{
    if (!SaveSheetFile(sheet, file, why)) return false;
    path = QFileInfo(file).absoluteFilePath();
    stack.setClean();
    emit PathChanged();
    return true;
}

bool SheetDocument::ApplySettings(const SheetSettings &typed, QString *why,
                                  std::optional<double> *typedDpi)
{
    bool bad = false;
    const QString unit = typed.Unit.trimmed();
    const auto dpi = Positive(typed.Dpi, &bad);
    const auto scale = Positive(typed.Scale, &bad);
    const auto bullet = Positive(typed.Bullet, &bad);
    const auto range = Positive(typed.Range, &bad);
    const auto shots = Positive(typed.Shots, &bad);
    if (bad || (shots && *shots != std::floor(*shots))) {
        if (why)
            *why = QStringLiteral("Resolution, scale, bullet diameter, range and shots per group "
                                  "must be positive numbers (or blank).");
        return false;
    }
    TargetSheet s = sheet;
    const bool unitChanged = unit != s.UnitName;
    const double oldDpi =
        s.Scaled() && InchesPerUnit(s.UnitName) ? s.PixelsPerUnit / *InchesPerUnit(s.UnitName) : 0;
    s.UnitName = unit.isEmpty() ? s.UnitName : unit;
    // The field the user changed wins: a new resolution sets the scale.
    if (dpi && std::abs(*dpi - oldDpi) > 1e-6 * *dpi) {
        if (const auto px = ScaleFromDpi(*dpi, s.UnitName)) s.PixelsPerUnit = *px;
        if (typedDpi) *typedDpi = dpi;
    } else if (unitChanged && oldDpi > 0) {
        if (const auto px = ScaleFromDpi(oldDpi, s.UnitName)) s.PixelsPerUnit = *px;
    } else if (scale) {
        s.PixelsPerUnit = *scale;
    }
    s.BulletDiameter = bullet.value_or(0);
    s.RangeYards = range;
    s.ShotsPerGroup = shots ? int(std::min(*shots, 10000.0)) : 0;
    s.Header.Shooter = typed.Shooter.trimmed();
    s.Header.Firearm = typed.Firearm.trimmed();
    s.Header.Date = typed.Date.trimmed();
    if (!SameSettings(s, sheet)) Edit(QStringLiteral("Settings"), std::move(s));
    return true;
}

bool SheetDocument::ScaleFromPoints(QPointF a, QPointF b, double length, QString *why)
{
    const double pixels = std::hypot(a.x() - b.x(), a.y() - b.y());
    if (!std::isfinite(length) || length <= 0 || pixels < 1) {
        if (why)
            *why = QStringLiteral(
                "The length must be a positive number, between two different points.");
        return false;
    }
    TargetSheet s = sheet;
    s.PixelsPerUnit = pixels / length;
    Edit(QStringLiteral("Scale"), std::move(s));
    return true;
}

void SheetDocument::SetShotsPerGroup(int shots)
{
    if (shots <= 0 || shots > 10000 || shots == sheet.ShotsPerGroup) return;
    TargetSheet s = sheet;
    s.ShotsPerGroup = shots;
    Edit(QStringLiteral("Shots per Group"), std::move(s));
}

int SheetDocument::AddShot(QPointF at)
{
    TargetSheet s = sheet;
    SheetShot shot;
    shot.x = at.x();
    shot.y = at.y();
    shot.group = GroupForPoint(sheet, at);
    s.Shots.push_back(shot);
    Edit(QStringLiteral("Add Shot"), std::move(s));
    return int(sheet.Shots.size()) - 1;
}

int SheetDocument::AddMark(QPointF at)
{
    TargetSheet s = sheet;
    SheetMark m;
    m.x = at.x();
    m.y = at.y();
    m.size = std::max(20.0, sheet.BulletDiameter * sheet.PixelsPerUnit * 4);
    s.Marks.push_back(m);
    Edit(QStringLiteral("Add Aiming Mark"), std::move(s));
    return int(sheet.Marks.size()) - 1;
}

void SheetDocument::MoveShot(int shot, QPointF at)
{
    if (shot < 0 || size_t(shot) >= sheet.Shots.size()) return;
    TargetSheet s = sheet;
    s.Shots[size_t(shot)].x = at.x();
    s.Shots[size_t(shot)].y = at.y();
    Edit(QStringLiteral("Move Shot"), std::move(s));
}

void SheetDocument::MoveMark(int mark, QPointF at)
{
    if (mark < 0 || size_t(mark) >= sheet.Marks.size()) return;
    TargetSheet s = sheet;
    s.Marks[size_t(mark)].x = at.x();
    s.Marks[size_t(mark)].y = at.y();
    Edit(QStringLiteral("Move Aiming Mark"), std::move(s));
}

void SheetDocument::SetAccepted(int shot, bool accepted)
{
    if (shot < 0 || size_t(shot) >= sheet.Shots.size() ||
        sheet.Shots[size_t(shot)].accepted == accepted)
        return;
    TargetSheet s = sheet;
    s.Shots[size_t(shot)].accepted = accepted;
    Edit(accepted ? QStringLiteral("Accept Shot") : QStringLiteral("Reject Shot"), std::move(s));
}

void SheetDocument::DeleteShot(int shot)
{
    if (shot < 0 || size_t(shot) >= sheet.Shots.size()) return;
    TargetSheet s = sheet;
    s.Shots.erase(s.Shots.begin() + shot);
    Edit(QStringLiteral("Delete Shot"), std::move(s));
}

void SheetDocument::DeleteMark(int mark)
{
    if (mark < 0 || size_t(mark) >= sheet.Marks.size()) return;
    TargetSheet s = sheet;
    s.RemoveMark(mark);
    Edit(QStringLiteral("Delete Aiming Mark"), std::move(s));
}

void SheetDocument::SetShotGroup(int shot, int group)
{
    if (shot < 0 || size_t(shot) >= sheet.Shots.size() || group < -1 ||
        group >= int(sheet.Marks.size()) || sheet.Shots[size_t(shot)].group == group)
        return;
    TargetSheet s = sheet;
    s.Shots[size_t(shot)].group = group;
    Edit(QStringLiteral("Move Shot to Group"), std::move(s));
}

void SheetDocument::AssignAgain()
{
    TargetSheet s = sheet;
    AssignShots(s);
    Edit(QStringLiteral("Assign Shots to Groups"), std::move(s));
}

void SheetDocument::SetLabel(int group, const QString &label)
{
    const QString text = label.trimmed();
    if (group < 0 || size_t(group) >= sheet.Marks.size() ||
        sheet.Marks[size_t(group)].label == text)
        return;
    TargetSheet s = sheet;
    s.Marks[size_t(group)].label = text;
    Edit(QStringLiteral("Label"), std::move(s));
}

void SheetDocument::Replace(const TargetSheet &worked, const QString &what) { Edit(what, worked); }

void SheetDocument::Straighten(const TargetSheet &moved, const QImage &picture)
{
    stack.push(new SheetStep(*this, QStringLiteral("Straighten Picture"), moved, picture));
}
