#pragma once
// The card in the Target Sheet window, fitted to the view, with its marks and
// shots. What a click does depends on the mode: shots are added, taken or
// dropped and dragged; marks are added and dragged; two clicks set the scale.
// Each change goes to the document as one step; a drag is shown on a copy
// and handed over when the button is let go.
#include "sheet/sheetdocument.h"

#include <QImage>
#include <QWidget>

class SheetCanvas : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Shots, Marks, Scale };
    explicit SheetCanvas(SheetDocument &doc, QWidget *parent = nullptr);

    const QImage &Image() const { return doc.Card(); }
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
    // The sheet as shown: the document's, or the copy being dragged on.
    const TargetSheet &Shown() const { return dragged ? *dragged : doc.Sheet(); }
    SheetDocument &doc;
    std::optional<TargetSheet> dragged;
    Mode mode = Mode::Shots;
    std::vector<QPointF> scalePoints;
    // A press on a shot or mark that may become a drag.
    int dragShot = -1, dragMark = -1;
    QPointF pressAt;
    bool moved = false;
};

// The load chart of the document, drawn again whenever its figures change.
class LoadChartView : public QWidget {
public:
    explicit LoadChartView(const SheetDocument &doc, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const SheetDocument &doc;
};
