// Screenshot of Find for the manual: a synthetic 300-dpi card, calibrated,
// aim point set, holes proposed over the whole picture, one rejected.
#include "graph/findtool.h"
#include "graph/frmgraphenter.h"
#include "graph/frmtoolbox.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "shots.h"
#include "synthtarget.h"
#include "testsupport.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>

int ShotsFind(int argc, char **argv)
{
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("find.png");
    TestApp t;
    SynthOptions o;
    o.seed = 3;
    o.dpi = 150;
    o.caliber = 0.308;
    o.sizeInches = 5;
    o.singles = 9;
    const SynthTarget target = MakeSynthTarget(o);
    const QString path = t.dir.filePath(QStringLiteral("card.jpg"));
    target.image.save(path, "JPEG", 90);
    t.session.HeaderEntered = true;
    t.session.ImagePath = path;
    t.app->ViewGraphicalEntry();
    frmGraphEnter *w = t.app->GraphEnter();
    w->showNormal();
    w->resize(900, 820);
    QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(75, 75));
    t.prompter.QueueInput(QStringLiteral("1"));
    QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(225, 75));
    QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(375, 375));
    w->View->SetZoom(1.0);
    t.prompter.QueueInput(QStringLiteral("0.308"));
    frmToolBox *tools = w->ToolBox();
    w->Finder->Find(true);
    // The search runs off the interface thread; the picture is taken once it ends.
    while (w->Finder->Searching()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    tools->Sync();
    if (!w->Finder->Finder.proposals.empty()) {
        const HoleProposal &h = w->Finder->Finder.proposals.back();
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(int(h.x), int(h.y)));
    }
    QApplication::processEvents();
    // The window with the toolbox drawn in its corner, as they stand on screen.
    QImage shot = w->grab().toImage();
    const QImage box = tools->grab().toImage();
    QPainter p(&shot);
    p.drawImage(shot.width() - box.width() - 12, 40, box);
    p.setPen(Qt::gray);
    p.drawRect(shot.width() - box.width() - 12, 40, box.width() - 1, box.height() - 1);
    p.end();
    return shot.save(out) ? 0 : 1;
}
