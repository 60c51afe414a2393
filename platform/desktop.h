#pragma once
// The host's desktop services the help needs: opening a document with the
// program the desktop associates with it, starting a program, finding one on
// PATH and reading a text value of the Windows registry. Tests replace it.
#include <QString>
#include <QStringList>
#include <optional>

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens `path` with its associated program; false when nothing could be started.
    virtual bool OpenDocument(const QString &path, const QString &workingDir) = 0;
    // Starts `program` detached, with a normal window that takes the focus.
    virtual bool StartProgram(const QString &program, const QStringList &arguments = {}) = 0;
    virtual bool FileExists(const QString &path) = 0;
    // Full path of an executable found on PATH, empty when there is none.
    virtual QString FindExecutable(const QString &name) = 0;
    // A text value under HKEY_LOCAL_MACHINE; nullopt when the key or the value
    // is missing, is not text, or the host has no registry.
    virtual std::optional<QString> GetKeyValue(const QString &keyName,
                                               const QString &subKeyRef) = 0;
};

// The real desktop of the running host.
class SystemDesktop : public Desktop {
public:
    bool OpenDocument(const QString &path, const QString &workingDir) override;
    bool StartProgram(const QString &program, const QStringList &arguments) override;
    bool FileExists(const QString &path) override;
    QString FindExecutable(const QString &name) override;
    std::optional<QString> GetKeyValue(const QString &keyName, const QString &subKeyRef) override;
};

// The process-wide system desktop.
Desktop &HostDesktop();
