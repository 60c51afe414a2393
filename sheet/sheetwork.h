#pragma once
// The long work on a card: marks, holes over the whole card, the groups and
// their figures, reporting progress and stopping when asked.
#include "detect/holedetector.h"
#include "sheet/targetsheet.h"

#include <QImage>
#include <functional>
#include <optional>

// Called with the part done (0 to 1); returns false to stop the work.
using SheetProgress = std::function<bool(double)>;

// The holes of the whole card, each once; nothing when stopped.
std::optional<std::vector<FoundHole>> FindCardHoles(const QImage &image, double bulletPixels,
                                                    const SheetProgress &progress = {});

// The scan's resolution when the file records one (at least 100 dpi: less is
// what images without one report).
std::optional<double> RecordedDpi(const QImage &image);

// The resolution last typed for a card of this size, kept in sheet.ini in
// the per-user data folder; nothing when none was.
std::optional<double> RememberedDpi(const QString &appDataDir, QSize size);
void RememberDpi(const QString &appDataDir, QSize size, double dpi);

// A card from start to end as the command line and the window's Find do it:
// the marks (unless the sheet has them), the holes as found shots (sure ones
// accepted) and every shot in its group. False when stopped.
bool ReadCard(TargetSheet &sheet, const QImage &image, const SheetProgress &progress = {});

// The scan in a file, whole; nothing with the reason when it cannot be read,
// is cut short or is over the picture size limit.
std::optional<QImage> ReadCardImage(const QString &path, QString *error);
// The sheet's scan, else (with the reason in `problem`) a blank card large
// enough for its marks and shots: the data stands without the scan.
QImage SheetCardImage(const TargetSheet &sheet, QString *problem);
// The reason a card cannot be read with this scale and bullet, or empty.
QString CheckCardRequest(const TargetSheet &sheet, QSize imageSize);
