#include "graph/targetimage.h"

#include "graph/targetcanvas.h"
#include "graph/targetdrawing.h"

#include <QFile>
#include <cstring>

namespace {
quint32 Le32(const uchar *d) { return d[0] | d[1] << 8 | d[2] << 16 | quint32(d[3]) << 24; }

// Walks the markers from the start of image to the end-of-image marker;
// segments with a length are skipped whole, scan data byte by byte.
bool JpegComplete(const uchar *d, qint64 n)
{
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8) return true; // the decoder's own judgement
    qint64 i = 2;
    for (;;) {
        const void *ff = std::memchr(d + i, 0xFF, size_t(n - i));
        if (!ff) return false;
        i = static_cast<const uchar *>(ff) - d;
        while (i < n && d[i] == 0xFF) ++i; // fill bytes
        if (i >= n) return false;
        const uchar marker = d[i++];
        if (marker == 0xD9) return true;
        // A stuffed zero in scan data, and the markers that carry no length.
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (i + 2 > n) return false;
        const qint64 length = qint64(d[i]) << 8 | d[i + 1];
        if (length < 2 || i + length > n) return false;
        i += length;
    }
}

// An uncompressed bitmap is as long as its rows say; compressed ones vary.
bool BmpComplete(const uchar *d, qint64 n)
{
    if (n < 54 || d[0] != 'B' || d[1] != 'M' || Le32(d + 14) < 40) return true;
    const qint64 width = qint32(Le32(d + 18)), height = qint32(Le32(d + 22));
    const qint64 bits = d[28] | d[29] << 8;
    const quint32 compression = Le32(d + 30);
    if (compression != 0 && compression != 3 && compression != 6) return true;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return n >= qint64(Le32(d + 10)) + rowBytes * (height < 0 ? -height : height);
}
} // namespace

QString ImageSizeRefusal(QSize size)
{
    constexpr qint64 limitBytes = qint64(TargetCanvas::ImageAllocationLimitMB) * 1024 * 1024;
    if (!size.isValid() || qint64(size.width()) * size.height() * 4 <= limitBytes) return {};
    return QStringLiteral("The image is %1 x %2 pixels; Peltrix opens images of up to %3 million "
                          "pixels (%4 MB).")
        .arg(size.width())
        .arg(size.height())
        .arg(limitBytes / 4 / 1000000)
        .arg(TargetCanvas::ImageAllocationLimitMB);
}

bool ImageFileComplete(const QString &path, const QByteArray &format)
{
    const bool jpeg = format == "jpeg" || format == "jpg", bmp = format == "bmp";
    if (!jpeg && !bmp) return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return true;
    const qint64 n = file.size();
    if (const uchar *d = n > 0 ? file.map(0, n) : nullptr)
        return jpeg ? JpegComplete(d, n) : BmpComplete(d, n);
    const QByteArray bytes = file.readAll();
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    return jpeg ? JpegComplete(d, bytes.size()) : BmpComplete(d, bytes.size());
}

bool LoadPictureFromSession(Session &s, GraphPicture &p, Prompter &prompter)
{
    bool ok = true;
    p.canvas.SetBackground(DisplayRgb(s.BackColor));
    if (!s.ImagePath.isEmpty() && p.canvas.HoldsFile(s.ImagePath)) {
        // Already on the picture: the figures are wiped below, no new decode.
    } else if (!s.ImagePath.isEmpty()) {
        QString why;
        bool incomplete = false;
        if (!p.canvas.LoadImage(s.ImagePath, &why, &incomplete)) {
            ok = false;
            prompter.MsgBox(QStringLiteral("The target image could not be loaded:") +
                                QLatin1Char('\r') + s.ImagePath + QLatin1Char('\r') + why,
                            QStringLiteral("Target Image"), Buttons::Ok, Icon::Exclamation);
        } else if (incomplete) {
            // What decoded stays on the picture, under the shots; the user is told.
            ok = false;
            prompter.MsgBox(QStringLiteral("The target image is damaged or incomplete: ") +
                                s.ImagePath,
                            QStringLiteral("Target Image"), Buttons::Ok, Icon::Exclamation);
        }
    } else {
        p.canvas.ClearImage();
    }
    ResetPicture(s, p);
    RedrawTarget(s, p);
    return ok;
}
