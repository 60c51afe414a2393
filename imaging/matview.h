#pragma once
// The one bridge from Qt's images to OpenCV's: a Mat over a 32-bit QImage's
// own pixels (RGB32 or ARGB32, BGRA in memory), with no copy. The image must
// outlive the Mat and keep its format.
#include <opencv2/core.hpp>

class QImage;

cv::Mat MatOver(QImage &image);
// For reading only: OpenCV has no const Mat over const data.
cv::Mat MatOver(const QImage &image);
