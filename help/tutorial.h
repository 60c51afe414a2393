#pragma once
// The help's installation files: the manual and the eight tutorial pages.
#include <QString>
#include <QStringList>
#include <optional>

constexpr qint32 TutorialPageCount = 8;

// The manual's first page: installation folder + "/Docs/index.html".
QString ManualPath(const QString &installDir);
// The folder of the tutorial's pages and sample targets.
QString TutorialFolder(const QString &installDir);
// Installation folder + "/Tutorial/tutorial"; a page adds its digit and ".txt".
QString TutorialStem(const QString &installDir);
// Stem + the last character of the page's decimal text + ".txt".
QString TutorialPagePath(const QString &stem, qint32 page);
// "Tutorial: Page  1 of 8": the page number with the blank of the plain
// number-to-text conversion, so two blanks stand before the digit.
QString TutorialCaption(qint32 page);

// A page file: 8-bit text, lines ending in CR LF; the first line is the
// title, every further line body text.
struct TutorialPage {
    QString title;
    QStringList body;
};
// nullopt when the file is missing or cannot be read; `errorString` then
// says why.
std::optional<TutorialPage> ReadTutorialPage(const QString &path, QString *errorString = nullptr);
