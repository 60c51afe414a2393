#include "detect/holeedges.h"

#include "detect/holefit.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;
constexpr int Directions = 64;

double Gauss(double v, double width) { return std::exp(-(v / width) * (v / width)); }

// The grey at a point between pixel centres.
double Sample(const cv::Mat &g, double x, double y)
{
    x -= 0.5;
    y -= 0.5;
    const int x0 = std::clamp(int(std::floor(x)), 0, g.cols - 2);
    const int y0 = std::clamp(int(std::floor(y)), 0, g.rows - 2);
    const double fx = std::clamp(x - x0, 0.0, 1.0), fy = std::clamp(y - y0, 0.0, 1.0);
    const uchar *a = g.ptr<uchar>(y0), *b = g.ptr<uchar>(y0 + 1);
    return (a[x0] * (1 - fx) + a[x0 + 1] * fx) * (1 - fy) +
           (b[x0] * (1 - fx) + b[x0 + 1] * fx) * fy;
}

// Centres voted for by the edges around them at a hole's radius, both ways
// (a hole may be lighter or darker than what surrounds it, or both, across
// the edge of a bull).
std::vector<cv::Point2d> Candidates(const cv::Mat &g, double radius, double step, double r,
                                    const SearchControl &control)
{
    cv::Mat gx, gy;
    cv::Sobel(g, gx, CV_32F, 1, 0, 3, 1.0 / 8);
    cv::Sobel(g, gy, CV_32F, 0, 1, 3, 1.0 / 8);
    cv::Mat votes = cv::Mat::zeros(g.size(), CV_32F);
    // An edge of `step` grey levels, blurred, slopes at about a third of it.
    const float least = float(step / 4);
    for (int y = 0; y < g.rows; ++y) {
        if (y % 256 == 0 && control.Cancelled()) return {};
        const float *px = gx.ptr<float>(y), *py = gy.ptr<float>(y);
        for (int x = 0; x < g.cols; ++x) {
            const float m = std::hypot(px[x], py[x]);
            if (m < least) continue;
            const double ux = px[x] / m * radius, uy = py[x] / m * radius;
            const float w = std::min(1.f, m / (2 * least));
            for (int s : {-1, 1}) {
                const int vx = int(std::lround(x + s * ux)), vy = int(std::lround(y + s * uy));
                if (vx >= 0 && vy >= 0 && vx < g.cols && vy < g.rows) votes.at<float>(vy, vx) += w;
            }
        }
    }
    cv::GaussianBlur(votes, votes, cv::Size(0, 0), std::max(1.0, 0.1 * radius));
    cv::Mat peaks;
    const int k = std::max(3, int(std::lround(0.6 * r)) | 1);
    cv::dilate(votes, peaks, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(k, k)));
    // A hole's outline, even where part of it is missing, piles its votes on
    // its centre; print seldom piles as many on one point.
    const float enough = float(0.4 * radius);
    std::vector<cv::Point2d> out;
    for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.cols; ++x) {
            const float v = votes.at<float>(y, x);
            if (v >= enough && v >= peaks.at<float>(y, x)) out.emplace_back(x + 0.5, y + 0.5);
        }
    return out;
}

struct Verdict {
    FittedCircle circle;
    double support = 0, even = 0, rms = 0;
    // The directions in which the outline was found on the circle, and
    // those that lie within the image.
    std::uint64_t on = 0, valid = 0;
    double confidence = 0;
};

// The share of the directions in which the outline was found, less those
// `blocked` (into a neighbouring shot of the same ragged hole); too few
// directions left to tell is no support.
double Support(const Verdict &v, std::uint64_t blocked)
{
    const int valid = std::popcount(v.valid & ~blocked);
    return double(std::popcount(v.on & ~blocked)) / std::max(valid, Directions / 2);
}

// The hole's outline near `start`: on each ray from the centre, the
// strongest step in grey near the expected radius; a circle through them.
Verdict Verify(const cv::Mat &g, cv::Point2d start, double radius, double r, double step,
               double tolerance)
{
    Verdict v;
    FittedCircle c{start, radius};
    const double delta = std::max(1.0, 0.12 * r);
    const double inner = 0.55 * r, outer = 1.35 * r, pace = std::max(0.5, r / 24);
    std::vector<cv::Point2d> edge;
    std::vector<int> edgeDir;
    for (int pass = 0; pass < 3; ++pass) {
        edge.clear();
        edgeDir.clear();
        for (int k = 0; k < Directions; ++k) {
            const double a = 2 * Pi * k / Directions;
            const double dx = std::cos(a), dy = std::sin(a);
            double best = 0, at = 0;
            for (double t = inner; t <= outer; t += pace) {
                const double in =
                    Sample(g, c.centre.x + dx * (t - delta), c.centre.y + dy * (t - delta));
                const double out =
                    Sample(g, c.centre.x + dx * (t + delta), c.centre.y + dy * (t + delta));
                const double off = (t - c.radius) / (0.25 * r);
                const double s = std::abs(out - in) / (1 + off * off);
                if (s > best) {
                    best = s;
                    at = t;
                }
            }
            if (best < step) continue;
            edge.emplace_back(c.centre.x + dx * at, c.centre.y + dy * at);
            edgeDir.push_back(k);
        }
        if (edge.size() < 8) return v;
        CircleFit fit = FitOneCircle(edge);
        if (fit.circles.empty()) return v;
        // Once more without the points far off it: print beside the hole.
        std::vector<cv::Point2d> near;
        for (const auto &p : edge)
            if (std::abs(cv::norm(p - fit.circles[0].centre) - fit.circles[0].radius) < 0.15 * r)
                near.push_back(p);
        if (near.size() >= 8) fit = FitOneCircle(near);
        if (fit.circles.empty() ||
            !(fit.circles[0].radius > 0.4 * r && fit.circles[0].radius < 1.4 * r))
            return v;
        c = fit.circles[0];
        v.rms = fit.rms;
    }
    v.circle = c;
    for (size_t i = 0; i < edge.size(); ++i)
        if (std::abs(cv::norm(edge[i] - c.centre) - c.radius) < 0.12 * r)
            v.on |= std::uint64_t(1) << edgeDir[i];
    for (int k = 0; k < Directions; ++k) {
        const double a = 2 * Pi * k / Directions;
        const double x = c.centre.x + std::cos(a) * c.radius,
                     y = c.centre.y + std::sin(a) * c.radius;
        if (x >= 0 && y >= 0 && x < g.cols && y < g.rows) v.valid |= std::uint64_t(1) << k;
    }
    v.support = Support(v, 0);
    // Inside, the backing alone: even, no print across it.
    std::vector<double> in;
    const double reach = 0.6 * c.radius;
    for (int y = int(c.centre.y - reach); y <= int(c.centre.y + reach); ++y)
        for (int x = int(c.centre.x - reach); x <= int(c.centre.x + reach); ++x) {
            if (x < 0 || y < 0 || x >= g.cols || y >= g.rows) continue;
            if (std::hypot(x + 0.5 - c.centre.x, y + 0.5 - c.centre.y) > reach) continue;
            in.push_back(g.at<uchar>(y, x));
        }
    if (in.size() < 4) return v;
    std::nth_element(in.begin(), in.begin() + long(in.size() / 2), in.end());
    const double median = in[in.size() / 2];
    const auto evenCount = std::count_if(
        in.begin(), in.end(), [&](double x) { return std::abs(x - median) <= tolerance; });
    v.even = double(evenCount) / double(in.size());
    return v;
}
} // namespace

std::vector<FoundHole> EdgeHoles(const cv::Mat &g, double d, double high,
                                 const SearchControl &control)
{
    const double r = d / 2, radius = 0.9 * r;
    const double step = 0.45 * high, tolerance = 0.4 * high;
    const std::vector<cv::Point2d> seeds = Candidates(g, radius, step, r, control);
    control.Progress(0.5);
    auto confidence = [&](const Verdict &v, double support) {
        return std::clamp((support - 0.5) / 0.3, 0.0, 1.0) *
               std::clamp((v.even - 0.7) / 0.2, 0.0, 1.0) *
               Gauss(std::log(v.circle.radius / radius), 0.5) * Gauss(v.rms / r, 0.2);
    };
    std::vector<Verdict> found;
    for (size_t i = 0; i < seeds.size(); ++i) {
        if (i % 64 == 0) {
            if (control.Cancelled()) return {};
            control.Progress(0.5 + 0.45 * double(i) / double(seeds.size()));
        }
        Verdict v = Verify(g, seeds[i], radius, r, step, tolerance);
        if (v.circle.radius <= 0) continue;
        v.confidence = confidence(v, v.support);
        if (v.confidence < 0.05) continue;
        found.push_back(v);
    }
    // Seeds of one hole end on one circle: the best of them stays.
    std::sort(found.begin(), found.end(),
              [](const Verdict &a, const Verdict &b) { return a.confidence > b.confidence; });
    std::vector<Verdict> kept;
    for (const auto &v : found)
        if (std::none_of(kept.begin(), kept.end(), [&](const Verdict &k) {
                return cv::norm(k.circle.centre - v.circle.centre) < 0.45 * d;
            }))
            kept.push_back(v);
    // Shots through one ragged hole: no outline where one runs into the
    // other, so those directions do not count against either. A neighbour
    // counts once its own outline, so reckoned, makes it a hole; twice
    // round, since each may be what lets the other count.
    auto blockedBy = [&](const Verdict &v, const std::vector<double> &strength) {
        std::uint64_t blocked = 0;
        for (size_t i = 0; i < kept.size(); ++i) {
            const Verdict &o = kept[i];
            if (&o == &v || strength[i] < 0.6) continue;
            for (int k = 0; k < Directions; ++k) {
                const double a = 2 * Pi * k / Directions;
                const cv::Point2d at =
                    v.circle.centre + cv::Point2d(std::cos(a), std::sin(a)) * v.circle.radius;
                if (cv::norm(at - o.circle.centre) < o.circle.radius)
                    blocked |= std::uint64_t(1) << k;
            }
        }
        // Where the outlines meet, the hole's edge bends away from either.
        return blocked | std::rotl(blocked, 1) | std::rotr(blocked, 1) | std::rotl(blocked, 2) |
               std::rotr(blocked, 2);
    };
    std::vector<double> strength(kept.size());
    for (size_t i = 0; i < kept.size(); ++i) strength[i] = kept[i].support;
    for (int round = 0; round < 2; ++round) {
        std::vector<double> next(kept.size());
        for (size_t i = 0; i < kept.size(); ++i)
            next[i] = Support(kept[i], blockedBy(kept[i], strength));
        strength = next;
    }
    std::vector<FoundHole> out;
    for (const Verdict &v : kept) {
        const std::uint64_t blocked = blockedBy(v, strength);
        // A hole's outline runs all the way round; print that happens to
        // ring a spot (ring lines above and below, a grid line, a figure)
        // leaves wide gaps between its pieces.
        int gap = 0, run = 0;
        for (int k = 0; k < 2 * Directions; ++k) {
            const std::uint64_t bit = std::uint64_t(1) << (k % Directions);
            run = (v.on | blocked | ~v.valid) & bit ? 0 : run + 1;
            gap = std::max(gap, run);
        }
        const double conf =
            confidence(v, Support(v, blocked)) * std::clamp((16.0 - gap) / 6, 0.0, 1.0);
        out.push_back({v.circle.centre.x, v.circle.centre.y, 2 * v.circle.radius, conf});
    }
    return out;
}
