#pragma once
// The logbook: every group the user keeps, in one SQLite database. A group
// carries its header, shots, source and load; velocity series attach to a
// group or to a load. The database is never repaired or replaced behind the
// user's back: anything unexpected refuses with a message and leaves the file
// as it was.
#include "analysis/groupanalysis.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

struct Session;

struct LoadInfo {
    QString Text; // the load as the user names it
    QString Powder, Bullet, Primer;
    std::optional<double> Charge, Coal; // grains; inches (seating depth or COAL)
    bool HasDetail() const;
    bool IsEmpty() const { return Text.isEmpty() && !HasDetail(); }
    bool operator==(const LoadInfo &) const = default;
};
// The structured fields in a line ("H4350 41.5 gr; 140 HPBT; COAL 2.800 in;
// LR match"); empty without any.
QString LoadDetailText(const LoadInfo &l);
// A charge or length as typed: empty gives none. False, with the reason, for
// anything but a number above zero.
bool ReadLoadNumber(const QString &text, const QString &what, std::optional<double> &value,
                    QString *errorText);
// Texts trimmed; a load with fields but no name is named by its fields.
LoadInfo NormalizedLoad(LoadInfo l);

enum class VelocityUnit { Fps, Mps };
QString VelocityUnitName(VelocityUnit u); // "fps" or "mps"
std::optional<VelocityUnit> VelocityUnitFromName(const QString &name);

struct VelocitySeries {
    qint64 Id = 0;
    qint64 GroupId = 0; // 0: attached to a load, not a group
    QString Load;
    VelocityUnit Unit = VelocityUnit::Fps;
    std::vector<double> Speeds;
    QString Source;
};

struct LogbookEntry {
    qint64 Id = 0;
    QDate Date;       // parsed from DateText, else the day the group was added
    QString DateText; // the header's date as typed
    QDateTime Added;
    QString Shooter, Firearm, Caliber, Lot, Comments;
    std::optional<double> RangeYards;
    QString UnitName;
    std::vector<ShotXY> Shots;
    QString Source; // the .pxs path, or empty for a group never saved
    LoadInfo Load;
};

// The current group of the session as an entry (texts trimmed).
LogbookEntry EntryFromSession(const Session &s, const QString &source);
GroupAnalysis AnalyzeEntry(const LogbookEntry &e, double level = 0.95);

// The header's date when it reads as one of the usual ways to write a date.
std::optional<QDate> ParseDateFired(const QString &text);

// Shots as stored ("x,y;x,y", shortest text of each 32-bit value) and back.
QString ShotsText(const std::vector<ShotXY> &shots);
std::optional<std::vector<ShotXY>> ShotsFromText(const QString &text);

struct LogbookFilter {
    QString Firearm, Load, Text; // parts of the texts, case aside
    std::optional<QDate> From, To;
    bool Matches(const LogbookEntry &e) const;
};

class Logbook {
public:
    enum class Failure { None, NotSqlite, Damaged, Newer, Locked, ReadOnly, Other };
    // 2: ids are never used twice.
    static constexpr int SchemaVersion = 2;
    // PRAGMA application_id of our logbooks ("PxLb").
    static constexpr int ApplicationId = 0x50784c62;

    Logbook();
    ~Logbook();
    Logbook(const Logbook &) = delete;
    Logbook &operator=(const Logbook &) = delete;

    // Opens (creating when missing) the logbook at `path`. The file is read
    // before anything is written to it: a database that is not exactly one of
    // ours is refused, untouched. One that cannot be written opens read-only.
    // An old logbook is brought up to date by the first change made to it.
    // False with the reason; the file is then untouched.
    bool Open(const QString &path, int busyTimeoutMs = 5000);
    void Close();
    bool IsOpen() const { return open; }
    bool IsReadOnly() const { return readOnly; }
    QString Path() const { return path; }
    QString ErrorString() const { return error; }
    Failure LastFailure() const { return failure; }

    // Adds the entries in one transaction; an entry with the source and shots
    // of one already kept updates that one. `ids` receives each entry's id,
    // `updated` whether it was already kept. Nothing changes on failure.
    bool Add(std::vector<LogbookEntry> entries, std::vector<qint64> *ids = nullptr,
             std::vector<bool> *updated = nullptr);
    // Every group, oldest date first (then by id).
    std::optional<std::vector<LogbookEntry>> Groups();
    std::optional<LogbookEntry> Group(qint64 id);
    // Removes a group and its velocities; what was removed, for undo.
    struct Removed {
        LogbookEntry Entry;
        std::vector<VelocitySeries> Velocities;
    };
    std::optional<Removed> Delete(qint64 id);
    bool Restore(const Removed &r);
    // Removes these groups in one transaction: all of them or, on failure,
    // none. What was removed, in the order given, for undo.
    std::optional<std::vector<Removed>> Delete(const std::vector<qint64> &ids);
    // Puts removed groups back in one transaction: all of them or none.
    bool Restore(const std::vector<Removed> &removed);

    // Gives these groups one load (name and fields), in one transaction.
    bool SetLoad(const std::vector<qint64> &ids, const LoadInfo &load);

    // A series replaces the one a group had; a load's series add up.
    bool AddVelocities(const VelocitySeries &v, qint64 *id = nullptr);
    std::optional<std::vector<VelocitySeries>> Velocities();

private:
    bool fail(Failure f, const QString &text);
    bool sqlFail(const QString &what, const class QSqlError &e);
    enum class Access { Write, Read, AsItStands };
    bool connect(Access a, int busyTimeoutMs);
    std::optional<int> inspect(bool thorough);
    bool setUp(int busyTimeoutMs);
    bool ready(const QString &what);
    bool migrate();
    bool insert(const LogbookEntry &e, bool withId, qint64 &id);

    QString connection, path, error;
    Failure failure = Failure::None;
    bool open = false, readOnly = false;
    bool current = false; // the schema is this version's
};

// The default database of the user: logbook.sqlite in the per-user data folder.
QString DefaultLogbookPath(const QString &appDataDir);

// The logbook's own settings (logbook.ini beside peltrix.ini).
struct LogbookSettings {
    QString DatabasePath; // empty: the default
    bool AddOnSave = false;
    QString LastLoad;
};
LogbookSettings LoadLogbookSettings(const QString &appDataDir);
bool SaveLogbookSettings(const QString &appDataDir, const LogbookSettings &s);
