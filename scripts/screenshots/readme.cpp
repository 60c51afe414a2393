// Makes the screenshots of the documentation: run under a virtual X server
// (scripts/screenshot) so the real window manager-less desktop is captured.
#include "analysis/frmgroupanalysis.h"
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "entry/frmkeyboardenter.h"
#include "entry/frmtextenter.h"
#include "shots.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {} // namespace

int ShotsReadme(int argc, char **argv)
{
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(outDir);
    TestApp t;
    t.app->Main()->show();
    WhenModal([](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        h->txtRangeToTarget->setText(QStringLiteral("100"));
        h->txtShooterName->setText(QStringLiteral("Ann"));
        h->txtRifle->setText(QStringLiteral("Bolt action, 24 in."));
        h->cmdHeaderOk->click();
    });
    t.app->ViewTextEntry();
    frmTextEnter *e = t.app->TextEnter();
    const std::pair<const char *, const char *> shots[] = {{"0.25", "0.5"},
                                                           {"-0.375", "0.125"},
                                                           {"0.5", "-0.25"},
                                                           {"0.125", "0.75"},
                                                           {"-0.25", "-0.5"}};
    for (const auto &[x, y] : shots) {
        e->txtEnterX->setText(QString::fromLatin1(x));
        e->txtEnterY->setText(QString::fromLatin1(y));
        e->cmdEnterTextData->click();
    }
    // The windows where the program placed them: keyboard entry below the
    // main window, the statistics beside it.
    bool ok = saveScreen(outDir + QStringLiteral("/keyboard-entry.png"));
    t.app->ShowGroupAnalysis(t.app->KeyBoardEnter());
    frmGroupAnalysis *ga = t.app->GroupAnalysisWindow();
    ga->move(0, 0);
    settle();
    ok = ga->grab().save(outDir + QStringLiteral("/group-analysis.png")) && ok;
    t.app->CloseAll();
    settle(100);
    ok = saveScreen(outDir + QStringLiteral("/main-window.png")) && ok;
    return ok ? 0 : 1;
}
