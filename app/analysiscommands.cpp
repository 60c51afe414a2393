// The application's side of the group analysis window.
#include "analysis/frmgroupanalysis.h"
#include "app/peltrixapp.h"

frmGroupAnalysis *PeltrixApp::GroupAnalysisWindow()
{
    if (!groupAnalysis) {
        groupAnalysis = new frmGroupAnalysis(*this);
        // Top-level and without a parent, so the application deletes it.
        frmGroupAnalysis *w = groupAnalysis;
        Session &s = session;
        // Every rendering of the report, whoever asks for it, refreshes the window.
        s.GroupRendered = [this] { RefreshGroupAnalysis(); };
        connect(this, &QObject::destroyed, w, [w, &s] {
            s.GroupRendered = nullptr;
            delete w;
        });
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
