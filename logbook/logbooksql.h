#pragma once
// What the logbook's database code shares: the group columns in order and
// the conversions between rows and entries.
#include "logbook/logbook.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace LogbookSql {
inline const QLatin1String Columns(
    "id, date, date_text, added, shooter, firearm, caliber, lot, comments, range_yards, unit, "
    "source, shots, load, powder, charge, bullet, coal, primer");

// A text bound as such even when empty: a null QString would bind as NULL.
inline QVariant txt(const QString &t)
{
    return t.isNull() ? QVariant(QStringLiteral("")) : QVariant(t);
}

inline QVariant optional(std::optional<double> v) { return v ? QVariant(*v) : QVariant(); }
inline std::optional<double> optional(const QVariant &v)
{
    if (v.isNull()) return std::nullopt;
    return v.toDouble();
}

inline QString speedsText(const std::vector<double> &v)
{
    QStringList parts;
    for (double x : v) parts << QString::number(x, 'g', 17);
    return parts.join(QLatin1Char(' '));
}

inline std::vector<double> speedsFromText(const QString &t)
{
    std::vector<double> v;
    for (const QString &p : t.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        v.push_back(p.toDouble());
    return v;
}

inline LogbookEntry entryFrom(const QSqlQuery &q)
{
    LogbookEntry e;
    e.Id = q.value(0).toLongLong();
    e.Date = QDate::fromString(q.value(1).toString(), Qt::ISODate);
    e.DateText = q.value(2).toString();
    e.Added = QDateTime::fromString(q.value(3).toString(), Qt::ISODate);
    e.Shooter = q.value(4).toString();
    e.Firearm = q.value(5).toString();
    e.Caliber = q.value(6).toString();
    e.Lot = q.value(7).toString();
    e.Comments = q.value(8).toString();
    e.RangeYards = optional(q.value(9));
    e.UnitName = q.value(10).toString();
    e.Source = q.value(11).toString();
    e.Shots = ShotsFromText(q.value(12).toString()).value_or(std::vector<ShotXY>{});
    e.Load.Text = q.value(13).toString();
    e.Load.Powder = q.value(14).toString();
    e.Load.Charge = optional(q.value(15));
    e.Load.Bullet = q.value(16).toString();
    e.Load.Coal = optional(q.value(17));
    e.Load.Primer = q.value(18).toString();
    return e;
}

inline VelocitySeries seriesFrom(const QSqlQuery &q)
{
    VelocitySeries v;
    v.Id = q.value(0).toLongLong();
    v.GroupId = q.value(1).isNull() ? 0 : q.value(1).toLongLong();
    v.Load = q.value(2).toString();
    v.Unit = VelocityUnitFromName(q.value(3).toString()).value_or(VelocityUnit::Fps);
    v.Speeds = speedsFromText(q.value(4).toString());
    v.Source = q.value(5).toString();
    return v;
}

} // namespace LogbookSql
