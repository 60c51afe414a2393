#pragma once
// The text of every file the program reads or writes. A file whose texts all
// fit Windows-1252 is written in it, byte for byte as earlier releases wrote
// it; any other is written whole in UTF-8 after the byte-order mark, which
// earlier releases skip with the version record. Never the locale's codec.
#include <QByteArray>
#include <QString>

// Characters outside the code page are written as '?'.
QByteArray ToCp1252(const QString &text);
QString FromCp1252(const QByteArray &bytes);
// True when every character of the text has a byte of its own in Windows-1252.
bool FitsCp1252(const QString &text);

// EF BB BF: a file beginning with it is UTF-8, any other Windows-1252.
inline constexpr char Utf8Mark[] = "\xEF\xBB\xBF";
bool StartsWithUtf8Mark(const QByteArray &bytes);
// The bytes of a whole text file by the rule above.
QByteArray EncodeTextFile(const QString &text);
