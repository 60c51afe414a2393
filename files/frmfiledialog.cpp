#include "files/frmfiledialog.h"

#include "app/appinterface.h"
#include "app/frmmain.h"
#include "files/statsfile.h"
#include "platform/folderlists.h"
#include "platform/screen.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

QString StartFolder(const QString &folder, const QString &documentsDir)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    if (!documentsDir.isEmpty() && QFileInfo(documentsDir).isDir()) return documentsDir;
    return QDir::homePath();
}

frmFileDialog::frmFileDialog(IPeltrixApp &a, QWidget *parent) : QDialog(parent), app(a)
{
    setObjectName(QStringLiteral("frmFileDialog"));
    setWindowTitle(QStringLiteral("Open Graphical File"));
    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(TwipsRect(120, 120, 3135, 315));
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(TwipsRect(120, 540, 3135, 2790));
    File1 = new FileList(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(TwipsRect(3480, 120, 3015, 3210));
    cmdImportFile = new QPushButton(QStringLiteral("Open File"), this);
    cmdImportFile->setObjectName(QStringLiteral("cmdImportFile"));
    cmdImportFile->setGeometry(TwipsRect(1320, 3540, 1455, 375));
    cmdCancFile = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancFile->setObjectName(QStringLiteral("cmdCancFile"));
    cmdCancFile->setGeometry(TwipsRect(3840, 3540, 1455, 375));
    for (QPushButton *b : {cmdImportFile, cmdCancFile}) b->setAutoDefault(false);
    connect(Drive1, &DriveList::DriveChanged, this, &frmFileDialog::Drive1_Change);
    connect(Dir1, &FolderList::PathChanged, this, &frmFileDialog::Dir1_Change);
    connect(File1, &FileList::FileClicked, this, &frmFileDialog::File1_Click);
    connect(File1, &FileList::FileDoubleClicked, this, &frmFileDialog::File1_DblClick);
    connect(cmdImportFile, &QPushButton::clicked, this, &frmFileDialog::cmdImportFile_Click);
    connect(cmdCancFile, &QPushButton::clicked, this, &frmFileDialog::cmdCancFile_Click);
    setFixedSize(TwipsToPixels(6615), TwipsToPixels(4100));
    PrepareFileDialog();
}

void frmFileDialog::PrepareFileDialog()
{
    const Session &s = app.session;
    const bool images = s.FileDialogMode == 2;
    const QString folder = StartFolder(images ? s.ImageDir : s.StatsDir, s.DocumentsDir);
    File1->SetPattern(images ? QStringLiteral("*.gif;*.jpg;*.bmp") : QStringLiteral("*.pxs"));
    Dir1->SetPath(folder);
    Drive1->SetDriveOf(folder);
    chosenPath.clear();
}

void frmFileDialog::Drive1_Change()
{
    // A drive's current folder: where the lists are while it holds them, else its root.
    const QString root = Drive1->Drive();
    const QString here = Dir1->Path();
    if (!(here + QLatin1Char('/')).startsWith(root)) Dir1->SetPath(root);
}

void frmFileDialog::Dir1_Change()
{
    File1->SetPath(Dir1->Path());
    chosenPath.clear();
}

void frmFileDialog::File1_Click()
{
    const QString name = File1->FileName();
    chosenPath = name.isEmpty() ? QString() : File1->Path() + QLatin1Char('/') + name;
}

void frmFileDialog::File1_DblClick()
{
    File1_Click();
    cmdImportFile_Click();
}

void frmFileDialog::cmdImportFile_Click()
{
    hide();
    app.prompter.SetOwner(parentWidget());
    File1_Click();
    if (chosenPath.isEmpty()) {
        app.prompter.MsgBox(QStringLiteral("You must select a valid file"),
                            QStringLiteral("No File Name Entered"), Buttons::Ok);
        reject();
        return;
    }
    // The chosen file replaces the group: unsaved work is offered for saving
    // first, and Cancel (or a save that did not happen) keeps it.
    if (!app.ConfirmDiscard(parentWidget())) {
        reject();
        return;
    }
    Session &s = app.session;
    if (s.FileDialogMode == 1) {
        if (OpenStatsFileOrTell(s, chosenPath, app.prompter)) {
            if (!s.GraphicalEntryActive)
                app.ViewTextEntry();
            else
                app.ViewGraphicalEntry();
            s.StatsSaved = true;
        }
    } else {
        const QString image = chosenPath;
        ResetSession(s);
        s.ImagePath = image;
        s.ImageDir = FolderOfPath(image);
        app.ViewGraphicalEntry();
    }
    accept();
}

void frmFileDialog::cmdCancFile_Click()
{
    // Called off, in either mode: the session, its image path included, stays
    // as it was.
    reject();
}
