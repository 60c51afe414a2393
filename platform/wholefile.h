#pragma once
// Writing a file whole or not at all: the old file stays as it was unless the
// new one was written completely. Every file the program writes goes here.
#include <QByteArray>
#include <QString>

class Prompter;

enum class Existing { Replace, Keep };

// False, with the reason, when the file could not be written completely.
// With Existing::Keep a file already at `path` is never replaced (the
// write fails instead).
bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *errorText = nullptr,
                    Existing existing = Existing::Replace);

// The message of a failed write: the file and the reason.
QString WriteFailedText(const QString &path, const QString &why);

// WriteWholeFile, telling the user which file could not be written and why.
bool WriteWholeFileOrTell(const QString &path, const QByteArray &bytes, Prompter &prompter,
                          const QString &title);
