// The Help menus' commands of the application object.
#include "app/peltrixapp.h"
#include "help/frmabout.h"
#include "help/frmmanual.h"
#include "help/frmtutorial.h"
#include "help/tutorial.h"
#include "platform/desktop.h"
#include "platform/installfolder.h"

#include <QDir>
#include <QPointer>

Desktop &PeltrixApp::HelpDesktop() { return desktop ? *desktop : HostDesktop(); }

namespace {
QString InstallDirOf(Session &s)
{
    if (s.InstallDir.isEmpty()) s.InstallDir = InstallFolder();
    return s.InstallDir;
}
} // namespace

void PeltrixApp::OpenManual(QWidget *owner)
{
    const QString installDir = InstallDirOf(session);
    const QString path = ManualPath(installDir);
    if (HelpDesktop().OpenDocument(path, installDir)) return;
    // No program for HTML files here: the program's own help window.
    if (!manual) manual = new frmManual;
    if (manual->ShowPage(path)) {
        manual->show();
        manual->raise();
        manual->activateWindow();
        return;
    }
    prompter.SetOwner(owner);
    prompter.MsgBox(QStringLiteral("An error occured trying to open the local help files.  Please "
                                   "contact Tech Support to Report this error.\r\r") +
                        QDir::toNativeSeparators(path),
                    QStringLiteral("Help Error"), Buttons::Ok);
}

void PeltrixApp::ShowTutorial()
{
    // Opening it again while it is open only brings it up: a second load
    // would take the tutorial's folder for the user's own.
    if (tutorial) {
        FocusTutorial();
        return;
    }
    InstallDirOf(session);
    tutorial = new frmTutorial(*this);
    tutorial->show();
    tutorial->Form_Load();
}

void PeltrixApp::FocusTutorial()
{
    if (!tutorial) return;
    // Importing a target resets the session, which clears the flag while
    // the window stays open.
    session.TutorialOpen = true;
    tutorial->show();
    tutorial->raise();
    tutorial->activateWindow();
}

void PeltrixApp::ShowAbout(bool modal)
{
    if (!about) about = new frmAbout(*this);
    if (modal && !about->isVisible()) {
        about->exec();
        return;
    }
    about->show();
    about->raise();
    about->activateWindow();
}
