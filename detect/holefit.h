#pragma once
// Circles fitted to the outline of a hole: one circle of free radius, or
// several of one known radius for shots through the same ragged hole.
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
// `count` circles of `radius` through the outline points, started from a
// split of the hole's own pixels.
CircleFit FitCircles(const std::vector<cv::Point2d> &outline,
                     const std::vector<cv::Point2d> &pixels, int count, double radius);
// Pixels inside the union of the circles, counted on a grid of one pixel.
double UnionArea(const std::vector<FittedCircle> &circles);
