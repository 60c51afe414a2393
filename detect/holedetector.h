#pragma once
// Bullet holes in a scanned target: where each shot went through the paper.
// Works on the image alone; positions are image pixels from the top-left
// corner of the image (x right, y down), pixel (i, j) covering [i, i+1) ×
// [j, j+1), so its centre is (i + 0.5, j + 0.5).
#include <QImage>
#include <QRect>
#include <algorithm>
#include <functional>
#include <vector>

struct FoundHole {
    double x = 0, y = 0;   // the shot's centre, sub-pixel
    double diameter = 0;   // in pixels
    double confidence = 0; // 0 to 1
};

// Confidence at which a hole counts as sure; below DoubtfulConfidence it is
// not proposed at all.
constexpr double SureConfidence = 0.85;
constexpr double DoubtfulConfidence = 0.5;

// Follows and stops a search running on another thread. Both are called on
// the searching thread, now and then: `progress` with how far it has come
// (0 to 100), `cancelled` to ask whether to give up.
struct SearchControl {
    std::function<void(int)> progress;
    std::function<bool()> cancelled;
    bool Cancelled() const { return cancelled && cancelled(); }
    // Reports `fraction` (0 to 1) of the stretch from `from` to `to` percent.
    void Progress(double fraction) const
    {
        if (progress) progress(from + int((to - from) * std::clamp(fraction, 0.0, 1.0)));
    }
    int from = 0, to = 100;
};

// The holes of bullets `diameterPixels` across within `region` of the image
// (the whole image when the region is empty), best first by position: top
// to bottom, then left to right. Two or three shots through one ragged hole
// are separate entries. Holes below DoubtfulConfidence are left out. Nothing
// when `control` cancels the search.
std::vector<FoundHole> FindHoles(const QImage &image, double diameterPixels, QRect region = {},
                                 const SearchControl *control = nullptr);
