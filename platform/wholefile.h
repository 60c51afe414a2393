#pragma once
// Writing a file whole or not at all: the old file stays as it was unless the
// new one was written completely.
#include <QByteArray>
#include <QString>

// False, with the reason, when the file could not be written completely.
bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *errorText = nullptr);
