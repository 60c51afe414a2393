#pragma once
// Where the installation files (peltrix.ini, Docs/, Tutorial/) lie: beside
// the executable in a build tree, in share/peltrix of an installed tree.
#include <QString>

// The installation folder for an executable in `exeDir`: `exeDir` itself when
// it holds installation files, otherwise `exeDir`/../share/peltrix when that
// exists, otherwise `exeDir`.
QString FindInstallFolder(const QString &exeDir);

// The installation folder of the running program.
QString InstallFolder();
