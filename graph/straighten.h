#pragma once
// Straightening a photo taken at an angle: the four corners of a rectangle of
// known size, clicked on the photo, are mapped onto an upright rectangle of
// that size, and the photo with them. The new picture holds the rectangle
// with a margin all round, widened where needed to keep the points already
// entered on it. Image pixels throughout, from the top-left (y down); a
// point at (i, j) is the centre of pixel (i, j).
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <array>
#include <optional>
#include <vector>

struct Session;
class Prompter;

using StraightenCorners = std::array<QPointF, 4>;

struct StraightenRequest {
    QSize imageSize;
    StraightenCorners corners;    // clockwise from the top-left
    double width = 0, height = 0; // of the rectangle, in the unit
    // Of the new picture; 0: about the photo's own density along the rectangle.
    double dotsPerUnit = 0;
    // Points that must stay on the new picture (shots, aim points, marks).
    std::vector<QPointF> keep;
};

struct Straightening {
    QSize size; // of the new picture
    double dotsPerUnit = 0;
    // Photo pixels to new pixels, row by row, scaled so that the corners have
    // a positive last coordinate.
    std::array<double, 9> matrix{};
    // A photo point on the new picture; nothing beyond the photo's horizon.
    std::optional<QPointF> Map(QPointF photo) const;
    // The new picture's dots per unit in the unit's own dots per metre (what
    // the file's resolution records); nothing for a unit of no known length.
    std::optional<double> DotsPerMeter(const QString &unitName) const;
};

// The transform of a request; nothing, with the reason, when the size or
// resolution is not a positive number, a corner lies outside the photo, the
// corners do not span a quadrilateral (three on a line, two on one point),
// cross, bend inwards or go round anticlockwise, a point to keep lies beyond
// the photo's horizon, or the new picture would be under 2 pixels across or
// over the picture size limit.
std::optional<Straightening> PlanStraighten(const StraightenRequest &request, QString *why);

// The photo mapped through the plan; white where the photo has nothing.
// The resolution is recorded when the unit has a known length. Null when
// memory ran out.
QImage StraightenImage(const QImage &photo, const Straightening &plan, const QString &unitName);

// A photo read whole and upright by its EXIF orientation, as the windows
// show it; nothing, with the reason, when it cannot be read, is cut short or
// is over the picture size limit.
std::optional<QImage> ReadPhoto(const QString &path, QString *why);

// Writes the picture as a PNG beside the photo: "NAME straightened.png", or
// "NAME straightened 2.png" and on where that exists; never over a file.
// The path written, or nothing with the reason.
std::optional<QString> SaveBesidePhoto(const QImage &picture, const QString &photoPath,
                                       QString *why);

// Writes the picture as a new PNG at `path`, never over a file already
// there; false with the reason.
bool SaveStraightenedPng(const QImage &picture, const QString &path, QString *why);

inline const QString StraightenTitle = QStringLiteral("Straighten Picture");

// The graphical entry's group goes on on the straightened picture: it is
// written beside the photo, becomes the group's image, its scale follows
// from the rectangle (the calibration points are the rectangle's top
// corners, `width` apart), and the aim point and the shots, where the
// picture shows them, are mapped with it. False, with the message shown and
// nothing changed or written, when it cannot be done.
bool StraightenGroupPicture(Session &s, const StraightenCorners &corners, double width,
                            double height, Prompter &prompter);
