#pragma once
// The 8-bit text of every file the program reads or writes: Windows-1252,
// whatever the locale, so files stay byte-compatible with earlier releases.
#include <QByteArray>
#include <QString>

// Characters outside the code page are written as '?'.
QByteArray ToCp1252(const QString &text);
QString FromCp1252(const QByteArray &bytes);
