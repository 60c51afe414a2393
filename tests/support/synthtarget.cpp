#include "synthtarget.h"

#include "imaging/matview.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <opencv2/imgproc.hpp>

namespace {
constexpr double Pi = std::numbers::pi;

struct Hole {
    QPointF c;
    double tear[32];  // ragged edge, radius factors around the hole
    double fibre[64]; // torn fibres at the edge
    double grease;    // darkening of the bullet wipe
};

double AroundHole(const double *v, int n, double angle)
{
    const double t = (angle / (2 * Pi) + 0.5) * n;
    const int i = int(std::floor(t));
    const double f = t - i;
    return v[((i % n) + n) % n] * (1 - f) + v[(((i + 1) % n) + n) % n] * f;
}

void DrawPrint(QImage &img, const SynthOptions &o, QRandomGenerator &rng)
{
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = img.width(), in = o.dpi;
    const QPointF centre(w / 2 + rng.bounded(0.3) * in, w / 2 - rng.bounded(0.3) * in);
    // A light grid, then rings, the bull with white rings inside, figures.
    p.setPen(QPen(QColor(150, 190, 215), 0.008 * in));
    for (double g = std::fmod(w / 2, 0.25 * in); g < w; g += 0.25 * in) {
        p.drawLine(QPointF(g, 0), QPointF(g, w));
        p.drawLine(QPointF(0, g), QPointF(w, g));
    }
    const double step = w / 20, bull = w * (0.16 + rng.bounded(0.1));
    p.setBrush(Qt::NoBrush);
    for (int k = 1; k <= 9; ++k) {
        const bool red = k == 9;
        p.setPen(QPen(red ? QColor(200, 40, 40) : QColor(25, 25, 25), 0.012 * in));
        p.drawEllipse(centre, k * step, k * step);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 22, 24));
    p.drawEllipse(centre, bull, bull);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(235, 235, 230), 0.012 * in));
    for (double r = step; r < bull - 2; r += step) p.drawEllipse(centre, r, r);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(0.13 * in));
    f.setBold(true);
    p.setFont(f);
    for (int k = 1; k <= 9; ++k) {
        const double r = (k - 0.5) * step;
        p.setPen(r < bull ? QColor(235, 235, 230) : QColor(25, 25, 25));
        for (const QPointF dir : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)}) {
            const QPointF at = centre + dir * r;
            p.drawText(QRectF(at - QPointF(0.1 * in, 0.1 * in), QSizeF(0.2 * in, 0.2 * in)),
                       Qt::AlignCenter, QString::number(10 - k));
        }
    }
    // Coloured marks: aiming diamonds and small squares.
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
        const QPointF at((k % 2 ? 0.85 : 0.15) * w, (k / 2 ? 0.85 : 0.15) * w);
        const double s = 0.12 * in;
        QPainterPath d;
        d.moveTo(at + QPointF(0, -s));
        d.lineTo(at + QPointF(s, 0));
        d.lineTo(at + QPointF(0, s));
        d.lineTo(at + QPointF(-s, 0));
        d.closeSubpath();
        p.fillPath(d, QColor(240, 120, 20));
        p.fillRect(QRectF(at + QPointF(0.25 * in, -0.04 * in), QSizeF(0.08 * in, 0.08 * in)),
                   QColor(30, 90, 200));
    }
}

void DrawHoles(QImage &img, const std::vector<Hole> &holes, double radius, const SynthOptions &o,
               QRandomGenerator &rng)
{
    const int backing = o.darkBacking ? 60 + int(rng.bounded(60)) : 225 + int(rng.bounded(20));
    for (int pass = 0; pass < 2; ++pass)
        for (const Hole &h : holes) {
            const int x0 = std::max(0, int(h.c.x() - 1.3 * radius)),
                      x1 = std::min(img.width() - 1, int(h.c.x() + 1.3 * radius));
            const int y0 = std::max(0, int(h.c.y() - 1.3 * radius)),
                      y1 = std::min(img.height() - 1, int(h.c.y() + 1.3 * radius));
            for (int y = y0; y <= y1; ++y) {
                auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
                for (int x = x0; x <= x1; ++x) {
                    const double dx = x + 0.5 - h.c.x(), dy = y + 0.5 - h.c.y();
                    const double d = std::hypot(dx, dy), a = std::atan2(dy, dx);
                    const double edge = radius * AroundHole(h.tear, 32, a);
                    const QRgb was = line[x];
                    const bool onBlack = qGray(was) < 90;
                    if (pass == 0) {
                        // The bullet wipe around the hole, and torn fibres at its edge.
                        const double wipe = std::clamp((radius * 1.08 - d) / 1.2, 0.0, 1.0);
                        if (wipe <= 0) continue;
                        const double fib = AroundHole(h.fibre, 64, a);
                        const double near =
                            std::clamp(1 - std::abs(d - edge) / (0.12 * radius), 0.0, 1.0);
                        double m = onBlack ? 1 : 1 - wipe * (1 - h.grease);
                        int add = onBlack ? int(near * fib * 150) : 0;
                        if (!onBlack) m *= 1 - near * fib * 0.3;
                        line[x] = qRgb(std::min(255, int(qRed(was) * m) + add),
                                       std::min(255, int(qGreen(was) * m) + add),
                                       std::min(255, int(qBlue(was) * m) + add));
                    } else {
                        // The backing through the hole, lit unevenly through it.
                        const double cover = std::clamp(edge - d + 0.5, 0.0, 1.0);
                        if (cover <= 0) continue;
                        const double shade = backing * (1 - 0.08 * dx / radius);
                        auto mix = [&](int v) { return int(v * (1 - cover) + shade * cover); };
                        line[x] = qRgb(mix(qRed(was)), mix(qGreen(was)), mix(qBlue(was)));
                    }
                }
            }
        }
}
void DrawRaggedHoles(QImage &img, const std::vector<QPointF> &centres, double radius,
                     const SynthOptions &o, QRandomGenerator &rng)
{
    std::vector<Hole> holes;
    for (const QPointF &c : centres) {
        Hole h;
        h.c = c;
        const double base = 0.86 + rng.bounded(0.08);
        for (double &v : h.tear) v = base + rng.bounded(0.08) - 0.04;
        for (double &v : h.fibre) v = rng.bounded(1.0);
        h.grease = 0.45 + rng.bounded(0.3);
        holes.push_back(h);
    }
    DrawHoles(img, holes, radius, o, rng);
}
} // namespace

void DrawSynthHoles(QImage &img, const std::vector<QPointF> &centres, double radius, quint32 seed)
{
    QRandomGenerator rng(seed * 7919u + 17);
    DrawRaggedHoles(img, centres, radius, SynthOptions{}, rng);
}

SynthOptions SynthVariant(quint32 seed)
{
    QRandomGenerator rng(seed);
    SynthOptions o;
    o.seed = seed;
    const int dpis[] = {200, 300, 600};
    const double calibers[] = {0.17, 0.224, 0.308, 0.45, 4.5 / 25.4};
    o.dpi = dpis[rng.bounded(3)];
    o.caliber = calibers[rng.bounded(5)];
    o.sizeInches = o.dpi == 600 ? 3.5 : 4.5;
    o.jpegQuality = 60 + int(rng.bounded(36));
    o.darkBacking = rng.bounded(3) != 0;
    o.rotationDegrees = rng.bounded(4.0) - 2;
    o.noise = 1 + rng.bounded(5.0);
    o.blurPixels = 0.3 + rng.bounded(0.9);
    o.unevenLight = rng.bounded(0.25);
    o.singles = 6 + int(rng.bounded(8));
    o.pairs = 1 + int(rng.bounded(2));
    return o;
}

SynthTarget MakeSynthTarget(const SynthOptions &o)
{
    QRandomGenerator rng(o.seed * 7919u + 17);
    SynthTarget t;
    const int side = int(o.sizeInches * o.dpi);
    t.image = QImage(side, side, QImage::Format_RGB32);
    t.image.fill(qRgb(246, 244, 236));
    t.diameterPixels = o.caliber * o.dpi;
    DrawPrint(t.image, o, rng);

    // Shots apart from each other, then pairs through one ragged hole.
    const double d = t.diameterPixels, margin = 1.5 * d;
    auto freeAt = [&](QPointF c, double gap) {
        return std::all_of(t.shots.begin(), t.shots.end(), [&](const QPointF &s) {
            return std::hypot(s.x() - c.x(), s.y() - c.y()) > gap;
        });
    };
    auto place = [&](double gap) {
        for (int tries = 0; tries < 500; ++tries) {
            const QPointF c(margin + rng.bounded(side - 2 * margin),
                            margin + rng.bounded(side - 2 * margin));
            if (freeAt(c, gap)) return c;
        }
        return QPointF(-1, -1);
    };
    for (int k = 0; k < o.pairs; ++k) {
        const QPointF a = place(3 * d);
        if (a.x() < 0) break;
        const double ang = rng.bounded(2 * Pi), sep = d * (0.65 + rng.bounded(0.4));
        const QPointF b = a + QPointF(std::cos(ang), std::sin(ang)) * sep;
        if (b.x() < margin || b.y() < margin || b.x() > side - margin || b.y() > side - margin)
            continue;
        t.pairs.emplace_back(int(t.shots.size()), int(t.shots.size()) + 1);
        t.shots.push_back(a);
        t.shots.push_back(b);
    }
    for (int k = 0; k < o.singles; ++k)
        if (const QPointF c = place(1.6 * d); c.x() >= 0) t.shots.push_back(c);

    DrawRaggedHoles(t.image, t.shots, d / 2, o, rng);

    // The scanner: uneven light, slight rotation, blur, noise, JPEG.
    cv::Mat m = MatOver(t.image);
    const double gx = rng.bounded(1.0), gy = 1 - gx;
    for (int y = 0; y < m.rows; ++y) {
        auto *px = m.ptr<cv::Vec4b>(y);
        for (int x = 0; x < m.cols; ++x) {
            const double f = 1 - o.unevenLight * (gx * x + gy * y) / side;
            for (int c = 0; c < 3; ++c) px[x][c] = cv::saturate_cast<uchar>(px[x][c] * f);
        }
    }
    if (o.rotationDegrees != 0) {
        const cv::Point2f centre(side / 2.0f, side / 2.0f);
        const cv::Mat r = cv::getRotationMatrix2D(centre, o.rotationDegrees, 1.0);
        cv::Mat turned;
        cv::warpAffine(m, turned, r, m.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
        turned.copyTo(m);
        for (QPointF &s : t.shots) {
            // Pixel centres are at +0.5 in these coordinates, at +0 in OpenCV's.
            const double x = s.x() - 0.5, y = s.y() - 0.5;
            s = QPointF(r.at<double>(0, 0) * x + r.at<double>(0, 1) * y + r.at<double>(0, 2) + 0.5,
                        r.at<double>(1, 0) * x + r.at<double>(1, 1) * y + r.at<double>(1, 2) + 0.5);
        }
    }
    if (o.blurPixels > 0) cv::GaussianBlur(m, m, cv::Size(0, 0), o.blurPixels);
    cv::Mat noise(m.size(), CV_16SC4);
    cv::theRNG().state = o.seed + 1;
    cv::randn(noise, 0, o.noise);
    cv::Mat sum;
    m.convertTo(sum, CV_16SC4);
    sum += noise;
    sum.convertTo(m, CV_8UC4);
    for (int y = 0; y < m.rows; ++y) {
        auto *px = m.ptr<cv::Vec4b>(y);
        for (int x = 0; x < m.cols; ++x) px[x][3] = 255;
    }
    if (o.jpegQuality > 0) {
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        t.image.save(&buf, "JPG", o.jpegQuality);
        t.image = QImage::fromData(buf.data(), "JPG").convertToFormat(QImage::Format_RGB32);
    }
    return t;
}

void HoleScore::Add(const SynthTarget &t, const std::vector<FoundHole> &holes)
{
    shots += int(t.shots.size());
    found += int(holes.size());
    struct Link {
        double d;
        int shot, hole;
    };
    std::vector<Link> links;
    for (int i = 0; i < int(t.shots.size()); ++i)
        for (int j = 0; j < int(holes.size()); ++j) {
            const double d = std::hypot(t.shots[i].x() - holes[j].x, t.shots[i].y() - holes[j].y);
            if (d < 0.5 * t.diameterPixels) links.push_back({d, i, j});
        }
    std::sort(links.begin(), links.end(), [](const Link &a, const Link &b) { return a.d < b.d; });
    std::vector<bool> shotUsed(t.shots.size()), holeUsed(holes.size());
    for (const Link &l : links) {
        if (shotUsed[l.shot] || holeUsed[l.hole]) continue;
        shotUsed[l.shot] = holeUsed[l.hole] = true;
        ++matched;
        errors.push_back(l.d / t.diameterPixels);
    }
    for (const auto &[a, b] : t.pairs) {
        ++pairs;
        if (shotUsed[a] && shotUsed[b]) ++pairsSplit;
    }
}

double HoleScore::MedianError() const
{
    if (errors.empty()) return 0;
    std::vector<double> e = errors;
    std::nth_element(e.begin(), e.begin() + e.size() / 2, e.end());
    return e[e.size() / 2];
}
