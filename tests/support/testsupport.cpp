#include "testsupport.h"

#include "app/frmmain.h"
#include "cli/cli.h"
#include "stats/groupstats.h"
#include "stats/report.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
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

CliRun RunCliLine(const QString &line)
{
    return RunCliCaptured(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

QList<std::pair<QString, QPointF>> PdfWords(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    QList<std::pair<QString, QPointF>> words;
    for (auto it = re.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(3), QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())});
    }
    return words;
}
