#include "logbook/logbook.h"

#include "model/session.h"
#include "model/settingsfile.h"
#include "model/textnum.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <charconv>
#include <cmath>

namespace {
QString shortest(float v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

bool contains(const QString &hay, const QString &needle)
{
    return needle.trimmed().isEmpty() || hay.contains(needle.trimmed(), Qt::CaseInsensitive);
}
} // namespace

QString VelocityUnitName(VelocityUnit u)
{
    return u == VelocityUnit::Mps ? QStringLiteral("mps") : QStringLiteral("fps");
}

std::optional<VelocityUnit> VelocityUnitFromName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("fps") || n == QLatin1String("ft/s")) return VelocityUnit::Fps;
    if (n == QLatin1String("mps") || n == QLatin1String("m/s")) return VelocityUnit::Mps;
    return std::nullopt;
}

std::optional<QDate> ParseDateFired(const QString &text)
{
    const QString t = text.simplified();
    if (t.isEmpty()) return std::nullopt;
    static const char *const formats[] = {
        "yyyy-MM-dd", "yyyy/M/d",    "M/d/yyyy",     "M/d/yy",       "M-d-yyyy",
        "d.M.yyyy",   "d.M.yy",      "MMMM d, yyyy", "MMM d, yyyy",  "MMMM d yyyy",
        "MMM d yyyy", "d MMMM yyyy", "d MMM yyyy",   "MMM. d, yyyy", "yyyyMMdd"};
    for (const char *f : formats) {
        QDate d = QDate::fromString(t, QLatin1String(f));
        if (!d.isValid()) continue;
        // Two-digit years are of this century up to 49, else of the last.
        if (QLatin1String(f).endsWith(QLatin1String("/yy")) ||
            QLatin1String(f).endsWith(QLatin1String(".yy")))
            d = d.addYears(d.year() < 1950 ? 100 : 0);
        return d;
    }
    return std::nullopt;
}

QString ShotsText(const std::vector<ShotXY> &shots)
{
    QStringList parts;
    for (const ShotXY &p : shots)
        parts << shortest(float(p.x)) + QLatin1Char(',') + shortest(float(p.y));
    return parts.join(QLatin1Char(';'));
}

std::optional<std::vector<ShotXY>> ShotsFromText(const QString &text)
{
    std::vector<ShotXY> shots;
    const QByteArray b = text.toLatin1();
    const char *p = b.constData(), *end = p + b.size();
    while (p < end) {
        float x = 0, y = 0;
        auto r = std::from_chars(p, end, x);
        if (r.ec != std::errc() || r.ptr == end || *r.ptr != ',') return std::nullopt;
        r = std::from_chars(r.ptr + 1, end, y);
        if (r.ec != std::errc() || (r.ptr != end && *r.ptr != ';')) return std::nullopt;
        shots.push_back({double(x), double(y)});
        p = r.ptr == end ? end : r.ptr + 1;
    }
    return shots;
}

LogbookEntry EntryFromSession(const Session &s, const QString &source)
{
    LogbookEntry e;
    e.Added = QDateTime::currentDateTimeUtc();
    e.DateText = s.DateFired.trimmed();
    e.Date = ParseDateFired(e.DateText).value_or(e.Added.toLocalTime().date());
    e.Shooter = s.ShooterName.trimmed();
    e.Firearm = s.Firearm.trimmed();
    e.Caliber = s.Caliber.trimmed();
    e.Lot = s.LotNumber.trimmed();
    e.Comments = s.Comments.trimmed();
    if (s.RangeEntered && s.RangeToTarget > 0) e.RangeYards = double(s.RangeToTarget);
    e.UnitName = s.UnitName.trimmed();
    e.Shots = GroupShots(s);
    e.Source = source.isEmpty() ? QString() : QFileInfo(source).absoluteFilePath();
    return e;
}

GroupAnalysis AnalyzeEntry(const LogbookEntry &e, double level)
{
    return AnalyzeShots(e.Shots, e.UnitName, e.RangeYards, level);
}

bool LoadInfo::HasDetail() const
{
    return !Powder.isEmpty() || !Bullet.isEmpty() || !Primer.isEmpty() || Charge || Coal;
}

QString LoadDetailText(const LoadInfo &l)
{
    QStringList parts;
    const QString charge =
        l.Charge ? QStringLiteral("%1 gr").arg(QString::number(*l.Charge, 'g', 6)) : QString();
    const QString powder = QStringList{l.Powder, charge}.join(QLatin1Char(' ')).trimmed();
    if (!powder.isEmpty()) parts << powder;
    if (!l.Bullet.isEmpty()) parts << l.Bullet;
    if (l.Coal) parts << QStringLiteral("COAL %1 in").arg(QString::number(*l.Coal, 'f', 3));
    if (!l.Primer.isEmpty()) parts << l.Primer;
    return parts.join(QStringLiteral("; "));
}

bool ReadLoadNumber(const QString &text, const QString &what, std::optional<double> &value,
                    QString *errorText)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        value.reset();
        return true;
    }
    // Numbers are written with a point whatever the desktop's language.
    if (const auto v = ParseNumber(t); v && *v > 0) {
        value = *v;
        return true;
    }
    if (errorText)
        *errorText =
            QStringLiteral("The %1 must be a number above zero; \"%2\" is not.").arg(what, t);
    return false;
}

LoadInfo NormalizedLoad(LoadInfo l)
{
    for (QString *t : {&l.Text, &l.Powder, &l.Bullet, &l.Primer}) *t = t->simplified();
    if (l.Text.isEmpty()) l.Text = LoadDetailText(l);
    return l;
}

bool LogbookFilter::Matches(const LogbookEntry &e) const
{
    if (From && e.Date < *From) return false;
    if (To && e.Date > *To) return false;
    if (!contains(e.Firearm, Firearm)) return false;
    // The load's name or its fields ("h4350", "41.5 gr").
    if (!contains(e.Load.Text, Load) &&
        !(e.Load.HasDetail() && contains(LoadDetailText(e.Load), Load)))
        return false;
    if (Text.trimmed().isEmpty()) return true;
    for (const QString *t :
         {&e.Firearm, &e.Load.Text, &e.Shooter, &e.Caliber, &e.Lot, &e.Comments, &e.DateText,
          &e.Source, &e.Load.Powder, &e.Load.Bullet, &e.Load.Primer})
        if (contains(*t, Text)) return true;
    return false;
}

QString DefaultLogbookPath(const QString &appDataDir)
{
    return QDir(appDataDir).filePath(QStringLiteral("logbook.sqlite"));
}

namespace {
const QString SettingsName = QStringLiteral("logbook.ini");
}

LogbookSettings LoadLogbookSettings(const QString &appDataDir)
{
    LogbookSettings r;
    if (appDataDir.isEmpty()) return r;
    const SettingsFile ini(QDir(appDataDir).filePath(SettingsName));
    r.DatabasePath = ini.Text(QStringLiteral("Logbook/Database"));
    r.AddOnSave = ini.Flag(QStringLiteral("Logbook/AddOnSave"), false);
    r.LastLoad = ini.Text(QStringLiteral("Logbook/LastLoad"));
    return r;
}

bool SaveLogbookSettings(const QString &appDataDir, const LogbookSettings &s)
{
    if (appDataDir.isEmpty()) return false;
    SettingsFile ini(QDir(appDataDir).filePath(SettingsName));
    ini.Set(QStringLiteral("Logbook/Database"), s.DatabasePath);
    ini.Set(QStringLiteral("Logbook/AddOnSave"), s.AddOnSave);
    ini.Set(QStringLiteral("Logbook/LastLoad"), s.LastLoad);
    return ini.Save();
}
