#include "graph/cornerpicker.h"

#include <QEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

namespace {
const char *const CornerNames[4] = {"top-left", "top-right", "bottom-right", "bottom-left"};
const QColor Ink(255, 0, 160);
} // namespace

CornerPicker::CornerPicker(QMainWindow *window, QWidget *pic, Convert image, Convert widget)
    : QWidget(pic), picture(pic), toImage(std::move(image)), toWidget(std::move(widget))
{
    setObjectName(QStringLiteral("CornerPicker"));
    // Drawn over the picture; the clicks reach the picture, and are taken there.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(pic->rect());
    pic->installEventFilter(this);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &CornerPicker::Cancel);
    connect(escape, &QShortcut::activatedAmbiguously, this, &CornerPicker::Cancel);
    cancelButton = new QPushButton(QStringLiteral("Cancel"));
    cancelButton->setObjectName(QStringLiteral("cmdCancelStraighten"));
    window->statusBar()->addPermanentWidget(cancelButton);
    connect(cancelButton, &QPushButton::clicked, this, &CornerPicker::Cancel);
    show();
    raise();
}

CornerPicker::~CornerPicker() { delete cancelButton.data(); }

QString CornerPicker::Prompt() const
{
    const size_t n = std::min<size_t>(points.size(), 3);
    return QStringLiteral("Straighten: click corner %1 of 4 (%2) of a rectangle of known size — "
                          "Esc cancels")
        .arg(n + 1)
        .arg(QLatin1String(CornerNames[n]));
}

void CornerPicker::Cancel()
{
    if (done) return;
    Finish();
    emit Cancelled();
}

void CornerPicker::Finish()
{
    done = true;
    picture->removeEventFilter(this);
    hide();
    if (cancelButton) cancelButton->hide();
    deleteLater();
}

bool CornerPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != picture || done) return false;
    switch (event->type()) {
    case QEvent::Resize:
        setGeometry(picture->rect());
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto *e = static_cast<QMouseEvent *>(event);
        // The middle button still drags the picture.
        if (e->button() == Qt::MiddleButton) return false;
        if (event->type() != QEvent::MouseButtonPress || e->button() != Qt::LeftButton) return true;
        points.push_back(toImage(e->position()));
        // Only around the points: a large picture is not painted again whole.
        QPolygonF at;
        for (const QPointF &q : points) at << toWidget(q);
        update(at.boundingRect().adjusted(-24, -24, 24, 24).toAlignedRect());
        if (points.size() < 4) {
            emit Step(Prompt());
            return true;
        }
        const std::array<QPointF, 4> corners{points[0], points[1], points[2], points[3]};
        Finish();
        emit Picked(corners);
        return true;
    }
    default:
        return false;
    }
}

void CornerPicker::paintEvent(QPaintEvent *)
{
    if (points.empty()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    std::vector<QPointF> at;
    for (const QPointF &q : points) at.push_back(toWidget(q));
    p.setPen(QPen(Ink, 2));
    for (size_t i = 1; i < at.size(); ++i) p.drawLine(at[i - 1], at[i]);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    for (size_t i = 0; i < at.size(); ++i) {
        p.setPen(QPen(Ink, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at[i], 6, 6);
        const QPointF label = at[i] + QPointF(8, -8);
        p.setPen(QPen(Qt::white, 3));
        p.drawText(label, QString::number(i + 1));
        p.setPen(Ink.darker(140));
        p.drawText(label, QString::number(i + 1));
    }
}
