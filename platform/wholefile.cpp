#include "platform/wholefile.h"

#include "platform/localfile.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

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

#ifdef Q_OS_UNIX
QString systemReason(int e) { return QString::fromLocal8Bit(std::strerror(e)); }

bool writeAll(int fd, const QByteArray &bytes, QString &why)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            why = n < 0 ? systemReason(errno)
                        : QStringLiteral("The disk is full or the file grew too large.");
            return false;
        }
        done += n;
    }
    if (::fsync(fd) != 0) return why = systemReason(errno), false;
    return true;
}

// The file is written aside and only then given its name, so that a kill
// mid-write leaves nothing under it: first as a file without a name (gone
// with the process), else under a temporary name beside it. With `replace`
// false an existing file is never replaced, even one that appeared meanwhile.
bool writeAside(const QString &path, const QByteArray &bytes, bool replace, QString &why)
{
    const QByteArray target = NativeFileName(path);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : target.left(std::max<qsizetype>(slash, 1));
    const QByteArray exists = "A file of that name exists.";
    if (!replace) {
        const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
            const bool ok =
                writeAll(fd, bytes, why) && ::linkat(AT_FDCWD, self.constData(), AT_FDCWD,
                                                     target.constData(), AT_SYMLINK_FOLLOW) == 0;
            const int e = errno;
            ::close(fd);
            if (ok || !why.isEmpty()) return ok;
            if (e == EEXIST) return why = QString::fromLatin1(exists), false;
            // No /proc: written again under a temporary name.
        }
    }
    QByteArray temp;
    int fd = -1;
    for (int k = 0; fd < 0 && k < 64; ++k) {
        temp = folder + "/." + target.mid(slash + 1) + '.' +
               QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return why = systemReason(errno), false;
    bool ok = writeAll(fd, bytes, why);
    ::close(fd);
    if (ok && replace && ::rename(temp.constData(), target.constData()) != 0)
        ok = (why = systemReason(errno), false);
    if (ok && !replace && ::link(temp.constData(), target.constData()) != 0)
        ok = (why = errno == EEXIST ? QString::fromLatin1(exists) : systemReason(errno), false);
    if (!ok || !replace) ::unlink(temp.constData());
    return ok;
}
#else
bool writeAside(const QString &path, const QByteArray &bytes, bool replace, QString &why)
{
    // NewOnly: even a file that appeared meanwhile is never replaced; a
    // partial file of our own is removed again.
    Q_UNUSED(replace);
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
#endif

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
                    : existing == Existing::Keep ? writeAside(path, bytes, false, why)
                    : QtReachesName(path)        ? replace(path, bytes, why)
                                                 : writeAside(path, bytes, true, why);
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
