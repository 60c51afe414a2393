// Screenshots of the graphical entry on a generated 600-dpi scan of
// 8000 x 10000 pixels: the whole target fitted to the window, then a
// calibration, aim point and a 10-shot group clicked as a user would, zoomed in.
#include "graph/frmgraphenter.h"
#include "graph/frmtoolbox.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "shots.h"
#include "stats/frmtextoutput.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <cmath>

namespace {
using namespace Scan;

// A click on image pixel `px` at the view's zoom, scrolled so that it shows
// near the middle of the view, as a user scrolls to a hole and clicks it.
QPoint MoveTo(frmGraphEnter *w, QPointF px)
{
    PictureBox *pic = w->Picture1;
    const QPoint wp((px * pic->Zoom()).toPoint());
    const QPoint vp(w->View->viewport()->width() / 2 - 150, w->View->viewport()->height() / 2);
    w->View->ScrollTo(wp, vp);
    QTest::mouseMove(pic, wp);
    settle(30);
    return wp;
}

void ClickAt(frmGraphEnter *w, QPointF px)
{
    QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, MoveTo(w, px));
    settle(30);
}
} // namespace

int ShotsGraph(int argc, char **argv)
{
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(outDir);
    TestApp t;
    const QString scan = MakeScan(t.dir.path());
    t.session.HeaderEntered = true;
    t.session.ImagePath = scan;
    t.session.ShowCentroid = true;
    t.app->ViewGraphicalEntry();
    frmGraphEnter *w = t.app->GraphEnter();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    w->setGeometry(screen);
    // No window manager: the toolbox and statistics at the right, as a user drags them.
    frmToolBox *tools = w->ToolBox();
    tools->move(screen.right() - tools->frameGeometry().width() - 10, 40);
    frmTextOutput *stats = t.app->TextOutput();
    stats->move(screen.right() - stats->frameGeometry().width() - 10,
                tools->frameGeometry().bottom() + 10);
    settle();
    w->mnuZoomFit->trigger();
    bool ok = saveScreen(outDir + QStringLiteral("/graph-fit.png"));

    // Calibrate on the 10-ring's horizontal diameter: 10 inches, at 100 %.
    w->mnuZoomActual->trigger();
    t.prompter.QueueInput(QStringLiteral("10"));
    ClickAt(w, Centre - QPointF(5 * Dpi, 0));
    ClickAt(w, Centre + QPointF(5 * Dpi, 0));
    // The aim point and the holes at 50 %, where the whole group shows.
    w->View->SetZoom(0.5);
    ClickAt(w, Centre);
    for (const QPointF &h : Holes) ClickAt(w, h);
    w->mnuCursor->trigger();
    // Zoomed in on the group, the full-screen cursor on the last hole.
    w->View->SetZoom(2.0);
    // (Off the calibration line's row: there the two lines would cancel out.)
    MoveTo(w, Holes[4]);
    ok = saveScreen(outDir + QStringLiteral("/graph-zoom.png")) && ok;
    const bool tenShots = t.session.ShotCount >= 10;
    qInfo("shots %d, scale %g units per twip, messages %d", t.session.ShotCount,
          double(t.session.ImageScale), int(t.prompter.messages().size()));
    t.app->CloseAll();
    return ok && tenShots ? 0 : 1;
}
