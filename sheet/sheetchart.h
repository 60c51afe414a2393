#pragma once
// The load-development chart: each group's vertical and horizontal centre
// offset and its σ (the interval as bars) against the number in its label.
#include "sheet/targetsheet.h"

class QChart;

// A new chart; one that says why it is empty when fewer than two groups have
// numbers for labels.
QChart *MakeLoadChart(const TargetSheet &sheet, const SheetFigures &figures);
