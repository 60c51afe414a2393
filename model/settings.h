#pragma once
// The twelve settings kept in peltrix.ini, each described once: its current,
// default and stored members in the session, its save-as-default selection,
// its record and type in the file, its install value and plausible range, and
// its box in the default options window. Everything that handles the settings
// as a whole goes through this table, so a new setting is one more row.
#include "model/session.h"

#include <span>
#include <variant>

template <class T> struct SettingCopies {
    T Session::*current;
    T Session::*def; // what a reset copies into the current value
    T Session::*ini; // as read at start-up; never changes during a run
};

struct Setting {
    qint32 line; // record in peltrix.ini; line 1 is the version
    // The type of the record follows from the members': float, 32-bit
    // integer, boolean or text.
    std::variant<SettingCopies<float>, SettingCopies<qint32>, SettingCopies<bool>,
                 SettingCopies<QString>>
        copies;
    bool Session::*saveDef;
    const char *checkBox; // object name of its box in the default options window
    int width = 0;        // texts: the fixed width, 0 for any length
    // Install value: numbers and booleans take `install`; texts take
    // `installText`, or the documents folder when `installDocuments` is set.
    double install = 0;
    const char *installText = "";
    bool installDocuments = false;
    // Numbers: the values a file may hold; anything else marks it damaged.
    bool (*plausible)(double) = nullptr;
    // A reset passes the value through its text form, as the header form shows it.
    bool resetThroughText = false;
};

std::span<const Setting> Settings();

// The install value of a setting of type T.
template <class T> T InstallValue(const Setting &setting, const Session &s);

// The current copies take the install values ("Reset All"); the stored and
// default copies are set by SetInstallDefaults (model/session.h).
void ApplyInstallValues(Session &s);
// A reset: every current value takes its default.
void ResetSettings(Session &s);
// Start-up: every default takes its stored value.
void DefaultsFromStored(Session &s);
// The default of every selected setting takes its current value, unless that
// value is one a file may not hold (a calibration distance of 0 after a
// refused calibration), which would make the next start call the file damaged.
void CaptureDefaults(Session &s);
