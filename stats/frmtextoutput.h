#pragma once
// The statistics window: keeps the report as a display list and paints it;
// it renders the report again from the session at every change of the group
// and every paint. It scrolls when it
// is smaller than the report.
#include "stats/report.h"

class GroupDocument;

#include <QScrollArea>

class frmTextOutput : public QScrollArea {
    Q_OBJECT
public:
    explicit frmTextOutput(GroupDocument &document, QWidget *parent = nullptr);
    RecordingSurface &Surface() { return surface; }
    // The report's size on the window, in pixels.
    QSize ReportSize() const;

private:
    class Page;
    void PaintPage(QWidget *page);
    void FitPage();
    const Session &s;
    RecordingSurface surface;
    QWidget *page;
    bool painting = false;
};
