#pragma once
// Shot data export: the current group as comma-separated text beside its
// statistics file, never over an existing file.
#include "model/session.h"

#include <QByteArray>

class Prompter;

// The export's name for a statistics file name: its extension replaced by
// ".txt" ("group1.pxs" -> "group1.txt", "my.data" -> "my.txt", "x" -> "x.txt").
QString ExportFileName(const QString &statsFileName);

// The name typed for another export file, with ".txt" added where the
// answer has no extension of its own.
QString ExportAnswerName(const QString &answer);

// "MOA: " and the group size in minutes of angle, empty while no range is entered.
QString ExportMoaText(const Session &s);

// The lines of the export file.
QByteArray ExportBytes(const Session &s);

// The whole export: the name, the question while the file exists, the write
// and the closing message. True when a file was written.
bool ExportShotData(const Session &s, Prompter &prompter);
