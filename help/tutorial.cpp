#include "help/tutorial.h"

#include "app/textnum.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Windows-1252 differs from Latin-1 only in 0x80-0x9F; pages written on
// Windows keep their curly quotes and dashes.
QString DecodeAnsi(const QByteArray &bytes)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(high[b - 0x80]) : QChar(char16_t(b)));
    }
    return text;
}
} // namespace

QString ManualPath(const QString &installDir)
{
    return QDir(installDir).filePath(QStringLiteral("Docs/index.html"));
}

QString TutorialFolder(const QString &installDir)
{
    return QDir(installDir).filePath(QStringLiteral("Tutorial"));
}

QString TutorialStem(const QString &installDir)
{
    return QDir(installDir).filePath(QStringLiteral("Tutorial/tutorial"));
}

QString TutorialPagePath(const QString &stem, qint32 page)
{
    return stem + QString::number(page).right(1) + QStringLiteral(".txt");
}

QString TutorialCaption(qint32 page)
{
    return QStringLiteral("Tutorial: Page ") + StrNum(page, 7) + QStringLiteral(" of 8");
}

std::optional<TutorialPage> ReadTutorialPage(const QString &path, QString *errorString)
{
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        if (errorString)
            *errorString = QFileInfo::exists(path) ? QStringLiteral("It is not a file.")
                                                   : QStringLiteral("The file does not exist.");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorString) *errorString = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (errorString) *errorString = file.errorString();
        return std::nullopt;
    }
    QString text = DecodeAnsi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    // The last line's CR LF ends it; it does not start another.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    TutorialPage page;
    if (!lines.isEmpty()) page.title = lines.takeFirst();
    page.body = lines;
    return page;
}
