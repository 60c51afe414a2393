#include "platform/wholefile.h"

#include "platform/prompter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {
// The device's own reason, or ours where it has none worth showing.
QString reasonOf(const QFileDevice &file)
{
    const QString why = file.errorString();
    if (file.error() == QFileDevice::NoError || why.isEmpty() ||
        why == QLatin1String("Unknown error"))
        return QStringLiteral("The disk is full or the file grew too large.");
    return why;
}

bool writeNew(const QString &path, const QByteArray &bytes, QString &why)
{
    // NewOnly: even a file that appeared meanwhile is never replaced; a
    // partial file of our own is removed again.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        why = file.exists() ? QStringLiteral("A file of that name exists.") : reasonOf(file);
        return false;
    }
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!written) why = reasonOf(file);
    file.close();
    if (written && file.error() != QFileDevice::NoError) why = reasonOf(file);
    if (!why.isEmpty()) {
        file.remove();
        return false;
    }
    return true;
}

bool replace(const QString &path, const QByteArray &bytes, QString &why)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        why = reasonOf(file);
        return false;
    }
    // A short write (full disk, size limit) leaves no error behind for
    // commit() to see, so the flush and the size are checked here.
    const bool written =
        file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!written) {
        why = reasonOf(file);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        why = reasonOf(file);
        return false;
    }
    return true;
}
} // namespace

bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *errorText,
                    Existing existing)
{
    QString why;
    const bool ok = path.isEmpty() ? (why = QStringLiteral("No file name was given."), false)
                    : existing == Existing::Keep ? writeNew(path, bytes, why)
                                                 : replace(path, bytes, why);
    if (!ok && errorText) *errorText = why;
    return ok;
}

QString WriteFailedText(const QString &path, const QString &why)
{
    return QStringLiteral("The file %1 could not be written.\r\r%2")
        .arg(QDir::toNativeSeparators(path), why);
}

bool WriteWholeFileOrTell(const QString &path, const QByteArray &bytes, Prompter &prompter,
                          const QString &title)
{
    QString why;
    if (WriteWholeFile(path, bytes, &why)) return true;
    prompter.MsgBox(WriteFailedText(path, why), title, Buttons::Ok, Icon::Exclamation);
    return false;
}
