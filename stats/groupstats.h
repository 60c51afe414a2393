#pragma once
#include "app/session.h"

#include <optional>

// Recomputes every statistic from the shots. Needs ShotCount >= 2.
void ComputeGroupStats(Session &s);
// Removes shot `shotNumber` (1..ShotCount), recomputes or clears the
// statistics and renders the report into the statistics window.
void RemoveShot(Session &s, qint32 shotNumber);

// The square root of x² + y² as the shot tables store it.
float RadialDistance(float x, float y);

// Group size in minutes of angle, or nothing while no range is entered.
// Centimeters and millimeters are converted to inches first; any other unit
// name is taken as inches.
std::optional<double> GroupSizeMOA(const Session &s);
