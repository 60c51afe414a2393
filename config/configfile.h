#pragma once
// The program's folders and peltrix.ini: twelve settings, each kept as the
// current value (session), the default copy (taken by a reset) and the stored
// copy (as read at start-up).
#include "app/session.h"
#include "platform/environment.h"

#include <QByteArray>

class Prompter;

// The 1-based position where the text in a fixed buffer ends: the first
// character whose code is below 32, or one past the last character.
qint32 FindTextEnd(const QString &text);

// IsWindowsNT, UserProfileDir, AppDataDir, the documents and installation
// folders. An unresolvable profile is reported and leaves AppDataDir empty.
void ResolveFolders(Session &s, const HostFolders &host, Prompter &prompter);

QString ConfigFilePath(const Session &s);

enum class ConfigLoad {
    Loaded,   // the user's own copy
    FirstRun, // the installation's copy (or the install values when it is missing too)
    Missing,  // no file where one must be: the program ends
};
// Reads the file into the stored and default copies. Records missing from a
// short or damaged file take their install values.
ConfigLoad LoadConfigFile(Session &s, Prompter &prompter);

// Parses the bytes of a peltrix.ini into the stored copies; records that are
// missing or unreadable keep their install values. The number of records read.
int ParseConfigRecords(Session &s, const QByteArray &bytes);

// The file as SaveConfigFile writes it: the version, then each setting from
// its default copy when selected, otherwise from its stored copy.
QByteArray ConfigFileBytes(const Session &s);
// Writes the whole file or nothing; false with the reason when it cannot.
bool SaveConfigFile(const Session &s, QString *errorText = nullptr);

// The default copy of every selected setting takes its current value.
void CaptureDefaults(Session &s);
// The current values of the twelve settings take the install values.
void ApplyInstallValues(Session &s);

// SaveConfigFile, telling the user which file could not be written and why.
bool SaveConfigFileOrTell(const Session &s, Prompter &prompter);
