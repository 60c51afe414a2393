// The application's side of the group analysis window.
#include "analysis/frmgroupanalysis.h"
#include "app/peltrixapp.h"

frmGroupAnalysis *PeltrixApp::GroupAnalysisWindow()
{
    if (!groupAnalysis) groupAnalysis = new frmGroupAnalysis(*this);
    return groupAnalysis;
}

void PeltrixApp::ShowGroupAnalysis(QWidget *)
{
    frmGroupAnalysis *w = GroupAnalysisWindow();
    w->Refresh();
    w->show();
    w->raise();
}

void PeltrixApp::RefreshGroupAnalysis()
{
    if (groupAnalysis && groupAnalysis->isVisible()) groupAnalysis->Refresh();
}
