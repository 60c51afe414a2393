#pragma once
// Velocity files: a plain list (one speed a row, or a column whose header
// names the velocity or speed) and the CSV exports of chronographs, which put
// a table of shots among lines of device data and summary figures.
#include "logbook/logbook.h"

#include <QByteArray>
#include <optional>
#include <vector>

struct ChronoData {
    std::vector<double> Speeds;
    std::optional<VelocityUnit> Unit; // when the file names it
};

// Nothing, with the reason, when no speed can be found.
std::optional<ChronoData> ParseChronoCsv(const QByteArray &bytes, QString *errorText = nullptr);
std::optional<ChronoData> ReadChronoFile(const QString &path, QString *errorText = nullptr);
