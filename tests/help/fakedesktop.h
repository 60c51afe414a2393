#pragma once
// A desktop that records what the help asked of it and answers from tables.
#include "platform/desktop.h"

#include <QMap>
#include <QSet>

struct FakeDesktop : Desktop {
    bool OpenDocument(const QString &path, const QString &workingDir) override
    {
        opened << path;
        openDirs << workingDir;
        return openSucceeds;
    }
    bool StartProgram(const QString &program, const QStringList &) override
    {
        tried << program;
        if (failingPrograms.contains(program)) return false;
        started << program;
        return true;
    }
    bool FileExists(const QString &path) override { return files.contains(path); }
    QString FindExecutable(const QString &name) override { return onPath.value(name); }
    std::optional<QString> GetKeyValue(const QString &keyName, const QString &subKeyRef) override
    {
        const QString key = keyName + QLatin1Char('|') + subKeyRef;
        if (!registry.contains(key)) return std::nullopt;
        return registry.value(key);
    }

    bool openSucceeds = true;
    QStringList opened, openDirs, tried, started;
    QSet<QString> failingPrograms, files;
    QMap<QString, QString> onPath, registry;
};
