#include "platform/desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

bool SystemDesktop::OpenDocument(const QString &path, const QString &)
{
    // The desktop's opener is started even for a file that is not there, so
    // a missing manual is caught here rather than in a browser window.
    if (!QFileInfo(path).isFile()) return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The opener is started even when no program takes HTML files, and then
    // fails unseen: ask the desktop first whether one does.
    if (qEnvironmentVariableIsEmpty("BROWSER")) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                 QStringLiteral("text/html")});
        if (!query.waitForFinished(3000) || query.exitCode() != 0 ||
            query.readAllStandardOutput().trimmed().isEmpty())
            return false;
    }
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool SystemDesktop::StartProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool SystemDesktop::FileExists(const QString &path) { return QFileInfo(path).isFile(); }

QString SystemDesktop::FindExecutable(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

std::optional<QString> SystemDesktop::GetKeyValue(const QString &keyName, const QString &subKeyRef)
{
#ifdef Q_OS_WIN
    QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\") + keyName, QSettings::NativeFormat);
    const QVariant value = key.value(subKeyRef);
    // Only text values name a program; anything else counts as not found.
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    QString text = value.toString();
    if (text.endsWith(QChar(0))) text.chop(1);
    return text;
#else
    Q_UNUSED(keyName)
    Q_UNUSED(subKeyRef)
    return std::nullopt;
#endif
}

Desktop &HostDesktop()
{
    static SystemDesktop desktop;
    return desktop;
}
