#pragma once
// The trend drawn without widgets, for the command line: σ with its interval
// bars, mean radius and centre offset against the date.
#include "logbook/logbookstats.h"

#include <QImage>

class QPainter;

void DrawTrend(QPainter &p, const QSizeF &size, const Trend &t);
// Written whole or not at all; false with the reason.
bool SaveTrendPng(const QString &path, const Trend &t, QString *errorText = nullptr,
                  QSize size = QSize(1000, 600));
