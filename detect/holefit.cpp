#include "detect/holefit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
double Residual(const cv::Point2d &p, const FittedCircle &c)
{
    return std::hypot(p.x - c.centre.x, p.y - c.centre.y) - c.radius;
}

double Rms(const std::vector<cv::Point2d> &outline, const std::vector<FittedCircle> &circles)
{
    if (outline.empty()) return 0;
    double sum = 0;
    for (const auto &p : outline) {
        double best = std::numeric_limits<double>::max();
        for (const auto &c : circles) best = std::min(best, std::abs(Residual(p, c)));
        sum += best * best;
    }
    return std::sqrt(sum / double(outline.size()));
}

// Gauss-Newton steps on the centre (and the radius when free) of one circle.
void Refine(const std::vector<cv::Point2d> &pts, FittedCircle &c, bool freeRadius, int steps)
{
    for (int it = 0; it < steps; ++it) {
        double a[3][3] = {}, b[3] = {};
        for (const auto &p : pts) {
            const double dx = c.centre.x - p.x, dy = c.centre.y - p.y;
            const double d = std::hypot(dx, dy);
            if (d < 1e-9) continue;
            const double j[3] = {dx / d, dy / d, -1.0};
            const double e = d - c.radius;
            for (int r = 0; r < 3; ++r) {
                b[r] -= j[r] * e;
                for (int k = 0; k < 3; ++k) a[r][k] += j[r] * j[k];
            }
        }
        const int n = freeRadius ? 3 : 2;
        cv::Mat A(n, n, CV_64F), B(n, 1, CV_64F), X;
        for (int r = 0; r < n; ++r) {
            B.at<double>(r) = b[r];
            for (int k = 0; k < n; ++k) A.at<double>(r, k) = a[r][k];
        }
        if (!cv::solve(A, B, X, cv::DECOMP_CHOLESKY)) return;
        c.centre.x += X.at<double>(0);
        c.centre.y += X.at<double>(1);
        if (freeRadius) c.radius = std::max(0.5, c.radius + X.at<double>(2));
        if (std::abs(X.at<double>(0)) + std::abs(X.at<double>(1)) < 1e-4) return;
    }
}
} // namespace

CircleFit FitOneCircle(const std::vector<cv::Point2d> &outline)
{
    CircleFit fit;
    if (outline.size() < 3) return fit;
    // Algebraic start: x² + y² + D x + E y + F = 0 by least squares.
    cv::Point2d mean(0, 0);
    for (const auto &p : outline) mean += p;
    mean *= 1.0 / double(outline.size());
    cv::Mat A(int(outline.size()), 3, CV_64F), B(int(outline.size()), 1, CV_64F), X;
    for (int i = 0; i < int(outline.size()); ++i) {
        const double x = outline[i].x - mean.x, y = outline[i].y - mean.y;
        A.at<double>(i, 0) = x;
        A.at<double>(i, 1) = y;
        A.at<double>(i, 2) = 1;
        B.at<double>(i) = -(x * x + y * y);
    }
    FittedCircle c{mean, 1};
    if (cv::solve(A, B, X, cv::DECOMP_SVD)) {
        const double cx = -X.at<double>(0) / 2, cy = -X.at<double>(1) / 2;
        const double r2 = cx * cx + cy * cy - X.at<double>(2);
        if (r2 > 0 && std::isfinite(r2)) c = {mean + cv::Point2d(cx, cy), std::sqrt(r2)};
    }
    Refine(outline, c, true, 20);
    fit.circles = {c};
    fit.rms = Rms(outline, fit.circles);
    return fit;
}

CircleFit FitCircles(const std::vector<cv::Point2d> &outline,
                     const std::vector<cv::Point2d> &pixels, int count, double radius)
{
    CircleFit fit;
    if (pixels.empty() || outline.size() < 3 || count < 1) return fit;
    // Start: k-means on the hole's pixels, seeded by farthest points.
    std::vector<cv::Point2d> centres;
    cv::Point2d mean(0, 0);
    for (const auto &p : pixels) mean += p;
    mean *= 1.0 / double(pixels.size());
    auto farthest = [&](auto dist) {
        double best = -1;
        cv::Point2d at = mean;
        for (const auto &p : pixels)
            if (const double d = dist(p); d > best) {
                best = d;
                at = p;
            }
        return at;
    };
    centres.push_back(farthest([&](const cv::Point2d &p) { return cv::norm(p - mean); }));
    while (int(centres.size()) < count)
        centres.push_back(farthest([&](const cv::Point2d &p) {
            double m = std::numeric_limits<double>::max();
            for (const auto &c : centres) m = std::min(m, cv::norm(p - c));
            return m;
        }));
    std::vector<cv::Point2d> sum(count);
    std::vector<int> n(count);
    for (int it = 0; it < 10; ++it) {
        std::fill(sum.begin(), sum.end(), cv::Point2d(0, 0));
        std::fill(n.begin(), n.end(), 0);
        for (const auto &p : pixels) {
            int k = 0;
            for (int i = 1; i < count; ++i)
                if (cv::norm(p - centres[i]) < cv::norm(p - centres[k])) k = i;
            sum[k] += p;
            ++n[k];
        }
        for (int i = 0; i < count; ++i)
            if (n[i]) centres[i] = sum[i] * (1.0 / n[i]);
    }
    for (const auto &c : centres) fit.circles.push_back({c, radius});
    // Each outline point belongs to the circle it lies closest to; each
    // circle is then fitted to its own points, the radius held.
    std::vector<std::vector<cv::Point2d>> own(count);
    for (int it = 0; it < 8; ++it) {
        for (auto &o : own) o.clear();
        for (const auto &p : outline) {
            int k = 0;
            for (int i = 1; i < count; ++i)
                if (std::abs(Residual(p, fit.circles[i])) < std::abs(Residual(p, fit.circles[k])))
                    k = i;
            own[k].push_back(p);
        }
        for (int i = 0; i < count; ++i)
            if (own[i].size() >= 3) Refine(own[i], fit.circles[i], false, 3);
    }
    fit.rms = Rms(outline, fit.circles);
    return fit;
}

double UnionArea(const std::vector<FittedCircle> &circles)
{
    if (circles.empty()) return 0;
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const auto &c : circles) {
        x0 = std::min(x0, c.centre.x - c.radius);
        y0 = std::min(y0, c.centre.y - c.radius);
        x1 = std::max(x1, c.centre.x + c.radius);
        y1 = std::max(y1, c.centre.y + c.radius);
    }
    double area = 0;
    for (double y = std::floor(y0) + 0.5; y < y1; y += 1)
        for (double x = std::floor(x0) + 0.5; x < x1; x += 1)
            for (const auto &c : circles)
                if (std::hypot(x - c.centre.x, y - c.centre.y) <= c.radius) {
                    area += 1;
                    break;
                }
    return area;
}
