#include "sheet/aimfinder.h"

#include "detect/holedetector.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace {
// Marks are searched on a copy about this many pixels on its long side:
// the smallest bull is still tens of pixels across.
constexpr int WorkSide = 1100;

// How strongly each pixel is printed: the darkest of its three channels, so
// a saturated colour counts as much as black.
cv::Mat InkOf(const QImage &image, int factor)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    cv::Mat ink(rgb.height(), rgb.width(), CV_8UC1);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *o = ink.ptr<uchar>(y);
        for (int x = 0; x < rgb.width(); ++x)
            o[x] = uchar(255 - std::min({qRed(line[x]), qGreen(line[x]), qBlue(line[x])}));
    }
    if (factor <= 1) return ink;
    cv::Mat small;
    cv::resize(ink, small, cv::Size(std::max(1, ink.cols / factor), std::max(1, ink.rows / factor)),
               0, 0, cv::INTER_AREA);
    return small;
}

struct Blob {
    cv::Rect box;
    double cx = 0, cy = 0, size = 0;
};

// The blob's own pixels with the bullet holes in and next to it taken out: a
// hole through the edge of a bull must not make it lopsided, and touching
// holes (a round dark blob too) are no mark at all. Nothing when the holes
// explain most of it.
std::optional<cv::Mat> WithoutHoles(const QImage &image, double bulletPixels, const cv::Mat &labels,
                                    int label, cv::Rect &b, double fx, double fy)
{
    const int pad = int(bulletPixels);
    const QRect region = QRect(int(b.x * fx) - pad, int(b.y * fy) - pad,
                               int(b.width * fx) + 2 * pad, int(b.height * fy) + 2 * pad)
                             .intersected(image.rect());
    // An empty region would mean the whole image to the hole search.
    if (region.isEmpty()) return std::nullopt;
    const std::vector<FoundHole> holes = FindHoles(image, bulletPixels, region);
    cv::Mat own(b.height, b.width, CV_8UC1, cv::Scalar(0));
    int on = 0, kept = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            if (labels.at<int>(b.y + y, b.x + x) != label) continue;
            ++on;
            const double px = (b.x + x + 0.5) * fx, py = (b.y + y + 0.5) * fy;
            const bool hole = std::any_of(holes.begin(), holes.end(), [&](const FoundHole &h) {
                return std::hypot(h.x - px, h.y - py) < 0.65 * h.diameter;
            });
            if (!hole) own.at<uchar>(y, x) = 255, ++kept;
        }
    if (kept < 0.5 * on || kept == 0) return std::nullopt;
    const cv::Rect inner = cv::boundingRect(own);
    b = cv::Rect(b.x + inner.x, b.y + inner.y, inner.width, inner.height);
    return own(inner).clone();
}

// A mark looks the same turned half a turn about its centre; letters,
// figures and torn paper do not.
double HalfTurnMatch(const cv::Mat &own)
{
    cv::Mat turned, both;
    cv::flip(own, turned, -1);
    cv::bitwise_and(own, turned, both);
    const int on = cv::countNonZero(own);
    return on ? double(cv::countNonZero(both)) / on : 0;
}

// The share of the blob's ink along its bounding box: near 1 for a printed
// frame (a cell border), small for rings, discs and diamonds.
double EdgeShare(const cv::Mat &own)
{
    const int band = std::max(2, std::min(own.cols, own.rows) / 25);
    if (own.cols <= 2 * band || own.rows <= 2 * band) return 1;
    const int on = cv::countNonZero(own);
    const int inside =
        cv::countNonZero(own(cv::Rect(band, band, own.cols - 2 * band, own.rows - 2 * band)));
    return on ? double(on - inside) / on : 1;
}

// The paper region around each mark when it is a cell of its own: the region
// just outside the mark, when no other mark shares it and it is not most of
// the card.
void FindCells(const cv::Mat &paper, std::vector<Blob> &blobs, std::vector<QRectF> &cells)
{
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(paper, labels, stats, centroids, 4, CV_32S);
    std::vector<int> of(blobs.size(), 0);
    std::map<int, int> uses;
    for (size_t i = 0; i < blobs.size(); ++i) {
        const Blob &b = blobs[i];
        const double reach = b.size / 2 + std::max(3.0, b.size * 0.08);
        std::map<int, int> votes;
        for (int k = 0; k < 8; ++k) {
            const double a = k * CV_PI / 4;
            const int x = int(std::lround(b.cx + reach * std::cos(a)));
            const int y = int(std::lround(b.cy + reach * std::sin(a)));
            if (x < 0 || y < 0 || x >= labels.cols || y >= labels.rows) continue;
            if (const int l = labels.at<int>(y, x); l > 0) ++votes[l];
        }
        int best = 0, count = 0;
        for (auto [l, v] : votes)
            if (v > count) best = l, count = v;
        of[i] = count >= 3 ? best : 0;
        if (of[i]) ++uses[of[i]];
    }
    const double whole = double(paper.cols) * paper.rows;
    cells.assign(blobs.size(), QRectF());
    for (size_t i = 0; i < blobs.size(); ++i) {
        const int l = of[i];
        if (!l || l >= n || uses[l] != 1) continue;
        const cv::Rect r(stats.at<int>(l, cv::CC_STAT_LEFT), stats.at<int>(l, cv::CC_STAT_TOP),
                         stats.at<int>(l, cv::CC_STAT_WIDTH), stats.at<int>(l, cv::CC_STAT_HEIGHT));
        // A cell is far larger than its mark; the paper between two rings
        // of a bull is not one.
        const double area = stats.at<int>(l, cv::CC_STAT_AREA);
        if (double(r.area()) > 0.5 * whole || r.width < blobs[i].size * 1.5 ||
            r.height < blobs[i].size * 1.5 || area < 3 * blobs[i].size * blobs[i].size)
            continue;
        cells[i] = QRectF(r.x, r.y, r.width, r.height);
    }
}
} // namespace

void SortReadingOrder(std::vector<SheetMark> &marks)
{
    std::sort(marks.begin(), marks.end(),
              [](const SheetMark &a, const SheetMark &b) { return a.y < b.y; });
    // A row is the marks whose centres lie within half a mark of its first.
    for (size_t start = 0; start < marks.size();) {
        size_t end = start + 1;
        const double reach = std::max(4.0, marks[start].size * 0.5);
        while (end < marks.size() && marks[end].y - marks[start].y < reach) ++end;
        std::sort(marks.begin() + long(start), marks.begin() + long(end),
                  [](const SheetMark &a, const SheetMark &b) { return a.x < b.x; });
        start = end;
    }
}

std::vector<SheetMark> FindAimMarks(const QImage &image, double bulletPixels)
{
    if (image.isNull() || image.width() < 8 || image.height() < 8) return {};
    const int factor = std::max(1, int(std::max(image.width(), image.height()) / WorkSide));
    const cv::Mat ink = InkOf(image, factor);
    cv::Mat mask;
    const double level = cv::threshold(ink, mask, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    cv::threshold(ink, mask, std::clamp(level, 60.0, 170.0), 255, cv::THRESH_BINARY);

    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    const double fx = double(image.width()) / ink.cols, fy = double(image.height()) / ink.rows;
    const double smallest = std::max(6.0, 1.5 * bulletPixels / fx);
    const double largest = 0.45 * std::min(ink.cols, ink.rows);
    std::vector<Blob> blobs;
    for (int l = 1; l < n; ++l) {
        cv::Rect b(stats.at<int>(l, cv::CC_STAT_LEFT), stats.at<int>(l, cv::CC_STAT_TOP),
                   stats.at<int>(l, cv::CC_STAT_WIDTH), stats.at<int>(l, cv::CC_STAT_HEIGHT));
        auto fits = [&](const cv::Rect &r, double slack) {
            const double size = std::max(r.width, r.height), aspect = double(r.width) / r.height;
            return size >= smallest && size <= largest * slack && aspect >= 0.75 / slack &&
                   aspect <= 1.33 * slack;
        };
        // A bull with a hole through its edge is that much larger at first.
        if (!fits(b, 1.6)) continue;
        const auto own = WithoutHoles(image, bulletPixels, labels, l, b, fx, fy);
        if (!own || !fits(b, 1) || HalfTurnMatch(*own) < 0.7 || EdgeShare(*own) > 0.6) continue;
        blobs.push_back(
            {b, b.x + b.width / 2.0, b.y + b.height / 2.0, double(std::max(b.width, b.height))});
    }
    // Rings inside rings are one mark: the outermost.
    std::sort(blobs.begin(), blobs.end(),
              [](const Blob &a, const Blob &b) { return a.size > b.size; });
    std::vector<Blob> kept;
    for (const Blob &b : blobs) {
        const bool inner = std::any_of(kept.begin(), kept.end(), [&](const Blob &k) {
            return std::hypot(k.cx - b.cx, k.cy - b.cy) < 0.2 * k.size + 2;
        });
        if (!inner) kept.push_back(b);
    }
    std::vector<QRectF> cells;
    cv::Mat paper;
    cv::bitwise_not(mask, paper);
    FindCells(paper, kept, cells);

    std::vector<SheetMark> marks;
    for (size_t i = 0; i < kept.size(); ++i) {
        SheetMark m;
        m.x = kept[i].cx * fx;
        m.y = kept[i].cy * fy;
        m.size = kept[i].size * fx;
        if (!cells[i].isEmpty())
            m.cell = QRectF(cells[i].x() * fx, cells[i].y() * fy, cells[i].width() * fx,
                            cells[i].height() * fy);
        marks.push_back(m);
    }
    SortReadingOrder(marks);
    return marks;
}
