#include "sheet/sheetdraw.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <array>

QColor GroupColor(int group)
{
    static const std::array<QColor, 8> colors{
        QColor(220, 30, 30),  QColor(20, 110, 230), QColor(0, 150, 70),   QColor(200, 110, 0),
        QColor(150, 40, 190), QColor(0, 150, 160),  QColor(200, 30, 140), QColor(110, 110, 20)};
    if (group < 0) return QColor(110, 110, 110);
    return colors[size_t(group) % colors.size()];
}

void DrawSheetOverlay(QPainter &p, const TargetSheet &sheet, double zoom, int selectedGroup,
                      int selectedShot)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double px = 1.0 / std::max(zoom, 1e-6); // one device pixel in image pixels
    QFont font = p.font();
    font.setPixelSize(std::max(1, int(14 * px)));
    font.setBold(true);
    p.setFont(font);
    const double bullet = std::max(sheet.BulletDiameter * sheet.PixelsPerUnit, 10 * px);
    for (size_t m = 0; m < sheet.Marks.size(); ++m) {
        const SheetMark &mark = sheet.Marks[m];
        const bool faded = selectedGroup >= 0 && int(m) != selectedGroup;
        QColor c = GroupColor(int(m));
        if (faded) c.setAlpha(90);
        p.setPen(QPen(c, (int(m) == selectedGroup ? 3 : 2) * px, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        const double r = std::max(mark.size / 2, 8 * px) + 3 * px;
        p.drawEllipse(QPointF(mark.x, mark.y), r, r);
        p.setPen(QPen(c, 1.5 * px));
        p.drawLine(QPointF(mark.x - r * 0.4, mark.y), QPointF(mark.x + r * 0.4, mark.y));
        p.drawLine(QPointF(mark.x, mark.y - r * 0.4), QPointF(mark.x, mark.y + r * 0.4));
        // A group with fewer or more shots than asked says so beside its number.
        const int counted = int(sheet.GroupShotIndexes(int(m)).size());
        const bool off = sheet.ShotsPerGroup > 0 && counted != sheet.ShotsPerGroup;
        const QString number =
            off ? QStringLiteral("%1: %2 of %3").arg(m + 1).arg(counted).arg(sheet.ShotsPerGroup)
                : QString::number(m + 1);
        const double wide = 12 * number.size() + 6;
        const QRectF box(mark.x + r * 0.75, mark.y - r * 0.75 - 20 * px, wide * px, 20 * px);
        p.fillRect(box, off ? QColor(255, 230, 230, faded ? 120 : 235)
                            : QColor(255, 255, 255, faded ? 120 : 220));
        if (off) p.setPen(QPen(QColor(200, 0, 0, faded ? 90 : 255), 1.5 * px));
        p.drawText(box.adjusted(3 * px, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, number);
    }
    for (size_t i = 0; i < sheet.Shots.size(); ++i) {
        const SheetShot &s = sheet.Shots[i];
        QColor c = s.accepted ? GroupColor(s.group) : QColor(120, 120, 120);
        if (selectedGroup >= 0 && s.group != selectedGroup) c.setAlpha(90);
        const double r = bullet / 2;
        p.setPen(QPen(c, (int(i) == selectedShot ? 4 : 2) * px,
                      s.accepted ? Qt::SolidLine : Qt::DotLine));
        p.setBrush(s.accepted ? QColor(c.red(), c.green(), c.blue(), c.alpha() / 4)
                              : QColor(Qt::transparent));
        p.drawEllipse(QPointF(s.x, s.y), r, r);
    }
    p.restore();
}

QImage MarkedCard(const QImage &card, const TargetSheet &sheet, int longSide)
{
    const double f =
        std::min(1.0, double(longSide) / std::max(1, std::max(card.width(), card.height())));
    QImage out(QSize(std::max(1, int(card.width() * f)), std::max(1, int(card.height() * f))),
               QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(f, f);
    if (!card.isNull()) p.drawImage(QPointF(0, 0), card);
    DrawSheetOverlay(p, sheet, f);
    return out;
}
