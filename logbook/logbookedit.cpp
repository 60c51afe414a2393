// Changes to kept groups: delete and undo, loads, velocity series.
#include "logbook/logbook.h"
#include "logbook/logbooksql.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>

using namespace LogbookSql;

std::optional<Logbook::Removed> Logbook::Delete(qint64 id)
{
    auto r = Delete(std::vector<qint64>{id});
    if (!r) return std::nullopt;
    return std::move(r->front());
}

std::optional<std::vector<Logbook::Removed>> Logbook::Delete(const std::vector<qint64> &ids)
{
    failure = Failure::None;
    error.clear();
    if (!ready(QStringLiteral("deleted"))) return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection, false));
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        sqlFail(QStringLiteral("deleted"), q.lastError());
        return std::nullopt;
    }
    auto rollback = [&] {
        q.exec(QStringLiteral("ROLLBACK"));
        return std::nullopt;
    };
    // Read inside the transaction, so that what undo keeps is what was removed.
    const auto all = Velocities();
    if (!all) return rollback();
    std::vector<Removed> removed;
    for (qint64 id : ids) {
        const auto entry = Group(id);
        if (!entry) {
            if (failure == Failure::None)
                fail(Failure::Other, QStringLiteral("A selected group is no longer in the logbook "
                                                    "%1; nothing was deleted.")
                                         .arg(QDir::toNativeSeparators(path)));
            return rollback();
        }
        Removed r{*entry, {}};
        for (const VelocitySeries &v : *all)
            if (v.GroupId == id) r.Velocities.push_back(v);
        q.prepare(QStringLiteral("DELETE FROM groups WHERE id = ?"));
        q.addBindValue(id);
        if (!q.exec()) {
            sqlFail(QStringLiteral("deleted"), q.lastError());
            return rollback();
        }
        removed.push_back(std::move(r));
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        sqlFail(QStringLiteral("deleted"), q.lastError());
        return rollback();
    }
    return removed;
}

bool Logbook::Restore(const Removed &r) { return Restore(std::vector<Removed>{r}); }

bool Logbook::Restore(const std::vector<Removed> &removed)
{
    if (!ready(QStringLiteral("restored"))) return false;
    QSqlQuery q(QSqlDatabase::database(connection, false));
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqlFail(QStringLiteral("restored"), q.lastError());
    bool ok = true;
    for (const Removed &r : removed) {
        qint64 id = 0;
        if (ok) ok = insert(r.Entry, true, id);
        for (const VelocitySeries &v : r.Velocities)
            if (ok) ok = AddVelocities(v);
    }
    if (ok && !q.exec(QStringLiteral("COMMIT")))
        ok = sqlFail(QStringLiteral("restored"), q.lastError());
    if (!ok) {
        const QString keep = error;
        const Failure f = failure;
        q.exec(QStringLiteral("ROLLBACK"));
        return fail(f == Failure::None ? Failure::Other : f, keep);
    }
    return true;
}

bool Logbook::AddVelocities(const VelocitySeries &v, qint64 *id)
{
    if (!ready(QStringLiteral("added"))) return false;
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SAVEPOINT velocities")))
        return sqlFail(QStringLiteral("added"), q.lastError());
    auto undo = [&](const QString &what) {
        const QSqlError e = q.lastError();
        q.exec(QStringLiteral("ROLLBACK TO velocities"));
        q.exec(QStringLiteral("RELEASE velocities"));
        return sqlFail(what, e);
    };
    if (v.GroupId != 0) {
        q.prepare(QStringLiteral("DELETE FROM velocities WHERE group_id = ?"));
        q.addBindValue(v.GroupId);
        if (!q.exec()) return undo(QStringLiteral("added"));
    }
    q.prepare(QStringLiteral("INSERT INTO velocities (%1group_id, load, unit, speeds, source, "
                             "added) VALUES (%2?, ?, ?, ?, ?, ?)")
                  .arg(v.Id ? QStringLiteral("id, ") : QString(),
                       v.Id ? QStringLiteral("?, ") : QString()));
    if (v.Id) q.addBindValue(v.Id);
    q.addBindValue(v.GroupId ? QVariant(v.GroupId) : QVariant());
    q.addBindValue(txt(v.Load));
    q.addBindValue(VelocityUnitName(v.Unit));
    q.addBindValue(txt(speedsText(v.Speeds)));
    q.addBindValue(txt(v.Source));
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (!q.exec()) return undo(QStringLiteral("added"));
    if (id) *id = q.lastInsertId().toLongLong();
    if (!q.exec(QStringLiteral("RELEASE velocities"))) return undo(QStringLiteral("added"));
    return true;
}

std::optional<std::vector<VelocitySeries>> Logbook::Velocities()
{
    if (!open) return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, group_id, load, unit, speeds, source FROM velocities "
                               "ORDER BY id"))) {
        sqlFail(QStringLiteral("read"), q.lastError());
        return std::nullopt;
    }
    std::vector<VelocitySeries> r;
    while (q.next()) r.push_back(seriesFrom(q));
    return r;
}

bool Logbook::SetLoad(const std::vector<qint64> &ids, const LoadInfo &given)
{
    if (!ready(QStringLiteral("changed"))) return false;
    const LoadInfo load = NormalizedLoad(given);
    QSqlQuery q(QSqlDatabase::database(connection, false));
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqlFail(QStringLiteral("changed"), q.lastError());
    for (qint64 id : ids) {
        q.prepare(QStringLiteral("UPDATE groups SET load = ?, powder = ?, charge = ?, bullet = ?, "
                                 "coal = ?, primer = ? WHERE id = ?"));
        for (const QVariant &v : {txt(load.Text), txt(load.Powder), optional(load.Charge),
                                  txt(load.Bullet), optional(load.Coal), txt(load.Primer)})
            q.addBindValue(v);
        q.addBindValue(id);
        if (!q.exec()) {
            sqlFail(QStringLiteral("changed"), q.lastError());
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    if (q.exec(QStringLiteral("COMMIT"))) return true;
    sqlFail(QStringLiteral("changed"), q.lastError());
    q.exec(QStringLiteral("ROLLBACK"));
    return false;
}
