#pragma once
// The load-development chart drawn without widgets, for the window, the
// printed page and the command line alike: each group's vertical and
// horizontal centre offset and its σ (the interval as bars) against the
// number in its label.
#include "sheet/targetsheet.h"

class QPainter;
class QRectF;

// Says why it is empty when fewer than two groups have numbers for labels.
void DrawLoadChart(QPainter &p, const QRectF &box, const TargetSheet &sheet,
                   const SheetFigures &figures);
