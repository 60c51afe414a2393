#pragma once
// Straighten Picture on a target sheet: the card goes on on the straightened
// picture, its marks and shots mapped with it and its scale from the
// rectangle; the sheet remembers the photo it came from, with the corners
// and size (the "original" of the .pxsheet file).
#include "graph/straighten.h"
#include "sheet/targetsheet.h"

#include <QImage>
#include <QJsonObject>
#include <QJsonValue>
#include <optional>

struct SheetStraightened {
    TargetSheet sheet;
    QImage picture;
};

// The sheet on `photo` (the picture it shows) straightened by the rectangle
// with these corners and size in the sheet's unit, the new picture written
// beside the photo; nothing, with the reason and nothing written, when it
// cannot be done.
std::optional<SheetStraightened> StraightenSheet(const TargetSheet &sheet, const QImage &photo,
                                                 const StraightenCorners &corners, double width,
                                                 double height, QString *why);

// The file's "original" entry, paths relative to the sheet like its image;
// undefined when the sheet was not straightened.
QJsonValue OriginalJson(const TargetSheet &sheet, const QString &sheetPath);
// Reads "original" of a sheet file into the sheet; false, with the fault,
// when it is there but damaged. A file without it is a sheet never straightened.
bool ReadOriginal(const QJsonObject &file, const QString &sheetPath, TargetSheet &sheet,
                  QString *fault);
