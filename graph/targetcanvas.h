#pragma once
// The target picture as one persistent RGB32 image: the scanned target over
// the background colour, with every figure exclusive-OR-ed straight into it.
// Positions are picture twips (15 per image pixel); the canvas knows nothing
// of windows, so the window, the command line and the tests share it.
#include "imaging/targetimage.h"

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QString>
#include <cmath>
#include <functional>
#include <vector>

// A colour value 0x00BBGGRR, or a system colour when the high bit is set,
// as the running desktop shows it.
QRgb DisplayRgb(qint32 value);
// The colour value (0x00BBGGRR) of a chosen colour.
qint32 ColorValue(QRgb rgb);

class TargetCanvas {
public:
    TargetCanvas();

    // The picture area as laid out in the window, in pixels. The canvas covers
    // it and the whole image, whichever is larger in each direction.
    void SetPictureSize(QSize pixels);
    // Loads the image file; on failure the picture is left empty, and
    // `error` names the reason. Either way every figure is gone. A file cut
    // short that still decodes in part loads, with `incomplete` set.
    bool LoadImage(const QString &path, QString *error, bool *incomplete = nullptr);
    // Takes an image already in memory (the command line, tests).
    void SetImage(QImage image);
    void ClearImage();
    bool HasImage() const { return imageSize.isValid() && !imageSize.isEmpty(); }
    // The image's own size (the canvas may be larger: the picture area).
    QSize ImageSize() const { return HasImage() ? imageSize : QSize(); }
    QString ImageFile() const { return imageFile; }
    // The image of this file is loaded and the file has not changed since.
    bool HoldsFile(const QString &path) const;

    // Wipes every figure, then paints the background outside the image.
    void SetBackground(QRgb rgb);
    QRgb Background() const { return background; }
    // Wipes every figure; the image and background stay.
    void Reset();

    const QImage &Image() const { return canvas; }
    QSize SizePixels() const { return canvas.size(); }
    float WidthTwips() const;
    float HeightTwips() const;

    // Figures, toggled by exclusive-OR: drawing one twice restores the image.
    void XorLine(float x1, float y1, float x2, float y2, QRgb pen);
    // A box filled with `fill`, its one-pixel outline in `outline`.
    void XorBox(float x1, float y1, float x2, float y2, QRgb fill, QRgb outline);
    void XorFilledBox(float x1, float y1, float x2, float y2, QRgb fill)
    {
        XorBox(x1, y1, x2, y2, fill, fill);
    }
    void XorCircle(float cx, float cy, float radius, QRgb fill);

    // The pixel holding a picture point.
    static int Pixel(float twips);
    // Below a view scale of 1, screen pixel i shows the canvas pixels
    // CellStart(i) to CellStart(i + 1) - 1 (its cell); CellOf is the screen
    // pixel whose cell holds a canvas pixel.
    static int CellStart(int i, double zoom) { return int(std::floor(i / zoom)); }
    static int CellOf(int pixel, double zoom);

    // Figures on the picture now (drawn an odd number of times).
    int FigureCount() const { return int(figures.size()); }

    // Screen pixels per image pixel of the window showing the canvas. Below 1
    // the figures are drawn thicker, so no line falls between the sampled
    // pixels and no marker shrinks under three screen pixels; every figure on
    // the picture is drawn again at the new size. The positions and sizes
    // callers give stay picture twips, and at 1 or above the figures are
    // exactly their nominal size.
    void SetViewScale(double zoom);
    double ViewScale() const { return viewScale; }
    // Pixels across a line at the current view scale.
    int LineWidth() const { return lineWidth; }

    // Told of every pixel rectangle that changed.
    std::function<void(const QRect &)> Changed;
    // Told of every rectangle toggled with one colour (its RGB bits), before
    // the pixels change.
    std::function<void(const QRect &, QRgb)> Xored;

private:
    enum class Kind { Line, Box, Circle };
    struct Figure {
        Kind kind;
        float a, b, c, d;
        QRgb fill, outline;
        bool operator==(const Figure &) const = default;
    };
    void Toggle(const Figure &f);
    void Rasterise(const Figure &f);
    void RasteriseLine(const Figure &f);
    void RasteriseBox(const Figure &f);
    void RasteriseCircle(const Figure &f);
    void XorRect(int x1, int y1, int x2, int y2, QRgb rgb);
    void Rebuild(QImage image);
    void PaintBackground();
    void PaintTransparentImage();
    void Notify(const QRect &r);

    QImage canvas;
    QSize pictureSize{1, 1};
    QSize imageSize;
    QString imageFile;
    QDateTime imageFileTime;
    qint64 imageFileSize = -1;
    QRgb background;
    // An image with transparent pixels, kept to be drawn again over a new
    // background colour; null for an opaque image.
    QImage transparentImage;
    std::vector<Figure> figures;
    double viewScale = 1.0;
    int lineWidth = 1;
};
