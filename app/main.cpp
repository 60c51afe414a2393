#include "app/frmmain.h"
#include "app/peltrixapp.h"
#include "help/frmabout.h"
#include "platform/installfolder.h"
#include "platform/qtprompter.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Peltrix"));
    QApplication::setApplicationVersion(ProgramVersion());
    // Closing the main window ends the program, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());
    Session session;
    session.InstallDir = InstallFolder();
    QtPrompter prompter;
    PeltrixApp app(session, prompter);
    frmMain *mainWindow = app.Start();
    QObject::connect(mainWindow, &QObject::destroyed, &qapp, &QCoreApplication::quit);
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    return qapp.exec();
}
