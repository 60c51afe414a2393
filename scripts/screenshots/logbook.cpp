// The logbook's screenshots for the manual and the README: a logbook of two
// loads over a few weeks, two groups selected and pooled with their load in
// the editors, velocities kept for a load, and the trend.
#include "logbook/frmlogbook.h"
#include "logbook/frmlogbooktrend.h"
#include "shots.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

#include <cmath>

int ShotsLogbook(int argc, char **argv)
{
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(outDir);
    TestApp t;
    t.session.AppDataDir = t.dir.filePath(QStringLiteral("appdata"));
    std::vector<LogbookEntry> groups;
    for (int k = 0; k < 10; ++k) {
        LogbookEntry e;
        const bool a = k % 2 == 0;
        const double spread = (a ? 0.35 : 0.55) * (1 + 0.15 * std::sin(k * 1.7));
        e.Source = QStringLiteral("/home/ann/targets/2026-%1.pxs").arg(k + 1);
        for (int s = 0; s < 5; ++s)
            e.Shots.push_back({spread * std::cos(s * 2.4 + k) + 0.1 * k / 10,
                               spread * std::sin(s * 1.9 + k) - 0.05});
        e.Load.Text =
            a ? QStringLiteral("H4350 41.5 gr, 140 gr") : QStringLiteral("H4350 42.3 gr, 140 gr");
        e.Load.Powder = QStringLiteral("H4350");
        e.Load.Charge = a ? 41.5 : 42.3;
        e.Load.Bullet = QStringLiteral("140 gr HPBT");
        e.Load.Coal = 2.8;
        e.Load.Primer = QStringLiteral("LR match");
        e.Date = QDate(2026, 3, 1).addDays(k * 4);
        e.Added = QDateTime::currentDateTimeUtc();
        e.UnitName = QStringLiteral("Inches");
        e.RangeYards = 100;
        e.Firearm = QStringLiteral("Bolt 6.5 mm, 24 in.");
        groups.push_back(e);
    }
    {
        Logbook b;
        // A chronograph string kept for the first load.
        const VelocitySeries v{0,
                               0,
                               groups.front().Load.Text,
                               VelocityUnit::Fps,
                               {2702.4, 2695.8, 2710.1, 2699.3, 2704.0},
                               {}};
        if (!b.Open(t.app->LogbookPath()) || !b.Add(groups) || !b.AddVelocities(v)) return 1;
    }
    t.app->ShowLogbook(nullptr);
    frmLogbook *w = t.app->LogbookWindow();
    w->resize(1280, 600);
    w->grdGroups->resizeColumnsToContents();
    w->grdGroups->selectionModel()->select(w->Model().index(0, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->grdGroups->selectionModel()->select(w->Model().index(2, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCoreApplication::processEvents();
    bool ok = w->grab().save(outDir + QStringLiteral("/logbook.png"));
    w->cmdTrend->click();
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *tr = qobject_cast<frmLogbookTrend *>(top)) {
            tr->resize(900, 520);
            QCoreApplication::processEvents();
            ok = tr->grab().save(outDir + QStringLiteral("/logbook-trend.png")) && ok;
        }
    return ok ? 0 : 1;
}
