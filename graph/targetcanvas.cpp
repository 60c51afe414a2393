#include "graph/targetcanvas.h"

#include "imaging/targetimage.h"
#include "platform/screen.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace {
// The classic desktop colours, for runs without a desktop palette (command line).
QRgb ClassicSystemRgb(int index)
{
    switch (index) {
    case 5:
        return qRgb(255, 255, 255); // window
    case 8:
    case 18:
        return qRgb(0, 0, 0); // window text, button text
    case 13:
        return qRgb(0, 120, 215); // highlight
    case 16:
        return qRgb(160, 160, 160); // button shadow
    case 20:
        return qRgb(255, 255, 255); // button highlight
    default:
        return qRgb(240, 240, 240); // button face and the rest
    }
}

QPalette::ColorRole SystemRole(int index)
{
    switch (index) {
    case 5:
        return QPalette::Base;
    case 7:
        return QPalette::WindowText;
    case 8:
        return QPalette::Text;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 16:
        return QPalette::Dark;
    case 18:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light;
    case 21:
        return QPalette::Shadow;
    case 22:
        return QPalette::Midlight;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    case 15:
        return QPalette::Button;
    default:
        return QPalette::Window;
    }
}

QRgb XorBits(QRgb rgb) { return rgb & 0x00FFFFFFu; } // alpha stays opaque

bool HasTransparentPixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 255) return true;
    }
    return false;
}
} // namespace

QRgb DisplayRgb(qint32 value)
{
    const quint32 v = quint32(value);
    if (v & 0x80000000u) {
        const int index = int(v & 0xFFu);
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return QGuiApplication::palette().color(QPalette::Active, SystemRole(index)).rgb();
        return ClassicSystemRgb(index);
    }
    return qRgb(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 ColorValue(QRgb rgb)
{
    return qint32(quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16));
}

TargetCanvas::TargetCanvas() : background(DisplayRgb(qint32(0x8000000F))) { Rebuild(QImage()); }

int TargetCanvas::Pixel(float twips) { return int(std::floor(double(twips) / TwipsPerPixel)); }

int TargetCanvas::CellOf(int pixel, double zoom)
{
    int cell = std::max(0, int(std::floor(pixel * zoom)));
    while (CellStart(cell + 1, zoom) <= pixel) ++cell;
    while (cell > 0 && CellStart(cell, zoom) > pixel) --cell;
    return cell;
}

float TargetCanvas::WidthTwips() const { return float(canvas.width() * TwipsPerPixel); }
float TargetCanvas::HeightTwips() const { return float(canvas.height() * TwipsPerPixel); }

void TargetCanvas::SetPictureSize(QSize pixels)
{
    pixels = pixels.expandedTo(QSize(1, 1));
    if (pixels == pictureSize) return;
    pictureSize = pixels;
    Reset();
    QImage image = transparentImage;
    if (image.isNull() && HasImage()) image = canvas.copy(QRect(QPoint(0, 0), imageSize));
    Rebuild(std::move(image));
}

bool TargetCanvas::LoadImage(const QString &path, QString *error, bool *incomplete)
{
    RaiseAllocationLimit();
    figures.clear();
    QFile file;
    QImageReader reader;
    QString why;
    const bool opened = OpenImageFile(path, file, reader, &why);
    reader.setAutoTransform(true);
    // Asked before the decode: afterwards the reader no longer says.
    const QByteArray format = reader.format();
    QImage image;
    if (incomplete) *incomplete = false;
    if (!opened) {
        // `why` says what is in the file's place.
    } else if (const QString tooLarge = ImageSizeRefusal(UprightSize(reader));
               !tooLarge.isEmpty()) {
        why = tooLarge;
    } else if (!reader.read(&image) || image.isNull()) {
        why = reader.errorString();
        image = QImage();
    } else if (incomplete) {
        *incomplete = !ImageFileComplete(path, format);
    }
    // Drop the old picture first so the new one is never held twice.
    canvas = QImage();
    imageSize = QSize();
    Rebuild(std::move(image));
    imageFile = why.isEmpty() ? path : QString();
    const QFileInfo info(path);
    imageFileTime = info.lastModified();
    imageFileSize = info.size();
    if (error) *error = why;
    return why.isEmpty();
}

bool TargetCanvas::HoldsFile(const QString &path) const
{
    if (imageFile.isEmpty() || path != imageFile) return false;
    const QFileInfo info(path);
    return info.isFile() && info.lastModified() == imageFileTime && info.size() == imageFileSize;
}

void TargetCanvas::SetImage(QImage image)
{
    figures.clear();
    canvas = QImage();
    imageSize = QSize();
    Rebuild(std::move(image));
    imageFile.clear();
}

void TargetCanvas::ClearImage() { SetImage(QImage()); }

void TargetCanvas::Rebuild(QImage image)
{
    transparentImage = QImage();
    if (!image.isNull() && image.hasAlphaChannel()) {
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        if (HasTransparentPixel(image)) transparentImage = image;
    }
    imageSize = image.isNull() ? QSize() : image.size();
    const QSize size = pictureSize.expandedTo(imageSize);
    if (transparentImage.isNull() && !image.isNull() && image.size() == size) {
        // The usual large scan: the decoded image becomes the canvas itself.
        if (image.format() != QImage::Format_RGB32) image.convertTo(QImage::Format_RGB32);
        canvas = std::move(image);
    } else {
        canvas = QImage(size, QImage::Format_RGB32);
        if (canvas.isNull()) { // out of memory: keep a picture that works
            imageSize = QSize();
            canvas = QImage(pictureSize, QImage::Format_RGB32);
        }
        canvas.fill(background);
        if (!imageSize.isEmpty() && !transparentImage.isNull()) {
            PaintTransparentImage();
        } else if (!imageSize.isEmpty()) {
            if (image.format() != QImage::Format_RGB32) image.convertTo(QImage::Format_RGB32);
            const qsizetype rowBytes = qsizetype(imageSize.width()) * 4;
            for (int y = 0; y < imageSize.height(); ++y)
                std::copy_n(image.constScanLine(y), rowBytes, canvas.scanLine(y));
        }
    }
    PaintBackground();
    Notify(canvas.rect());
}

void TargetCanvas::PaintBackground()
{
    const int w = canvas.width(), h = canvas.height();
    const int iw = imageSize.isValid() ? imageSize.width() : 0;
    const int ih = imageSize.isValid() ? imageSize.height() : 0;
    auto fill = [this](int x1, int y1, int x2, int y2) {
        for (int y = y1; y < y2; ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(canvas.scanLine(y));
            std::fill(line + x1, line + x2, background);
        }
    };
    if (iw < w) fill(iw, 0, w, std::min(ih, h));
    if (ih < h) fill(0, ih, w, h);
}

void TargetCanvas::PaintTransparentImage()
{
    // Transparent parts show the background colour, as around the image.
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(0, 0), imageSize), QColor(background));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, transparentImage);
}

void TargetCanvas::SetBackground(QRgb rgb)
{
    Reset();
    background = qRgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
    if (!transparentImage.isNull()) PaintTransparentImage();
    PaintBackground();
    Notify(canvas.rect());
}

void TargetCanvas::Reset()
{
    // Each figure on the picture is drawn once more, which takes it away:
    // no second copy of a large image is needed.
    std::vector<Figure> drawn;
    drawn.swap(figures);
    for (const Figure &f : drawn) Rasterise(f);
}

void TargetCanvas::Notify(const QRect &r)
{
    const QRect clipped = r.intersected(canvas.rect());
    if (Changed && !clipped.isEmpty()) Changed(clipped);
}

void TargetCanvas::Toggle(const Figure &f)
{
    auto it = std::find(figures.begin(), figures.end(), f);
    if (it != figures.end())
        figures.erase(it);
    else
        figures.push_back(f);
    Rasterise(f);
}

void TargetCanvas::XorLine(float x1, float y1, float x2, float y2, QRgb pen)
{
    Toggle({Kind::Line, x1, y1, x2, y2, pen, pen});
}

void TargetCanvas::XorBox(float x1, float y1, float x2, float y2, QRgb fill, QRgb outline)
{
    Toggle({Kind::Box, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), fill,
            outline});
}

void TargetCanvas::XorCircle(float cx, float cy, float radius, QRgb fill)
{
    Toggle({Kind::Circle, cx, cy, std::fabs(radius), 0, fill, fill});
}

void TargetCanvas::XorRect(int x1, int y1, int x2, int y2, QRgb rgb)
{
    // Inclusive pixel bounds, clipped to the canvas.
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, canvas.width() - 1);
    y2 = std::min(y2, canvas.height() - 1);
    if (x1 > x2 || y1 > y2) return;
    const QRgb bits = XorBits(rgb);
    if (Xored) Xored(QRect(QPoint(x1, y1), QPoint(x2, y2)), bits);
    uchar *base = canvas.bits();
    const qsizetype stride = canvas.bytesPerLine();
    for (int y = y1; y <= y2; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(base + stride * y);
        for (int x = x1; x <= x2; ++x) line[x] ^= bits;
    }
}

void TargetCanvas::SetViewScale(double zoom)
{
    if (!(zoom > 0) || zoom == viewScale) return;
    // Erased at the old size, drawn at the new one: exclusive-OR makes the
    // order irrelevant and leaves the image itself untouched.
    for (const Figure &f : figures) Rasterise(f);
    viewScale = zoom;
    // One pixel more than the sampling step, so a nearest-pixel view always
    // catches a line.
    lineWidth = zoom < 1 ? int(std::floor(1 / zoom)) + 1 : 1;
    for (const Figure &f : figures) Rasterise(f);
}

void TargetCanvas::Rasterise(const Figure &f)
{
    switch (f.kind) {
    case Kind::Line:
        RasteriseLine(f);
        break;
    case Kind::Box:
        RasteriseBox(f);
        break;
    case Kind::Circle:
        RasteriseCircle(f);
        break;
    }
}

void TargetCanvas::RasteriseLine(const Figure &f)
{
    int x0 = Pixel(f.a), y0 = Pixel(f.b);
    const int x1 = Pixel(f.c), y1 = Pixel(f.d);
    const int lw = lineWidth, before = (lw - 1) / 2;
    const QRect bounds = QRect(QPoint(std::min(x0, x1), std::min(y0, y1)),
                               QPoint(std::max(x0, x1), std::max(y0, y1)));
    // Below 1 a level or upright line fills the canvas pixels of the one
    // screen pixel it lies on: whole cells, drawn and erased without
    // re-averaging the picture (PictureBox).
    const auto crossing = [this, lw, before](int at) {
        if (viewScale >= 1) return std::pair(at - before, at - before + lw - 1);
        const int cell = CellOf(at, viewScale);
        return std::pair(CellStart(cell, viewScale), CellStart(cell + 1, viewScale) - 1);
    };
    if (y0 == y1) {
        const auto [top, bottom] = crossing(y0);
        XorRect(bounds.left(), top, bounds.right(), bottom, f.fill);
        Notify(QRect(QPoint(bounds.left(), top), QPoint(bounds.right(), bottom)));
        return;
    }
    if (x0 == x1) {
        const auto [left, right] = crossing(x0);
        XorRect(left, bounds.top(), right, bounds.bottom(), f.fill);
        Notify(QRect(QPoint(left, bounds.top()), QPoint(right, bounds.bottom())));
        return;
    }
    if (lw == 1) {
        const QRgb bits = XorBits(f.fill);
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        const int w = canvas.width(), h = canvas.height();
        int err = dx + dy;
        for (;;) {
            if (x0 >= 0 && y0 >= 0 && x0 < w && y0 < h)
                reinterpret_cast<QRgb *>(canvas.scanLine(y0))[x0] ^= bits;
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    } else {
        // A thick line: one run across it for each step along it, so every
        // pixel is toggled exactly once.
        const bool alongX = std::abs(x1 - x0) >= std::abs(y1 - y0);
        const int from = alongX ? x0 : y0, to = alongX ? x1 : y1;
        const int step = from < to ? 1 : -1;
        const double slope = alongX ? double(y1 - y0) / (x1 - x0) : double(x1 - x0) / (y1 - y0);
        const int limit = alongX ? canvas.width() : canvas.height();
        for (int m = from;; m += step) {
            if (m >= 0 && m < limit) {
                const int across = (alongX ? y0 : x0) + int(std::lround((m - from) * slope));
                if (alongX)
                    XorRect(m, across - before, m, across - before + lw - 1, f.fill);
                else
                    XorRect(across - before, m, across - before + lw - 1, m, f.fill);
            }
            if (m == to) break;
        }
    }
    Notify(bounds.adjusted(-before, -before, lw - 1 - before, lw - 1 - before));
}

void TargetCanvas::RasteriseBox(const Figure &f)
{
    int x1 = Pixel(f.a), y1 = Pixel(f.b), x2 = Pixel(f.c), y2 = Pixel(f.d);
    const int lw = lineWidth;
    if (viewScale < 1) {
        // Grown around its centre to three screen pixels, and no side thinner
        // than a line.
        const double minTwips = 3.0 * TwipsPerPixel / viewScale;
        const double side = std::max(double(f.c) - f.a, double(f.d) - f.b);
        const double grow = side > 0 ? std::max(1.0, minTwips / side) : 1.0;
        if (grow > 1) {
            const double cx = (double(f.a) + f.c) / 2, cy = (double(f.b) + f.d) / 2;
            const double hw = (double(f.c) - f.a) / 2 * grow, hh = (double(f.d) - f.b) / 2 * grow;
            x1 = Pixel(float(cx - hw));
            x2 = Pixel(float(cx + hw));
            y1 = Pixel(float(cy - hh));
            y2 = Pixel(float(cy + hh));
        }
        if (x2 - x1 + 1 < lw) {
            x1 = (x1 + x2) / 2 - (lw - 1) / 2;
            x2 = x1 + lw - 1;
        }
        if (y2 - y1 + 1 < lw) {
            y1 = (y1 + y2) / 2 - (lw - 1) / 2;
            y2 = y1 + lw - 1;
        }
    }
    if (f.fill == f.outline) {
        XorRect(x1, y1, x2, y2, f.fill);
    } else {
        // Outline and inside never share a pixel, so each toggles once.
        const int ix1 = x1 + lw, ix2 = x2 - lw, iy1 = y1 + lw, iy2 = y2 - lw;
        if (ix1 > ix2 || iy1 > iy2) {
            XorRect(x1, y1, x2, y2, f.outline);
        } else {
            XorRect(x1, y1, x2, iy1 - 1, f.outline);
            XorRect(x1, iy2 + 1, x2, y2, f.outline);
            XorRect(x1, iy1, ix1 - 1, iy2, f.outline);
            XorRect(ix2 + 1, iy1, x2, iy2, f.outline);
            XorRect(ix1, iy1, ix2, iy2, f.fill);
        }
    }
    Notify(QRect(QPoint(x1, y1), QPoint(x2, y2)));
}

void TargetCanvas::RasteriseCircle(const Figure &f)
{
    // Pixels whose centres lie within the radius of the centre.
    const double cx = double(f.a) / TwipsPerPixel, cy = double(f.b) / TwipsPerPixel;
    double r = double(f.c) / TwipsPerPixel;
    if (viewScale < 1) r = std::max(r, 1.5 / viewScale); // three screen pixels across
    const int x1 = int(std::floor(cx - r)), x2 = int(std::ceil(cx + r));
    const int y1 = int(std::floor(cy - r)), y2 = int(std::ceil(cy + r));
    const QRgb bits = XorBits(f.fill);
    for (int y = std::max(y1, 0); y <= std::min(y2, canvas.height() - 1); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(canvas.scanLine(y));
        const double dy = y + 0.5 - cy;
        for (int x = std::max(x1, 0); x <= std::min(x2, canvas.width() - 1); ++x) {
            const double dx = x + 0.5 - cx;
            if (dx * dx + dy * dy <= r * r) line[x] ^= bits;
        }
    }
    Notify(QRect(QPoint(x1, y1), QPoint(x2, y2)));
}
