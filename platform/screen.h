#pragma once
// Screen geometry in twips (15 per logical pixel), as windows are placed.
#include <QtGlobal>

constexpr int TwipsPerPixel = 15;
qint32 ScreenWidthTwips();
qint32 ScreenHeightTwips();
inline int TwipsToPixels(double twips) { return int(twips / TwipsPerPixel + 0.5); }

#include <QRect>
// A control's geometry given in twips, as forms lay out their controls.
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}
