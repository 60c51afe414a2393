#pragma once
// Holes found by their outline: whatever shows through a hole (the backing,
// light or dark) meets the paper, the print or the grease ring at a sharp
// edge of about a bullet's radius all the way round, and is even inside,
// since print stops at the hole.
#include "detect/holedetector.h"

#include <opencv2/core.hpp>
#include <vector>

// The holes in grey image `g` (slightly smoothed) where a bullet is `d`
// pixels across; `high` is the grey step that stands clearly above noise.
// Confidence 0 to 1; overlapping shots of one ragged hole come apart.
std::vector<FoundHole> EdgeHoles(const cv::Mat &g, double d, double high,
                                 const SearchControl &control);
