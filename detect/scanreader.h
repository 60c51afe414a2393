#pragma once
// Hole search on an image file or an image in memory, with the checks of
// what the user asked for. A file is decoded whole and upright (by its EXIF
// orientation) and searched as the same picture in memory would be.
#include "detect/holedetector.h"

#include <QSize>
#include <QString>
#include <optional>

struct HoleRequest {
    double pixelsPerUnit = 0;  // scale of the image
    double bulletDiameter = 0; // in the unit of the scale
    QRect region;              // image pixels; empty: the whole image
    // Progress and cancelling, for a search off the interface thread.
    const SearchControl *control = nullptr;
};

struct HoleReport {
    QSize imageSize;
    std::vector<FoundHole> holes;
};

// The reason the request cannot be searched on an image of this size, or an
// empty text when it can.
QString CheckHoleRequest(const HoleRequest &request, QSize imageSize);

// The holes in the image file; nothing, with the reason in `error`, when the
// file cannot be read, the request is refused or the search was cancelled.
std::optional<HoleReport> FindHolesInFile(const QString &path, const HoleRequest &request,
                                          QString *error);
// The same for an image already in memory.
std::optional<HoleReport> FindHolesInImage(const QImage &image, const HoleRequest &request,
                                           QString *error);
