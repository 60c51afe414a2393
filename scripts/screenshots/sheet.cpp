// The Target Sheet window for the manual and the README: a six-bull
// load-development card at 150 dpi, marks and holes found, the groups
// labelled with their charges, the second group selected.
#include "cardgen.h"
#include "sheet/frmtargetsheet.h"
#include "shots.h"
#include "testsupport.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

namespace {
void Wait(frmTargetSheet *w)
{
    QEventLoop loop;
    QObject::connect(w, &frmTargetSheet::WorkFinished, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int ShotsSheet(int argc, char **argv)
{
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    TestApp t;
    CardOptions o;
    o.dpi = 150;
    o.seed = 5;
    const Card card = MakeCard(o);
    const QString scan = t.dir.filePath(QStringLiteral("ladder.png"));
    QImage image = card.image;
    image.setDotsPerMeterX(int(150 / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(150 / 0.0254 + 0.5));
    image.save(scan);

    frmTargetSheet *w = TargetSheetWindow(*t.app, t.app->MainWindow());
    w->resize(1280, 860);
    w->show();
    w->ImportScan(scan);
    w->txtBullet->setText(QStringLiteral("0.308"));
    w->txtRange->setText(QStringLiteral("100"));
    w->txtFirearm->setText(QStringLiteral("Bolt .308"));
    QTest::keyClick(w->txtBullet, Qt::Key_Return);
    w->FindAims();
    Wait(w);
    w->FindHoles();
    Wait(w);
    for (int g = 0; g < w->grdGroups->rowCount() - 1; ++g)
        w->grdGroups->item(g, 1)->setText(QStringLiteral("%1 gr").arg(43.0 + 0.3 * g, 0, 'f', 1));
    w->grdGroups->selectRow(1);
    settle();
    bool ok = w->grab().save(outDir + QStringLiteral("/sheet.png"));
    w->findChild<QTabWidget *>(QStringLiteral("tabViews"))->setCurrentIndex(1);
    settle();
    ok = w->grab().save(outDir + QStringLiteral("/sheet-chart.png")) && ok;
    w->Modified = false;
    w->close();
    return ok ? 0 : 1;
}
