#pragma once
// The learned hole model: a small convolutional network, trained on labelled
// phone photos of shot targets (scripts/train-holes), that scores every spot
// of a picture by how much it looks like the centre of a bullet hole. It is
// read once from the installation folder (Models/holes.onnx).
#include "detect/holedetector.h"

#include <QString>

namespace cv {
class Mat;
}

// The model's file; by default Models/holes.onnx in the installation folder.
// Setting it drops a model already read, so the next search reads this one.
void SetHoleModelPath(const QString &path);
QString HoleModelPath();

// Empty when the model can be used; otherwise the reason hole finding is off,
// in words for the user.
QString HoleModelProblem();

// Holes the size of `HoleNetPixels` in a BGR picture (8-bit, 3 channels), as
// picture pixels; empty when the model cannot be used or `control` cancels.
constexpr double HoleNetPixels = 16;
std::vector<FoundHole> NetHoles(const cv::Mat &bgr, const SearchControl &control);
