#include "config/configfile.h"

#include "app/textnum.h"
#include "config/textrecords.h"
#include "platform/prompter.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

int ParseConfigRecords(Session &s, const QByteArray &bytes)
{
    // Whatever the file lacks keeps the install value.
    const QString documents = s.DocumentsDir;
    s.IniRangeToTarget = 100;
    s.IniShooterName = QString(ShooterNameWidth, QLatin1Char(' '));
    s.IniFirearm = QString(FirearmWidth, QLatin1Char(' '));
    s.IniCaliber = QString(CaliberWidth, QLatin1Char(' '));
    s.IniUnitName = QStringLiteral("Inches");
    s.IniCalDistance = 1;
    s.IniBackColor = ButtonFaceColor;
    s.IniFullScreenCursor = s.IniShowCentroid = s.IniShowAxes = false;
    s.IniStatsDir = s.IniImageDir = documents;

    RecordReader r(bytes);
    int line = 0;
    while (line < 13) {
        const auto f = r.Next();
        if (!f) break;
        ++line;
        switch (line) {
        case 1:
            break; // the version of the program that wrote it
        case 2:
            if (auto v = FieldFloat(*f)) s.IniRangeToTarget = *v;
            break;
        case 3:
            s.IniShooterName = FixedWidth(f->text, ShooterNameWidth);
            break;
        case 4:
            s.IniFirearm = FixedWidth(f->text, FirearmWidth);
            break;
        case 5:
            s.IniCaliber = FixedWidth(f->text, CaliberWidth);
            break;
        case 6:
            s.IniUnitName = f->text;
            break;
        case 7:
            if (auto v = FieldFloat(*f)) s.IniCalDistance = *v;
            break;
        case 8:
            if (auto v = FieldInt(*f)) s.IniBackColor = *v;
            break;
        case 9:
            if (auto v = FieldBool(*f)) s.IniFullScreenCursor = *v;
            break;
        case 10:
            if (auto v = FieldBool(*f)) s.IniShowCentroid = *v;
            break;
        case 11:
            if (auto v = FieldBool(*f)) s.IniShowAxes = *v;
            break;
        case 12:
            s.IniStatsDir = f->text;
            break;
        case 13:
            s.IniImageDir = f->text;
            break;
        }
    }
    return line;
}

ConfigLoad LoadConfigFile(Session &s, Prompter &prompter)
{
    QString path = ConfigFilePath(s);
    ConfigLoad result = ConfigLoad::Loaded;
    const bool present = !s.AppDataDir.isEmpty() && QFileInfo(path).fileName() == IniName &&
                         QFileInfo(path).isFile();
    if (s.IsWindowsNT && !present) {
        path = join(s.InstallDir, IniName);
        if (!s.AppDataDir.isEmpty()) QDir().mkpath(s.AppDataDir);
        result = ConfigLoad::FirstRun;
    } else if (!present) {
        prompter.MsgBox(QStringLiteral("Missing configuration file peltrix.ini.  Please contact "
                                       "Peltrix Technical Support."),
                        QStringLiteral("Missing Configuration File"), Buttons::Ok);
        return ConfigLoad::Missing;
    }

    QByteArray bytes;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) bytes = file.read(MaxConfigBytes);
    ParseConfigRecords(s, bytes);

    if (!s.IsWindowsNT) {
        const QString legacy = QStringLiteral("Documents and Settings");
        if (s.IniStatsDir.mid(3, 22) == legacy) s.IniStatsDir = s.DocumentsDir;
        if (s.IniImageDir.mid(3, 22) == legacy) s.IniImageDir = s.DocumentsDir;
    }
    if (result == ConfigLoad::FirstRun) {
        s.IniStatsDir = s.DocumentsDir;
        s.IniImageDir = s.DocumentsDir;
    }

    s.DefRangeToTarget = s.IniRangeToTarget;
    s.DefShooterName = s.IniShooterName;
    s.DefFirearm = s.IniFirearm;
    s.DefCaliber = s.IniCaliber;
    s.DefUnitName = s.IniUnitName;
    s.DefCalDistance = s.IniCalDistance;
    s.DefBackColor = s.IniBackColor;
    s.DefFullScreenCursor = s.IniFullScreenCursor;
    s.DefShowCentroid = s.IniShowCentroid;
    s.DefShowAxes = s.IniShowAxes;
    s.DefStatsDir = s.IniStatsDir;
    s.DefImageDir = s.IniImageDir;
    return result;
}

QByteArray ConfigFileBytes(const Session &s)
{
    RecordWriter w;
    auto text = [&w](const QString &t) {
        w.Text(t);
        w.EndRecord();
    };
    text(ProgramVersion());
    w.Float(s.SaveDefRangeToTarget ? s.DefRangeToTarget : s.IniRangeToTarget);
    w.EndRecord();
    text(FixedWidth(s.SaveDefShooterName ? s.DefShooterName : s.IniShooterName, ShooterNameWidth));
    text(FixedWidth(s.SaveDefFirearm ? s.DefFirearm : s.IniFirearm, FirearmWidth));
    text(FixedWidth(s.SaveDefCaliber ? s.DefCaliber : s.IniCaliber, CaliberWidth));
    text(s.SaveDefUnitName ? s.DefUnitName : s.IniUnitName);
    w.Float(s.SaveDefCalDistance ? s.DefCalDistance : s.IniCalDistance);
    w.EndRecord();
    w.Int(s.SaveDefBackColor ? s.DefBackColor : s.IniBackColor);
    w.EndRecord();
    w.Bool(s.SaveDefFullScreenCursor ? s.DefFullScreenCursor : s.IniFullScreenCursor);
    w.EndRecord();
    w.Bool(s.SaveDefShowCentroid ? s.DefShowCentroid : s.IniShowCentroid);
    w.EndRecord();
    w.Bool(s.SaveDefShowAxes ? s.DefShowAxes : s.IniShowAxes);
    w.EndRecord();
    text(s.SaveDefStatsDir ? s.DefStatsDir : s.IniStatsDir);
    text(s.SaveDefImageDir ? s.DefImageDir : s.IniImageDir);
    return w.Bytes();
}

bool SaveConfigFile(const Session &s, QString *errorText)
{
    auto fail = [errorText](const QString &why) {
        if (errorText) *errorText = why;
        return false;
    };
    if (s.AppDataDir.isEmpty()) return fail(QStringLiteral("The user's data folder is not known."));
    if (!QDir().mkpath(s.AppDataDir))
        return fail(QStringLiteral("The folder %1 cannot be created.").arg(s.AppDataDir));
    QString why;
    if (!WriteWholeFile(ConfigFilePath(s), ConfigFileBytes(s), &why)) return fail(why);
    return true;
}

void CaptureDefaults(Session &s)
{
    if (s.SaveDefRangeToTarget) s.DefRangeToTarget = s.RangeToTarget;
    if (s.SaveDefShooterName) s.DefShooterName = s.ShooterName;
    if (s.SaveDefFirearm) s.DefFirearm = s.Firearm;
    if (s.SaveDefCaliber) s.DefCaliber = s.Caliber;
    if (s.SaveDefUnitName) s.DefUnitName = s.UnitName;
    if (s.SaveDefCalDistance) s.DefCalDistance = s.CalDistance;
    if (s.SaveDefBackColor) s.DefBackColor = s.BackColor;
    if (s.SaveDefFullScreenCursor) s.DefFullScreenCursor = s.FullScreenCursor;
    if (s.SaveDefShowCentroid) s.DefShowCentroid = s.ShowCentroid;
    if (s.SaveDefShowAxes) s.DefShowAxes = s.ShowAxes;
    if (s.SaveDefStatsDir) s.DefStatsDir = s.StatsDir;
    if (s.SaveDefImageDir) s.DefImageDir = s.ImageDir;
}

void ApplyInstallValues(Session &s)
{
    s.RangeToTarget = 100;
    s.ShooterName = QString(ShooterNameWidth, QLatin1Char(' '));
    s.Firearm = QString(FirearmWidth, QLatin1Char(' '));
    s.Caliber = QString(CaliberWidth, QLatin1Char(' '));
    s.UnitName = QStringLiteral("Inches");
    s.CalDistance = 1;
    s.BackColor = ButtonFaceColor;
    s.FullScreenCursor = s.ShowCentroid = s.ShowAxes = false;
    s.StatsDir = s.DocumentsDir;
    s.ImageDir = s.DocumentsDir;
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
