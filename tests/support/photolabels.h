#pragma once
// Labelled photos of shot targets (images/NAME.jpg with labels/NAME.txt, one
// box per line: class cx cy w h as fractions of the picture, classes 0-10
// bullet holes, 11 the target face, 12 the black aiming area), the fixed
// split of such a folder into tuning and evaluation parts, and the scoring
// of found holes against the boxes.
#include "detect/holedetector.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct LabelledPhoto {
    QString imagePath;
    std::vector<QRectF> holes;  // pixels
    std::vector<QRectF> blacks; // the black aiming areas
    QRectF face;                // the target face; empty when not labelled
    // The scale a user's calibration gives: the median hole size in pixels.
    double HoleSize() const;
};

// The photo of `name` in a folder laid out as above; false when unreadable.
bool ReadLabelledPhoto(const QString &folder, const QString &name, LabelledPhoto *photo);

// "eval" for a fifth of the photos, "val" for a tenth, else "train", by the
// name with its copy suffix (_v1, _v2...) taken off, so that copies of one
// photo fall on the same side. The training scripts split the same way.
QString SplitPart(const QString &name);

// The names of one part of a folder's photos, sorted.
QStringList PhotosOfPart(const QString &folder, const QString &part);

// Found holes against the boxes: a box is found when a proposal's centre lies
// within it (best proposals first, each proposal finds at most one box).
struct PhotoScore {
    int boxes = 0, found = 0, proposals = 0, right = 0;
    int sure = 0, sureRight = 0;   // proposals of SureConfidence and above
    int pairs = 0, pairsSplit = 0; // touching holes, both found
    std::vector<double> errors;    // centre error in hole diameters
    // Boxes are counted only where `keep` says (a condition such as "in the
    // black"); proposals likewise by where they lie.
    void Add(const LabelledPhoto &photo, const std::vector<FoundHole> &found,
             const std::function<bool(const LabelledPhoto &, QPointF)> &keep = {});
    double Recall() const { return boxes ? double(found) / boxes : 1; }
    double Precision() const { return proposals ? double(right) / proposals : 1; }
    double SurePrecision() const { return sure ? double(sureRight) / sure : 1; }
    double MedianError() const;
};

// Where a point lies: within a black aiming area's ellipse.
bool InBlack(const LabelledPhoto &photo, QPointF p);
