#include "testsupport.h"

#include "app/frmmain.h"
#include "cli/cli.h"
#include "stats/groupstats.h"
#include "stats/report.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

void PrepareTestSession(Session &s)
{
    SetInstallDefaults(s);
    InitReportLabels(s);
    InitReportLayout(s);
    ResetSession(s);
    FillGammaTable(s, 39);
}

TestApp::TestApp()
{
    session.DocumentsDir = dir.path();
    app = std::make_unique<PeltrixApp>(session, prompter);
    // No test may reach the user's own folders.
    app->host = HostFolders::InFolder(dir.path());
    PrepareTestSession(session);
    app->Main();
}

TestApp::~TestApp() { app.reset(); }

void AddShots(Session &s, std::initializer_list<std::pair<float, float>> shots)
{
    for (const auto &[x, y] : shots) {
        const qint32 k = ++s.ShotCount;
        s.ShotX[k] = x;
        s.ShotY[k] = y;
        s.ShotR[k] = RadialDistance(x, y);
    }
    if (s.ShotCount > 1) ComputeGroupStats(s);
}

void WhenModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(w);
    });
    timer->start();
}

CliRun RunCliCaptured(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code = RunCli(args, o, e);
    o.flush();
    e.flush();
    return {code, out, err};
}
