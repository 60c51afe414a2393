#pragma once
// Target images made in the tests: noise, so every toggled pixel shows.
#include <QImage>
#include <QRandomGenerator>

inline QImage NoiseImage(int w, int h, quint32 seed = 7)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator gen(seed);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) line[x] = 0xFF000000u | (gen.generate() & 0xFFFFFFu);
    }
    return img;
}

// A flat image with a few blobs, as a scanned target looks.
inline QImage TargetImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(250, 248, 240));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2, dy = y - h / 2;
            const int r2 = dx * dx + dy * dy;
            if (r2 < (w / 4) * (w / 4)) img.setPixel(x, y, qRgb(20, 20, 20));
        }
    return img;
}
