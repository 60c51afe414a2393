#include "graph/straighten.h"

#include "entry/keyboardentry.h"
#include "imaging/matview.h"
#include "imaging/targetimage.h"
#include "model/session.h"
#include "platform/prompter.h"
#include "platform/screen.h"
#include "platform/vectorstate.h"
#include "platform/wholefile.h"
#include "stats/groupstats.h"

#include <opencv2/imgproc.hpp>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

namespace {
// Each side of the rectangle gets this share of its longer side as margin;
// a point kept on the picture gets half of it around it.
constexpr double MarginShare = 0.05;
// Three corners this close to one line (about a degree) span no rectangle.
constexpr double LeastSine = 0.02;
constexpr double ShortestSide = 2;

bool Finite(double v) { return std::isfinite(v); }

double Distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

std::optional<QPointF> Apply(const std::array<double, 9> &m, QPointF p)
{
    const double w = m[6] * p.x() + m[7] * p.y() + m[8];
    if (!(w > 0)) return std::nullopt;
    const QPointF q((m[0] * p.x() + m[1] * p.y() + m[2]) / w,
                    (m[3] * p.x() + m[4] * p.y() + m[5]) / w);
    if (!Finite(q.x()) || !Finite(q.y())) return std::nullopt;
    return q;
}

// Why the corners span no clockwise convex quadrilateral; empty when they do.
QString ShapeFault(const StraightenCorners &c)
{
    int clockwise = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = c[size_t((i + 1) % 4)] - c[size_t(i)];
        const QPointF b = c[size_t((i + 2) % 4)] - c[size_t((i + 1) % 4)];
        const double la = std::hypot(a.x(), a.y()), lb = std::hypot(b.x(), b.y());
        const double cross = a.x() * b.y() - a.y() * b.x();
        if (la < ShortestSide || lb < ShortestSide || std::abs(cross) < LeastSine * la * lb)
            return QStringLiteral("The four corners span no rectangle: three of them lie on one "
                                  "line or two on one point.");
        // y runs down: a clockwise turn on the screen has a positive cross product.
        clockwise += cross > 0;
    }
    if (clockwise == 0)
        return QStringLiteral("The corners go round anticlockwise: give them clockwise, starting "
                              "at the top-left.");
    if (clockwise < 4)
        return QStringLiteral("The corners cross or bend inwards: give the four corners of one "
                              "rectangle clockwise, starting at the top-left.");
    return {};
}

QByteArray PngBytes(const QImage &picture, QString *why)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // A quick zlib level: the default takes six times as long on a photo for
    // a file a sixth smaller.
    writer.setQuality(80);
    if (!writer.write(picture)) {
        if (why) *why = writer.errorString();
        return {};
    }
    return bytes;
}
} // namespace

std::optional<QPointF> Straightening::Map(QPointF photo) const { return Apply(matrix, photo); }

std::optional<double> Straightening::DotsPerMeter(const QString &unitName) const
{
    const auto inches = InchesPerUnit(unitName);
    if (!inches) return std::nullopt;
    return dotsPerUnit / (*inches * 0.0254);
}

std::optional<Straightening> PlanStraighten(const StraightenRequest &r, QString *why)
{
    auto refuse = [why](const QString &text) -> std::optional<Straightening> {
        if (why) *why = text;
        return std::nullopt;
    };
    if (!(r.width > 0) || !(r.height > 0) || !Finite(r.width) || !Finite(r.height))
        return refuse(QStringLiteral("The width and height of the rectangle must be numbers "
                                     "above 0."));
    if (!(r.dotsPerUnit >= 0) || !Finite(r.dotsPerUnit))
        return refuse(QStringLiteral("The resolution must be a number above 0."));
    const QSize image = r.imageSize;
    if (image.isEmpty()) return refuse(QStringLiteral("There is no picture to straighten."));
    const StraightenCorners &c = r.corners;
    for (size_t k = 0; k < 4; ++k) {
        const double x = c[k].x(), y = c[k].y();
        if (!(x >= 0 && x <= image.width() && y >= 0 && y <= image.height()))
            return refuse(QStringLiteral("Corner %1 (%2, %3) lies outside the picture (%4 x %5 "
                                         "pixels).")
                              .arg(k + 1)
                              .arg(x, 0, 'g', 6)
                              .arg(y, 0, 'g', 6)
                              .arg(image.width())
                              .arg(image.height()));
    }
    if (const QString fault = ShapeFault(c); !fault.isEmpty()) return refuse(fault);

    Straightening plan;
    plan.dotsPerUnit = r.dotsPerUnit;
    if (plan.dotsPerUnit == 0) {
        // The finer of the photo's two densities along the sides, so that no
        // detail it has is lost.
        const double across = (Distance(c[0], c[1]) + Distance(c[3], c[2])) / (2 * r.width);
        const double down = (Distance(c[0], c[3]) + Distance(c[1], c[2])) / (2 * r.height);
        plan.dotsPerUnit = std::max(across, down);
    }
    const double w = r.width * plan.dotsPerUnit, h = r.height * plan.dotsPerUnit;
    if (!(w >= ShortestSide) || !(h >= ShortestSide))
        return refuse(QStringLiteral("The straightened picture would be under 2 pixels across: "
                                     "give a higher resolution."));
    constexpr double Far = 1e9; // beyond every picture the limit lets through
    if (!(w < Far) || !(h < Far))
        return refuse(QStringLiteral("At this resolution the straightened picture would be too "
                                     "large. ") +
                      ImageSizeRefusal(QSize(INT_MAX, INT_MAX)));

    const cv::Point2f from[4] = {{float(c[0].x()), float(c[0].y())},
                                 {float(c[1].x()), float(c[1].y())},
                                 {float(c[2].x()), float(c[2].y())},
                                 {float(c[3].x()), float(c[3].y())}};
    const cv::Point2f to[4] = {{0, 0}, {float(w), 0}, {float(w), float(h)}, {0, float(h)}};
    const cv::Mat m = cv::getPerspectiveTransform(from, to);
    std::array<double, 9> onto{};
    for (int i = 0; i < 9; ++i) onto[size_t(i)] = m.at<double>(i / 3, i % 3);
    // The corners lie on the photo's side of its horizon: their last
    // coordinate is made positive, so that Apply knows that side.
    if (onto[6] * c[0].x() + onto[7] * c[0].y() + onto[8] < 0)
        for (double &v : onto) v = -v;

    const double margin = MarginShare * std::max(w, h);
    double left = -margin, top = -margin, right = w + margin, bottom = h + margin;
    for (const QPointF &p : r.keep) {
        const auto q = Apply(onto, p);
        if (!q)
            return refuse(QStringLiteral("A point entered on the picture lies beyond the "
                                         "horizon of this rectangle: it cannot be straightened "
                                         "with it."));
        left = std::min(left, q->x() - margin / 2);
        top = std::min(top, q->y() - margin / 2);
        right = std::max(right, q->x() + margin / 2);
        bottom = std::max(bottom, q->y() + margin / 2);
    }
    left = std::floor(left), top = std::floor(top);
    const double across = std::ceil(right) - left + 1, down = std::ceil(bottom) - top + 1;
    const QSize size(int(std::min(across, Far)), int(std::min(down, Far)));
    if (const QString tooLarge = ImageSizeRefusal(size); !tooLarge.isEmpty())
        return refuse(QStringLiteral("At this resolution the straightened picture would be too "
                                     "large. ") +
                      tooLarge);
    plan.size = size;
    // Moved so that the margin's top-left corner is the picture's.
    plan.matrix = onto;
    for (int col = 0; col < 3; ++col) {
        plan.matrix[size_t(col)] -= left * onto[size_t(6 + col)];
        plan.matrix[size_t(3 + col)] -= top * onto[size_t(6 + col)];
    }
    return plan;
}

QImage StraightenImage(const QImage &photo, const Straightening &plan, const QString &unitName)
{
    if (photo.isNull() || plan.size.isEmpty()) return {};
    const QImage::Format format =
        photo.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage source = photo.format() == format ? photo : photo.convertToFormat(format);
    QImage out(plan.size, format);
    if (source.isNull() || out.isNull()) return {};
    const CleanVectorState clean;
    // The core stays on the caller's thread.
    cv::setNumThreads(0);
    const cv::Mat from = MatOver(source);
    cv::Mat onto = MatOver(out);
    std::array<double, 9> m = plan.matrix;
    const cv::Mat matrix(3, 3, CV_64F, m.data());
    try {
        cv::warpPerspective(from, onto, matrix, onto.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                            cv::Scalar::all(255));
    } catch (const std::exception &) { // out of memory for its work: no picture
        return {};
    }
    if (const auto dpm = plan.DotsPerMeter(unitName); dpm && *dpm >= 1 && *dpm < INT_MAX) {
        out.setDotsPerMeterX(int(std::lround(*dpm)));
        out.setDotsPerMeterY(int(std::lround(*dpm)));
    }
    return out;
}

std::optional<QImage> ReadPhoto(const QString &path, QString *why)
{
    auto fail = [why](const QString &text) -> std::optional<QImage> {
        if (why) *why = text;
        return std::nullopt;
    };
    QFile file;
    QImageReader reader;
    if (QString no; !OpenImageFile(path, file, reader, &no))
        return fail(QStringLiteral("The image %1 cannot be read: %2").arg(path, no));
    reader.setAutoTransform(true);
    const QSize size = UprightSize(reader);
    const QByteArray format = reader.format();
    if (!reader.canRead() || !size.isValid())
        return fail(QStringLiteral("The file is not an image that can be read: ") + path);
    if (const QString tooLarge = ImageSizeRefusal(size); !tooLarge.isEmpty()) return fail(tooLarge);
    if (!ImageFileComplete(path, format))
        return fail(QStringLiteral("The image is damaged or cut short: ") + path);
    RaiseAllocationLimit();
    QImage image = reader.read();
    if (image.isNull())
        return fail(QStringLiteral("The image could not be decoded: ") + path + QLatin1Char('\r') +
                    reader.errorString());
    return image;
}

bool SaveStraightenedPng(const QImage &picture, const QString &path, QString *why)
{
    const QByteArray bytes = PngBytes(picture, why);
    return !bytes.isEmpty() && WriteWholeFile(path, bytes, why, Existing::Keep);
}

std::optional<QString> SaveBesidePhoto(const QImage &picture, const QString &photoPath,
                                       QString *why)
{
    const QByteArray bytes = PngBytes(picture, why);
    if (bytes.isEmpty()) return std::nullopt;
    const QFileInfo photo(photoPath);
    const QDir folder = photo.absoluteDir();
    for (int n = 1; n < 10000; ++n) {
        QString name = photo.completeBaseName() + QStringLiteral(" straightened");
        if (n > 1) name += QLatin1Char(' ') + QString::number(n);
        const QString path = folder.absoluteFilePath(name + QStringLiteral(".png"));
        if (QFileInfo::exists(path)) continue;
        QString failed;
        if (WriteWholeFile(path, bytes, &failed, Existing::Keep)) return path;
        // Taken meanwhile: the next name; any other failure is the answer.
        if (QFileInfo::exists(path)) continue;
        if (why) *why = WriteFailedText(path, failed);
        return std::nullopt;
    }
    if (why) *why = QStringLiteral("Every name for the straightened picture is taken.");
    return std::nullopt;
}

bool StraightenGroupPicture(Session &s, const StraightenCorners &corners, double width,
                            double height, Prompter &prompter)
{
    auto tell = [&](const QString &text) {
        prompter.MsgBox(text, StraightenTitle, Buttons::Ok, Icon::Exclamation);
        return false;
    };
    if (s.ImagePath.isEmpty())
        return tell(QStringLiteral("Import a target image first: File, Import Target Image."));
    QString why;
    // Upright, as the window shows it: the corners were clicked there.
    const auto photo = ReadPhoto(s.ImagePath, &why);
    if (!photo) return tell(why);

    // The aim point and shots are on the picture only with a scale to place them.
    const bool placed = s.AimX != -1 && s.ImageScale > 0 && std::isfinite(s.ImageScale);
    const qint32 count = std::clamp(s.ShotCount, qint32(0), ShotCapacity);
    auto onPhoto = [&](float x, float y) {
        return QPointF(double(x) / s.ImageScale / TwipsPerPixel,
                       double(y) / s.ImageScale / TwipsPerPixel);
    };
    StraightenRequest request;
    request.imageSize = photo->size();
    request.corners = corners;
    request.width = width;
    request.height = height;
    if (placed) {
        request.keep.push_back(onPhoto(s.AimX, s.AimY));
        for (qint32 i = 1; i <= count; ++i)
            request.keep.push_back(onPhoto(s.AimX + s.ShotX[i], s.AimY - s.ShotY[i]));
    }
    const auto plan = PlanStraighten(request, &why);
    if (!plan) return tell(why);

    // Everything the session gets is worked out before anything is written.
    const float scale = float(1.0 / (plan->dotsPerUnit * TwipsPerPixel));
    auto twips = [&](QPointF p) { return *plan->Map(p) * TwipsPerPixel; };
    const QPointF cal1 = twips(corners[0]), cal2 = twips(corners[1]);
    float aimX = s.AimX, aimY = s.AimY;
    std::array<float, ShotCapacity + 1> shotX = s.ShotX, shotY = s.ShotY;
    bool reachable = std::isfinite(scale) && scale > 0;
    if (placed) {
        const QPointF aim = twips(request.keep[0]);
        aimX = float(scale * aim.x());
        aimY = float(scale * aim.y());
        reachable =
            reachable && std::fabs(aimX) <= MaxShotOffset && std::fabs(aimY) <= MaxShotOffset;
        for (qint32 i = 1; i <= count; ++i) {
            const QPointF p = twips(request.keep[size_t(i)]);
            shotX[size_t(i)] = float(scale * p.x()) - aimX;
            shotY[size_t(i)] = -(float(scale * p.y()) - aimY);
            reachable = reachable && std::fabs(shotX[size_t(i)]) <= MaxShotOffset &&
                        std::fabs(shotY[size_t(i)]) <= MaxShotOffset;
        }
    }
    if (!reachable)
        return tell(QStringLiteral("With a rectangle of this size the aim point or a shot would "
                                   "lie beyond 1000000 units: check the width and height."));
    const QImage picture = StraightenImage(*photo, *plan, s.UnitName);
    if (picture.isNull())
        return tell(QStringLiteral("There is not enough memory for the straightened picture."));
    const auto saved = SaveBesidePhoto(picture, s.ImagePath, &why);
    if (!saved) return tell(why);

    s.ImagePath = *saved;
    s.ImageScale = scale;
    s.ImageCalibrated = true;
    s.CalPoint1X = float(cal1.x());
    s.CalPoint1Y = float(cal1.y());
    s.CalPoint2X = float(cal2.x());
    s.CalPoint2Y = float(cal2.y());
    s.CalDistance = float(width);
    s.CalLength = float(std::hypot(cal2.x() - cal1.x(), cal2.y() - cal1.y()));
    if (placed) {
        s.AimX = aimX;
        s.AimY = aimY;
        for (qint32 i = 1; i <= count; ++i) {
            s.ShotX[size_t(i)] = shotX[size_t(i)];
            s.ShotY[size_t(i)] = shotY[size_t(i)];
            s.ShotR[size_t(i)] = RadialDistance(shotX[size_t(i)], shotY[size_t(i)]);
        }
        if (s.ShotCount > 1) ComputeGroupStats(s);
    }
    s.StatsSaved = false;
    return true;
}
