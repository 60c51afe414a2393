#include "photolabels.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <numeric>

double LabelledPhoto::HoleSize() const
{
    std::vector<double> sizes;
    for (const QRectF &r : holes) sizes.push_back((r.width() + r.height()) / 2);
    if (sizes.empty()) return 23;
    std::sort(sizes.begin(), sizes.end());
    const size_t n = sizes.size();
    return n % 2 ? sizes[n / 2] : (sizes[n / 2 - 1] + sizes[n / 2]) / 2;
}

bool ReadLabelledPhoto(const QString &folder, const QString &name, LabelledPhoto *photo)
{
    const QDir dir(folder);
    photo->imagePath = dir.filePath(QStringLiteral("images/") + name);
    QImageReader reader(photo->imagePath);
    const QSize size = reader.size();
    if (!size.isValid()) return false;
    QFile labels(dir.filePath(QStringLiteral("labels/") + QFileInfo(name).completeBaseName() +
                              QStringLiteral(".txt")));
    photo->holes.clear();
    photo->blacks.clear();
    photo->face = {};
    if (!labels.open(QIODevice::ReadOnly)) return true; // a photo without holes
    for (const QByteArray &line : labels.readAll().split('\n')) {
        const QList<QByteArray> v = line.simplified().split(' ');
        if (v.size() != 5) continue;
        const int kind = v[0].toInt();
        const double w = v[3].toDouble() * size.width(), h = v[4].toDouble() * size.height();
        const QRectF box(v[1].toDouble() * size.width() - w / 2,
                         v[2].toDouble() * size.height() - h / 2, w, h);
        if (kind <= 10)
            photo->holes.push_back(box);
        else if (kind == 11)
            photo->face = box;
        else if (kind == 12)
            photo->blacks.push_back(box);
    }
    return true;
}

QString SplitPart(const QString &name)
{
    QString stem = QFileInfo(name).completeBaseName();
    stem.remove(QRegularExpression(QStringLiteral("_v\\d+$")));
    const QByteArray hex = QCryptographicHash::hash(stem.toUtf8(), QCryptographicHash::Md5).toHex();
    int r = 0; // the 128-bit number modulo 10, digit by digit
    for (char c : hex) r = (r * 16 + QByteArray(1, c).toInt(nullptr, 16)) % 10;
    return r < 2    ? QStringLiteral("eval")
           : r == 2 ? QStringLiteral("val")
                    : QStringLiteral("train");
}

QStringList PhotosOfPart(const QString &folder, const QString &part)
{
    QStringList names;
    const auto all = QDir(QDir(folder).filePath(QStringLiteral("images")))
                         .entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    for (const QString &n : all)
        if (SplitPart(n) == part) names << n;
    return names;
}

bool InBlack(const LabelledPhoto &photo, QPointF p)
{
    return std::any_of(photo.blacks.begin(), photo.blacks.end(), [&](const QRectF &b) {
        const double dx = (p.x() - b.center().x()) / (b.width() / 2);
        const double dy = (p.y() - b.center().y()) / (b.height() / 2);
        return dx * dx + dy * dy <= 1;
    });
}

void PhotoScore::Add(const LabelledPhoto &photo, const std::vector<FoundHole> &holes,
                     const std::function<bool(const LabelledPhoto &, QPointF)> &keep)
{
    std::vector<const FoundHole *> order;
    for (const FoundHole &h : holes) order.push_back(&h);
    std::stable_sort(order.begin(), order.end(), [](const FoundHole *a, const FoundHole *b) {
        return a->confidence > b->confidence;
    });
    std::vector<int> finder(photo.holes.size(), -1);
    std::vector<bool> used(photo.holes.size(), false);
    for (size_t k = 0; k < order.size(); ++k) {
        const QPointF p(order[k]->x, order[k]->y);
        int best = -1;
        double bestDistance = 1e300;
        for (size_t i = 0; i < photo.holes.size(); ++i) {
            const QRectF &b = photo.holes[i];
            if (used[i] || std::abs(p.x() - b.center().x()) > b.width() / 2 ||
                std::abs(p.y() - b.center().y()) > b.height() / 2)
                continue;
            const QPointF d = p - b.center();
            if (std::hypot(d.x(), d.y()) < bestDistance) {
                best = int(i);
                bestDistance = std::hypot(d.x(), d.y());
            }
        }
        if (best >= 0) {
            used[size_t(best)] = true;
            finder[size_t(best)] = int(k);
        }
        if (keep && !keep(photo, p)) continue;
        const bool sureOne = order[k]->confidence >= SureConfidence;
        ++proposals;
        sure += sureOne;
        right += best >= 0;
        sureRight += sureOne && best >= 0;
    }
    for (size_t i = 0; i < photo.holes.size(); ++i) {
        const QRectF &b = photo.holes[i];
        if (keep && !keep(photo, b.center())) continue;
        ++boxes;
        if (finder[i] >= 0) {
            ++found;
            const FoundHole &h = *order[size_t(finder[i])];
            errors.push_back(std::hypot(h.x - b.center().x(), h.y - b.center().y()) /
                             ((b.width() + b.height()) / 2));
        }
    }
    for (size_t i = 0; i < photo.holes.size(); ++i)
        for (size_t j = i + 1; j < photo.holes.size(); ++j) {
            const QRectF &a = photo.holes[i], &b = photo.holes[j];
            const QPointF d = a.center() - b.center();
            if (std::hypot(d.x(), d.y()) > (a.width() + a.height() + b.width() + b.height()) / 4)
                continue;
            if (keep && !keep(photo, a.center())) continue;
            ++pairs;
            pairsSplit += finder[i] >= 0 && finder[j] >= 0;
        }
}

double PhotoScore::MedianError() const
{
    if (errors.empty()) return 0;
    std::vector<double> e = errors;
    std::nth_element(e.begin(), e.begin() + long(e.size() / 2), e.end());
    return e[e.size() / 2];
}
