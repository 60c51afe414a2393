#include "platform/wholefile.h"

#include <QSaveFile>

bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *errorText)
{
    auto fail = [errorText](const QString &why) {
        if (errorText)
            *errorText = why.isEmpty() ? QStringLiteral("The file could not be written.") : why;
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    // A short write (full disk, size limit) leaves no error behind for
    // commit() to see, so the flush and the size are checked here.
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!written) {
        const QString why = file.error() != QFileDevice::NoError
                                ? file.errorString()
                                : QStringLiteral("The disk is full or the file grew too large.");
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}
