#pragma once
// The aiming marks printed on a card: filled discs, concentric rings,
// diamonds and crosses, in black or in colour, numbered in reading order
// (rows top to bottom, left to right in a row), with the printed cell around
// each mark where the card has one.
#include "sheet/targetsheet.h"

#include <QImage>

// `bulletPixels` sets the smallest mark: anything under one and a half bullets across
// is a hole, a figure or a letter, not something aimed at.
std::vector<SheetMark> FindAimMarks(const QImage &image, double bulletPixels);

// The marks in reading order.
void SortReadingOrder(std::vector<SheetMark> &marks);
