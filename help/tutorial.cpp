#include "help/tutorial.h"

#include "model/textnum.h"
#include "platform/codec1252.h"
#include "platform/localfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    // A page is a screenful of text.
    const auto bytes = ReadRegularFile(path, 1 << 20, errorString);
    if (!bytes) return std::nullopt;
    QString text = FromCp1252(*bytes);
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
