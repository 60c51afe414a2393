#pragma once
// The group drawn to scale: shots numbered, group center, point of aim, the
// extreme-spread pair joined, mean-radius and CEP circles, bounding box,
// axes and a scale bar in the group's unit. One drawing procedure for the
// window, PNG and PDF.
#include "analysis/groupanalysis.h"

#include <QColor>
#include <QImage>
#include <QRectF>

class QPainter;

struct PlotLayout {
    QSizeF canvas;    // the whole picture, logical pixels (96 per inch)
    QRectF area;      // where the group is drawn; axes run along its left and bottom
    double scale = 1; // pixels per unit of the group
    QPointF aim;      // pixel of the point of aim (0, 0), perhaps outside the area
    bool aimInView = true;
    QPointF ToPixel(double x, double y) const { return {aim.x() + x * scale, aim.y() - y * scale}; }
};

namespace PlotColor {
inline const QColor Shot{0, 0, 0};
inline const QColor Center{0, 90, 200};
inline const QColor Aim{210, 0, 0};
inline const QColor Spread{230, 120, 0};
inline const QColor MeanRadius{0, 150, 60};
inline const QColor CEP{140, 0, 170};
inline const QColor Box{120, 120, 120};
} // namespace PlotColor

// Room around the area for the axis labels and the legend.
constexpr double PlotMarginLeft = 58, PlotMarginRight = 14, PlotMarginTop = 10,
                 PlotMarginBottom = 72;

// Fits the shots and both circles into `canvas` with one scale for X and Y,
// and the point of aim too unless that would shrink the group to less than
// a third of the view: a far point of aim is then shown by an arrow at the
// edge of the area, labelled with the group's offset.
constexpr double AimKeptWithin = 3;
PlotLayout FitPlot(const std::vector<ShotXY> &shots, const GroupAnalysis &a, QSizeF canvas);

// 1, 2 or 5 times a power of ten, the nearest at or above `rough`.
double NiceStep(double rough);

// An interval as charts show it: a vertical line at x from yLow to yHigh with
// a short cap at each end, in the painter's pen.
void DrawIntervalBar(QPainter &p, double x, double yLow, double yHigh);
// A series as charts show it: its points joined by a line, each with a dot.
void DrawPointSeries(QPainter &p, const std::vector<QPointF> &points, const QColor &colour);

// Draws on `p` in logical pixels. Antialiasing is for the eye only; tests
// switch it off to find strokes on exact pixels.
void DrawGroupPlot(QPainter &p, const PlotLayout &layout, const std::vector<ShotXY> &shots,
                   const GroupAnalysis &a, bool antialias = true);

QImage RenderGroupPlot(const std::vector<ShotXY> &shots, const GroupAnalysis &a, QSize size);

// Written whole or not at all; false with a message naming the file and the reason.
bool SavePlotPng(const QString &path, const std::vector<ShotXY> &shots, const GroupAnalysis &a,
                 QString *errorText = nullptr, QSize size = QSize(900, 900));
// One Letter page with a title line above the plot.
bool SavePlotPdf(const QString &path, const std::vector<ShotXY> &shots, const GroupAnalysis &a,
                 const QString &title, QString *errorText = nullptr);
