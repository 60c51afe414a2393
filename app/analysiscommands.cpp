// The application's side of the group analysis window.
#include "analysis/frmgroupanalysis.h"
#include "app/peltrixapp.h"

frmGroupAnalysis *PeltrixApp::GroupAnalysisWindow()
{
    if (!groupAnalysis) {
        groupAnalysis = new frmGroupAnalysis(*this);
        // Top-level and without a parent, so the application deletes it.
        frmGroupAnalysis *w = groupAnalysis;
        connect(this, &QObject::destroyed, w, [w] { delete w; });
    }
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
