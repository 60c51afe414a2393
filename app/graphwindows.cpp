// The application's side of the graphical entry: its single window.
#include "app/peltrixapp.h"
#include "graph/frmgraphenter.h"
#include "graph/frmtoolbox.h"

#include <QScreen>

frmGraphEnter *PeltrixApp::GraphEnter()
{
    if (!graphEnter) graphEnter = new frmGraphEnter(*this);
    return graphEnter;
}

void PeltrixApp::ShowGraphEntry()
{
    if (graphEnter) {
        // Open and import replace the session behind the window: show what
        // the session holds now.
        graphEnter->show();
        graphEnter->raise();
        graphEnter->ReloadTargetImage();
        // Raising the window would bury its statistics window under it.
        ShowStatistics(graphEnter);
        return;
    }
    frmGraphEnter *w = GraphEnter();
    // The screen's size first: without a window manager to maximise it, the
    // scrolled picture would otherwise open as a small window.
    if (const QScreen *screen = w->screen()) w->resize(screen->availableGeometry().size());
    w->showMaximized();
    w->Form_Load();
}

void PeltrixApp::ClearGraphPicture()
{
    if (!graphEnter) return;
    GraphPicture &p = graphEnter->Picture();
    p.canvas.ClearImage();
    ResetPicture(session, p);
}

void PeltrixApp::SyncGraphWindows()
{
    if (!graphEnter) return;
    GraphPicture &p = graphEnter->Picture();
    if (p.canvas.Background() != DisplayRgb(session.BackColor)) {
        p.canvas.SetBackground(DisplayRgb(session.BackColor));
        ResetPicture(session, p);
    }
    graphEnter->SyncControls();
}

void PeltrixApp::CloseGraphWindows()
{
    if (graphEnter) graphEnter->close();
}
