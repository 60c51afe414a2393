#pragma once
// The settings file of one feature (find.ini, logbook.ini, sheet.ini beside
// peltrix.ini): QSettings INI, read whole when opened. A value that is
// missing, cannot be read as its type or lies outside its range reads as its
// default, so a damaged file costs only the values it damaged. Save writes
// the whole file or leaves the old one as it was.
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class SettingsFile {
public:
    // An empty path reads nothing and saves nothing.
    explicit SettingsFile(const QString &path);

    QString Path() const { return path; }
    // The keys directly in `group`.
    QStringList Keys(const QString &group) const;

    QString Text(const QString &key, const QString &fallback = QString()) const;
    bool Flag(const QString &key, bool fallback) const;
    // A number from low to high (both included).
    std::optional<double> Number(const QString &key, double low, double high) const;

    // Texts and flags; numbers as the caller writes them.
    void Set(const QString &key, const QVariant &value);
    // False, with the reason, when the file could not be written whole.
    bool Save(QString *errorText = nullptr) const;

private:
    QString path;
    QMap<QString, QVariant> values;
};
