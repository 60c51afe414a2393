#include "sheet/sheetcanvas.h"

#include "sheet/loadplot.h"
#include "sheet/sheetdraw.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

SheetCanvas::SheetCanvas(SheetDocument &d, QWidget *parent) : QWidget(parent), doc(d)
{
    setObjectName(QStringLiteral("picSheet"));
    setMinimumSize(300, 300);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    connect(&doc, &SheetDocument::CardChanged, this, qOverload<>(&QWidget::update));
    connect(&doc, &SheetDocument::Changed, this, qOverload<>(&QWidget::update));
}

void SheetCanvas::SetMode(Mode m)
{
    mode = m;
    scalePoints.clear();
    setCursor(m == Mode::Shots ? Qt::ArrowCursor : Qt::CrossCursor);
    update();
}

double SheetCanvas::Zoom() const
{
    const QImage &image = Image();
    if (image.isNull()) return 1;
    return std::min(double(width()) / image.width(), double(height()) / image.height());
}

QPointF SheetCanvas::Origin() const
{
    const double z = Zoom();
    const QImage &image = Image();
    return {(width() - image.width() * z) / 2, (height() - image.height() * z) / 2};
}

QPointF SheetCanvas::ToWidget(QPointF p) const { return Origin() + p * Zoom(); }
QPointF SheetCanvas::ToImage(QPointF w) const { return (w - Origin()) / Zoom(); }

int SheetCanvas::ShotAt(QPointF w) const
{
    const TargetSheet &sheet = Shown();
    const double z = Zoom();
    const double reach = std::max(sheet.BulletDiameter * sheet.PixelsPerUnit / 2 * z, 6.0);
    int best = -1;
    double bestD = reach;
    for (size_t i = 0; i < sheet.Shots.size(); ++i) {
        const QPointF d = ToWidget({sheet.Shots[i].x, sheet.Shots[i].y}) - w;
        const double dist = std::hypot(d.x(), d.y());
        if (dist <= bestD) bestD = dist, best = int(i);
    }
    return best;
}

int SheetCanvas::MarkAt(QPointF w) const
{
    const TargetSheet &sheet = Shown();
    for (size_t i = 0; i < sheet.Marks.size(); ++i) {
        const QPointF d = ToWidget({sheet.Marks[i].x, sheet.Marks[i].y}) - w;
        if (std::hypot(d.x(), d.y()) <= std::max(sheet.Marks[i].size / 2 * Zoom(), 8.0))
            return int(i);
    }
    return -1;
}

void SheetCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QImage &image = Image();
    const TargetSheet &sheet = Shown();
    p.fillRect(rect(), palette().window());
    if (image.isNull()) {
        p.drawText(rect(), Qt::AlignCenter,
                   QStringLiteral("Import a scanned card (File > Import Scan)."));
        return;
    }
    p.translate(Origin());
    const double z = Zoom();
    p.scale(z, z);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QPointF(0, 0), image);
    DrawSheetOverlay(p, sheet, z, SelectedGroup, SelectedShot);
    if (SelectedMark >= 0 && size_t(SelectedMark) < sheet.Marks.size()) {
        const SheetMark &m = sheet.Marks[size_t(SelectedMark)];
        p.setPen(QPen(Qt::black, 3 / z, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(m.x - m.size / 2 - 6 / z, m.y - m.size / 2 - 6 / z, m.size + 12 / z,
                          m.size + 12 / z));
    }
    p.setPen(QPen(Qt::magenta, 2 / z));
    for (const QPointF &s : scalePoints) {
        p.drawLine(s - QPointF(8 / z, 0), s + QPointF(8 / z, 0));
        p.drawLine(s - QPointF(0, 8 / z), s + QPointF(0, 8 / z));
    }
}

void SheetCanvas::mousePressEvent(QMouseEvent *e)
{
    setFocus();
    const QImage &image = Image();
    if (image.isNull()) return;
    const QPointF w = e->position();
    pressAt = w;
    moved = false;
    dragShot = dragMark = -1;
    if (e->button() == Qt::RightButton) {
        if (const int s = ShotAt(w); s >= 0) {
            SelectedShot = s;
            emit SelectionChanged();
            emit ShotMenu(s, e->globalPosition().toPoint());
        }
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    const QPointF at = ToImage(w);
    if (!QRectF(image.rect()).contains(at)) return;
    switch (mode) {
    case Mode::Scale:
        scalePoints.push_back(at);
        if (scalePoints.size() == 2) {
            const QPointF a = scalePoints[0], b = scalePoints[1];
            scalePoints.clear();
            emit ScalePicked(a, b);
        }
        update();
        return;
    case Mode::Marks:
        dragMark = MarkAt(w);
        if (dragMark < 0) {
            SelectedMark = doc.AddMark(at);
        } else {
            SelectedMark = dragMark;
        }
        SelectedShot = -1;
        emit SelectionChanged();
        update();
        return;
    case Mode::Shots:
        dragShot = ShotAt(w);
        if (dragShot < 0) {
            SelectedShot = doc.AddShot(at);
        } else {
            SelectedShot = dragShot;
        }
        SelectedMark = -1;
        emit SelectionChanged();
        update();
        return;
    }
}

void SheetCanvas::mouseMoveEvent(QMouseEvent *e)
{
    if (dragShot < 0 && dragMark < 0) return;
    if (!moved && (e->position() - pressAt).manhattanLength() < 4) return;
    moved = true;
    if (!dragged) dragged = doc.Sheet();
    TargetSheet &sheet = *dragged;
    const QPointF at = ToImage(e->position());
    if (dragShot >= 0 && size_t(dragShot) < sheet.Shots.size()) {
        sheet.Shots[size_t(dragShot)].x = at.x();
        sheet.Shots[size_t(dragShot)].y = at.y();
    } else if (dragMark >= 0 && size_t(dragMark) < sheet.Marks.size()) {
        sheet.Marks[size_t(dragMark)].x = at.x();
        sheet.Marks[size_t(dragMark)].y = at.y();
    }
    update();
}

void SheetCanvas::mouseReleaseEvent(QMouseEvent *)
{
    const int shot = dragShot, mark = dragMark;
    const std::optional<TargetSheet> drop = std::move(dragged);
    dragged.reset();
    dragShot = dragMark = -1;
    const TargetSheet &sheet = doc.Sheet();
    if (shot >= 0 && size_t(shot) < sheet.Shots.size()) {
        if (drop)
            doc.MoveShot(shot, {drop->Shots[size_t(shot)].x, drop->Shots[size_t(shot)].y});
        else if (sheet.Shots[size_t(shot)].source == ShotSource::Found)
            // A click on a proposal takes it or drops it, as in Find.
            doc.SetAccepted(shot, !sheet.Shots[size_t(shot)].accepted);
    } else if (mark >= 0 && size_t(mark) < sheet.Marks.size() && drop) {
        doc.MoveMark(mark, {drop->Marks[size_t(mark)].x, drop->Marks[size_t(mark)].y});
    }
    update();
}

void SheetCanvas::keyPressEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Delete && e->key() != Qt::Key_Backspace) {
        QWidget::keyPressEvent(e);
        return;
    }
    const TargetSheet &sheet = doc.Sheet();
    if (mode == Mode::Marks && SelectedMark >= 0 && size_t(SelectedMark) < sheet.Marks.size()) {
        const int mark = SelectedMark;
        SelectedMark = -1;
        doc.DeleteMark(mark);
    } else if (SelectedShot >= 0 && size_t(SelectedShot) < sheet.Shots.size()) {
        const int shot = SelectedShot;
        SelectedShot = -1;
        doc.DeleteShot(shot);
    } else {
        return;
    }
    emit SelectionChanged();
    update();
}

LoadChartView::LoadChartView(const SheetDocument &doc, QWidget *parent) : QWidget(parent), doc(doc)
{
    connect(&doc, &SheetDocument::Changed, this, qOverload<>(&QWidget::update));
}

void LoadChartView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawLoadChart(p, QRectF(rect()), doc.Sheet(), doc.Figures());
}
