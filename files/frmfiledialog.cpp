#include "files/frmfiledialog.h"

#include "files/statsfile.h"
#include "platform/folderlists.h"
#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString StartFolder(const QString &folder, const QString &documentsDir, const QString &lastFile)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    const QString lastFolder = lastFile.isEmpty() ? QString() : QFileInfo(lastFile).absolutePath();
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
    if (!documentsDir.isEmpty() && QFileInfo(documentsDir).isDir()) return documentsDir;
    return QDir::homePath();
}

QString ImportPattern()
{
    // The usual scan formats first, then whatever else the image plugins read.
    QStringList names = {QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                         QStringLiteral("bmp"), QStringLiteral("png"), QStringLiteral("tif"),
                         QStringLiteral("tiff")};
    QStringList readable;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        readable << QString::fromLatin1(format).toLower();
    QStringList patterns;
    for (const QString &name : names + readable)
        if (readable.contains(name) && !patterns.contains(QStringLiteral("*.") + name))
            patterns << QStringLiteral("*.") + name;
    return patterns.join(QLatin1Char(';'));
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
    lblLocation = new QLabel(QStringLiteral("Location:"), this);
    lblLocation->setObjectName(QStringLiteral("lblLocation"));
    lblLocation->setGeometry(TwipsRect(120, 3450, 900, 285));
    txtLocation = new QLineEdit(this);
    txtLocation->setObjectName(QStringLiteral("txtLocation"));
    txtLocation->setGeometry(TwipsRect(1080, 3420, 5415, 315));
    txtLocation->setPlaceholderText(QStringLiteral("Type or paste a folder or file, then Enter"));
    cmdImportFile->setGeometry(TwipsRect(1320, 3900, 1455, 375));
    cmdCancFile = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancFile->setObjectName(QStringLiteral("cmdCancFile"));
    cmdCancFile->setGeometry(TwipsRect(3840, 3900, 1455, 375));
    for (QPushButton *b : {cmdImportFile, cmdCancFile}) b->setAutoDefault(false);
    connect(Drive1, &DriveList::DriveChanged, this, &frmFileDialog::Drive1_Change);
    connect(Dir1, &FolderList::PathChanged, this, &frmFileDialog::Dir1_Change);
    connect(File1, &FileList::FileClicked, this, &frmFileDialog::File1_Click);
    connect(File1, &FileList::FileDoubleClicked, this, &frmFileDialog::File1_DblClick);
    connect(cmdImportFile, &QPushButton::clicked, this, &frmFileDialog::cmdImportFile_Click);
    connect(cmdCancFile, &QPushButton::clicked, this, &frmFileDialog::cmdCancFile_Click);
    connect(txtLocation, &QLineEdit::returnPressed, this, &frmFileDialog::txtLocation_Return);
    setFixedSize(TwipsToPixels(6615), TwipsToPixels(4460));
    PrepareFileDialog();
}

void frmFileDialog::PrepareFileDialog()
{
    const Session &s = app.session;
    const bool images = s.FileDialogMode == 2;
    const QString folder = StartFolder(images ? s.ImageDir : s.StatsDir, s.DocumentsDir,
                                       images ? s.ImagePath : s.StatsFilePath);
    File1->SetPattern(images ? ImportPattern() : QStringLiteral("*.pxs"));
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

void frmFileDialog::txtLocation_Return()
{
    QString text = txtLocation->text().trimmed();
    if (text.isEmpty()) return;
    if (text == QStringLiteral("~") || text.startsWith(QStringLiteral("~/")))
        text = QDir::homePath() + text.mid(1);
    // A relative path is taken from the folder shown.
    const QFileInfo info(QDir(Dir1->Path()).absoluteFilePath(text));
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    app.prompter.SetOwner(this);
    if (info.isDir()) {
        Dir1->SetPath(path);
        Drive1->SetDriveOf(path);
        txtLocation->clear();
        return;
    }
    if (!info.isFile()) {
        app.prompter.MsgBox(QStringLiteral("There is no file or folder ") + path, windowTitle(),
                            Buttons::Ok, Icon::Exclamation);
        return;
    }
    // A file opens as if chosen in the lists, so both ways act alike.
    Dir1->SetPath(info.absolutePath());
    Drive1->SetDriveOf(info.absolutePath());
    const auto found =
        File1->findItems(info.fileName(), Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (found.isEmpty()) {
        app.prompter.MsgBox(QStringLiteral("Not a file this window opens: ") + path, windowTitle(),
                            Buttons::Ok, Icon::Exclamation);
        return;
    }
    File1->setCurrentItem(found.first());
    found.first()->setSelected(true);
    cmdImportFile_Click();
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
            if (!s.GraphicalEntryActive) {
                // The picture and marks there belong to the group just replaced.
                app.CloseGraphWindows();
                app.ViewTextEntry();
            } else
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
