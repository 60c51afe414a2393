#include "sheet/sheetexport.h"

#include "files/statsfile.h"
#include "model/session.h"
#include "model/textnum.h"
#include "platform/wholefile.h"
#include "sheet/sheetdraw.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace {
void FillSession(Session &s, const TargetSheet &sheet, int group)
{
    SetInstallDefaults(s);
    ResetSession(s);
    const SheetHeader &h = sheet.Header;
    const QString label = sheet.Marks[size_t(group)].label.trimmed();
    SetHeader(s, {h.Shooter, h.Date, h.Firearm, h.Caliber, h.Lot,
                  label.isEmpty() ? h.Comments : label + QStringLiteral("; ") + h.Comments,
                  float(sheet.RangeYards.value_or(0)), sheet.RangeYards.has_value()});
    s.HeaderEntered = true;
    s.UnitName = sheet.UnitName;
    SetGroupShots(s, sheet.GroupShots(group));
}

QString CsvField(const QString &t)
{
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')) &&
        !t.contains(QLatin1Char('\n')))
        return t;
    QString q = t;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}
} // namespace

QStringList GroupFileNames(const TargetSheet &sheet, const QString &folder, const QString &name)
{
    QStringList names;
    for (size_t g = 0; g < sheet.Marks.size(); ++g)
        names << QDir(folder).filePath(QStringLiteral("%1 group %2.pxs").arg(name).arg(g + 1));
    return names;
}

bool ExportGroupFiles(const TargetSheet &sheet, const QString &folder, const QString &name,
                      QStringList *written, QString *errorText)
{
    for (size_t g = 0; g < sheet.Marks.size(); ++g) {
        const size_t n = sheet.GroupShotIndexes(int(g)).size();
        if (n > size_t(ShotCapacity)) {
            if (errorText) {
                const QString label = sheet.Marks[g].label.trimmed();
                *errorText =
                    QStringLiteral("Group %1%2 has %3 shots; a .pxs file holds at most %4. "
                                   "No group was exported.")
                        .arg(g + 1)
                        .arg(label.isEmpty() ? QString()
                                             : QStringLiteral(" (") + label + QLatin1Char(')'))
                        .arg(n)
                        .arg(ShotCapacity);
            }
            return false;
        }
    }
    const QStringList names = GroupFileNames(sheet, folder, name);
    for (size_t g = 0; g < sheet.Marks.size(); ++g) {
        if (sheet.GroupShotIndexes(int(g)).empty()) continue;
        Session s;
        FillSession(s, sheet, int(g));
        if (!WriteWholeFile(names[qsizetype(g)], StatsFileBytes(s), errorText)) return false;
        if (written) *written << names[qsizetype(g)];
    }
    return true;
}

QByteArray SheetCsvBytes(const TargetSheet &sheet, const QString &sheetName)
{
    QString t = QStringLiteral("sheet,group,label,shot,x,y,r,unit\n");
    for (size_t g = 0; g < sheet.Marks.size(); ++g) {
        int k = 0;
        for (const ShotXY &p : sheet.GroupShots(int(g)))
            t += QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8\n")
                     .arg(CsvField(sheetName))
                     .arg(g + 1)
                     .arg(CsvField(sheet.Marks[g].label))
                     .arg(++k)
                     .arg(QString::number(p.x, 'f', 4), QString::number(p.y, 'f', 4),
                          QString::number(std::hypot(p.x, p.y), 'f', 4),
                          CsvField(sheet.UnitName.trimmed()));
    }
    return t.toUtf8();
}

bool ExportSheetCsv(const TargetSheet &sheet, const QString &sheetName, const QString &path,
                    QString *errorText)
{
    return WriteWholeFile(path, SheetCsvBytes(sheet, sheetName), errorText);
}

bool ExportMarkedCard(const QImage &card, const TargetSheet &sheet, const QString &path,
                      QString *errorText)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray format = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")
                                  ? QByteArrayLiteral("JPG")
                                  : QByteArrayLiteral("PNG");
    if (!MarkedCard(card, sheet).save(&buffer, format.constData())) {
        if (errorText) *errorText = QStringLiteral("The image could not be made.");
        return false;
    }
    return WriteWholeFile(path, bytes, errorText);
}

std::vector<LogbookEntry> SheetLogbookEntries(const TargetSheet &sheet, const QString &sheetPath,
                                              int group)
{
    std::vector<LogbookEntry> entries;
    for (size_t g = 0; g < sheet.Marks.size(); ++g) {
        if (group >= 0 && int(g) != group) continue;
        std::vector<ShotXY> shots = sheet.GroupShots(int(g));
        if (shots.empty()) continue;
        LogbookEntry e;
        e.DateText = sheet.Header.Date;
        e.Date = ParseDateFired(e.DateText).value_or(QDate::currentDate());
        e.Added = QDateTime::currentDateTime();
        e.Shooter = sheet.Header.Shooter;
        e.Firearm = sheet.Header.Firearm;
        e.Caliber = sheet.Header.Caliber;
        e.Lot = sheet.Header.Lot;
        e.Comments = sheet.Header.Comments;
        e.RangeYards = sheet.RangeYards;
        e.UnitName = sheet.UnitName;
        e.Shots = std::move(shots);
        e.Source =
            sheetPath.isEmpty() ? QString() : sheetPath + QStringLiteral(" group %1").arg(g + 1);
        e.Load.Text = sheet.Marks[g].label;
        if (const auto charge = LabelNumber(e.Load.Text);
            charge && e.Load.Text.contains(QLatin1String("gr"), Qt::CaseInsensitive))
            e.Load.Charge = charge;
        entries.push_back(std::move(e));
    }
    return entries;
}
