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
#include <QUrl>
#include <QVariant>

#include <atomic>

namespace {
std::atomic<int> connectionCount{0};

// The tables of version 1, as its logbooks hold them: an old logbook is known
// by this very text.
const QLatin1String Version1[] = {
    QLatin1String("CREATE TABLE groups (id INTEGER PRIMARY KEY, date TEXT NOT NULL, "
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
    QLatin1String("CREATE INDEX velocities_group ON velocities (group_id)")};

// The statements that make the schema of `version` in an empty database.
QStringList schemaOf(int version)
{
    QStringList r;
    for (const QLatin1String &sql : Version1) r << sql;
    // Version 2 differs only in this: an id, once given, is never given again,
    // so that an undone delete or a velocity file can never meet another group.
    if (version >= 2)
        r.replaceInStrings(QLatin1String("id INTEGER PRIMARY KEY,"),
                           QLatin1String("id INTEGER PRIMARY KEY AUTOINCREMENT,"));
    return r;
}

// The steps from each version to the next, in the transaction of the upgrade.
// The tables are made again and their rows copied with their ids.
QStringList upgradeFrom(int version)
{
    if (version == 0) return schemaOf(Logbook::SchemaVersion);
    QStringList r{QStringLiteral("CREATE TEMP TABLE old_groups AS SELECT * FROM main.groups"),
                  QStringLiteral("CREATE TEMP TABLE old_velocities AS SELECT * FROM "
                                 "main.velocities"),
                  QStringLiteral("DROP TABLE main.velocities"),
                  QStringLiteral("DROP TABLE main.groups")};
    r << schemaOf(2);
    r << QStringLiteral("INSERT INTO main.groups SELECT * FROM old_groups")
      << QStringLiteral("INSERT INTO main.velocities SELECT * FROM old_velocities")
      << QStringLiteral("DROP TABLE old_groups") << QStringLiteral("DROP TABLE old_velocities");
    return r;
}

// Every table, index, trigger and view of the database, one line each.
std::optional<QStringList> schemaRows(QSqlQuery &q)
{
    if (!q.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master "
                               "ORDER BY type, name")))
        return std::nullopt;
    QStringList rows;
    while (q.next())
        rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString()}
                    .join(QChar(0x1f));
    return rows;
}

// What a logbook of `version` holds, as SQLite writes it down (with the
// indexes and tables it adds itself): one is made in memory.
QStringList buildExpectedRows(int version)
{
    const QString name = QStringLiteral("peltrix-logbook-schema-%1").arg(++connectionCount);
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (db.open()) {
            QSqlQuery q(db);
            bool made = true;
            for (const QString &sql : schemaOf(version)) made = made && q.exec(sql);
            if (made) rows = schemaRows(q).value_or(QStringList());
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// Made once a process: every open and every first write compares against it.
const QStringList &expectedRows(int version)
{
    static_assert(Logbook::SchemaVersion == 2, "each version's rows are made here");
    static const QStringList v1 = buildExpectedRows(1), v2 = buildExpectedRows(2);
    static const QStringList none;
    return version == 1 ? v1 : version == 2 ? v2 : none;
}
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
    // SQLite's own words, else the driver's, else at least its code.
    QString reason = e.databaseText().trimmed();
    if (reason.isEmpty()) reason = e.text().trimmed();
    if (reason.isEmpty()) reason = QStringLiteral("SQLite error %1").arg(e.nativeErrorCode());
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
                                          .arg(name, reason));
    case 26: // not a database
        return fail(Failure::NotSqlite, QStringLiteral("%1 is not a logbook database. It was left "
                                                       "as it is; choose another file.")
                                            .arg(name));
    default:
        return fail(Failure::Other,
                    QStringLiteral("The logbook %1: %2 failed (%3).").arg(name, what, reason));
    }
}

bool Logbook::Open(const QString &file, int busyTimeoutMs)
{
    Close();
    path = file;
    failure = Failure::None;
    error.clear();
    current = false;
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
    std::optional<int> version = 0;
    if (info.exists()) {
        // Looked at before anything is written or switched. A file that cannot
        // be written is read as it stands, so that SQLite makes nothing beside
        // it (a -shm left there stops every later writer); only changes still
        // in its -wal need the -shm, which must then be there already.
        const QString wal = file + QStringLiteral("-wal");
        const bool hadWal = QFileInfo::exists(wal), pending = QFileInfo(wal).size() > 0;
        if (readOnly && pending && !QFileInfo::exists(file + QStringLiteral("-shm")))
            return fail(Failure::ReadOnly,
                        QStringLiteral("The logbook %1 is read-only, and its last changes (in %2) "
                                       "cannot be read without writing beside it. Make the file "
                                       "and its folder writable to open it.")
                            .arg(name, QDir::toNativeSeparators(wal)));
        if (!connect(readOnly && !pending ? Access::AsItStands : Access::Read, busyTimeoutMs))
            return false;
        {
            // One read transaction: everything is seen in one state of the file.
            QSqlQuery q(QSqlDatabase::database(connection, false));
            q.exec(QStringLiteral("BEGIN"));
            version = inspect(true);
            q.exec(QStringLiteral("COMMIT"));
        }
        if (version && readOnly) {
            if (*version == 0) {
                Close();
                return fail(
                    Failure::ReadOnly,
                    QStringLiteral("The logbook %1 is read-only and cannot be set up.").arg(name));
            }
            open = true;
            current = *version == SchemaVersion;
            return true;
        }
        Close();
        if (!version) {
            // Reading a database in WAL mode made an empty -wal and -shm; a
            // writer that reads and closes takes them away, writing nothing.
            const QString why = error;
            const Failure f = failure;
            if (!readOnly && !hadWal && QFileInfo::exists(wal) &&
                connect(Access::Write, busyTimeoutMs))
                QSqlQuery(QSqlDatabase::database(connection, false))
                    .exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            Close();
            return fail(f, why);
        }
    }
    if (!connect(Access::Write, busyTimeoutMs)) return false;
    open = true;
    current = *version == SchemaVersion;
    if (*version == 0 && !setUp(busyTimeoutMs)) {
        Close();
        return false;
    }
    return true;
}

bool Logbook::connect(Access a, int busyTimeoutMs)
{
    QSqlError e;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
        if (a != Access::Write) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        if (a == Access::AsItStands) {
            // "immutable": no locks, no -wal or -shm; SQLite only reads the file.
            QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
            url.setQuery(QStringLiteral("immutable=1"));
            db.setDatabaseName(url.toString(QUrl::FullyEncoded));
            options += QStringLiteral(";QSQLITE_OPEN_URI");
        } else {
            db.setDatabaseName(path);
        }
        db.setConnectOptions(options);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA foreign_keys = ON"))) return true;
            e = q.lastError();
        } else {
            e = db.lastError();
        }
    }
    Close();
    return sqlFail(QStringLiteral("opened"), e);
}

std::optional<int> Logbook::inspect(bool thorough)
{
    const QString name = QDir::toNativeSeparators(path);
    QSqlQuery q(QSqlDatabase::database(connection, false));
    auto bail = [&](const QString &what) {
        sqlFail(what, q.lastError());
        return std::optional<int>();
    };
    auto refuse = [&](Failure f, const QString &text) {
        fail(f, text);
        return std::optional<int>();
    };
    if (!q.exec(QStringLiteral("SELECT (SELECT application_id FROM pragma_application_id), "
                               "(SELECT user_version FROM pragma_user_version), "
                               "(SELECT count(*) FROM sqlite_master)")) ||
        !q.next())
        return bail(QStringLiteral("read"));
    const int id = q.value(0).toInt(), version = q.value(1).toInt(), objects = q.value(2).toInt();
    if (id == 0 && version == 0 && objects == 0) return 0;
    if (id == ApplicationId && version > SchemaVersion)
        return refuse(Failure::Newer,
                      QStringLiteral("The logbook %1 was written by a newer version of Peltrix "
                                     "(schema %2; this version knows up to %3). It was left as "
                                     "it is.")
                          .arg(name)
                          .arg(version)
                          .arg(SchemaVersion));
    // Ours, marked, or of version 1, which carried no mark; and exactly its
    // tables and indexes: a trigger or view of anyone else would run with ours.
    const bool known = id == ApplicationId ? version == SchemaVersion : id == 0 && version == 1;
    const auto rows = known ? schemaRows(q) : std::optional<QStringList>(QStringList());
    if (!rows) return bail(QStringLiteral("read"));
    if (!known || *rows != expectedRows(version))
        return refuse(Failure::NotSqlite, QStringLiteral("%1 is not a Peltrix logbook.").arg(name));
    if (!thorough) return version;
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next())
        return bail(QStringLiteral("checked"));
    if (q.value(0).toString() != QLatin1String("ok"))
        return refuse(Failure::Damaged, QStringLiteral("The logbook %1 is damaged (%2). It was "
                                                       "left as it is; restore a copy or choose "
                                                       "another logbook.")
                                            .arg(name, q.value(0).toString()));
    return version;
}

bool Logbook::setUp(int busyTimeoutMs)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    // Write-ahead logging lets readers and one writer of other processes work at once.
    // Switching to it needs the file to itself, and SQLite answers "busy" at once
    // there instead of waiting: wait here as the busy timeout would.
    QElapsedTimer waited;
    waited.start();
    while (!q.exec(QStringLiteral("PRAGMA journal_mode = WAL"))) {
        const int code = q.lastError().nativeErrorCode().toInt() & 0xff;
        if ((code != 5 && code != 6) || waited.elapsed() > busyTimeoutMs)
            return sqlFail(QStringLiteral("opened"), q.lastError());
        QThread::msleep(10);
    }
    q.finish();
    return migrate();
}

bool Logbook::ready(const QString &what)
{
    if (!open) return fail(Failure::Other, QStringLiteral("No logbook is open."));
    if (readOnly)
        return fail(Failure::ReadOnly, QStringLiteral("The logbook %1 is read-only: nothing could "
                                                      "be %2.")
                                           .arg(QDir::toNativeSeparators(path), what));
    return current || migrate();
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
    // Looked at again under the lock: another process may have set it up or
    // changed it since it was opened.
    const auto version = inspect(false);
    if (!version) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    const QStringList steps = *version < SchemaVersion ? upgradeFrom(*version) : QStringList();
    for (const QString &sql : steps)
        if (!q.exec(sql)) return rollback(q.lastError());
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion)) ||
        !q.exec(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId)) ||
        !q.exec(QStringLiteral("COMMIT")))
        return rollback(q.lastError());
    current = true;
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
    if (!q.exec())
        return sqlFail(withId ? QStringLiteral("restored") : QStringLiteral("added"),
                       q.lastError());
    id = q.lastInsertId().toLongLong();
    return true;
}

bool Logbook::Add(std::vector<LogbookEntry> entries, std::vector<qint64> *ids,
                  std::vector<bool> *updated)
{
    if (!ready(QStringLiteral("added"))) return false;
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
    QSqlQuery commit(QSqlDatabase::database(connection, false));
    if (!commit.exec(QStringLiteral("COMMIT"))) {
        const QSqlError e = commit.lastError(); // SQLite's reason (a full disk...)
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
