#include "logbook/logbook.h"
#include "logbook/logbooksql.h"

#include "model/session.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>
#include <QVariant>

#include <atomic>

namespace {
std::atomic<int> connectionCount{0};

// Forward migrations, one list of statements per version step.
const std::vector<std::vector<QLatin1String>> Migrations = {
    {QLatin1String("CREATE TABLE groups (id INTEGER PRIMARY KEY, date TEXT NOT NULL, "
                   "date_text TEXT NOT NULL DEFAULT '', added TEXT NOT NULL, "
                   "shooter TEXT NOT NULL DEFAULT '', firearm TEXT NOT NULL DEFAULT '', "
                   "caliber TEXT NOT NULL DEFAULT '', lot TEXT NOT NULL DEFAULT '', "
                   "comments TEXT NOT NULL DEFAULT '', range_yards REAL, "
                   "unit TEXT NOT NULL DEFAULT '', source TEXT NOT NULL DEFAULT '', "
                   "shots TEXT NOT NULL, load TEXT NOT NULL DEFAULT '', "
                   "powder TEXT NOT NULL DEFAULT '', charge REAL, "
                   "bullet TEXT NOT NULL DEFAULT '', coal REAL, primer TEXT NOT NULL DEFAULT '', "
                   "UNIQUE (source, shots))"),
     QLatin1String("CREATE INDEX groups_date ON groups (date, id)"),
     QLatin1String("CREATE TABLE velocities (id INTEGER PRIMARY KEY, "
                   "group_id INTEGER REFERENCES groups (id) ON DELETE CASCADE, "
                   "load TEXT NOT NULL DEFAULT '', "
                   "unit TEXT NOT NULL CHECK (unit IN ('fps', 'mps')), speeds TEXT NOT NULL, "
                   "source TEXT NOT NULL DEFAULT '', added TEXT NOT NULL)"),
     QLatin1String("CREATE INDEX velocities_group ON velocities (group_id)")}};

} // namespace

using namespace LogbookSql;

Logbook::Logbook() : connection(QStringLiteral("peltrix-logbook-%1").arg(++connectionCount)) {}

Logbook::~Logbook() { Close(); }

void Logbook::Close()
{
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase::database(connection, false).close();
        QSqlDatabase::removeDatabase(connection);
    }
    open = false;
}

bool Logbook::fail(Failure f, const QString &text)
{
    failure = f;
    error = text;
    return false;
}

bool Logbook::sqlFail(const QString &what, const QSqlError &e)
{
    const QString name = QDir::toNativeSeparators(path);
    switch (e.nativeErrorCode().toInt() & 0xff) {
    case 5: // busy
    case 6: // locked
        return fail(Failure::Locked, QStringLiteral("The logbook %1 is in use by another program "
                                                    "(%2). Try again when it is free.")
                                         .arg(name, what));
    case 8: // read-only
        return fail(
            Failure::ReadOnly,
            QStringLiteral("The logbook %1 is read-only: nothing could be %2.").arg(name, what));
    case 11: // corrupt
        return fail(Failure::Damaged, QStringLiteral("The logbook %1 is damaged (%2). It was left "
                                                     "as it is; restore a copy or choose "
                                                     "another logbook.")
                                          .arg(name, e.databaseText()));
    case 26: // not a database
        return fail(Failure::NotSqlite, QStringLiteral("%1 is not a logbook database. It was left "
                                                       "as it is; choose another file.")
                                            .arg(name));
    default:
        return fail(
            Failure::Other,
            QStringLiteral("The logbook %1: %2 failed (%3).").arg(name, what, e.text().trimmed()));
    }
}

bool Logbook::Open(const QString &file, int busyTimeoutMs)
{
    Close();
    path = file;
    failure = Failure::None;
    error.clear();
    const QFileInfo info(file);
    const QString name = QDir::toNativeSeparators(file);
    if (info.exists()) {
        if (!info.isFile()) return fail(Failure::NotSqlite, name + QStringLiteral(" is a folder."));
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return fail(
                Failure::Other,
                QStringLiteral("The logbook %1 cannot be read: %2").arg(name, f.errorString()));
        const QByteArray head = f.read(16);
        if (!head.isEmpty() && head != QByteArray("SQLite format 3\0", 16))
            return fail(Failure::NotSqlite, QStringLiteral("%1 is not a logbook database. It was "
                                                           "left as it is; choose another file.")
                                                .arg(name));
    } else if (!QDir().mkpath(info.absolutePath())) {
        return fail(Failure::Other,
                    QStringLiteral("The folder %1 cannot be created.").arg(info.absolutePath()));
    }
    // SQLite writes its journal beside the file: both must be writable.
    readOnly =
        info.exists() && (!info.isWritable() || !QFileInfo(info.absolutePath()).isWritable());
    bool opened = false;
    QSqlError openError;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
        if (readOnly) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        opened = db.open();
        if (!opened) openError = db.lastError();
    }
    if (!opened) {
        Close();
        return sqlFail(QStringLiteral("opened"), openError);
    }
    open = true;
    if (!setUp(busyTimeoutMs)) {
        Close();
        return false;
    }
    return true;
}

bool Logbook::setUp(int busyTimeoutMs)
{
    const QString name = QDir::toNativeSeparators(path);
    QSqlQuery q(QSqlDatabase::database(connection, false));
    auto bail = [&](const QString &what) { return sqlFail(what, q.lastError()); };
    if (!q.exec(QStringLiteral("PRAGMA foreign_keys = ON"))) return bail(QStringLiteral("opened"));
    // One statement, so that both are read from the same state of the file.
    if (!q.exec(QStringLiteral("SELECT (SELECT user_version FROM pragma_user_version), "
                               "(SELECT count(*) FROM sqlite_master)")) ||
        !q.next())
        return bail(QStringLiteral("read"));
    const int version = q.value(0).toInt();
    const int objects = q.value(1).toInt();
    if (version > SchemaVersion)
        return fail(Failure::Newer, QStringLiteral("The logbook %1 was written by a newer version "
                                                   "of Peltrix (schema %2; this version knows up "
                                                   "to %3). It was left as it is.")
                                        .arg(name)
                                        .arg(version)
                                        .arg(SchemaVersion));
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next())
        return bail(QStringLiteral("checked"));
    if (q.value(0).toString() != QLatin1String("ok"))
        return fail(Failure::Damaged, QStringLiteral("The logbook %1 is damaged (%2). It was left "
                                                     "as it is; restore a copy or choose another "
                                                     "logbook.")
                                          .arg(name, q.value(0).toString()));
    // A database of another program is not ours to fill.
    if (version == 0 && objects > 0)
        return fail(Failure::NotSqlite, QStringLiteral("%1 is a database of another program, not "
                                                       "a logbook. It was left as it is.")
                                            .arg(name));
    if (readOnly)
        return version == SchemaVersion ||
               fail(Failure::ReadOnly,
                    QStringLiteral("The logbook %1 is read-only and cannot be set up.").arg(name));
    // Write-ahead logging lets readers and one writer of other processes work at once.
    // Switching to it needs the file to itself, and SQLite answers "busy" at once
    // there instead of waiting: wait here as the busy timeout would.
    QElapsedTimer waited;
    waited.start();
    while (!q.exec(QStringLiteral("PRAGMA journal_mode = WAL"))) {
        const int code = q.lastError().nativeErrorCode().toInt() & 0xff;
        if ((code != 5 && code != 6) || waited.elapsed() > busyTimeoutMs)
            return bail(QStringLiteral("opened"));
        QThread::msleep(10);
    }
    q.finish();
    return version == SchemaVersion || migrate();
}

bool Logbook::migrate()
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    QSqlQuery q(db);
    // IMMEDIATE takes the write lock at once: two processes setting up the
    // same new file wait for each other instead of failing.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqlFail(QStringLiteral("set up"), q.lastError());
    auto rollback = [&](const QSqlError &e) {
        q.exec(QStringLiteral("ROLLBACK"));
        return sqlFail(QStringLiteral("set up"), e);
    };
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) return rollback(q.lastError());
    int version = q.value(0).toInt();
    for (; version < SchemaVersion; ++version)
        for (const QLatin1String &sql : Migrations[size_t(version)])
            if (!q.exec(sql)) return rollback(q.lastError());
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion)) ||
        !q.exec(QStringLiteral("COMMIT")))
        return rollback(q.lastError());
    return true;
}

bool Logbook::insert(const LogbookEntry &e, bool withId, qint64 &id)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    const QString cols = QString(Columns).mid(withId ? 0 : 4);
    const int n = withId ? 19 : 18;
    QStringList marks;
    for (int k = 0; k < n; ++k) marks << QStringLiteral("?");
    q.prepare(QStringLiteral("INSERT INTO groups (%1) VALUES (%2)")
                  .arg(cols, marks.join(QLatin1Char(','))));
    if (withId) q.addBindValue(e.Id);
    const QVariant values[] = {e.Date.toString(Qt::ISODate),
                               txt(e.DateText),
                               e.Added.toUTC().toString(Qt::ISODate),
                               txt(e.Shooter),
                               txt(e.Firearm),
                               txt(e.Caliber),
                               txt(e.Lot),
                               txt(e.Comments),
                               optional(e.RangeYards),
                               txt(e.UnitName),
                               txt(e.Source),
                               txt(ShotsText(e.Shots)),
                               txt(e.Load.Text),
                               txt(e.Load.Powder),
                               optional(e.Load.Charge),
                               txt(e.Load.Bullet),
                               optional(e.Load.Coal),
                               txt(e.Load.Primer)};
    for (const QVariant &v : values) q.addBindValue(v);
    if (!q.exec()) return sqlFail(QStringLiteral("added"), q.lastError());
    id = q.lastInsertId().toLongLong();
    return true;
}

bool Logbook::Add(std::vector<LogbookEntry> entries, std::vector<qint64> *ids,
                  std::vector<bool> *updated)
{
    if (!open) return fail(Failure::Other, QStringLiteral("No logbook is open."));
    if (readOnly)
        return fail(Failure::ReadOnly,
                    QStringLiteral("The logbook %1 is read-only: nothing could be added.")
                        .arg(QDir::toNativeSeparators(path)));
    QSqlQuery q(QSqlDatabase::database(connection, false));
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return sqlFail(QStringLiteral("added"), q.lastError());
    std::vector<qint64> newIds;
    std::vector<bool> wasKept;
    auto rollback = [&] {
        QSqlQuery(QSqlDatabase::database(connection, false)).exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    for (LogbookEntry &e : entries) {
        e.Load = NormalizedLoad(e.Load);
        q.prepare(QStringLiteral("SELECT id, load, powder, charge, bullet, coal, primer FROM "
                                 "groups WHERE source = ? AND shots = ?"));
        q.addBindValue(txt(e.Source));
        q.addBindValue(txt(ShotsText(e.Shots)));
        if (!q.exec()) {
            sqlFail(QStringLiteral("added"), q.lastError());
            return rollback();
        }
        if (!q.next()) {
            qint64 id = 0;
            if (!insert(e, false, id)) return rollback();
            newIds.push_back(id);
            wasKept.push_back(false);
            continue;
        }
        const qint64 id = q.value(0).toLongLong();
        // The same group again: its header may have changed, its load only when given.
        const bool keepLoad = e.Load.IsEmpty();
        QSqlQuery u(QSqlDatabase::database(connection, false));
        u.prepare(QStringLiteral("UPDATE groups SET date = ?, date_text = ?, shooter = ?, "
                                 "firearm = ?, caliber = ?, lot = ?, comments = ?, "
                                 "range_yards = ?, unit = ?%1 WHERE id = ?")
                      .arg(keepLoad ? QString()
                                    : QStringLiteral(", load = ?, powder = ?, charge = ?, "
                                                     "bullet = ?, coal = ?, primer = ?")));
        for (const QVariant &v : {QVariant(e.Date.toString(Qt::ISODate)), txt(e.DateText),
                                  txt(e.Shooter), txt(e.Firearm), txt(e.Caliber), txt(e.Lot),
                                  txt(e.Comments), optional(e.RangeYards), txt(e.UnitName)})
            u.addBindValue(v);
        if (!keepLoad)
            for (const QVariant &v :
                 {txt(e.Load.Text), txt(e.Load.Powder), optional(e.Load.Charge), txt(e.Load.Bullet),
                  optional(e.Load.Coal), txt(e.Load.Primer)})
                u.addBindValue(v);
        u.addBindValue(id);
        if (!u.exec()) {
            sqlFail(QStringLiteral("updated"), u.lastError());
            return rollback();
        }
        newIds.push_back(id);
        wasKept.push_back(true);
    }
    q = QSqlQuery();
    if (!QSqlQuery(QSqlDatabase::database(connection, false)).exec(QStringLiteral("COMMIT"))) {
        const QSqlError e = QSqlDatabase::database(connection, false).lastError();
        rollback();
        return sqlFail(QStringLiteral("added"), e);
    }
    if (ids) *ids = newIds;
    if (updated) *updated = wasKept;
    return true;
}

std::optional<std::vector<LogbookEntry>> Logbook::Groups()
{
    if (!open) return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM groups ORDER BY date, id").arg(Columns))) {
        sqlFail(QStringLiteral("read"), q.lastError());
        return std::nullopt;
    }
    std::vector<LogbookEntry> r;
    while (q.next()) r.push_back(entryFrom(q));
    return r;
}

std::optional<LogbookEntry> Logbook::Group(qint64 id)
{
    if (!open) return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.prepare(QStringLiteral("SELECT %1 FROM groups WHERE id = ?").arg(Columns));
    q.addBindValue(id);
    if (!q.exec()) {
        sqlFail(QStringLiteral("read"), q.lastError());
        return std::nullopt;
    }
    if (!q.next()) return std::nullopt;
    return entryFrom(q);
}
