#include "config/configfile.h"

#include "config/textrecords.h"
#include "model/settings.h"
#include "model/textnum.h"
#include "platform/localfile.h"
#include "platform/prompter.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <optional>
#include <variant>

namespace {
const QString IniName = QStringLiteral("peltrix.ini");
constexpr qsizetype MaxConfigBytes = 1 << 20;

// A folder joined with a name by the host's separator.
QString join(const QString &folder, const QString &name)
{
    return folder + QLatin1Char('/') + name;
}
} // namespace

qint32 FindTextEnd(const QString &text)
{
    qint32 p = 1;
    while (p <= text.size() && text[p - 1].unicode() >= 32) ++p;
    return p;
}

void ResolveFolders(Session &s, const HostFolders &host, Prompter &prompter)
{
    QString os;
    ExpandEnvironmentStrings(host, QStringLiteral("%OS%"), os, UserProfileWidth);
    s.IsWindowsNT = os.left(10) == QLatin1String("Windows_NT");
    s.InstallDir = host.installDir;
    s.DocumentsDir = host.documentsDir;
    if (s.IsWindowsNT) {
        QString profile;
        if (ExpandEnvironmentStrings(host, QStringLiteral("%USERPROFILE%"), profile,
                                     UserProfileWidth) != 0) {
            s.UserProfileDir = profile;
            s.AppDataDir = host.appDataDir;
        } else {
            s.UserProfileDir = QString(UserProfileWidth, QChar(0));
            s.AppDataDir.clear();
            prompter.MsgBox(
                QStringLiteral("Could not resolve UserProfile. Please contact Technical Support"),
                QStringLiteral("Peltrix"), Buttons::Ok);
        }
    } else {
        // One shared installation: the settings lie beside the program.
        s.AppDataDir = host.installDir;
        s.UserProfileDir =
            QDir::rootPath() + QString(UserProfileWidth - QDir::rootPath().size(), QChar(0));
    }
}

QString ConfigFilePath(const Session &s) { return join(s.AppDataDir, IniName); }

namespace {
// A record as the value of a setting of type T; nothing when it has another
// type or lies beyond the setting's range.
template <class T>
std::optional<T> recordValue(const Setting &setting, const RecordReader::Field &f)
{
    if constexpr (std::is_same_v<T, QString>) {
        if (!f.quoted) return std::nullopt;
        return setting.width > 0 ? FixedWidth(f.text, setting.width) : f.text;
    } else if constexpr (std::is_same_v<T, bool>) {
        return FieldBool(f);
    } else {
        if (f.quoted || !IsNumeric(f.text)) return std::nullopt;
        std::optional<T> v;
        if constexpr (std::is_same_v<T, float>)
            v = FieldFloat(f);
        else
            v = FieldInt(f);
        if (!v || (setting.plausible && !setting.plausible(double(*v)))) return std::nullopt;
        return v;
    }
}

void writeValue(RecordWriter &w, const Setting &, float v) { w.Float(v); }
void writeValue(RecordWriter &w, const Setting &, qint32 v) { w.Int(v); }
void writeValue(RecordWriter &w, const Setting &, bool v) { w.Bool(v); }
void writeValue(RecordWriter &w, const Setting &setting, const QString &v)
{
    w.Text(setting.width > 0 ? FixedWidth(v, setting.width) : v);
}

// The bytes of the file at `path`, or nothing with the reason.
std::optional<QByteArray> readConfig(const QString &path, QString *why)
{
    if (QFileInfo(path).isDir()) {
        *why = QStringLiteral("a folder of that name is in its place");
        return std::nullopt;
    }
    // One byte beyond the limit tells a file that is not ours.
    return ReadRegularFile(path, MaxConfigBytes + 1, why, Beyond::Cut);
}

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }
} // namespace

ConfigRecords ParseConfigRecords(Session &s, const QByteArray &bytes)
{
    // Whatever the file lacks keeps the install value.
    SetInstallDefaults(s);
    ConfigRecords result;
    if (bytes.size() > MaxConfigBytes || bytes.contains('\0')) {
        result.damaged = true;
        return result;
    }
    const auto settings = Settings();
    const qsizetype lines = qsizetype(settings.size()) + 1;
    RecordReader r(bytes);
    QList<RecordReader::Field> fields;
    while (fields.size() < lines) {
        const auto f = r.Next();
        if (!f) break;
        fields.append(*f);
    }
    // Blank lines at the end of a short file are no records.
    if (fields.size() < lines)
        while (!fields.isEmpty() && !fields.last().quoted && fields.last().text.isEmpty())
            fields.removeLast();
    result.records = int(fields.size());
    // Line 1 is the version of the program that wrote it: any text.
    if (!fields.isEmpty() && !fields[0].quoted) result.damaged = true;
    // Every record is checked before any is taken: one out of place means
    // the others may have moved too.
    for (const Setting &setting : settings) {
        if (result.damaged || setting.line > fields.size()) break;
        std::visit(
            [&](const auto &c) {
                using T = std::decay_t<decltype(s.*c.ini)>;
                if (!recordValue<T>(setting, fields[setting.line - 1])) result.damaged = true;
            },
            setting.copies);
    }
    if (result.damaged) return result;
    for (const Setting &setting : settings) {
        if (setting.line > fields.size()) break;
        std::visit(
            [&](const auto &c) {
                using T = std::decay_t<decltype(s.*c.ini)>;
                s.*c.ini = *recordValue<T>(setting, fields[setting.line - 1]);
            },
            setting.copies);
    }
    return result;
}

ConfigLoad LoadConfigFile(Session &s, Prompter &prompter)
{
    const QString own = ConfigFilePath(s);
    const QFileInfo info(own);
    const bool exists = !s.AppDataDir.isEmpty() && (info.exists() || info.isSymLink());
    QString path = own;
    ConfigLoad result = ConfigLoad::Loaded;
    if (!exists && s.IsWindowsNT) {
        path = join(s.InstallDir, IniName);
        if (!s.AppDataDir.isEmpty()) QDir().mkpath(s.AppDataDir);
        result = ConfigLoad::FirstRun;
    } else if (!exists) {
        prompter.MsgBox(QStringLiteral("Missing configuration file peltrix.ini.  Please contact "
                                       "Peltrix Technical Support."),
                        QStringLiteral("Missing Configuration File"), Buttons::Ok);
        return ConfigLoad::Missing;
    }

    const QString settingsTaken =
        QStringLiteral(" Every setting takes its installation value; the file ");
    QString why;
    const auto bytes = readConfig(path, &why);
    if (!bytes) {
        // A missing installation copy simply means the install values.
        SetInstallDefaults(s);
        if (result == ConfigLoad::Loaded) {
            s.KeepConfigFile = true;
            prompter.MsgBox(
                QStringLiteral("The settings file %1 cannot be read (%2).").arg(shown(path), why) +
                    settingsTaken + QStringLiteral("is left as it is."),
                QStringLiteral("Peltrix"), Buttons::Ok, Icon::Exclamation);
            result = ConfigLoad::Unreadable;
        }
    } else if (ParseConfigRecords(s, *bytes).damaged) {
        QString kept = QStringLiteral("is left as it is.");
        if (result == ConfigLoad::Loaded) {
            // Kept for the user to look at; the next write starts afresh.
            const QString aside = own + QStringLiteral(".damaged");
            QFile::remove(aside);
            if (QFile::rename(own, aside))
                kept = QStringLiteral("is kept as %1.").arg(shown(aside));
            else
                s.KeepConfigFile = true;
            result = ConfigLoad::Damaged;
        }
        prompter.MsgBox(QStringLiteral("The settings file %1 is damaged.").arg(shown(path)) +
                            settingsTaken + kept,
                        QStringLiteral("Peltrix"), Buttons::Ok, Icon::Exclamation);
    }

    if (!s.IsWindowsNT) {
        const QString legacy = QStringLiteral("Documents and Settings");
        if (s.IniStatsDir.mid(3, 22) == legacy) s.IniStatsDir = s.DocumentsDir;
        if (s.IniImageDir.mid(3, 22) == legacy) s.IniImageDir = s.DocumentsDir;
    }
    if (result == ConfigLoad::FirstRun) {
        s.IniStatsDir = s.DocumentsDir;
        s.IniImageDir = s.DocumentsDir;
    }
    DefaultsFromStored(s);
    return result;
}

QByteArray ConfigFileBytes(const Session &s)
{
    RecordWriter w;
    w.Text(ProgramVersion());
    w.EndRecord();
    for (const Setting &setting : Settings()) {
        std::visit(
            [&](const auto &c) {
                writeValue(w, setting, s.*setting.saveDef ? s.*c.def : s.*c.ini);
            },
            setting.copies);
        w.EndRecord();
    }
    return w.Bytes();
}

bool SaveConfigFile(const Session &s, QString *errorText)
{
    auto fail = [errorText](const QString &why) {
        if (errorText) *errorText = why;
        return false;
    };
    if (s.AppDataDir.isEmpty()) return fail(QStringLiteral("The user's data folder is not known."));
    if (s.KeepConfigFile)
        return fail(QStringLiteral("Peltrix could not use it at start-up and leaves it as it is."));
    if (!QDir().mkpath(s.AppDataDir))
        return fail(QStringLiteral("The folder %1 cannot be created.").arg(s.AppDataDir));
    QString why;
    if (!WriteWholeFile(ConfigFilePath(s), ConfigFileBytes(s), &why)) return fail(why);
    return true;
}

bool SaveConfigFileOrTell(const Session &s, Prompter &prompter)
{
    QString why;
    if (SaveConfigFile(s, &why)) return true;
    prompter.MsgBox(QStringLiteral("The settings could not be saved to %1.\r\r%2")
                        .arg(QDir::toNativeSeparators(ConfigFilePath(s)), why),
                    QStringLiteral("Configuration File"), Buttons::Ok, Icon::Exclamation);
    return false;
}
