#include "detect/holedetector.h"

#include "detect/holefit.h"
#include "platform/vectorstate.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {
// Holes are searched at a size where a bullet is about this many pixels
// across: enough for a sub-pixel centre, small enough to be quick.
constexpr double WorkDiameter = 22;
constexpr double Pi = std::numbers::pi;

int OddSize(double v) { return std::max(3, int(std::lround(v)) | 1); }

cv::Mat Disc(double diameter)
{
    const int k = OddSize(diameter);
    return cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(k, k));
}

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

// The marks that stand out from their surroundings by `contrast` and are
// smaller than `element`: a bullet hole, but also print lines and figures.
cv::Mat Marks(const cv::Mat &contrast, double high, double d, bool darker)
{
    cv::Mat low = contrast > std::max(26.0, high * 0.5);
    // Bridge the gaps a torn edge leaves in the grease ring. Not in what is
    // lighter: the ring is all that parts a hole's light inside from the paper.
    if (darker) cv::morphologyEx(low, low, cv::MORPH_CLOSE, Disc(std::max(3.0, d * 0.15)));
    // Fill what a ring of grease or torn fibres encloses: a hole-sized opening
    // inside a ring-sized mark (not a cell of a printed grid or figure).
    cv::Mat labels, stats, centroids, inLabels, inStats;
    cv::connectedComponentsWithStats(low, labels, stats, centroids, 8, CV_32S);
    cv::Mat inside = low == 0;
    const int n = cv::connectedComponentsWithStats(inside, inLabels, inStats, centroids, 4, CV_32S);
    const double holeArea = Pi * d * d / 4;
    std::vector<uchar> fill(size_t(n), 0);
    for (int i = 1; i < n; ++i) {
        const int *st = inStats.ptr<int>(i);
        const int left = st[cv::CC_STAT_LEFT], top = st[cv::CC_STAT_TOP];
        const int w = st[cv::CC_STAT_WIDTH], h = st[cv::CC_STAT_HEIGHT];
        if (left == 0 || top == 0 || left + w == low.cols || top + h == low.rows) continue;
        if (st[cv::CC_STAT_AREA] < 0.1 * holeArea || st[cv::CC_STAT_AREA] > 1.3 * holeArea ||
            std::max(w, h) > 1.8 * std::min(w, h))
            continue;
        // The mark around it, found leftwards from the opening's middle row.
        const int y = top + h / 2;
        const int *row = inLabels.ptr<int>(y);
        int x = left;
        while (x < left + w && row[x] != i) ++x;
        while (x > 0 && row[x] == i) --x;
        const int ring = labels.at<int>(y, x);
        fill[size_t(i)] = ring > 0 && stats.at<int>(ring, cv::CC_STAT_AREA) < 2.5 * holeArea;
    }
    for (int y = 0; y < low.rows; ++y) {
        const int *l = inLabels.ptr<int>(y);
        uchar *m = low.ptr<uchar>(y);
        for (int x = 0; x < low.cols; ++x)
            if (fill[size_t(l[x])]) m[x] = 255;
    }
    // Keep only marks that are clearly there somewhere (hysteresis).
    const int k = cv::connectedComponents(low, labels, 8, CV_32S);
    std::vector<uchar> strong(size_t(k), 0);
    for (int y = 0; y < low.rows; ++y) {
        const int *l = labels.ptr<int>(y);
        const uchar *c = contrast.ptr<uchar>(y);
        for (int x = 0; x < low.cols; ++x)
            if (c[x] > high) strong[size_t(l[x])] = 1;
    }
    for (int y = 0; y < low.rows; ++y) {
        const int *l = labels.ptr<int>(y);
        uchar *m = low.ptr<uchar>(y);
        for (int x = 0; x < low.cols; ++x)
            if (!strong[size_t(l[x])]) m[x] = 0;
    }
    // Thin print (ring lines, grid, strokes of figures) goes; round holes stay,
    // and a hole on a line comes apart from it.
    cv::morphologyEx(low, low, cv::MORPH_OPEN, Disc(d * (darker ? 0.55 : 0.7)));
    return low;
}

struct Blob {
    std::vector<cv::Point2d> outline, pixels;
    double area = 0;
    double contrast = 0; // mean contrast over the blob
    bool darker = true;  // darker than its surroundings, or lighter
};

std::vector<Blob> Blobs(const cv::Mat &mask, const cv::Mat &contrast, double d)
{
    std::vector<Blob> out;
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    const double one = Pi * d * d / 4;
    for (int i = 1; i < n; ++i) {
        const int *st = stats.ptr<int>(i);
        const double area = st[cv::CC_STAT_AREA];
        if (area < 0.2 * one || area > 4.2 * one) continue;
        const cv::Rect box(st[cv::CC_STAT_LEFT], st[cv::CC_STAT_TOP], st[cv::CC_STAT_WIDTH],
                           st[cv::CC_STAT_HEIGHT]);
        if (std::max(box.width, box.height) > 3.6 * d) continue;
        cv::Mat own = labels(box) == i;
        Blob b;
        b.area = area;
        double sum = 0;
        for (int y = 0; y < own.rows; ++y)
            for (int x = 0; x < own.cols; ++x)
                if (own.at<uchar>(y, x)) {
                    b.pixels.emplace_back(box.x + x + 0.5, box.y + y + 0.5);
                    sum += contrast.at<uchar>(box.y + y, box.x + x);
                }
        b.contrast = sum / area;
        std::vector<std::vector<cv::Point>> contours;
        cv::findContours(own, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
        for (const auto &c : contours)
            for (const auto &p : c) b.outline.emplace_back(box.x + p.x + 0.5, box.y + p.y + 0.5);
        if (b.outline.size() >= 8) out.push_back(std::move(b));
    }
    return out;
}

// The grey of plain paper: most of a target is paper.
double PaperLevel(const cv::Mat &grey)
{
    std::vector<uchar> v;
    const size_t step = std::max<size_t>(1, grey.total() / 100000);
    for (size_t i = 0; i < grey.total(); i += step) v.push_back(grey.data[i]);
    if (v.empty()) return 255;
    auto at = v.begin() + long(v.size() * 9 / 10);
    std::nth_element(v.begin(), at, v.end());
    return *at;
}

// The share of directions in which the grey just outside a blob is below
// `dark`.
double DarkAround(const cv::Mat &grey, const Blob &b, double dark)
{
    cv::Point2d c(0, 0);
    for (const auto &p : b.pixels) c += p;
    c *= 1.0 / double(b.pixels.size());
    const double r = std::sqrt(b.area / Pi);
    constexpr int Directions = 32;
    int seen = 0, valid = 0;
    for (int k = 0; k < Directions; ++k) {
        const double a = 2 * Pi * k / Directions;
        const cv::Point2d at = c + cv::Point2d(std::cos(a), std::sin(a)) * (1.5 * r);
        if (at.x < 0 || at.y < 0 || at.x >= grey.cols || at.y >= grey.rows) continue;
        ++valid;
        seen += grey.at<uchar>(int(at.y), int(at.x)) < dark;
    }
    return valid ? double(seen) / valid : 0;
}

double Median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

double Gauss(double v, double width) { return std::exp(-(v / width) * (v / width)); }

// How much of the way round a circle the hole differs from the paper around
// it (its inside, or the grease ring at its edge): all of it for a hole,
// about half for a piece of a printed band as wide as a bullet. Directions
// into a neighbouring circle of the same hole do not count.
double EdgeSupport(const cv::Mat &grey, const FittedCircle &c, const std::vector<FittedCircle> &all,
                   double low)
{
    constexpr int Directions = 32;
    int valid = 0, seen = 0;
    auto at = [&](cv::Point2d p) {
        const int x = std::clamp(int(p.x), 0, grey.cols - 1),
                  y = std::clamp(int(p.y), 0, grey.rows - 1);
        return double(grey.at<uchar>(y, x));
    };
    for (int k = 0; k < Directions; ++k) {
        const double a = 2 * Pi * k / Directions;
        const cv::Point2d dir(std::cos(a), std::sin(a));
        const cv::Point2d out = c.centre + dir * (1.6 * c.radius);
        if (out.x < 0 || out.y < 0 || out.x >= grey.cols || out.y >= grey.rows) continue;
        const bool intoNeighbour = std::any_of(all.begin(), all.end(), [&](const FittedCircle &o) {
            return &o != &c && cv::norm(out - o.centre) < 1.25 * o.radius;
        });
        if (intoNeighbour) continue;
        ++valid;
        const double paper = at(out);
        double most = 0;
        for (double f : {0.5, 0.7, 0.85, 1.0, 1.15})
            most = std::max(most, std::abs(at(c.centre + dir * (f * c.radius)) - paper));
        if (most > low) ++seen;
    }
    // Too few directions left to tell: not a hole's own outline.
    return double(seen) / std::max(valid, 22);
}

// The shots of one blob: one circle when it is round and one bullet large,
// else the count of circles of the usual hole radius that fits it best.
void ShotsOf(const Blob &b, const cv::Mat &grey, double radius, double high,
             std::vector<FoundHole> &out)
{
    const double one = Pi * radius * radius;
    const CircleFit single = FitOneCircle(b.outline);
    if (single.circles.empty()) return;
    struct Choice {
        CircleFit fit;
        double score;
    };
    std::vector<Choice> choices;
    {
        const double r = single.circles[0].radius;
        const double score = single.rms / radius + 1.2 * std::abs(std::log(r / radius)) +
                             0.4 * std::abs(std::log(b.area / one));
        choices.push_back({single, score});
    }
    const double ratio = b.area / one;
    // Round, and no larger than one hole: one shot.
    const bool round =
        single.rms < 0.06 * single.circles[0].radius && single.circles[0].radius < 1.3 * radius;
    for (int count = 2; count <= 3 && !round; ++count) {
        if (ratio < 0.55 * count) break;
        CircleFit fit = FitCircles(b.outline, b.pixels, count, radius);
        bool apart = true;
        for (size_t i = 0; i < fit.circles.size(); ++i)
            for (size_t j = i + 1; j < fit.circles.size(); ++j)
                apart =
                    apart && cv::norm(fit.circles[i].centre - fit.circles[j].centre) > 0.4 * radius;
        if (!apart) continue;
        const double area = UnionArea(fit.circles);
        const double score =
            fit.rms / radius + 0.4 * std::abs(std::log(b.area / area)) + 0.06 * (count - 1);
        choices.push_back({std::move(fit), score});
    }
    const auto best =
        std::min_element(choices.begin(), choices.end(),
                         [](const Choice &a, const Choice &c) { return a.score < c.score; });
    const double contrastQ = std::clamp((b.contrast - 0.6 * high) / high, 0.0, 1.0);
    const bool several = best->fit.circles.size() > 1;
    // Several circles explain almost any outline somewhat: they must fit well.
    const double fitQ = Gauss(best->fit.rms / radius, several ? 0.15 : 0.3);
    for (const auto &c : best->fit.circles) {
        if (several) {
            // Each shot of a ragged hole lies within the hole.
            int inside = 0, all = 0;
            for (const auto &p : b.pixels)
                if (cv::norm(p - c.centre) <= c.radius) ++inside;
            all = int(std::lround(Pi * c.radius * c.radius));
            if (inside < 0.65 * all) continue;
        }
        FoundHole h;
        h.x = c.centre.x;
        h.y = c.centre.y;
        h.diameter = 2 * c.radius + 1; // outline points sit half a pixel inside the edge
        const double sizeQ =
            best->fit.circles.size() == 1 ? Gauss(std::log(c.radius / radius), 0.5) : 0.97;
        const double support = EdgeSupport(grey, c, best->fit.circles, 0.5 * high);
        const double supportQ = std::clamp((support - 0.55) / 0.35, 0.0, 1.0);
        h.confidence = std::clamp(fitQ * sizeQ * supportQ * (0.7 + 0.3 * contrastQ), 0.0, 1.0);
        out.push_back(h);
    }
}

// Holes seen only by the ring of grease and torn paper around them (the
// backing as light as the paper): the darker contrast summed over a ring of
// a bullet's radius, less what lies inside it, peaks at their centres.
void RingHoles(const cv::Mat &grey, const cv::Mat &darker, double d, double high,
               std::vector<FoundHole> &out, const SearchControl &control)
{
    const double r = d / 2;
    const int k = OddSize(2.8 * r);
    cv::Mat kernel(k, k, CV_32F);
    double ringSum = 0, insideSum = 0;
    for (int y = 0; y < k; ++y)
        for (int x = 0; x < k; ++x) {
            const double q = std::hypot(x - k / 2, y - k / 2) / r;
            kernel.at<float>(y, x) = q > 0.8 && q < 1.15 ? 1.f : q < 0.6 ? -1.f : 0.f;
            (q > 0.8 && q < 1.15 ? ringSum : insideSum) += q > 0.8 && q < 1.15 ? 1
                                                           : q < 0.6           ? 1
                                                                               : 0;
        }
    for (int y = 0; y < k; ++y)
        for (int x = 0; x < k; ++x) {
            float &v = kernel.at<float>(y, x);
            v = v > 0 ? float(1 / ringSum) : v < 0 ? float(-1 / insideSum) : 0.f;
        }
    cv::Mat score, peaks;
    cv::filter2D(darker, score, CV_32F, kernel);
    cv::dilate(score, peaks, Disc(r));
    const float least = float(0.5 * high);
    for (int y = 0; y < score.rows; ++y) {
        if (y % 64 == 0 && control.Cancelled()) return;
        for (int x = 0; x < score.cols; ++x) {
            const float v = score.at<float>(y, x);
            if (v < least || v < peaks.at<float>(y, x)) continue;
            // The ring's own pixels, for a circle through them.
            std::vector<cv::Point2d> ring;
            const int reach = int(1.4 * r) + 1;
            for (int yy = std::max(0, y - reach); yy <= std::min(grey.rows - 1, y + reach); ++yy)
                for (int xx = std::max(0, x - reach); xx <= std::min(grey.cols - 1, x + reach);
                     ++xx) {
                    const double q = std::hypot(xx - x, yy - y) / r;
                    if (q > 0.6 && q < 1.4 && darker.at<uchar>(yy, xx) > v)
                        ring.emplace_back(xx + 0.5, yy + 0.5);
                }
            const CircleFit fit = FitOneCircle(ring);
            if (fit.circles.empty()) continue;
            const FittedCircle &c = fit.circles[0];
            if (c.radius < 0.6 * r || c.radius > 1.4 * r) continue;
            const double support = EdgeSupport(grey, c, fit.circles, 0.5 * high);
            // A grease ring goes all the way round; print seldom does.
            constexpr int Bins = 24;
            std::array<bool, Bins> bins{};
            for (const auto &p : ring) {
                const double q = std::hypot(p.x - c.centre.x, p.y - c.centre.y) / c.radius;
                if (q < 0.8 || q > 1.2) continue;
                const double a = std::atan2(p.y - c.centre.y, p.x - c.centre.x);
                bins[size_t(std::clamp(int((a + Pi) / (2 * Pi) * Bins), 0, Bins - 1))] = true;
            }
            const double coverage = double(std::count(bins.begin(), bins.end(), true)) / Bins;
            if (coverage < 0.8) continue;
            // Inside the ring, the backing alone: even, and as light as the
            // paper (not print, not the edge of a bull).
            // Inside the ring, the backing alone: even (not print, not the
            // edge of a bull), and as light as the paper around.
            std::vector<double> in, around;
            for (int yy = int(c.centre.y - 1.6 * c.radius); yy <= int(c.centre.y + 1.6 * c.radius);
                 ++yy)
                for (int xx = int(c.centre.x - 1.6 * c.radius);
                     xx <= int(c.centre.x + 1.6 * c.radius); ++xx) {
                    if (xx < 0 || yy < 0 || xx >= grey.cols || yy >= grey.rows) continue;
                    const double q =
                        std::hypot(xx + 0.5 - c.centre.x, yy + 0.5 - c.centre.y) / c.radius;
                    const double g = grey.at<uchar>(yy, xx);
                    if (q < 0.5)
                        in.push_back(g);
                    else if (q > 1.3 && q < 1.6)
                        around.push_back(g);
                }
            if (in.size() < 4 || around.size() < 4) continue;
            const double inside = Median(in), outside = Median(around);
            const auto odd = std::count_if(
                in.begin(), in.end(), [&](double g) { return std::abs(g - inside) > 0.5 * high; });
            if (double(odd) > 0.02 * double(in.size()) || inside < outside - 0.5 * high) continue;
            FoundHole h;
            h.x = c.centre.x;
            h.y = c.centre.y;
            h.diameter = 2 * c.radius;
            h.confidence = std::clamp((support - 0.55) / 0.35, 0.0, 1.0) *
                           Gauss(fit.rms / c.radius, 0.25) * std::clamp(v / high, 0.0, 1.0) *
                           (0.5 + 0.5 * coverage);
            out.push_back(h);
        }
    }
}

// The holes in a grey image where a bullet is `d` pixels across.
std::vector<FoundHole> Search(const cv::Mat &grey, double d, const SearchControl &control)
{
    cv::Mat g;
    cv::GaussianBlur(grey, g, cv::Size(0, 0), std::max(0.6, d / 22));
    // Thin print of the other shade goes first: white rings inside a black
    // bull would otherwise cut it into bands as wide as a bullet, and black
    // rings on paper would cut the paper so.
    const cv::Mat thin = Disc(0.25 * d);
    cv::Mat noLight, noDark;
    cv::morphologyEx(g, noLight, cv::MORPH_OPEN, thin);
    cv::morphologyEx(g, noDark, cv::MORPH_CLOSE, thin);
    // The paper and print around each mark, without marks up to a hole's size;
    // on a large scan worked out at half size, a quarter of the work.
    auto around = [&](const cv::Mat &src, cv::MorphTypes op) {
        cv::Mat out;
        if (d < 14 || src.total() < 4000000) {
            cv::morphologyEx(src, out, op, Disc(1.5 * d + 3));
            return out;
        }
        cv::Mat half, done;
        cv::resize(src, half, cv::Size((src.cols + 1) / 2, (src.rows + 1) / 2), 0, 0,
                   cv::INTER_AREA);
        cv::morphologyEx(half, done, op, Disc(0.75 * d + 1.5));
        cv::resize(done, out, src.size(), 0, 0, cv::INTER_LINEAR);
        return out;
    };
    const cv::Mat darker = around(noLight, cv::MORPH_CLOSE) - noLight;
    const cv::Mat lighter = noDark - around(noDark, cv::MORPH_OPEN);
    const double high = std::max(45.0, 9 * NoiseLevel(grey));
    control.Progress(0.4);

    const double paper = PaperLevel(g);
    std::vector<Blob> blobs;
    for (const cv::Mat *contrast : {&darker, &lighter}) {
        if (control.Cancelled()) return {};
        cv::Mat mk = Marks(*contrast, high, d, contrast == &darker);
        auto found = Blobs(mk, *contrast, d);
        for (auto &b : found) {
            b.darker = contrast == &darker;
            // What is lighter than around it is a hole only within dark print
            // (a bull): paper between lines and figures is lighter too.
            if (!b.darker && DarkAround(g, b, paper - 1.5 * high) < 0.75) continue;
            blobs.push_back(std::move(b));
        }
    }
    // The usual hole radius on this scan, from the round single holes; what
    // is darker (a hole or its grease ring) and what is lighter (the backing
    // through it) each have their own.
    const double nominal = d / 2;
    auto usualRadius = [&](bool darker) {
        std::vector<double> radii;
        for (const auto &b : blobs) {
            const double ratio = b.area / (Pi * nominal * nominal);
            if (b.darker != darker || ratio < 0.45 || ratio > 1.5) continue;
            const CircleFit f = FitOneCircle(b.outline);
            if (!f.circles.empty() && f.rms < 0.08 * f.circles[0].radius)
                radii.push_back(f.circles[0].radius);
        }
        if (radii.size() < 3) return 0.95 * nominal;
        std::nth_element(radii.begin(), radii.begin() + radii.size() / 2, radii.end());
        return std::clamp(radii[radii.size() / 2], 0.7 * nominal, 1.25 * nominal);
    };
    const double darkRadius = usualRadius(true), lightRadius = usualRadius(false);
    control.Progress(0.6);
    std::vector<FoundHole> holes;
    for (const auto &b : blobs) {
        if (control.Cancelled()) return {};
        ShotsOf(b, g, b.darker ? darkRadius : lightRadius, high, holes);
    }
    control.Progress(0.75);
    std::vector<FoundHole> rings;
    RingHoles(g, darker, d, high, rings, control);
    if (control.Cancelled()) return {};
    // A ring beside a hole already found is that hole's edge, not another.
    for (const FoundHole &r : rings)
        if (std::none_of(holes.begin(), holes.end(), [&](const FoundHole &h) {
                return h.confidence >= DoubtfulConfidence &&
                       std::hypot(h.x - r.x, h.y - r.y) < 0.95 * d &&
                       std::hypot(h.x - r.x, h.y - r.y) > 0.45 * d;
            }))
            holes.push_back(r);
    // A hole seen both darker (its grease ring) and lighter (the backing
    // through it) is one hole.
    std::sort(holes.begin(), holes.end(),
              [](const FoundHole &a, const FoundHole &b) { return a.confidence > b.confidence; });
    std::vector<FoundHole> kept;
    for (const auto &h : holes) {
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const FoundHole &k) {
            return std::hypot(k.x - h.x, k.y - h.y) < 0.45 * d;
        });
        if (!seen && h.confidence >= DoubtfulConfidence) kept.push_back(h);
    }
    return kept;
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
    cv::Mat grey = GreyOf(image, region);
    const double scale = std::min(1.0, WorkDiameter / diameterPixels);
    double sx = 1, sy = 1;
    if (scale < 1) {
        cv::Mat small;
        const cv::Size size(std::max(1, int(std::lround(grey.cols * scale))),
                            std::max(1, int(std::lround(grey.rows * scale))));
        cv::resize(grey, small, size, 0, 0, cv::INTER_AREA);
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
    std::sort(holes.begin(), holes.end(), [](const FoundHole &a, const FoundHole &b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    c.Progress(1);
    return holes;
}
