#pragma once
#include <QDialog>

class IPeltrixApp;
class DriveList;
class FolderList;
class FileList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The program's own save-as window for statistics files.
class frmFileSaveAs : public QDialog {
    Q_OBJECT
public:
    explicit frmFileSaveAs(IPeltrixApp &app, QWidget *parent = nullptr);

    QLabel *Label1, *Label2;
    QLineEdit *txtFileSave;
    QComboBox *cboFileType;
    FileList *File1;
    DriveList *Drive1;
    FolderList *Dir1;
    QPushButton *cmdSaveFile, *cmdCancFile;

    // The name being entered.
    QString FileName;

public slots:
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_DblClick();
    void txtFileSave_Change();
    void cmdSaveFile_Click();
    void cmdCancFile_Click();

private:
    IPeltrixApp &app;
};
