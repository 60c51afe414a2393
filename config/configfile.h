#pragma once
// The program's folders and peltrix.ini: twelve settings, each kept as the
// current value (session), the default copy (taken by a reset) and the stored
// copy (as read at start-up).
#include "model/session.h"
#include "model/settings.h"
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
    Loaded,     // the user's own copy
    FirstRun,   // the installation's copy (or the install values when it is missing too)
    Missing,    // no file where one must be: the program ends
    Damaged,    // the user's copy is damaged: install values, the file kept aside
    Unreadable, // the user's copy cannot be read: install values, the file left alone
};
// Reads the file into the stored and default copies. Records missing from
// the end of a short file take their install values; a damaged or unreadable
// file gives every setting its install value and is said once.
ConfigLoad LoadConfigFile(Session &s, Prompter &prompter);

struct ConfigRecords {
    int records = 0;      // records read, at most 13
    bool damaged = false; // a record of the wrong type or beyond its range
};
// Parses the bytes of a peltrix.ini into the stored copies. Records missing
// from the end keep their install values; in a damaged file every setting does.
ConfigRecords ParseConfigRecords(Session &s, const QByteArray &bytes);

// The file as SaveConfigFile writes it: the version, then each setting from
// its default copy when selected, otherwise from its stored copy.
QByteArray ConfigFileBytes(const Session &s);
// Writes the whole file or nothing; false with the reason when it cannot.
bool SaveConfigFile(const Session &s, QString *errorText = nullptr);

// SaveConfigFile, telling the user which file could not be written and why.
bool SaveConfigFileOrTell(const Session &s, Prompter &prompter);
