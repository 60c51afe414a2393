// Hole finding judged on labelled real photos: recall, precision, the share
// of sure proposals that are holes and the centre error, on the evaluation
// part of the folder's fixed split, per condition (in the white, in the
// black, touching holes, elongated faces), with the scale a user's
// calibration gives (the median hole size) and that scale 30 % off either
// way.
//
//   eval_photos PHOTOS_DIR [PART]
#include "detect/scanreader.h"
#include "photolabels.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>

namespace {
// Whether the hole of box `i` touches another labelled hole.
bool Touching(const LabelledPhoto &photo, int i)
{
    const QRectF &a = photo.holes[size_t(i)];
    for (size_t j = 0; j < photo.holes.size(); ++j) {
        if (int(j) == i) continue;
        const QRectF &b = photo.holes[j];
        const double reach = (a.width() + a.height() + b.width() + b.height()) / 4;
        const QPointF d = a.center() - b.center();
        if (std::hypot(d.x(), d.y()) <= reach) return true;
    }
    return false;
}

// A face whose box is this far from square: seen at an angle (or stretched
// when the photo was resized to a square).
bool Elongated(const LabelledPhoto &p)
{
    return !p.face.isEmpty() && std::abs(std::log(p.face.width() / p.face.height())) > 0.15;
}

struct Condition {
    const char *name;
    std::function<bool(const LabelledPhoto &, QPointF)> keep;
    PhotoScore score;
};

void Print(const char *what, const PhotoScore &s)
{
    std::printf("  %-12s holes %5d  recall %.3f  precision %.3f  sure %4d of which holes %.3f  "
                "median centre error %.3f D",
                what, s.boxes, s.Recall(), s.Precision(), s.sure, s.SurePrecision(),
                s.MedianError());
    if (s.pairs) std::printf("  touching pairs split %d of %d", s.pairsSplit, s.pairs);
    std::printf("\n");
}
} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: eval_photos PHOTOS_DIR [PART]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString part = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("eval");
    const QStringList names = PhotosOfPart(folder, part);
    std::printf("%lld photos in the %s part\n", qlonglong(names.size()), qPrintable(part));
    for (double error : {1.0, 0.7, 1.3}) {
        std::vector<Condition> conditions = {
            {"all", {}, {}},
            {"in white", [](const LabelledPhoto &p, QPointF q) { return !InBlack(p, q); }, {}},
            {"in black", [](const LabelledPhoto &p, QPointF q) { return InBlack(p, q); }, {}},
            {"elongated", [](const LabelledPhoto &p, QPointF) { return Elongated(p); }, {}},
        };
        PhotoScore touching;
        double seconds = 0;
        for (const QString &name : names) {
            LabelledPhoto photo;
            if (!ReadLabelledPhoto(folder, name, &photo)) continue;
            HoleRequest r;
            r.bulletDiameter = 1;
            r.pixelsPerUnit = photo.HoleSize() * error;
            QString why;
            QElapsedTimer clock;
            clock.start();
            const auto report = FindHolesInFile(photo.imagePath, r, &why);
            seconds += clock.nsecsElapsed() / 1e9;
            if (!report) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(why));
                continue;
            }
            for (Condition &c : conditions) c.score.Add(photo, report->holes, c.keep);
            // Touching holes: the boxes of holes that touch another.
            LabelledPhoto only = photo;
            only.holes.clear();
            for (int i = 0; i < int(photo.holes.size()); ++i)
                if (Touching(photo, i)) only.holes.push_back(photo.holes[size_t(i)]);
            PhotoScore t;
            t.Add(only, report->holes);
            touching.boxes += t.boxes;
            touching.found += t.found;
            touching.pairs += t.pairs;
            touching.pairsSplit += t.pairsSplit;
            touching.errors.insert(touching.errors.end(), t.errors.begin(), t.errors.end());
        }
        std::printf("scale %.0f %% of the median hole size (%.2f s a photo)\n", error * 100,
                    names.isEmpty() ? 0 : seconds / names.size());
        for (const Condition &c : conditions) Print(c.name, c.score);
        std::printf("  %-12s holes %5d  recall %.3f  median centre error %.3f D  pairs split %d "
                    "of %d\n",
                    "touching", touching.boxes, touching.Recall(), touching.MedianError(),
                    touching.pairsSplit, touching.pairs);
    }
    return 0;
}
