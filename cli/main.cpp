#include "cli/cli.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Fonts and PDF pages need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCli(QCoreApplication::arguments().mid(1), out, err);
}
