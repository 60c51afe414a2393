#pragma once
#include <QDialog>

class IPeltrixApp;
class DriveList;
class FolderList;
class FileList;
class QLabel;
class QLineEdit;
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
    // Where a path can be typed or pasted: a folder is shown, a file opened.
    QLabel *lblLocation;
    QLineEdit *txtLocation;

    void PrepareFileDialog();

public slots:
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_DblClick();
    void cmdImportFile_Click();
    void cmdCancFile_Click();
    void txtLocation_Return();

private:
    IPeltrixApp &app;
    // The file chosen so far; the session takes it only when it is opened.
    QString chosenPath;
};

// The folder a file window starts in: `folder` while it exists, otherwise the
// folder of the last file used, the documents folder, the home folder.
QString StartFolder(const QString &folder, const QString &documentsDir,
                    const QString &lastFile = QString());
// The import pattern: every image extension the installed image plugins
// read ("*.gif;*.jpg;..."); the file list ignores letter case.
QString ImportPattern();
