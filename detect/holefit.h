#pragma once
// A circle fitted to the outline of a hole.
#include <opencv2/core.hpp>
#include <vector>

struct FittedCircle {
    cv::Point2d centre;
    double radius = 0;
};

struct CircleFit {
    std::vector<FittedCircle> circles;
    double rms = 0; // root mean square distance of the outline from the circles
};

// One circle through the outline points, radius free.
CircleFit FitOneCircle(const std::vector<cv::Point2d> &outline);
