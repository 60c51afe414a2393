#pragma once
// What the Logbook window does with kept groups, without the window: a group
// opened into the session, velocities imported. Questions and refusals go
// through the prompter.
#include "logbook/logbook.h"

class Prompter;

// Where an opened group came from: the file it was kept from (its image and
// calibration come with it, and it counts as saved), or the logbook alone
// (its header and shots; not saved).
enum class OpenedFrom { Nothing, File, Logbook };
// Puts a kept group into the session. Nothing, with the message shown,
// leaves the session as it was.
OpenedFrom OpenEntry(Session &s, const LogbookEntry &e, Prompter &prompter);

// Imports a velocity file for the group `groupId`, or with 0 for a load the
// user names (`loadHint` offered). Asks the file (from `folder`) and, when
// the file does not say, the unit. The series kept, or nothing: cancelled,
// or refused with the message shown and the logbook as it was.
std::optional<VelocitySeries> ImportVelocities(Logbook &book, Prompter &prompter, qint64 groupId,
                                               const QString &loadHint, const QString &folder);
