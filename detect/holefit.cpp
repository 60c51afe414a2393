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
