#pragma once
// The "Group Analysis" window: the figures of the current group with their
// intervals, and the group drawn to scale. Refreshed by the application after
// every change of the group, as the statistics window is.
#include "analysis/groupanalysis.h"

#include <QWidget>

class IPeltrixApp;
class QComboBox;
class QPushButton;
class QTableWidget;

class GroupPlotView : public QWidget {
    Q_OBJECT
public:
    explicit GroupPlotView(QWidget *parent = nullptr);
    void SetGroup(std::vector<ShotXY> shots, GroupAnalysis analysis);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<ShotXY> shots;
    GroupAnalysis analysis;
};

class frmGroupAnalysis : public QWidget {
    Q_OBJECT
public:
    explicit frmGroupAnalysis(IPeltrixApp &app, QWidget *parent = nullptr);

    QTableWidget *grdFigures;
    QComboBox *cboLevel;
    QPushButton *cmdSavePlot;
    GroupPlotView *picPlot;

    // Takes the group from the session again.
    void Refresh();
    double Level() const;
    const GroupAnalysis &Analysis() const { return analysis; }

private slots:
    void cboLevel_Change();
    void cmdSavePlot_Click();

private:
    IPeltrixApp &app;
    GroupAnalysis analysis;
};
