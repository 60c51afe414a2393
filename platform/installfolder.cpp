#include "platform/installfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
bool HoldsInstallFiles(const QDir &dir)
{
    return QFileInfo(dir.filePath(QStringLiteral("peltrix.ini"))).isFile() ||
           QFileInfo(dir.filePath(QStringLiteral("Docs/index.html"))).isFile() ||
           QFileInfo(dir.filePath(QStringLiteral("Tutorial/tutorial1.txt"))).isFile();
}
} // namespace

QString FindInstallFolder(const QString &exeDir)
{
    const QDir dir(exeDir);
    if (HoldsInstallFiles(dir)) return QDir::cleanPath(dir.absolutePath());
    const QDir shared(dir.filePath(QStringLiteral("../share/peltrix")));
    if (shared.exists()) return QDir::cleanPath(shared.absolutePath());
    return QDir::cleanPath(dir.absolutePath());
}

QString InstallFolder() { return FindInstallFolder(QCoreApplication::applicationDirPath()); }
