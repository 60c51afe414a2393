#pragma once
// What a sheet exports: each group as a classic .pxs (which opens in the
// classic windows and in earlier releases), every shot as one tidy CSV, and
// the marked card as an image.
#include "logbook/logbook.h"
#include "sheet/targetsheet.h"

#include <QImage>
#include <QStringList>

// The file names of the groups' .pxs files: "NAME group K.pxs" in `folder`.
QStringList GroupFileNames(const TargetSheet &sheet, const QString &folder, const QString &name);
// Writes every group with shots; nothing at all when a group has more shots
// than a .pxs holds (the message names it) or a file cannot be written
// (those already written stay).
bool ExportGroupFiles(const TargetSheet &sheet, const QString &folder, const QString &name,
                      QStringList *written, QString *errorText);
// sheet,group,label,shot,x,y,r,unit — x and y in the unit from the group's
// mark (y up), r from the mark.
QByteArray SheetCsvBytes(const TargetSheet &sheet, const QString &sheetName);
bool ExportSheetCsv(const TargetSheet &sheet, const QString &sheetName, const QString &path,
                    QString *errorText);
bool ExportMarkedCard(const QImage &card, const TargetSheet &sheet, const QString &path,
                      QString *errorText);

// Logbook entries for the groups with shots (only `group`, 0-based, when it is
// not -1): the sheet's header, the label as the load (a charge when it reads
// "… gr"), "SHEETPATH group K" as the source so that adding again updates.
std::vector<LogbookEntry> SheetLogbookEntries(const TargetSheet &sheet, const QString &sheetPath,
                                              int group = -1);
