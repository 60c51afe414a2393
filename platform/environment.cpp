#include "platform/environment.h"

#include "platform/installfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

HostFolders HostFolders::FromHost()
{
    HostFolders h;
    h.os = QStringLiteral("Windows_NT");
    h.userProfile = QDir::homePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    h.appDataDir =
        QDir(data.isEmpty() ? QDir::homePath() : data).filePath(QStringLiteral("Peltrix/20"));
    h.documentsDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (h.documentsDir.isEmpty()) h.documentsDir = QDir::homePath();
    h.installDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return h;
}

HostFolders HostFolders::InFolder(const QString &root)
{
    const QDir r(root);
    HostFolders h;
    h.os = QStringLiteral("Windows_NT");
    h.userProfile = r.filePath(QStringLiteral("home"));
    h.appDataDir = r.filePath(QStringLiteral("appdata/Peltrix/20"));
    h.documentsDir = r.filePath(QStringLiteral("Documents"));
    h.installDir = r.filePath(QStringLiteral("install"));
    return h;
}

qint32 ExpandEnvironmentStrings(const HostFolders &host, const QString &name, QString &buffer,
                                qint32 capacity)
{
    QString value;
    if (name == QLatin1String("%OS%"))
        value = host.os;
    else if (name == QLatin1String("%USERPROFILE%"))
        value = host.userProfile;
    else
        value = name;
    if (value.isEmpty() || value.size() + 1 > capacity) return 0;
    buffer = value + QString(capacity - value.size(), QChar(0));
    return qint32(value.size() + 1);
}
