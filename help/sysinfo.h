#pragma once
// The About box's way to the host's system information program.
#include <QString>
#include <QStringList>

class Desktop;
class Prompter;

// The line of the About box that names the maker.
QString AboutProjectLine();

// Programs tried, in order, on hosts without the registry entries: the
// first one found on PATH is started.
QStringList SysInfoPrograms();

// Starts the system information program: the registry's MSINFO entries
// where the host has them, else the first known program on PATH; when none
// is found the user is told so. True when a program was started.
bool StartSysInfo(Desktop &desktop, Prompter &prompter);
