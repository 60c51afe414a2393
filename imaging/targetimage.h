#pragma once
// Reading a target image file: the checks its decoder does not make.
#include <QByteArray>
#include <QSize>
#include <QString>
#include <optional>

// The largest image a load will decode, in megabytes.
constexpr int ImageAllocationLimitMB = 2048;

// Lets the image reader decode up to that limit; its own default would
// refuse a large scan (10000 x 10000 is 400 MB as RGB32).
void RaiseAllocationLimit();

// Why an image of this size is not decoded, naming the limit; empty when it
// is within the limit (or its size is unknown before decoding).
QString ImageSizeRefusal(QSize size);

// False when the data of a JPEG or bitmap file stop before their end: such a
// file still decodes, grey or black where the data are missing. `format` is
// the decoder's name for it ("jpeg", "bmp"); other formats count as complete.
bool ImageFileComplete(const QString &path, const QByteArray &format);

class QFile;
class QImage;
class QImageReader;

// Opens the image file for `reader`, which then reads from `file`: only a
// regular file (a pipe or a device is refused at once), and under the name
// as the system gives it. False, with the reason, otherwise.
bool OpenImageFile(const QString &path, QFile &file, QImageReader &reader, QString *why);

// The size the reader's picture has once turned upright by its EXIF
// orientation (readers here always turn it).
QSize UprightSize(QImageReader &reader);
QSize UprightReaderSize(const QString &path);

// The resolution, in dots per inch, that a scan records: for a JPEG the
// JFIF header's, or the EXIF one when JFIF says 72 or 96 dpi or nothing (a
// scanner's own value, behind a default some programs write); for other
// formats what the decoder read. Nothing below 100 dpi (what images without a
// resolution report) or beyond any scanner's reach.
std::optional<double> FileDpi(const QString &path, const QImage &decoded);
