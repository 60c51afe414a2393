#include "platform/folderlists.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    QStringList roots;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady()) roots << v.rootPath();
    roots.removeDuplicates();
    roots.sort();
    if (roots.isEmpty()) roots << QDir::rootPath();
    addItems(roots);
    connect(this, &QComboBox::activated, this, [this](int) { emit DriveChanged(Drive()); });
}

QString DriveList::Drive() const { return currentText(); }

void DriveList::SetDriveOf(const QString &path)
{
    const QString abs = QFileInfo(path).absoluteFilePath();
    int best = -1;
    qsizetype bestLen = -1;
    for (int i = 0; i < count(); ++i) {
        QString root = itemText(i);
        if (!root.endsWith(QLatin1Char('/'))) root += QLatin1Char('/');
        if ((abs + QLatin1Char('/')).startsWith(root) && root.size() > bestLen) {
            best = i;
            bestLen = root.size();
        }
    }
    if (best >= 0) setCurrentIndex(best);
}

FolderList::FolderList(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (item) SetPath(item->data(Qt::UserRole).toString());
    });
}

bool FolderList::SetPath(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) return false;
    const QString abs = QDir::cleanPath(info.absoluteFilePath());
    clear();
    QStringList chain;
    for (QDir d(abs);;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp()) break;
    }
    int depth = 0;
    for (const QString &p : chain) {
        const QString name = QDir(p).isRoot() ? p : QFileInfo(p).fileName();
        auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, p);
        ++depth;
    }
    setCurrentRow(count() - 1);
    const QDir here(abs);
    for (const QString &sub : here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, this);
        item->setData(Qt::UserRole, here.filePath(sub));
    }
    path = abs;
    emit PathChanged(path);
    return true;
}

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    // A mouse press makes an item current before it selects it, so the
    // selection, not the current item, says which file was picked; a click on
    // the file already selected picks it again.
    const auto picked = [this] {
        const QString name = FileName();
        if (!name.isEmpty()) emit FileClicked(name);
    };
    connect(this, &QListWidget::itemSelectionChanged, this, picked);
    connect(this, &QListWidget::itemClicked, this, picked);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        if (item) emit FileDoubleClicked(item->text());
    });
}

void FileList::SetPath(const QString &folder)
{
    path = folder;
    Refresh();
}

void FileList::SetPattern(const QString &pattern)
{
    patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    Refresh();
}

QString FileList::FileName() const
{
    const QListWidgetItem *item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FileList::Refresh()
{
    clear();
    if (path.isEmpty()) return;
    // Name filters ignore letter case unless asked otherwise.
    const QDir dir(path);
    addItems(dir.entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name));
    setCurrentRow(-1);
}
