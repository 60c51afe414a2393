#pragma once
// The folders and the system name the program asks its host for at start-up.
// This build reports the NT family; the profile is the user's home and the
// per-user data folder is the host's application-data folder for Peltrix.
#include <QString>

struct HostFolders {
    QString os;          // what "%OS%" expands to
    QString userProfile; // what "%USERPROFILE%" expands to; empty when it cannot be expanded
    QString appDataDir;  // per-user data folder of this version (…/Peltrix/20)
    QString documentsDir;
    QString installDir; // the folder the installation files lie in

    // The host's own folders.
    static HostFolders FromHost();
    // Everything inside `root` (tests, trial runs): root/home, root/appdata/Peltrix/20,
    // root/Documents, root/install.
    static HostFolders InFolder(const QString &root);
};

// Expands "%OS%" and "%USERPROFILE%" as the host service does: the number of
// characters stored in a buffer of `capacity` characters (text plus NUL), 0
// when the name is unknown or the text does not fit.
qint32 ExpandEnvironmentStrings(const HostFolders &host, const QString &name, QString &buffer,
                                qint32 capacity);
