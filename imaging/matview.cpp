#include "imaging/matview.h"

#include <QImage>

cv::Mat MatOver(QImage &image)
{
    return cv::Mat(image.height(), image.width(), CV_8UC4, image.bits(),
                   size_t(image.bytesPerLine()));
}

cv::Mat MatOver(const QImage &image)
{
    return cv::Mat(image.height(), image.width(), CV_8UC4, const_cast<uchar *>(image.constBits()),
                   size_t(image.bytesPerLine()));
}
