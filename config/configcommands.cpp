// The configuration commands of the application object.
#include "app/peltrixapp.h"
#include "config/configfile.h"
#include "config/frmdefaultoptions.h"
#include "config/frmoptunit.h"

#include <cstdlib>

void PeltrixApp::ResolveFolders() { ::ResolveFolders(session, host, prompter); }

void PeltrixApp::LoadConfig()
{
    if (LoadConfigFile(session, prompter) == ConfigLoad::Missing) std::exit(1);
}

void PeltrixApp::SaveConfig()
{
    if (session.SaveDefaultsOnExit) CaptureDefaults(session);
    // Without a data folder there is nowhere to write; start-up has said so.
    if (session.AppDataDir.isEmpty()) return;
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
