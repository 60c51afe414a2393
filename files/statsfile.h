#pragma once
// The .pxs statistics file: one group with its header, calibration, aim
// point, image path, unit and display options; 24 + 2n records for n shots.
#include "model/session.h"

#include <QByteArray>

class Prompter;

// The records of the current group, as SaveStatsFile writes them.
QByteArray StatsFileBytes(const Session &s);

// Writes the group to `path` whole or not at all (the old file stays as it
// was) and marks the group saved. False, with the reason, when it cannot.
bool SaveStatsFile(Session &s, const QString &path, QString *errorText = nullptr);

// Parses a statistics file into `s` (a session already reset). False with the
// reason when the bytes are not a whole statistics file; `s` is then partly
// filled and must be dropped.
bool ParseStatsFile(Session &s, const QByteArray &bytes, QString *errorText = nullptr);

// Reads the file named by StatsFilePath into `s` and recomputes the group.
bool ReadStatsFile(Session &s, QString *errorText = nullptr);

// The open command: a fresh session from the file at `path`, taken over only
// when the whole file was read; StatsDir becomes the file's folder. False,
// with the reason, leaves `s` as it was.
bool OpenStatsFile(Session &s, const QString &path, QString *errorText = nullptr);

// OpenStatsFile, telling the user which file is not a statistics file.
bool OpenStatsFileOrTell(Session &s, const QString &path, Prompter &prompter);
// SaveStatsFile, telling the user which file could not be written and why.
bool SaveStatsFileOrTell(Session &s, const QString &path, Prompter &prompter);

// The folder part of a path as the dialogs store it (without the final separator).
QString FolderOfPath(const QString &path);
