#pragma once
// The statistics window: keeps the report as a display list and paints it;
// every paint renders the report again from the session. It scrolls when it
// is smaller than the report.
#include "stats/report.h"

#include <QScrollArea>

class frmTextOutput : public QScrollArea {
    Q_OBJECT
public:
    explicit frmTextOutput(Session &session, QWidget *parent = nullptr);
    ~frmTextOutput() override;
    RecordingSurface &Surface() { return surface; }
    // The report's size on the window, in pixels.
    QSize ReportSize() const;

private:
    class Page;
    void PaintPage(QWidget *page);
    void FitPage();
    Session &s;
    RecordingSurface surface;
    QWidget *page;
    bool painting = false;
};
