// Settings until the configuration file and its windows exist.
#include "app/peltrixapp.h"

#include <QDir>

void PeltrixApp::ResolveFolders()
{
    session.IsWindowsNT = true;
    session.DocumentsDir = QDir::homePath();
}
void PeltrixApp::LoadConfig() { SetInstallDefaults(session); }
void PeltrixApp::SaveConfig() {}
void PeltrixApp::ShowDefaultOptions(QWidget *) {}
void PeltrixApp::ShowUnits(QWidget *) {}
