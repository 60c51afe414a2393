#pragma once
// The drive, folder and file lists of the program's own file windows.
// Drives are the mounted volumes, named by their root folders.
#include <QComboBox>
#include <QListWidget>

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);
    // The root folder of the chosen volume.
    QString Drive() const;
    // Chooses the volume that holds `path` (the deepest mount point above it).
    void SetDriveOf(const QString &path);
signals:
    void DriveChanged(const QString &root);
};

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);
    QString Path() const { return path; }
    // Shows `folder`: its parents above it, its subfolders below. False (and
    // nothing changes) when it is not an existing folder.
    bool SetPath(const QString &folder);
signals:
    void PathChanged(const QString &folder);

private:
    QString path;
};

class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);
    QString Path() const { return path; }
    void SetPath(const QString &folder);
    // Patterns separated by ";", letter case ignored: "*.gif;*.jpg;*.bmp".
    void SetPattern(const QString &pattern);
    // The selected file's name, empty when none is selected.
    QString FileName() const;
    void Refresh();
signals:
    void FileClicked(const QString &name);
    void FileDoubleClicked(const QString &name);

private:
    QString path;
    QStringList patterns;
};
