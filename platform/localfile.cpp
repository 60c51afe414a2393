#include "platform/localfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUtf8StringView>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// Bytes that are no UTF-8 become U+DC80..U+DCFF, lone surrogates that no
// decoded text holds.
constexpr char16_t EscapedByte = 0xDC00;

bool escaped(QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; }

bool fail(QString *why, const QString &text)
{
    if (why) *why = text;
    return false;
}

#ifdef Q_OS_UNIX
QString kindRefusal(mode_t mode)
{
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return QStringLiteral("It is a folder, not a file.");
    return QStringLiteral("It is a device or a pipe, not a file.");
}

QString errnoText(int e)
{
    if (e == ENOENT || e == ENOTDIR) return QStringLiteral("The file does not exist.");
    return QString::fromLocal8Bit(std::strerror(e));
}
#endif
} // namespace

QString FileNameFromSystem(const QByteArray &bytes)
{
    QString out;
    const char *d = bytes.constData();
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(d[i]);
        const qsizetype n = lead < 0x80             ? 1
                            : (lead & 0xE0) == 0xC0 ? 2
                            : (lead & 0xF0) == 0xE0 ? 3
                            : (lead & 0xF8) == 0xF0 ? 4
                                                    : 0;
        if (n > 0 && i + n <= bytes.size() && QUtf8StringView(d + i, n).isValidUtf8()) {
            out += QString::fromUtf8(d + i, n);
            i += n;
        } else {
            out += QChar(char16_t(EscapedByte + lead));
            ++i;
        }
    }
    return out;
}

QByteArray NativeFileName(const QString &name)
{
    if (QtReachesName(name)) return QFile::encodeName(name);
    QByteArray out;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !escaped(name[i])) continue;
        out += QFile::encodeName(name.mid(from, i - from));
        if (i < name.size()) out += char(name[i].unicode() - EscapedByte);
        from = i + 1;
    }
    return out;
}

bool QtReachesName(const QString &name) { return std::none_of(name.begin(), name.end(), escaped); }

bool NameExists(const QString &name)
{
#ifdef Q_OS_UNIX
    struct stat st;
    return ::lstat(NativeFileName(name).constData(), &st) == 0;
#else
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
#endif
}

bool OpenRegularFile(QFile &file, const QString &path, QString *why)
{
    if (path.isEmpty()) return fail(why, QStringLiteral("No file name was given."));
#ifdef Q_OS_UNIX
    // Looked at before it is opened (opening a device may do something), and
    // again once open, in case another file took its place meanwhile.
    const QByteArray native = NativeFileName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0) return fail(why, errnoText(errno));
    if (const QString no = kindRefusal(st.st_mode); !no.isEmpty()) return fail(why, no);
    // Not blocking: a pipe that took its place must not keep us waiting.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(why, errnoText(errno));
    QString no;
    if (::fstat(fd, &st) != 0)
        no = errnoText(errno);
    else
        no = kindRefusal(st.st_mode);
    if (no.isEmpty() && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        no = errnoText(errno);
    if (no.isEmpty() && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        no = file.errorString();
    if (!no.isEmpty()) {
        if (!file.isOpen()) ::close(fd);
        return fail(why, no);
    }
    return true;
#else
    const QFileInfo info(path);
    if (!info.exists()) return fail(why, QStringLiteral("The file does not exist."));
    if (info.isDir()) return fail(why, QStringLiteral("It is a folder, not a file."));
    if (!info.isFile()) return fail(why, QStringLiteral("It is a device or a pipe, not a file."));
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(why, file.errorString());
    return true;
#endif
}

std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 limit, QString *why,
                                          Beyond beyond, const QString &tooLarge)
{
    QFile file;
    if (!OpenRegularFile(file, path, why)) return std::nullopt;
    const QString large =
        !tooLarge.isEmpty()
            ? tooLarge
            : QStringLiteral("It is larger than %1, more than a file of this kind holds.")
                  .arg(
                      QLocale::c().formattedDataSize(limit, 1, QLocale::DataSizeTraditionalFormat));
    if (beyond == Beyond::Refuse && file.size() > limit) return fail(why, large), std::nullopt;
    // In pieces, so that memory follows what the file really holds.
    QByteArray bytes;
    const qint64 want = beyond == Beyond::Refuse ? limit + 1 : limit;
    while (bytes.size() < want) {
        const QByteArray piece = file.read(std::min<qint64>(want - bytes.size(), 1 << 20));
        if (piece.isEmpty()) break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError) return fail(why, file.errorString()), std::nullopt;
    if (bytes.size() > limit) return fail(why, large), std::nullopt;
    return bytes;
}
