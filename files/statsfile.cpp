#include "files/statsfile.h"

#include "config/textrecords.h"
#include "model/textnum.h"
#include "platform/localfile.h"
#include "platform/prompter.h"
#include "platform/wholefile.h"
#include "stats/groupstats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {
// The largest legitimate file is a few kilobytes; anything far beyond is not ours.
constexpr qint64 MaxStatsFileBytes = 1 << 20;
} // namespace

QString FolderOfPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return QString();
    if (slash == 0) return QStringLiteral("/");
    return path.left(slash);
}

QByteArray StatsFileBytes(const Session &s)
{
    RecordWriter w;
    auto text = [&w](const QString &t) {
        w.Text(t);
        w.EndRecord();
    };
    auto number = [&w](float v) {
        w.Float(v);
        w.EndRecord();
    };
    auto flag = [&w](bool b) {
        w.Bool(b);
        w.EndRecord();
    };
    text(ProgramVersion());
    text(FixedWidth(s.ShooterName, ShooterNameWidth));
    text(FixedWidth(s.DateFired, DateFiredWidth));
    text(FixedWidth(s.Firearm, FirearmWidth));
    text(FixedWidth(s.Caliber, CaliberWidth));
    text(FixedWidth(s.LotNumber, LotNumberWidth));
    text(FixedWidth(s.Comments, CommentsWidth));
    number(s.RangeToTarget);
    const qint32 n = std::clamp(s.ShotCount, qint32(0), ShotCapacity);
    w.Int(n);
    w.EndRecord();
    for (qint32 i = 1; i <= n; ++i) {
        number(s.ShotX[i]);
        number(s.ShotY[i]);
    }
    number(s.ImageScale);
    number(s.CalPoint1X);
    number(s.CalPoint2X);
    number(s.CalPoint1Y);
    number(s.CalPoint2Y);
    number(s.CalDistance);
    number(s.AimX);
    number(s.AimY);
    text(s.ImagePath);
    text(s.UnitName);
    flag(s.GraphicalEntryActive);
    flag(s.ShowAxes);
    flag(s.ShowCentroid);
    flag(s.FullScreenCursor);
    w.Int(s.BackColor);
    w.EndRecord();
    return w.Bytes();
}

bool SaveStatsFile(Session &s, const QString &path, QString *errorText)
{
    auto fail = [errorText](const QString &why) {
        if (errorText) *errorText = why;
        return false;
    };
    if (path.isEmpty()) return fail(QStringLiteral("No file name was given."));
    QString why;
    if (!WriteWholeFile(path, StatsFileBytes(s), &why)) return fail(why);
    s.StatsSaved = true;
    return true;
}

bool ParseStatsFile(Session &s, const QByteArray &bytes, QString *errorText)
{
    auto fail = [errorText](const QString &why) {
        if (errorText) *errorText = why;
        return false;
    };
    if (bytes.contains('\0')) return fail(QStringLiteral("It is not a text file."));
    RecordReader r(bytes);
    int record = 0;
    auto next = [&](RecordReader::Field &f) {
        const auto got = r.Next();
        if (!got) return false;
        f = *got;
        ++record;
        return true;
    };
    auto shortFile = [&]() {
        return fail(QStringLiteral("It ends after %1 records.").arg(record));
    };
    RecordReader::Field f;
    auto text = [&](QString &target, int width) {
        if (!next(f)) return shortFile();
        if (!f.quoted) return fail(QStringLiteral("Record %1 is not a text.").arg(record));
        target = width > 0 ? FixedWidth(f.text, width) : f.text;
        return true;
    };
    auto number = [&](float &target) {
        if (!next(f)) return shortFile();
        const auto v = FieldFloat(f);
        if (!v) return fail(QStringLiteral("Record %1 is not a usable number.").arg(record));
        target = *v;
        return true;
    };
    auto flag = [&](bool &target) {
        if (!next(f)) return shortFile();
        const auto v = FieldBool(f);
        if (!v) return fail(QStringLiteral("Record %1 is not #TRUE# or #FALSE#.").arg(record));
        target = *v;
        return true;
    };

    QString version;
    if (!text(version, 0)) return false;
    if (!text(s.ShooterName, ShooterNameWidth) || !text(s.DateFired, DateFiredWidth) ||
        !text(s.Firearm, FirearmWidth) || !text(s.Caliber, CaliberWidth) ||
        !text(s.LotNumber, LotNumberWidth) || !text(s.Comments, CommentsWidth))
        return false;
    if (!number(s.RangeToTarget)) return false;
    if (!next(f)) return shortFile();
    const auto count = FieldInt(f);
    if (f.quoted || !IsNumeric(f.text) || !count)
        return fail(QStringLiteral("Record 9 is not a number of shots."));
    if (*count < 0 || *count > ShotCapacity)
        return fail(QStringLiteral("It announces %1 shots; a group holds 0 to %2.")
                        .arg(*count)
                        .arg(ShotCapacity));
    s.ShotCount = *count;
    for (qint32 i = 1; i <= s.ShotCount; ++i) {
        if (!number(s.ShotX[i]) || !number(s.ShotY[i])) return false;
        const double x = s.ShotX[i], y = s.ShotY[i];
        s.ShotR[i] = float(std::sqrt(x * x + y * y));
    }
    for (qint32 i = s.ShotCount + 1; i <= ShotCapacity; ++i)
        s.ShotX[i] = s.ShotY[i] = s.ShotR[i] = 0;
    if (!number(s.ImageScale) || !number(s.CalPoint1X) || !number(s.CalPoint2X) ||
        !number(s.CalPoint1Y) || !number(s.CalPoint2Y) || !number(s.CalDistance) ||
        !number(s.AimX) || !number(s.AimY))
        return false;
    if (!text(s.ImagePath, 0) || !text(s.UnitName, 0)) return false;
    if (!flag(s.GraphicalEntryActive) || !flag(s.ShowAxes) || !flag(s.ShowCentroid) ||
        !flag(s.FullScreenCursor))
        return false;
    if (!next(f)) return shortFile();
    const auto color = FieldInt(f);
    if (!color) return fail(QStringLiteral("Record %1 is not a colour.").arg(record));
    s.BackColor = *color;
    return true;
}

bool ReadStatsFile(Session &s, QString *errorText)
{
    const auto bytes = ReadRegularFile(s.StatsFilePath, MaxStatsFileBytes, errorText,
                                       Beyond::Refuse, QStringLiteral("It is far too large."));
    if (!bytes || !ParseStatsFile(s, *bytes, errorText)) return false;
    s.EntryWindowOpen = true;
    if (s.ShotCount > 1) ComputeGroupStats(s);
    if (s.ImageScale > -1) s.ImageCalibrated = true;
    s.RangeEntered = s.RangeToTarget != 0;
    return true;
}

bool OpenStatsFile(Session &s, const QString &path, QString *errorText)
{
    // Everything is read into a copy; the session changes only when the whole file was good.
    Session fresh = s;
    ResetSession(fresh);
    fresh.StatsFilePath = path;
    fresh.StatsDir = FolderOfPath(path);
    if (!ReadStatsFile(fresh, errorText)) return false;
    fresh.StatsSaved = true;
    s = fresh;
    return true;
}

bool OpenStatsFileOrTell(Session &s, const QString &path, Prompter &prompter)
{
    QString why;
    if (OpenStatsFile(s, path, &why)) return true;
    prompter.MsgBox(QStringLiteral("%1 is not a valid Peltrix statistics file.\r\r%2")
                        .arg(QDir::toNativeSeparators(path), why),
                    QStringLiteral("Open File"), Buttons::Ok, Icon::Exclamation);
    return false;
}

bool SaveStatsFileOrTell(Session &s, const QString &path, Prompter &prompter)
{
    QString why;
    if (SaveStatsFile(s, path, &why)) return true;
    prompter.MsgBox(QStringLiteral("The file %1 could not be saved.\r\r%2")
                        .arg(QDir::toNativeSeparators(path), why),
                    QStringLiteral("Save Failed"), Buttons::Ok, Icon::Exclamation);
    return false;
}
