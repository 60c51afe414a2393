#pragma once
// The trend drawn without widgets, for the command line and the trend window
// alike: σ with its interval bars, mean radius and centre offset against the
// date.
#include "logbook/logbookstats.h"

#include <QImage>

class QPainter;

void DrawTrend(QPainter &p, const QSizeF &size, const Trend &t);
// Written whole or not at all; false with the reason.
bool SaveTrendPng(const QString &path, const Trend &t, QString *errorText = nullptr,
                  QSize size = QSize(1000, 600));
// A landscape Letter page, the trend drawn as at 1000 pixels across.
bool SaveTrendPdf(const QString &path, const Trend &t, const QString &title,
                  QString *errorText = nullptr);
