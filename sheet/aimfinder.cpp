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
    double cx = 0, cy = 0, size = 0;
    double match = 0; // how well it matches itself turned half a turn
};

// How well the blob's points match themselves turned half a turn about the
// centre (cx2/2, cy2/2), pixels under a hole aside; and how many could be
// compared.
std::pair<double, int> HalfTurnMatch(const std::vector<cv::Point> &points, const cv::Mat &own,
                                     const cv::Mat &hole, int cx2, int cy2)
{
    int seen = 0, both = 0;
    for (const cv::Point &p : points) {
        const int mx = cx2 - p.x, my = cy2 - p.y;
        if (mx < 0 || my < 0 || mx >= own.cols || my >= own.rows) {
            ++seen;
            continue;
        }
        if (hole.at<uchar>(my, mx)) continue;
        ++seen;
        if (own.at<uchar>(my, mx)) ++both;
    }
    return {seen ? double(both) / seen : 0, seen};
}

// What a mark is searched with: the holes near it (work-copy pixels covered
// by one) and the limits of its size.
struct MarkSearch {
    double pad = 0; // half a bullet, in work-copy pixels
    double smallest = 0, largest = 0;
};

// The circle through the mark's outer outline where no hole touches it, when
// the outline is a circle of about the mark's size (discs and rings; not
// diamonds or crosses): holes through a bull bias a centre found from what
// is left of it, but not the arcs of its edge.
std::optional<cv::Point2d> OutlineCircle(const cv::Mat &own, const cv::Mat &hole, double size)
{
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(own.clone(), contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
    cv::Mat near;
    cv::dilate(hole, near, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7)));
    std::vector<cv::Point> edge;
    for (const auto &c : contours)
        for (const cv::Point &p : c)
            if (!near.at<uchar>(p)) edge.push_back(p);
    if (edge.size() < 24) return std::nullopt;
    // Least squares on x² + y² + Dx + Ey + F = 0.
    cv::Mat a(int(edge.size()), 3, CV_64F), b(int(edge.size()), 1, CV_64F), sol;
    for (int i = 0; i < a.rows; ++i) {
        const double x = edge[size_t(i)].x, y = edge[size_t(i)].y;
        a.at<double>(i, 0) = x, a.at<double>(i, 1) = y, a.at<double>(i, 2) = 1;
        b.at<double>(i) = -(x * x + y * y);
    }
    if (!cv::solve(a, b, sol, cv::DECOMP_SVD)) return std::nullopt;
    const double cx = -sol.at<double>(0) / 2, cy = -sol.at<double>(1) / 2;
    const double r2 = cx * cx + cy * cy - sol.at<double>(2);
    if (!(r2 > 0)) return std::nullopt;
    const double r = std::sqrt(r2);
    double sq = 0;
    for (const cv::Point &p : edge) sq += std::pow(std::hypot(p.x - cx, p.y - cy) - r, 2);
    const double rms = std::sqrt(sq / double(edge.size()));
    // The size was measured about the first centre: too large by twice its
    // error at most.
    if (rms > std::max(1.0, 0.04 * r) || 2 * r + 1 < 0.6 * size || 2 * r + 1 > 1.1 * size)
        return std::nullopt;
    return cv::Point2d(cx, cy);
}

// A printed mark made of `blob` (a work-copy mask whose top-left pixel lies
// at `at`): the same when turned half a turn about its centre (letters,
// figures and torn paper are not), no printed frame (a cell border), not
// bullet holes. Pixels under a hole are no part of it and its centre is
// where what is left matches itself best, so a hole through the edge of a
// bull does not pull the centre.
std::optional<Blob> MarkOf(const cv::Mat &blob, const cv::Mat &hole, cv::Point at,
                           const MarkSearch &m)
{
    cv::Mat own;
    cv::bitwise_and(blob, ~hole, own);
    const int on = cv::countNonZero(blob), kept = cv::countNonZero(own);
    // Touching holes are explained by the holes whole.
    if (kept < 0.05 * on || kept == 0) return std::nullopt;
    std::vector<cv::Point> points;
    cv::findNonZero(own, points);
    const cv::Rect box = cv::boundingRect(points);
    int cx2 = 2 * box.x + box.width - 1, cy2 = 2 * box.y + box.height - 1;
    auto [match, seen] = HalfTurnMatch(points, own, hole, cx2, cy2);
    {
        // Coarse, then fine: a hole moves the centre of what is left by at
        // most half a bullet.
        const int reach = int(std::ceil(2 * m.pad)), coarse = std::max(2, reach / 3) * 2;
        for (int step : {coarse, 2}) {
            const int span = step == 2 ? coarse : reach, x0 = cx2, y0 = cy2;
            for (int dy = -span; dy <= span; dy += step)
                for (int dx = -span; dx <= span; dx += step) {
                    const auto [mt, n] = HalfTurnMatch(points, own, hole, x0 + dx, y0 + dy);
                    if (n >= kept / 4 && mt > match)
                        match = mt, seen = n, cx2 = x0 + dx, cy2 = y0 + dy;
                }
        }
    }
    if (match < 0.7 || seen < kept / 6) return std::nullopt;
    // The extent around that centre, on both sides alike.
    double wx = 0, wy = 0;
    for (const cv::Point &p : points) {
        wx = std::max(wx, std::abs(p.x - cx2 / 2.0));
        wy = std::max(wy, std::abs(p.y - cy2 / 2.0));
    }
    const double size = 2 * std::max(wx, wy) + 1, aspect = (wx + 0.5) / (wy + 0.5);
    if (size < m.smallest || size > m.largest || aspect < 0.75 || aspect > 1.33)
        return std::nullopt;
    // A printed frame has its ink along its edges.
    const double band = std::max(2.0, size / 25);
    const auto edge = std::count_if(points.begin(), points.end(), [&](const cv::Point &p) {
        return std::abs(p.x - cx2 / 2.0) > wx - band || std::abs(p.y - cy2 / 2.0) > wy - band;
    });
    if (double(edge) > 0.6 * kept) return std::nullopt;
    cv::Point2d centre(cx2 / 2.0, cy2 / 2.0);
    if (const auto circle = OutlineCircle(own, hole, size);
        circle && std::hypot(circle->x - centre.x, circle->y - centre.y) <= 2 * m.pad)
        centre = *circle;
    return Blob{at.x + centre.x + 0.5, at.y + centre.y + 0.5, size, match};
}

// The work-copy pixels of `area` within 0.65 bullet of a hole the hole
// search finds there.
cv::Mat HolesIn(const QImage &image, double bulletPixels, cv::Rect area, double fx, double fy)
{
    cv::Mat hole(area.height, area.width, CV_8UC1, cv::Scalar(0));
    const QRect region =
        QRect(int(area.x * fx), int(area.y * fy), int(area.width * fx), int(area.height * fy))
            .intersected(image.rect());
    // An empty region would mean the whole image to the hole search.
    if (region.isEmpty()) return hole;
    for (const FoundHole &h : FindHoles(image, bulletPixels, region))
        cv::circle(hole, cv::Point(int(h.x / fx - area.x), int(h.y / fy - area.y)),
                   int(std::ceil(0.65 * h.diameter / fx)), cv::Scalar(255), cv::FILLED);
    return hole;
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
    MarkSearch search;
    search.pad = bulletPixels / fx / 2;
    search.smallest = std::max(6.0, 1.5 * bulletPixels / fx);
    search.largest = 0.45 * std::min(ink.cols, ink.rows);
    // Holes through a bull that the search does not see as holes still
    // chew its outline: an opening a little wider than a bullet takes such
    // bites off, keeping the bull's core.
    std::vector<cv::Mat> cores;
    for (double across : {1.5, 1.1}) {
        const int k = int(std::ceil(across * bulletPixels / fx / 2)) * 2 + 1;
        cores.push_back(cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(k, k)));
    }
    std::vector<Blob> blobs;
    for (int l = 1; l < n; ++l) {
        const cv::Rect b(stats.at<int>(l, cv::CC_STAT_LEFT), stats.at<int>(l, cv::CC_STAT_TOP),
                         stats.at<int>(l, cv::CC_STAT_WIDTH), stats.at<int>(l, cv::CC_STAT_HEIGHT));
        const double size = std::max(b.width, b.height), aspect = double(b.width) / b.height;
        // A bull with holes through its edge is that much larger at first.
        if (size < search.smallest || size > search.largest * 1.6 || aspect < 0.45 || aspect > 2.2)
            continue;
        const int pad = int(std::ceil(2 * search.pad));
        const cv::Rect area =
            cv::Rect(b.x - pad, b.y - pad, b.width + 2 * pad, b.height + 2 * pad) &
            cv::Rect(0, 0, labels.cols, labels.rows);
        const cv::Mat blob = labels(area) == l;
        const cv::Mat hole = HolesIn(image, bulletPixels, area, fx, fy);
        auto mark = MarkOf(blob, hole, area.tl(), search);
        if (!mark || mark->match < 0.97) {
            // Rings filled first, so that their core survives the opening;
            // the opening that leaves the most even mark wins.
            cv::Mat filled = blob.clone();
            cv::Mat outside(filled.rows + 2, filled.cols + 2, CV_8UC1, cv::Scalar(0));
            cv::floodFill(filled, outside, cv::Point(0, 0), cv::Scalar(128));
            filled = filled != 128;
            for (const cv::Mat &core : cores) {
                cv::Mat opened;
                cv::morphologyEx(filled, opened, cv::MORPH_OPEN, core);
                if (cv::countNonZero(opened) == 0) continue;
                const auto other = MarkOf(opened, hole, area.tl(), search);
                if (other && (!mark || other->match > mark->match + 0.02)) mark = other;
            }
        }
        if (mark) blobs.push_back(*mark);
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
