#pragma once
// Four corners of a rectangle clicked on a picture, clockwise from the
// top-left, for Straighten Picture: the points and the outline so far are
// drawn over the picture; Esc or the Cancel button in the status bar ends it
// with nothing picked. While it runs, a left click on the picture places the
// next corner and no other click acts; scrolling and zooming go on as usual.
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QMainWindow;
class QPushButton;

class CornerPicker : public QWidget {
    Q_OBJECT
public:
    // Widget positions of the picture to image pixels, and back.
    using Convert = std::function<QPointF(QPointF)>;
    CornerPicker(QMainWindow *window, QWidget *picture, Convert toImage, Convert toWidget);
    ~CornerPicker() override;

    const std::vector<QPointF> &Points() const { return points; }
    // Not yet picked or cancelled.
    bool Running() const { return !done; }
    // What the next click places.
    QString Prompt() const;

public slots:
    // Ends it with nothing picked.
    void Cancel();

signals:
    // The prompt changed: a corner was placed.
    void Step(const QString &prompt);
    void Picked(const std::array<QPointF, 4> &corners);
    void Cancelled();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Finish();
    QWidget *picture;
    Convert toImage, toWidget;
    std::vector<QPointF> points;
    QPointer<QPushButton> cancelButton;
    bool done = false;
};
