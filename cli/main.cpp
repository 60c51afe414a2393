#include "cli/cli.h"
#include "platform/localfile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Fonts and PDF pages need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a desktop session there is no runtime folder; Qt would fall back
    // to the same place but say so on stderr, which belongs to our messages.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString dir = QDir::tempPath() + QStringLiteral("/runtime-") +
                            qEnvironmentVariable("USER", QStringLiteral("peltrix"));
        if (QDir().mkpath(dir)) {
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
        }
    }
    // Qt would take options such as -platform or -reverse out of the
    // arguments it is given: it gets the program's name only, the rest is ours,
    // file names in the bytes the system gave them.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    QStringList args;
    for (int i = 1; i < argc; ++i) args << FileNameFromSystem(QByteArray(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunCli(args, out, err);
}
