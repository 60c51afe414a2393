#include "model/settingsfile.h"

#include "model/textnum.h"
#include "platform/localfile.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {
// A feature's settings are a few lines; a file far larger is none of ours.
constexpr qint64 LargestSettings = 1 << 20;
} // namespace

SettingsFile::SettingsFile(const QString &file) : path(file)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    const auto read = ReadRegularFile(path, LargestSettings, nullptr);
    if (!read) return;
    const QByteArray &bytes = *read;
    // QSettings keeps what it read of a path for the whole process and may
    // miss a change of the same size within the same second: it reads a copy
    // under a name of its own each time.
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("read.ini"));
    QFile out(copy);
    if (!scratch.isValid() || !out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return;
    out.close();
    // Lines QSettings cannot parse are passed over; the values around them still count.
    const QSettings ini(copy, QSettings::IniFormat);
    for (const QString &key : ini.allKeys()) values.insert(key, ini.value(key));
}

QStringList SettingsFile::Keys(const QString &group) const
{
    QStringList r;
    const QString prefix = group + QLatin1Char('/');
    for (auto it = values.begin(); it != values.end(); ++it)
        if (it.key().startsWith(prefix) && !it.key().mid(prefix.size()).contains(QLatin1Char('/')))
            r << it.key().mid(prefix.size());
    return r;
}

QString SettingsFile::Text(const QString &key, const QString &fallback) const
{
    const QVariant v = values.value(key);
    // Commas outside quotes make a list of a text typed by hand.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.typeId() == QMetaType::QString ? v.toString() : fallback;
}

bool SettingsFile::Flag(const QString &key, bool fallback) const
{
    const QVariant v = values.value(key);
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    const QString t =
        v.typeId() == QMetaType::QString ? v.toString().trimmed().toLower() : QString();
    if (t == QLatin1String("true") || t == QLatin1String("1")) return true;
    if (t == QLatin1String("false") || t == QLatin1String("0")) return false;
    return fallback;
}

std::optional<double> SettingsFile::Number(const QString &key, double low, double high) const
{
    const QVariant v = values.value(key);
    if (v.typeId() != QMetaType::QString) return std::nullopt;
    const auto d = ParseNumber(v.toString());
    if (!d || *d < low || *d > high) return std::nullopt;
    return d;
}

void SettingsFile::Set(const QString &key, const QVariant &value) { values.insert(key, value); }

bool SettingsFile::Save(QString *errorText) const
{
    const auto failed = [&](const QString &why) {
        if (errorText) *errorText = why;
        return false;
    };
    if (path.isEmpty()) return failed(QStringLiteral("There is no folder for the settings."));
    // QSettings writes the text in a folder of its own; the file itself is
    // then replaced whole, never left half written.
    const QTemporaryDir scratch;
    if (!scratch.isValid()) return failed(scratch.errorString());
    const QString draft = scratch.filePath(QStringLiteral("settings.ini"));
    {
        QSettings ini(draft, QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it) ini.setValue(it.key(), it.value());
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return failed(QStringLiteral("The settings could not be written."));
    }
    QString why;
    const auto bytes = ReadRegularFile(draft, LargestSettings, &why);
    if (!bytes) return failed(why);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failed(QStringLiteral("The folder %1 cannot be created.")
                          .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    return WriteWholeFile(path, *bytes, errorText);
}
