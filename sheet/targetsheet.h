#pragma once
// A target sheet: one scanned card with several aiming marks, one group of
// shots per mark. Positions are image pixels from the top-left corner (x
// right, y down); figures are in the sheet's unit from each group's own mark
// (x right, y up), as the classic windows measure a group from its aim.
#include "analysis/groupanalysis.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

struct SheetMark {
    double x = 0, y = 0;
    double size = 0; // across the mark, in pixels
    QRectF cell;     // the printed cell around the mark; empty when none
    QString label;   // the label of the group aimed at this mark
};

enum class ShotSource { Found, Clicked };

struct SheetShot {
    double x = 0, y = 0;
    int group = -1; // index of the mark the shot was aimed at; -1: none
    ShotSource source = ShotSource::Clicked;
    double confidence = 1;
    bool accepted = true; // a rejected proposal stays on the card, uncounted
};

struct SheetHeader {
    QString Shooter, Date, Firearm, Caliber, Lot, Comments;
};

// The photo a straightened card came from: the corners (its pixels,
// clockwise from the top-left) of a rectangle Width x Height in the unit.
struct SheetOriginal {
    QString ImagePath;
    std::array<QPointF, 4> Corners;
    double Width = 0, Height = 0;
};

struct TargetSheet {
    QString ImagePath;        // absolute while open
    double PixelsPerUnit = 0; // 0: not scaled
    QString UnitName = QStringLiteral("Inches");
    std::optional<double> RangeYards;
    double BulletDiameter = 0; // in the unit
    int ShotsPerGroup = 0;     // what each group should have; 0: not said
    SheetHeader Header;
    std::vector<SheetMark> Marks;
    std::vector<SheetShot> Shots;
    std::optional<SheetOriginal> Original; // straightened from it

    bool Scaled() const { return PixelsPerUnit > 0; }
    // The counted shots of one group, in the unit from its mark (y up).
    std::vector<ShotXY> GroupShots(int group) const;
    // Indexes into Shots of one group's counted shots, in shot order.
    std::vector<int> GroupShotIndexes(int group) const;
    // Drops a mark; its shots lose their group and later groups move up one.
    void RemoveMark(int index);
    // "group 4: 2 of 3 shots" when the group counts other than ShotsPerGroup,
    // else empty.
    QString CountNote(int group) const;
};

struct SheetFigures {
    std::vector<GroupAnalysis> Groups; // one per mark
    std::optional<PooledAnalysis> Pooled;
    QString PooledError; // why there is nothing pooled
};

// Every group's figures and the groups of two or more shots pooled, each
// around its own centre.
SheetFigures AnalyzeSheet(const TargetSheet &sheet, double level = 0.95);

// Pixels per unit from a resolution in dots per inch, for the unit's name;
// nothing when the unit does not convert to inches.
std::optional<double> ScaleFromDpi(double dpi, const QString &unitName);

// The number a group's label starts with or holds ("43.5 gr" → 43.5,
// "seating +0.010" → 0.010); nothing when it holds none.
std::optional<double> LabelNumber(const QString &label);

// One group on the load-development chart: its centre's offset from the aim
// and its σ with the interval, against the number in its label.
struct LoadPoint {
    int Group = 0;
    double Label = 0;
    double Vertical = 0, Horizontal = 0;
    double Sigma = 0, SigmaLow = 0, SigmaHigh = 0;
};
// The groups of two or more shots whose labels are numbers, by label; empty
// unless at least two are.
std::vector<LoadPoint> LoadDevelopment(const TargetSheet &sheet, const SheetFigures &figures);
