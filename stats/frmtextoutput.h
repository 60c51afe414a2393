#pragma once
// The statistics window: keeps the report as a display list and paints it;
// every paint renders the report again from the session.
#include "stats/report.h"

#include <QWidget>

class frmTextOutput : public QWidget {
    Q_OBJECT
public:
    explicit frmTextOutput(Session &session, QWidget *parent = nullptr);
    ~frmTextOutput() override;
    RecordingSurface &Surface() { return surface; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    Session &s;
    RecordingSurface surface;
    bool painting = false;
    bool placed = false;
};
