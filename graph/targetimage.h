#pragma once
// Reading a target image file: the checks its decoder does not make.
#include <QByteArray>
#include <QSize>
#include <QString>

// Why an image of this size is not decoded, naming the limit; empty when it
// is within the limit (or its size is unknown before decoding).
QString ImageSizeRefusal(QSize size);

// False when the data of a JPEG or bitmap file stop before their end: such a
// file still decodes, grey or black where the data are missing. `format` is
// the decoder's name for it ("jpeg", "bmp"); other formats count as complete.
bool ImageFileComplete(const QString &path, const QByteArray &format);
