#pragma once
#include "model/session.h"

#include <optional>

// Recomputes every statistic from the shots. Needs ShotCount >= 2.
void ComputeGroupStats(Session &s);
// Removes shot `shotNumber` (1..ShotCount) and recomputes or clears the
// statistics.
void RemoveShot(Session &s, qint32 shotNumber);

// The distance between shots a and b: differences as 32-bit floats, squares
// and root in double, stored as a 32-bit float.
float PairDistance(const Session &s, qint32 a, qint32 b);
// The center-to-center group size: the largest distance over all pairs of
// shots 1..ShotCount (0 with fewer than two shots).
float GreatestPairDistance(const Session &s);

// The square root of x² + y² as the shot tables store it.
float RadialDistance(float x, float y);

// Group size in minutes of angle, or nothing while no range is entered.
// Centimeters and millimeters are converted to inches first; any other unit
// name is taken as inches.
std::optional<double> GroupSizeMOA(const Session &s);

// A unit name as units are compared: blanks around it and case aside.
QString UnitKey(const QString &unitName);
// Inches per unit for the unit names that convert ("Inches", "Centimeters",
// "Millimeters", blanks and case aside); nothing for any other name.
std::optional<double> InchesPerUnit(const QString &unitName);
