#pragma once
// The marks and shots drawn over the card: each mark numbered, each group's
// shots in the group's colour, rejected proposals hollow and grey. One
// drawing for the window, the marked-card image and the printed page.
#include "sheet/targetsheet.h"

#include <QColor>
#include <QImage>

class QPainter;

QColor GroupColor(int group);
// Draws in image pixels (the painter already scaled to the card); `zoom` is
// how many device pixels an image pixel covers, so lines and figures keep a
// readable size. The selected group is drawn bold, the others faded.
void DrawSheetOverlay(QPainter &p, const TargetSheet &sheet, double zoom, int selectedGroup = -1,
                      int selectedShot = -1);
// The card with the overlay, at most `longSide` pixels on its long side.
QImage MarkedCard(const QImage &card, const TargetSheet &sheet, int longSide = 2400);
