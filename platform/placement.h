#pragma once
// Where windows open: beside or below the window they belong to, never over
// its title and menu bar, always inside the screen; on a screen too small
// for that, cascaded.
#include <QRect>

class QWidget;

// The available area of the screen `w` is on (or the primary screen).
QRect AvailableArea(const QWidget *w);

// The window's outer rectangle at `topLeft` (frame included): its own frame
// once it has been shown, otherwise the frame `like` has, so a window can be
// placed before the window manager has framed it.
QRect OuterRect(const QWidget *w, const QWidget *like, QPoint topLeft);

// Moves `w` (frame included) so that all of it lies inside `area`, shrinking
// it first when it is larger; `like` lends its frame while `w` has none yet.
void KeepInside(QWidget *w, const QRect &area, const QWidget *like = nullptr);

// Right of `anchor` when the screen has room, else below it; else, over a
// large anchor, at its top-right corner below its menu bar, and over a small
// one cascaded: the anchor's title and menu bar stay visible.
void PlaceBeside(QWidget *w, const QWidget *anchor);
// Below `anchor` when there is room, else cascaded over it.
void PlaceBelow(QWidget *w, const QWidget *anchor);
// Inside `anchor`'s client area at its top-left corner, below its menu bar.
void PlaceInsideTopLeft(QWidget *w, const QWidget *anchor);
