#pragma once
// Which mark each shot was aimed at. Where the card prints a cell around
// each mark, a shot belongs to its cell. Elsewhere the holes are clustered
// and the clusters matched to the marks allowing one common offset: the
// rifle's zero is the same for every bull, so a load-development card whose
// groups all sit well below their bulls (closer to the next bull down than
// to their own) still comes out right.
#include "sheet/targetsheet.h"

#include <QPointF>

// Gives every shot its group; with `keepAssigned`, shots that already have
// one keep it and set the offset the others follow.
void AssignShots(TargetSheet &sheet, bool keepAssigned = false);

// The group a shot at this point joins (a shot clicked in): its cell, else
// the mark nearest the point less the sheet's common offset; -1 without marks.
int GroupForPoint(const TargetSheet &sheet, QPointF at);

// The common offset of the groups from their marks, in pixels, from the
// shots already assigned (their median); zero when there are none.
QPointF CommonOffset(const TargetSheet &sheet);
