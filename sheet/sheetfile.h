#pragma once
// The .pxsheet file: a target sheet as readable JSON, the format's name and
// version first. The image is named relative to the sheet when it lies in
// the sheet's folder, so the two move together.
#include "sheet/targetsheet.h"

#include <QByteArray>

inline const QString SheetFormatName = QStringLiteral("Peltrix target sheet");
constexpr int SheetFormatVersion = 1;

// The file's bytes for a sheet saved at `sheetPath`.
QByteArray SheetFileBytes(const TargetSheet &sheet, const QString &sheetPath);
// The sheet in `bytes` read from `sheetPath`; false with the reason, and
// `sheet` untouched, when they are not a whole sheet of this or an earlier
// version.
bool ParseSheetFile(const QByteArray &bytes, const QString &sheetPath, TargetSheet &sheet,
                    QString *errorText = nullptr);
// Written whole or not at all.
bool SaveSheetFile(const TargetSheet &sheet, const QString &path, QString *errorText = nullptr);
bool OpenSheetFile(const QString &path, TargetSheet &sheet, QString *errorText = nullptr);
