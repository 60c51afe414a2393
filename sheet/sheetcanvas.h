#pragma once
// The card in the Target Sheet window, fitted to the view, with its marks and
// shots. What a click does depends on the mode: shots are added, taken or
// dropped and dragged; marks are added and dragged; two clicks set the scale.
#include "sheet/targetsheet.h"

#include <QImage>
#include <QWidget>

class SheetCanvas : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Shots, Marks, Scale };
    explicit SheetCanvas(TargetSheet &sheet, QWidget *parent = nullptr);

    void SetImage(const QImage &image);
    const QImage &Image() const { return image; }
    void SetMode(Mode m);
    Mode CurrentMode() const { return mode; }
    int SelectedGroup = -1, SelectedShot = -1, SelectedMark = -1;

    // Image pixels to widget pixels and back.
    QPointF ToWidget(QPointF image) const;
    QPointF ToImage(QPointF widget) const;
    // The shot or mark under a widget point; -1 when none.
    int ShotAt(QPointF widget) const;
    int MarkAt(QPointF widget) const;

signals:
    // The sheet changed (shots, marks or acceptance); the figures follow.
    void Edited();
    void SelectionChanged();
    // The two points of the scale, in image pixels.
    void ScalePicked(QPointF a, QPointF b);
    // A right click on a shot: the window offers what can be done with it.
    void ShotMenu(int shot, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    double Zoom() const;
    QPointF Origin() const;
    TargetSheet &sheet;
    QImage image;
    Mode mode = Mode::Shots;
    std::vector<QPointF> scalePoints;
    // A press on a shot or mark that may become a drag.
    int dragShot = -1, dragMark = -1;
    QPointF pressAt;
    bool moved = false;
};
