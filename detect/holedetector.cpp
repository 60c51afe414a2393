#include "detect/holedetector.h"

#include "detect/holeedges.h"
#include "platform/vectorstate.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {
// Holes are searched at a size where a bullet is about this many pixels
// across: enough for a sub-pixel centre, small enough to be quick.
constexpr double WorkDiameter = 22;
// The searched part as the brightest of its three channels: coloured print
// (rings, grids, marks in colour) is nearly paper-white there, while what
// shows through a hole and the grease around it are neutral.
cv::Mat GreyOf(const QImage &image, QRect region)
{
    // Read in place when the pixels are already 32-bit: a large scan is not
    // copied whole for this.
    const bool direct =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage part = direct ? image : image.copy(region).convertToFormat(QImage::Format_RGB32);
    const QPoint at = direct ? region.topLeft() : QPoint(0, 0);
    cv::Mat grey(region.height(), region.width(), CV_8UC1);
    for (int y = 0; y < region.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(part.constScanLine(at.y() + y)) + at.x();
        uchar *g = grey.ptr<uchar>(y);
        for (int x = 0; x < region.width(); ++x)
            g[x] = uchar(std::max({qRed(line[x]), qGreen(line[x]), qBlue(line[x])}));
    }
    return grey;
}

// Typical amplitude of scanner noise and JPEG artefacts, from the median
// absolute difference between the image and a slightly smoothed copy.
double NoiseLevel(const cv::Mat &grey)
{
    cv::Mat smooth, diff;
    cv::GaussianBlur(grey, smooth, cv::Size(5, 5), 1.2);
    cv::absdiff(grey, smooth, diff);
    std::vector<uchar> v;
    const int step = std::max(1, int(diff.total() / 200000));
    v.reserve(diff.total() / size_t(step) + 1);
    for (size_t i = 0; i < diff.total(); i += size_t(step)) v.push_back(diff.data[i]);
    if (v.empty()) return 1;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return 1.4826 * std::max<double>(0.5, v[v.size() / 2]);
}

// The holes in a grey image where a bullet is `d` pixels across.
std::vector<FoundHole> Search(const cv::Mat &grey, double d, const SearchControl &control)
{
    cv::Mat g;
    cv::GaussianBlur(grey, g, cv::Size(0, 0), std::max(0.6, d / 22));
    // A step in grey that stands clearly above scanner noise and JPEG.
    const double high = std::max(45.0, 9 * NoiseLevel(grey));
    std::vector<FoundHole> holes = EdgeHoles(g, d, high, control);
    std::erase_if(holes, [](const FoundHole &h) { return h.confidence < DoubtfulConfidence; });
    return holes;
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
    cv::Mat grey = GreyOf(image, region);
    double scale = WorkDiameter / diameterPixels;
    // Small holes of a coarse scan are searched enlarged, within reason.
    if (scale > 1)
        scale = std::min({scale, 2.0, std::sqrt(40e6 / (double(grey.cols) * grey.rows))});
    double sx = 1, sy = 1;
    if (std::abs(scale - 1) > 0.05) {
        cv::Mat small;
        const cv::Size size(std::max(1, int(std::lround(grey.cols * scale))),
                            std::max(1, int(std::lround(grey.rows * scale))));
        cv::resize(grey, small, size, 0, 0, scale < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
        sx = double(grey.cols) / small.cols;
        sy = double(grey.rows) / small.rows;
        grey = small;
    }
    c.Progress(0.1);
    std::vector<FoundHole> holes = Search(grey, diameterPixels / std::sqrt(sx * sy), c);
    if (c.Cancelled()) return {};
    for (auto &h : holes) {
        h.x = h.x * sx + region.x();
        h.y = h.y * sy + region.y();
        h.diameter *= std::sqrt(sx * sy);
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
