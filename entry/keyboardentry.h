#pragma once
// Typed shots and the header's range check, as plain functions over the
// session; the entry forms only call them and update their controls.
#include "model/session.h"
#include "platform/prompter.h"

constexpr float MaxShotOffset = 1e6f;

// Adds the shot typed as `xText`, `yText`. Refusals (an empty or non-numeric
// field, a full group) are shown and leave the group unchanged. Recomputes
// the statistics; the caller renders the report. True when stored.
bool AddTypedShot(Session &s, Prompter &prompter, const QString &xText, const QString &yText);

// Asks for the number of the shot to delete and removes it. True when a
// shot was removed; the caller tells the views.
bool DeleteTypedShot(Session &s, Prompter &prompter);

// The header form's range check: Answer::Ok-like -1 when valid, otherwise
// the answer to the warning (Answer::Ok or Answer::Cancel).
constexpr int RangeValid = -1;
QString RangeWarningText();
int ValidateRange(Prompter &prompter, const QString &rangeText);

struct HeaderTexts {
    QString range, shooter, date, firearm, caliber, lot, comments;
};
// The fields as the header form shows them when it opens.
HeaderTexts HeaderFromSession(const Session &s);
// Ok of the header form: false (nothing stored) when the user chose to go
// back to the form.
bool StoreHeader(Session &s, Prompter &prompter, const HeaderTexts &h);
