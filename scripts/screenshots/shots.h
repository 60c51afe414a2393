#pragma once
// What the screenshot sets share: one program, a set a run.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

// Lets the windows paint and the window manager place them.
inline void settle(int ms = 300)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

inline bool saveScreen(const QString &path)
{
    settle();
    return QGuiApplication::primaryScreen()->grabWindow(0).save(path);
}

// Each set takes what follows its name on the command line.
int ShotsReadme(int argc, char **argv);
int ShotsGraph(int argc, char **argv);
int ShotsEveryday(int argc, char **argv);
int ShotsFind(int argc, char **argv);
int ShotsLogbook(int argc, char **argv);
int ShotsManual(int argc, char **argv);
int ShotsSheet(int argc, char **argv);
