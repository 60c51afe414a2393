#include "files/frmfilesaveas.h"

#include "files/frmfiledialog.h"
#include "files/statsfile.h"
#include "platform/folderlists.h"
#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmFileSaveAs::frmFileSaveAs(IPeltrixApp &a, QWidget *parent) : QDialog(parent), app(a)
{
    setObjectName(QStringLiteral("frmFileSaveAs"));
    setWindowTitle(QStringLiteral("Save File As"));
    Label1 = new QLabel(QStringLiteral("Save File As:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(120, 120, 3015, 255));
    txtFileSave = new QLineEdit(this);
    txtFileSave->setObjectName(QStringLiteral("txtFileSave"));
    txtFileSave->setGeometry(TwipsRect(120, 420, 3015, 315));
    File1 = new FileList(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(TwipsRect(120, 840, 3015, 2235));
    Label2 = new QLabel(QStringLiteral("File Type:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(TwipsRect(120, 3180, 3015, 255));
    cboFileType = new QComboBox(this);
    cboFileType->setObjectName(QStringLiteral("cboFileType"));
    cboFileType->setGeometry(TwipsRect(120, 3480, 3015, 315));
    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(TwipsRect(3360, 420, 3015, 315));
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(TwipsRect(3360, 840, 3015, 2955));
    cmdSaveFile = new QPushButton(QStringLiteral("Save"), this);
    cmdSaveFile->setObjectName(QStringLiteral("cmdSaveFile"));
    cmdSaveFile->setGeometry(TwipsRect(1320, 4020, 1455, 375));
    cmdCancFile = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancFile->setObjectName(QStringLiteral("cmdCancFile"));
    cmdCancFile->setGeometry(TwipsRect(3720, 4020, 1455, 375));
    for (QPushButton *b : {cmdSaveFile, cmdCancFile}) b->setAutoDefault(false);
    connect(Drive1, &DriveList::DriveChanged, this, &frmFileSaveAs::Drive1_Change);
    connect(Dir1, &FolderList::PathChanged, this, &frmFileSaveAs::Dir1_Change);
    connect(File1, &FileList::FileClicked, this, &frmFileSaveAs::File1_Click);
    connect(File1, &FileList::FileDoubleClicked, this, &frmFileSaveAs::File1_DblClick);
    connect(txtFileSave, &QLineEdit::textChanged, this, &frmFileSaveAs::txtFileSave_Change);
    connect(txtFileSave, &QLineEdit::returnPressed, this, &frmFileSaveAs::cmdSaveFile_Click);
    connect(cmdSaveFile, &QPushButton::clicked, this, &frmFileSaveAs::cmdSaveFile_Click);
    connect(cmdCancFile, &QPushButton::clicked, this, &frmFileSaveAs::cmdCancFile_Click);
    setFixedSize(TwipsToPixels(6500), TwipsToPixels(4600));

    // Form_Load
    File1->SetPattern(QStringLiteral("*pxs"));
    const QString folder = StartFolder(app.session.StatsDir, app.session.DocumentsDir);
    Dir1->SetPath(folder);
    Drive1->SetDriveOf(folder);
    cboFileType->addItem(QStringLiteral("Peltrix File    *.pxs"));
    cboFileType->setCurrentIndex(0);
}

void frmFileSaveAs::Drive1_Change()
{
    const QString root = Drive1->Drive();
    if (!(Dir1->Path() + QLatin1Char('/')).startsWith(root)) Dir1->SetPath(root);
}

void frmFileSaveAs::Dir1_Change() { File1->SetPath(Dir1->Path()); }

void frmFileSaveAs::File1_Click()
{
    const QString name = File1->FileName();
    if (name.isEmpty()) return;
    FileName = name;
    txtFileSave->setText(name);
}

void frmFileSaveAs::File1_DblClick()
{
    File1_Click();
    cmdSaveFile_Click();
}

void frmFileSaveAs::txtFileSave_Change() { FileName = txtFileSave->text(); }

void frmFileSaveAs::cmdSaveFile_Click()
{
    Session &s = app.session;
    app.prompter.SetOwner(this);
    const QString previousDir = s.StatsDir;
    s.StatsDir = File1->Path();
    // A path typed into the box, absolute or relative to the folder shown,
    // names its own folder; only its last part is the name.
    if (FileName.isEmpty() || QFileInfo(FileName).fileName().isEmpty()) {
        app.prompter.MsgBox(QStringLiteral("You have not entered a File Name to Save"),
                            QStringLiteral("No File Name"), Buttons::Ok);
        return;
    }
    QString name = FileName;
    if (!QFileInfo(name).fileName().contains(QLatin1Char('.')))
        name += cboFileType->currentText().right(4);
    const QString fullPath = QDir::cleanPath(QDir(File1->Path()).absoluteFilePath(name));
    // Whatever the file system's idea of letter case, an existing file is never
    // replaced without asking.
    if (QFileInfo::exists(fullPath)) {
        const int answer = app.prompter.MsgBox(
            QStringLiteral("File ") + name + QStringLiteral(" exists.\r\rOverwrite Existing File?"),
            QStringLiteral("File Exists"), Buttons::YesNo);
        if (answer != Answer::Yes) return;
    }
    if (!SaveStatsFileOrTell(s, fullPath, app.prompter)) {
        s.StatsDir = previousDir;
        return;
    }
    s.StatsDir = FolderOfPath(fullPath);
    s.StatsFilePath = fullPath;
    accept();
}

void frmFileSaveAs::cmdCancFile_Click() { reject(); }
