#pragma once
// Files of this machine as the system has them: names in the system's own
// bytes, and reads of regular files only (a device, a pipe or a folder is
// refused at once, never waited on), each with a bound.
#include <QByteArray>
#include <QString>
#include <optional>

class QFile;

// A name as the system gives it (a command-line argument): UTF-8 where the
// bytes are, each other byte kept as a character of its own, so that
// NativeFileName gives the same bytes back.
QString FileNameFromSystem(const QByteArray &bytes);
// The bytes the system knows the file by.
QByteArray NativeFileName(const QString &name);
// False for a name only NativeFileName can give the system: Qt's own file
// functions would reach another file, or none.
bool QtReachesName(const QString &name);
// Whether anything (a file, a folder, a link) has this name.
bool NameExists(const QString &name);

// Opens `file` for reading when `path` is a regular file; false, with the
// reason, otherwise. The opened file has no name of its own (fileName() is
// empty).
bool OpenRegularFile(QFile &file, const QString &path, QString *why);

// At most `limit` bytes: with Beyond::Refuse a longer file is refused (the
// reason `tooLarge`, or ours), with Beyond::Cut its first `limit` bytes come
// back.
enum class Beyond { Refuse, Cut };
std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 limit, QString *why,
                                          Beyond beyond = Beyond::Refuse,
                                          const QString &tooLarge = {});
