// The configuration commands of the application object.
#include "app/peltrixapp.h"
#include "config/configfile.h"
#include "config/frmdefaultoptions.h"
#include "config/frmoptunit.h"
#include "help/frmtutorial.h"

#include <cstdlib>

void PeltrixApp::ResolveFolders() { ::ResolveFolders(session, host, prompter); }

void PeltrixApp::LoadConfig()
{
    if (LoadConfigFile(session, prompter) == ConfigLoad::Missing) std::exit(1);
}

void PeltrixApp::CaptureUserDefaults()
{
    // While the tutorial is open ImageDir is the tutorial's folder, lent to the
    // import dialog; the user's own folder is the one to keep.
    const QString lent = session.ImageDir;
    if (tutorial && tutorial->LendsImageDir()) session.ImageDir = tutorial->SavedImageDir;
    CaptureDefaults(session);
    session.ImageDir = lent;
}

void PeltrixApp::SaveConfig()
{
    if (session.SaveDefaultsOnExit) CaptureUserDefaults();
    // Without a data folder there is nowhere to write, and a file that could
    // not be read is never written over; start-up has said so.
    if (session.AppDataDir.isEmpty() || session.KeepConfigFile) return;
    SaveConfigFileOrTell(session, prompter);
}

void PeltrixApp::ShowDefaultOptions(QWidget *owner)
{
    frmDefaultOptions form(*this, owner);
    form.exec();
    prompter.SetOwner(owner);
}

void PeltrixApp::ShowUnits(QWidget *owner)
{
    FrmOptUnit form(*this, owner);
    form.exec();
    prompter.SetOwner(owner);
}
