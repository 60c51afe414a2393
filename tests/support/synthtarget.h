#pragma once
// Scanned targets made from a seed, with the true centre of every shot:
// printed rings, a black bull, figures, grid and coloured marks; ragged holes
// with torn fibres, a grease ring and the backing showing through; touching
// pairs; scanner noise, blur, uneven light, slight rotation and JPEG.
#include "detect/holedetector.h"

#include <QImage>
#include <QPointF>
#include <vector>

struct SynthOptions {
    quint32 seed = 1;
    int dpi = 300;
    double caliber = 0.224; // inches
    int singles = 10;
    int pairs = 2;         // touching or overlapping pairs
    double sizeInches = 4; // the scanned square
    int jpegQuality = 85;  // 0: no JPEG
    bool darkBacking = true;
    double rotationDegrees = 0;
    double noise = 3; // grey levels
    double blurPixels = 0.6;
    double unevenLight = 0.15;
};

struct SynthTarget {
    QImage image;
    double diameterPixels = 0;
    std::vector<QPointF> shots;
    std::vector<std::pair<int, int>> pairs; // indexes into shots
};

// Options varied over dpi, caliber, backing, JPEG quality and the rest.
SynthOptions SynthVariant(quint32 seed);
SynthTarget MakeSynthTarget(const SynthOptions &o);
// Ragged holes of that radius at the centres, drawn as the scans above have
// them (dark backing showing through, bullet wipe, torn fibres).
void DrawSynthHoles(QImage &img, const std::vector<QPointF> &centres, double radius, quint32 seed);

struct HoleScore {
    int shots = 0, found = 0, matched = 0, pairs = 0, pairsSplit = 0;
    std::vector<double> errors; // centre errors of the matched shots, in diameters
    void Add(const SynthTarget &t, const std::vector<FoundHole> &holes);
    double Recall() const { return shots ? double(matched) / shots : 1; }
    double Precision() const { return found ? double(matched) / found : 1; }
    double MedianError() const;
};
