#include "logbook/logbookmodel.h"

#include <unordered_map>

std::vector<LogbookRow> AnalyzeRows(const std::vector<LogbookEntry> &entries,
                                    const std::vector<VelocitySeries> &velocities)
{
    std::unordered_map<qint64, const VelocitySeries *> byGroup;
    std::unordered_map<QString, std::optional<VelocityFigures>> byLoad;
    for (const VelocitySeries &v : velocities)
        if (v.GroupId)
            byGroup[v.GroupId] = &v;
        else if (const QString key = v.Load.trimmed().toCaseFolded(); !byLoad.count(key))
            byLoad[key] = LoadVelocity(velocities, v.Load, 0.95);
    std::vector<LogbookRow> rows;
    rows.reserve(entries.size());
    for (const LogbookEntry &e : entries) {
        LogbookRow r{&e, AnalyzeEntry(e), std::nullopt};
        if (const auto it = byGroup.find(e.Id); it != byGroup.end()) {
            r.Velocity = ComputeVelocity(it->second->Speeds, it->second->Unit, 0.95);
        } else if (!byLoad.empty() && !e.Load.Text.isEmpty()) {
            if (const auto l = byLoad.find(e.Load.Text.trimmed().toCaseFolded());
                l != byLoad.end()) {
                r.Velocity = l->second;
                r.VelocityOfLoad = true;
            }
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

void LogbookModel::SetRows(std::vector<const LogbookRow *> shown)
{
    beginResetModel();
    rows = std::move(shown);
    endResetModel();
}

const LogbookRow *LogbookModel::Row(int row) const
{
    return row >= 0 && size_t(row) < rows.size() ? rows[size_t(row)] : nullptr;
}

int LogbookModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int LogbookModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count;
}

QVariant LogbookModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char *const names[] = {"Date",
                                        "Firearm",
                                        "Load",
                                        "Shots",
                                        "Extreme Spread",
                                        "Mean Radius",
                                        "Rayleigh \u03c3 (95 % interval)",
                                        "ES (MOA)",
                                        "Velocity"};
    return section >= 0 && section < Count ? QString::fromUtf8(names[section]) : QVariant();
}

QVariant LogbookModel::data(const QModelIndex &index, int role) const
{
    const LogbookRow *r = Row(index.row());
    if (!r) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() >= Shots ? int(Qt::AlignRight | Qt::AlignVCenter)
                                       : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole) {
        if (index.column() == Date) return r->Entry->Source;
        if (index.column() == Load) return LoadDetailText(r->Entry->Load);
        if (index.column() == Velocity && r->VelocityOfLoad)
            return QStringLiteral("Velocities kept for the load \u201c%1\u201d")
                .arg(r->Entry->Load.Text);
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    const LogbookEntry &e = *r->Entry;
    const auto &len = r->Analysis.Length;
    const QString unit = QLatin1Char(' ') + e.UnitName;
    switch (index.column()) {
    case Date:
        return e.Date.toString(Qt::ISODate);
    case Firearm:
        return e.Firearm;
    case Load:
        return e.Load.Text;
    case Shots:
        return qint64(e.Shots.size());
    case Spread:
        return len ? FigureText(len->ExtremeSpread) + unit : UndefinedFigure;
    case MeanRadius:
        return len ? FigureText(len->MeanRadius) + unit : UndefinedFigure;
    case Sigma:
        return len ? QStringLiteral("%1 (%2 \u2013 %3)")
                         .arg(FigureText(len->Rayleigh.Sigma), FigureText(len->Rayleigh.SigmaLow),
                              FigureText(len->Rayleigh.SigmaHigh))
                   : UndefinedFigure;
    case SpreadMOA:
        return r->Analysis.MOA ? FigureText(r->Analysis.MOA->ExtremeSpread) : QString();
    case Velocity:
        if (!r->Velocity) return QString();
        return QStringLiteral("%1 \u00b1 %2 %3%4")
            .arg(QString::number(r->Velocity->Mean, 'f', 1),
                 r->Velocity->Sd ? QString::number(*r->Velocity->Sd, 'f', 1) : UndefinedFigure,
                 VelocityUnitName(r->Velocity->Unit),
                 r->VelocityOfLoad ? QStringLiteral(" (load)") : QString());
    }
    return {};
}
