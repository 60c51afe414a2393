#include "sheet/assign.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
int CellOf(const TargetSheet &sheet, QPointF at)
{
    for (size_t m = 0; m < sheet.Marks.size(); ++m)
        if (sheet.Marks[m].cell.contains(at)) return int(m);
    return -1;
}

int NearestMark(const TargetSheet &sheet, QPointF at, QPointF offset, double *distance = nullptr)
{
    int best = -1;
    double d2 = std::numeric_limits<double>::infinity();
    for (size_t m = 0; m < sheet.Marks.size(); ++m) {
        const double dx = at.x() - sheet.Marks[m].x - offset.x();
        const double dy = at.y() - sheet.Marks[m].y - offset.y();
        if (dx * dx + dy * dy < d2) d2 = dx * dx + dy * dy, best = int(m);
    }
    if (distance) *distance = std::sqrt(d2);
    return best;
}

// The usual distance between neighbouring marks.
double MarkPitch(const TargetSheet &sheet)
{
    std::vector<double> nearest;
    for (size_t a = 0; a < sheet.Marks.size(); ++a) {
        double d = std::numeric_limits<double>::infinity();
        for (size_t b = 0; b < sheet.Marks.size(); ++b)
            if (a != b)
                d = std::min(d, std::hypot(sheet.Marks[a].x - sheet.Marks[b].x,
                                           sheet.Marks[a].y - sheet.Marks[b].y));
        nearest.push_back(d);
    }
    std::nth_element(nearest.begin(), nearest.begin() + long(nearest.size() / 2), nearest.end());
    return nearest[nearest.size() / 2];
}

double Median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

struct Cluster {
    QPointF centre;
    std::vector<int> shots;
};

// Holes closer than `reach` to one another, chained, make one cluster.
std::vector<Cluster> ClusterShots(const TargetSheet &sheet, const std::vector<int> &shots,
                                  double reach)
{
    std::vector<int> root(shots.size());
    for (size_t i = 0; i < root.size(); ++i) root[i] = int(i);
    auto find = [&](int i) {
        while (root[size_t(i)] != i) i = root[size_t(i)] = root[size_t(root[size_t(i)])];
        return i;
    };
    for (size_t a = 0; a < shots.size(); ++a)
        for (size_t b = a + 1; b < shots.size(); ++b) {
            const SheetShot &p = sheet.Shots[size_t(shots[a])], &q = sheet.Shots[size_t(shots[b])];
            if (std::hypot(p.x - q.x, p.y - q.y) < reach) root[size_t(find(int(a)))] = find(int(b));
        }
    std::vector<Cluster> clusters;
    std::vector<int> index(shots.size(), -1);
    for (size_t i = 0; i < shots.size(); ++i) {
        int &c = index[size_t(find(int(i)))];
        if (c < 0) c = int(clusters.size()), clusters.emplace_back();
        clusters[size_t(c)].shots.push_back(shots[i]);
    }
    for (Cluster &c : clusters) {
        double x = 0, y = 0;
        for (int s : c.shots) x += sheet.Shots[size_t(s)].x, y += sheet.Shots[size_t(s)].y;
        c.centre = QPointF(x / double(c.shots.size()), y / double(c.shots.size()));
    }
    return clusters;
}

// How badly the clusters fit the marks moved by `offset`: each cluster's
// distance to its nearest moved mark (capped, weighted by its shots), and a
// cap for every cluster that lands on a mark already taken.
double FitCost(const TargetSheet &sheet, const std::vector<Cluster> &clusters, QPointF offset,
               double cap)
{
    double cost = 0;
    std::vector<int> taken(sheet.Marks.size(), 0);
    for (const Cluster &c : clusters) {
        double d = 0;
        const int m = NearestMark(sheet, c.centre, offset, &d);
        cost += double(c.shots.size()) * std::min(d * d, cap * cap);
        if (taken[size_t(m)]++) cost += cap * cap;
    }
    return cost;
}
} // namespace

QPointF CommonOffset(const TargetSheet &sheet)
{
    std::vector<double> dx, dy;
    for (const SheetShot &s : sheet.Shots)
        if (s.accepted && s.group >= 0 && size_t(s.group) < sheet.Marks.size()) {
            dx.push_back(s.x - sheet.Marks[size_t(s.group)].x);
            dy.push_back(s.y - sheet.Marks[size_t(s.group)].y);
        }
    if (dx.empty()) return {};
    return {Median(dx), Median(dy)};
}

int GroupForPoint(const TargetSheet &sheet, QPointF at)
{
    const int cell = CellOf(sheet, at);
    return cell >= 0 ? cell : NearestMark(sheet, at, CommonOffset(sheet));
}

void AssignShots(TargetSheet &sheet, bool keepAssigned)
{
    if (sheet.Marks.empty()) {
        for (SheetShot &s : sheet.Shots) s.group = -1;
        return;
    }
    std::vector<int> open, rejected;
    for (size_t i = 0; i < sheet.Shots.size(); ++i) {
        SheetShot &s = sheet.Shots[i];
        if (keepAssigned && s.group >= 0 && size_t(s.group) < sheet.Marks.size()) continue;
        s.group = CellOf(sheet, QPointF(s.x, s.y));
        if (s.group < 0) (s.accepted ? open : rejected).push_back(int(i));
    }
    if (open.empty() && rejected.empty()) return;
    if (sheet.Marks.size() == 1) {
        for (int i : open) sheet.Shots[size_t(i)].group = 0;
        for (int i : rejected) sheet.Shots[size_t(i)].group = 0;
        return;
    }
    const bool fixedOffset =
        keepAssigned && std::any_of(sheet.Shots.begin(), sheet.Shots.end(),
                                    [](const SheetShot &s) { return s.group >= 0 && s.accepted; });
    QPointF offset;
    const double pitch = MarkPitch(sheet);
    const std::vector<Cluster> clusters = ClusterShots(sheet, open, 0.35 * pitch);
    if (fixedOffset || clusters.empty()) {
        offset = CommonOffset(sheet);
    } else {
        // Every cluster-to-mark pairing proposes an offset; the one that fits
        // all clusters best wins. When a whole row of groups is missing the
        // card fits as well one row up or down: then the smaller offset wins,
        // within a quarter of one stray shot's cost.
        const double cap = 0.5 * pitch;
        std::vector<std::pair<double, QPointF>> fits;
        for (const Cluster &c : clusters)
            for (const SheetMark &m : sheet.Marks) {
                const QPointF o = c.centre - QPointF(m.x, m.y);
                fits.emplace_back(FitCost(sheet, clusters, o, cap), o);
            }
        double best = std::numeric_limits<double>::infinity();
        for (const auto &f : fits) best = std::min(best, f.first);
        double smallest = std::numeric_limits<double>::infinity();
        for (const auto &[cost, o] : fits)
            if (cost <= best + 0.25 * cap * cap && std::hypot(o.x(), o.y()) < smallest)
                smallest = std::hypot(o.x(), o.y()), offset = o;
        // Refined on the clusters that fit: their weighted mean offset.
        double sx = 0, sy = 0, w = 0;
        for (const Cluster &c : clusters) {
            double d = 0;
            const int m = NearestMark(sheet, c.centre, offset, &d);
            if (d >= cap) continue;
            const double n = double(c.shots.size());
            sx += n * (c.centre.x() - sheet.Marks[size_t(m)].x);
            sy += n * (c.centre.y() - sheet.Marks[size_t(m)].y);
            w += n;
        }
        if (w > 0) offset = QPointF(sx / w, sy / w);
    }
    for (const Cluster &c : clusters) {
        const int m = NearestMark(sheet, c.centre, offset);
        for (int s : c.shots) sheet.Shots[size_t(s)].group = m;
    }
    // Rejected proposals follow the same offset, so they land where shown.
    for (int i : rejected) {
        SheetShot &s = sheet.Shots[size_t(i)];
        s.group = NearestMark(sheet, QPointF(s.x, s.y), offset);
    }
}
