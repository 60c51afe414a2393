#pragma once
// Load-development cards made from a seed: a header, several printed bulls
// (rings, discs or diamonds, black or colour, a figure beside each, cells
// around them when asked) and each bull's group shot well below it, closer
// to the next bull down than to its own, with the true centre and group of
// every shot.
#include <QImage>
#include <QPointF>
#include <vector>

struct CardOptions {
    enum Marks { Ringed, Solid, Diamond, Mixed };
    quint32 seed = 1;
    int dpi = 200;
    int columns = 2, rows = 3;
    Marks marks = Mixed;
    bool colour = false;
    bool cells = false;
    double drop = 0.6; // the groups' offset below their bulls, in row pitches
    int shotsPerGroup = 3;
    double caliber = 0.308; // inches
    double spread = 0.25;   // σ of each group in x and y, inches
};

struct Card {
    QImage image;
    double bulletPixels = 0;
    std::vector<QPointF> marks; // reading order
    std::vector<QPointF> shots;
    std::vector<int> groups; // the mark each shot was aimed at
};

Card MakeCard(const CardOptions &o);
