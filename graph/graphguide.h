#pragma once
// What the graphical entry tells the user along the way: the status line's
// prompt for the tool in hand, the picture's scale, the notes drawn over the
// picture (shot numbers, calibration points) and the typed removal's answers.
#include "graph/targetdrawing.h"

#include <QPointF>
#include <QString>
#include <vector>

// The status line: what a click on the picture does now.
QString ToolPrompt(const Session &s, const GraphPicture &p, bool hasImage);
// While the calibration distance is asked for: the unit the answer is in.
QString CalibrationAnswerPrompt(const Session &s);
// "0.002 Inches per pixel" once calibrated, otherwise empty.
QString ScaleText(const Session &s);

// Drawn over the picture, not into it: the number of each shot beside its
// marker and rings around the calibration points, in picture twips.
struct PictureNotes {
    std::vector<std::pair<QPointF, int>> shots;
    std::vector<QPointF> calPoints;
    bool operator==(const PictureNotes &) const = default;
};
PictureNotes NotesOf(const Session &s, const GraphPicture &p);
