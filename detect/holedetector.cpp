#include "detect/holedetector.h"

#include "detect/holenet.h"
#include "imaging/matview.h"
#include "platform/vectorstate.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {
// A picture this many pixels or more, once scaled for the model, is searched
// smaller than the model would like: small holes of a coarse scan are not
// worth a search that takes minutes.
constexpr double LargestSearched = 24e6;

// The searched part as 8-bit BGR, scaled by `scale` (a hole then measures
// about HoleNetPixels). Pixels already in 32-bit form are read in place: a
// large scan is not copied whole for this.
cv::Mat ScaledBgr(const QImage &image, QRect region, double scale)
{
    const bool direct =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage part = direct ? image : image.copy(region).convertToFormat(QImage::Format_RGB32);
    const QPoint at = direct ? region.topLeft() : QPoint(0, 0);
    const cv::Mat whole = MatOver(part);
    const cv::Mat bgra = whole(cv::Rect(at.x(), at.y(), region.width(), region.height()));
    const cv::Size size(std::max(1, int(std::lround(region.width() * scale))),
                        std::max(1, int(std::lround(region.height() * scale))));
    cv::Mat small, bgr;
    if (size == bgra.size())
        small = bgra;
    else
        cv::resize(bgra, small, size, 0, 0, scale < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
    cv::cvtColor(small, bgr, cv::COLOR_BGRA2BGR);
    return bgr;
}
} // namespace

std::vector<FoundHole> FindHoles(const QImage &image, double diameterPixels, QRect region,
                                 const SearchControl *control)
{
    region = region.isEmpty() ? image.rect() : (region & image.rect());
    if (image.isNull() || region.isEmpty() || !(diameterPixels > 0)) return {};
    // Qt's painting may have left the vector unit in a state that slows
    // every numerical loop below many times over.
    const CleanVectorState clean;
    const SearchControl none;
    const SearchControl &c = control ? *control : none;
    if (c.Cancelled()) return {};
    // The core stays on the caller's thread.
    cv::setNumThreads(0);
    // A hole cut by the region's edge is seen whole: the search reaches a
    // bullet beyond the region, and keeps what is centred within it.
    const QRect wanted = region;
    const int reach = int(std::ceil(diameterPixels));
    region = region.adjusted(-reach, -reach, reach, reach) & image.rect();
    double scale = HoleNetPixels / diameterPixels;
    scale =
        std::min(scale, std::sqrt(LargestSearched / (double(region.width()) * region.height())));
    const cv::Mat bgr = ScaledBgr(image, region, scale);
    const double sx = double(region.width()) / bgr.cols, sy = double(region.height()) / bgr.rows;
    SearchControl stretch = c;
    stretch.from = c.from + (c.to - c.from) / 10;
    c.Progress(0.1);
    std::vector<FoundHole> holes = NetHoles(bgr, stretch);
    if (c.Cancelled()) return {};
    std::erase_if(holes, [](const FoundHole &h) { return h.confidence < DoubtfulConfidence; });
    for (auto &h : holes) {
        h.x = h.x * sx + region.x();
        h.y = h.y * sy + region.y();
        h.diameter = diameterPixels;
    }
    std::erase_if(holes, [&](const FoundHole &h) {
        return h.x < wanted.left() || h.y < wanted.top() || h.x >= wanted.left() + wanted.width() ||
               h.y >= wanted.top() + wanted.height();
    });
    std::sort(holes.begin(), holes.end(), [](const FoundHole &a, const FoundHole &b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    c.Progress(1);
    return holes;
}
