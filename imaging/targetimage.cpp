#include "imaging/targetimage.h"

#include "platform/localfile.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <cmath>
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

// Resolution fields of a JPEG's JFIF and EXIF headers, in dots per inch
// (0 where a header is missing or gives none). Every read is bounds-checked:
// the headers come from any file at all.
struct JpegDensity {
    double jfif = 0, exif = 0;
};

double ExifDpi(const uchar *t, qint64 n)
{
    if (n < 8) return 0;
    const bool le = t[0] == 'I' && t[1] == 'I';
    if (!le && !(t[0] == 'M' && t[1] == 'M')) return 0;
    auto u16 = [&](qint64 at) -> quint32 {
        return at + 2 > n ? 0 : le ? t[at] | t[at + 1] << 8 : t[at] << 8 | t[at + 1];
    };
    auto u32 = [&](qint64 at) -> quint32 {
        return at + 4 > n ? 0 : le ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    const qint64 ifd = u32(4);
    if (ifd < 8 || ifd + 2 > n) return 0;
    const quint32 count = u16(ifd);
    double resolution = 0;
    int unit = 2; // inches, the EXIF default
    for (quint32 k = 0; k < count && ifd + 2 + 12 * (k + 1) <= n; ++k) {
        const qint64 e = ifd + 2 + 12 * k;
        const quint32 tag = u16(e), type = u16(e + 2);
        if (tag == 0x011A && type == 5) {
            const qint64 at = u32(e + 8);
            const quint32 num = u32(at), den = u32(at + 4);
            if (at + 8 <= n && den != 0) resolution = double(num) / den;
        } else if (tag == 0x0128 && type == 3) {
            unit = int(u16(e + 8));
        }
    }
    if (unit == 3) return resolution * 2.54;
    return unit == 2 ? resolution : 0;
}

JpegDensity ReadJpegDensity(const uchar *d, qint64 n)
{
    JpegDensity out;
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8) return out;
    qint64 i = 2;
    while (i + 4 <= n && d[i] == 0xFF) {
        const uchar marker = d[i + 1];
        const qint64 length = qint64(d[i + 2]) << 8 | d[i + 3];
        if (marker == 0xDA || marker == 0xD9 || length < 2 || i + 2 + length > n) break;
        const uchar *p = d + i + 4;
        const qint64 size = length - 2;
        if (marker == 0xE0 && size >= 12 && std::memcmp(p, "JFIF", 5) == 0) {
            const double x = p[8] << 8 | p[9];
            out.jfif = p[7] == 1 ? x : p[7] == 2 ? x * 2.54 : 0;
        } else if (marker == 0xE1 && size >= 14 && std::memcmp(p, "Exif\0\0", 6) == 0) {
            out.exif = ExifDpi(p + 6, size - 6);
        }
        i += 2 + length;
    }
    return out;
}

bool Usable(double dpi) { return std::isfinite(dpi) && dpi >= 99.5 && dpi <= 20000; }

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
    constexpr qint64 limitBytes = qint64(ImageAllocationLimitMB) * 1024 * 1024;
    if (!size.isValid() || qint64(size.width()) * size.height() * 4 <= limitBytes) return {};
    return QStringLiteral("The image is %1 x %2 pixels; Peltrix opens images of up to %3 million "
                          "pixels (%4 MB).")
        .arg(size.width())
        .arg(size.height())
        .arg(limitBytes / 4 / 1000000)
        .arg(ImageAllocationLimitMB);
}

bool ImageFileComplete(const QString &path, const QByteArray &format)
{
    const bool jpeg = format == "jpeg" || format == "jpg", bmp = format == "bmp";
    if (!jpeg && !bmp) return true;
    QFile file;
    if (!OpenRegularFile(file, path, nullptr)) return true;
    const qint64 n = file.size();
    if (const uchar *d = n > 0 ? file.map(0, n) : nullptr)
        return jpeg ? JpegComplete(d, n) : BmpComplete(d, n);
    file.close();
    // No file larger than what a decode may take is read.
    const auto read = ReadRegularFile(path, qint64(ImageAllocationLimitMB) << 20, nullptr);
    if (!read) return true;
    const QByteArray &bytes = *read;
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    return jpeg ? JpegComplete(d, bytes.size()) : BmpComplete(d, bytes.size());
}

QSize UprightSize(QImageReader &reader)
{
    const QSize size = reader.size();
    return reader.transformation() & QImageIOHandler::TransformationRotate90 ? size.transposed()
                                                                             : size;
}

QSize UprightReaderSize(const QString &path)
{
    QFile file;
    QImageReader reader;
    if (!OpenImageFile(path, file, reader, nullptr)) return {};
    reader.setAutoTransform(true);
    return UprightSize(reader);
}

bool OpenImageFile(const QString &path, QFile &file, QImageReader &reader, QString *why)
{
    if (!OpenRegularFile(file, path, why)) return false;
    // The format from the content: the file has no name the reader could look at.
    reader.setDevice(&file);
    return true;
}

std::optional<double> FileDpi(const QString &path, const QImage &decoded)
{
    double dpi = decoded.dotsPerMeterX() * 0.0254;
    QFile file;
    if (OpenRegularFile(file, path, nullptr)) {
        // The headers lie within the first segments; 256 KB holds any EXIF.
        const QByteArray head = file.read(256 * 1024);
        const auto *d = reinterpret_cast<const uchar *>(head.constData());
        if (head.size() >= 2 && d[0] == 0xFF && d[1] == 0xD8) {
            const JpegDensity j = ReadJpegDensity(d, head.size());
            const bool placeholder =
                j.jfif == 0 || std::abs(j.jfif - 72) < 0.5 || std::abs(j.jfif - 96) < 0.5;
            dpi = placeholder && Usable(j.exif) ? j.exif : j.jfif;
        }
    }
    if (!Usable(dpi)) return std::nullopt;
    return std::round(dpi * 10) / 10;
}

void RaiseAllocationLimit()
{
    if (QImageReader::allocationLimit() < ImageAllocationLimitMB)
        QImageReader::setAllocationLimit(ImageAllocationLimitMB);
}
