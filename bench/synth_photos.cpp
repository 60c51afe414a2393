// Writes seeded synthetic scans in the layout of the labelled photos
// (images/NAME.jpg, labels/NAME.txt with one hole box per line), so that
// the hole model can learn clean flatbed scans beside the phone photos.
//
//   synth_photos OUT_DIR COUNT [CARDS]
#include "cardgen.h"
#include "synthtarget.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: synth_photos OUT_DIR COUNT\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("images"));
    out.mkpath(QStringLiteral("labels"));
    const int count = std::atoi(argv[2]);
    const int cards = argc > 3 ? std::atoi(argv[3]) : 0;
    for (int k = 0; k < count + cards; ++k) {
        SynthTarget t;
        if (k < count) {
            SynthOptions o = SynthVariant(quint32(5000 + k));
            o.jpegQuality = 0;
            t = MakeSynthTarget(o);
        } else {
            // Clean multi-bull cards, as a flatbed scan gives them.
            CardOptions o;
            o.seed = quint32(7000 + k);
            o.marks = CardOptions::Marks(k % 4);
            o.colour = k % 3 == 0;
            o.cells = k % 5 == 0;
            o.caliber = k % 2 ? 0.308 : 0.224;
            o.columns = 2 + k % 3;
            o.rows = 3 + k % 2;
            const Card c = MakeCard(o);
            t.image = c.image;
            t.shots = c.shots;
            t.diameterPixels = c.bulletPixels;
        }
        const QString name = QStringLiteral("synth_%1").arg(k, 4, 10, QLatin1Char('0'));
        t.image.save(out.filePath(QStringLiteral("images/") + name + QStringLiteral(".jpg")),
                     "JPEG", 80 + k % 15);
        QFile labels(out.filePath(QStringLiteral("labels/") + name + QStringLiteral(".txt")));
        if (!labels.open(QIODevice::WriteOnly)) return 1;
        const double w = t.image.width(), h = t.image.height(), d = t.diameterPixels;
        for (const QPointF &s : t.shots)
            labels.write(QStringLiteral("0 %1 %2 %3 %4\n")
                             .arg(s.x() / w, 0, 'f', 6)
                             .arg(s.y() / h, 0, 'f', 6)
                             .arg(d / w, 0, 'f', 6)
                             .arg(d / h, 0, 'f', 6)
                             .toLatin1());
    }
    return 0;
}
