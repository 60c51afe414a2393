#include "help/sysinfo.h"

#include "platform/desktop.h"
#include "platform/prompter.h"

QString AboutProjectLine()
{
    return QStringLiteral(
        "Peltrix is written and maintained by the Peltrix project. "
        "Questions, fault reports and updates: see \"Contact\" in the Peltrix Manual.");
}

QStringList SysInfoPrograms()
{
#ifdef Q_OS_WIN
    // There the registry names the program.
    return {};
#endif
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("xfce4-about"), QStringLiteral("lshw-gtk")};
}

bool StartSysInfo(Desktop &desktop, Prompter &prompter)
{
    if (const auto path = desktop.GetKeyValue(
            QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"));
        path && !path->isEmpty() && desktop.StartProgram(*path))
        return true;
    if (const auto folder = desktop.GetKeyValue(
            QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"));
        folder && !folder->isEmpty()) {
        const QString program = *folder + QStringLiteral("\\MSINFO32.EXE");
        if (desktop.FileExists(program) && desktop.StartProgram(program)) return true;
    }
    for (const QString &name : SysInfoPrograms()) {
        const QString program = desktop.FindExecutable(name);
        if (!program.isEmpty() && desktop.StartProgram(program)) return true;
    }
    prompter.MsgBox(QStringLiteral("System Information Is Unavailable At This Time"),
                    QStringLiteral("Peltrix"), Buttons::Ok);
    return false;
}
