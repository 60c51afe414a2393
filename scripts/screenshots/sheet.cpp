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
#include <QTableView>
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

    frmTargetSheet *w = t.app->TargetSheet();
    w->resize(1280, 860);
    w->show();
    w->ImportScan(scan);
    auto field = [w](const char *name) { return w->findChild<QLineEdit *>(QLatin1String(name)); };
    field("txtBullet")->setText(QStringLiteral("0.308"));
    field("txtRange")->setText(QStringLiteral("100"));
    field("txtFirearm")->setText(QStringLiteral("Bolt .308"));
    QTest::keyClick(field("txtBullet"), Qt::Key_Return);
    w->FindAims();
    Wait(w);
    w->FindHoles();
    Wait(w);
    auto *grid = w->findChild<QTableView *>(QStringLiteral("grdGroups"));
    QAbstractItemModel *groups = grid->model();
    for (int g = 0; g < groups->rowCount() - 1; ++g)
        groups->setData(groups->index(g, 1),
                        QStringLiteral("%1 gr").arg(43.0 + 0.3 * g, 0, 'f', 1));
    grid->selectRow(1);
    settle();
    bool ok = w->grab().save(outDir + QStringLiteral("/sheet.png"));
    w->findChild<QTabWidget *>(QStringLiteral("tabViews"))->setCurrentIndex(1);
    settle();
    ok = w->grab().save(outDir + QStringLiteral("/sheet-chart.png")) && ok;
    w->SaveSheet(t.dir.filePath(QStringLiteral("ladder.pxsheet")));
    w->close();
    return ok ? 0 : 1;
}
