#pragma once
#include <QDialog>

class IPeltrixApp;
class DriveList;
class FolderList;
class FileList;
class QPushButton;

// The program's own file chooser: opens a statistics file (FileDialogMode 1)
// or chooses a target image to import (mode 2), each into a fresh session.
class frmFileDialog : public QDialog {
    Q_OBJECT
public:
    explicit frmFileDialog(IPeltrixApp &app, QWidget *parent = nullptr);

    DriveList *Drive1;
    FolderList *Dir1;
    FileList *File1;
    QPushButton *cmdImportFile, *cmdCancFile;

    void PrepareFileDialog();

public slots:
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_DblClick();
    void cmdImportFile_Click();
    void cmdCancFile_Click();

private:
    IPeltrixApp &app;
    // The file chosen so far; the session takes it only when it is opened.
    QString chosenPath;
};

// The folder a file window starts in: `folder` while it exists, otherwise the
// documents folder, otherwise the home folder.
QString StartFolder(const QString &folder, const QString &documentsDir);
