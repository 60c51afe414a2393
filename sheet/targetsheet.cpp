#include "sheet/targetsheet.h"

#include "model/textnum.h"
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

std::vector<int> TargetSheet::GroupShotIndexes(int group) const
{
    std::vector<int> out;
    for (size_t i = 0; i < Shots.size(); ++i)
        if (Shots[i].group == group && Shots[i].accepted) out.push_back(int(i));
    return out;
}

std::vector<ShotXY> TargetSheet::GroupShots(int group) const
{
    std::vector<ShotXY> out;
    if (group < 0 || size_t(group) >= Marks.size() || !Scaled()) return out;
    const SheetMark &m = Marks[size_t(group)];
    for (int i : GroupShotIndexes(group))
        out.push_back({(Shots[size_t(i)].x - m.x) / PixelsPerUnit,
                       (m.y - Shots[size_t(i)].y) / PixelsPerUnit});
    return out;
}

void TargetSheet::RemoveMark(int index)
{
    if (index < 0 || size_t(index) >= Marks.size()) return;
    Marks.erase(Marks.begin() + index);
    for (SheetShot &s : Shots) {
        if (s.group == index)
            s.group = -1;
        else if (s.group > index)
            --s.group;
    }
}

SheetFigures AnalyzeSheet(const TargetSheet &sheet, double level)
{
    SheetFigures f;
    std::vector<GroupAnalysis> poolable;
    QStringList names;
    for (size_t g = 0; g < sheet.Marks.size(); ++g) {
        f.Groups.push_back(
            AnalyzeShots(sheet.GroupShots(int(g)), sheet.UnitName, sheet.RangeYards, level));
        if (f.Groups.back().Defined()) {
            poolable.push_back(f.Groups.back());
            names << QStringLiteral("group %1").arg(g + 1);
        }
    }
    if (poolable.empty())
        f.PooledError = QStringLiteral("No group has two shots.");
    else
        f.Pooled = PoolGroups(poolable, &f.PooledError, names);
    return f;
}

std::optional<double> ScaleFromDpi(double dpi, const QString &unitName)
{
    const auto inches = InchesPerUnit(unitName);
    if (!inches || !(dpi > 0) || !std::isfinite(dpi)) return std::nullopt;
    return dpi * *inches;
}

std::optional<double> LabelNumber(const QString &label)
{
    static const QRegularExpression number(QStringLiteral("[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = number.match(label);
    if (!m.hasMatch()) return std::nullopt;
    return ParseNumber(m.captured(0));
}

std::vector<LoadPoint> LoadDevelopment(const TargetSheet &sheet, const SheetFigures &figures)
{
    std::vector<LoadPoint> points;
    for (size_t g = 0; g < sheet.Marks.size() && g < figures.Groups.size(); ++g) {
        const GroupAnalysis &a = figures.Groups[g];
        const auto x = LabelNumber(sheet.Marks[g].label);
        if (!x || !a.Defined()) continue;
        const RayleighFigures &r = a.Length->Rayleigh;
        points.push_back({int(g), *x, a.CenterY, a.CenterX, r.Sigma, r.SigmaLow, r.SigmaHigh});
    }
    if (points.size() < 2) return {};
    std::stable_sort(points.begin(), points.end(),
                     [](const LoadPoint &a, const LoadPoint &b) { return a.Label < b.Label; });
    return points;
}

QString TargetSheet::CountNote(int group) const
{
    const int counted = int(GroupShotIndexes(group).size());
    if (ShotsPerGroup <= 0 || counted == ShotsPerGroup) return {};
    return QStringLiteral("group %1: %2 of %3 shots")
        .arg(group + 1)
        .arg(counted)
        .arg(ShotsPerGroup);
}
