// The Target Sheet window's commands: files, finding, export and the logbook.
#include "sheet/frmtargetsheet.h"

#include "detect/holenet.h"
#include "logbook/logbook.h"
#include "platform/menus.h"
#include "sheet/aimfinder.h"
#include "sheet/assign.h"
#include "sheet/sheetcanvas.h"
#include "ui/appinterface.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <cmath>

namespace {
const QString Title = QStringLiteral("Target Sheet");

QString ImageFilter()
{
    QStringList patterns;
    for (const QByteArray &f : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(f);
    return QStringLiteral("Images (%1);;All files (*)").arg(patterns.join(QLatin1Char(' ')));
}
} // namespace

frmTargetSheet::~frmTargetSheet()
{
    if (job) job->disconnect(this);
    delete job; // stops the work and waits for it
}

void frmTargetSheet::BuildMenus()
{
    auto item = [this](QMenu *menu, const char *name, const QString &caption, auto slot,
                       const QKeySequence &keys = {}) {
        return AddMenuItem(this, menu, name, caption, slot, keys);
    };
    QMenu *file = AddMenu(menuBar(), "mnuSheetFile", QStringLiteral("&File"));
    item(file, "mnuSheetImport", QStringLiteral("&Import Scan..."), [this] {
        if (const QString p = AskPath(false, QStringLiteral("Import Scan"), {}, ImageFilter());
            !p.isEmpty())
            ImportScan(p);
    });
    item(
        file, "mnuSheetOpen", QStringLiteral("&Open Sheet..."),
        [this] {
            if (const QString p = AskPath(false, QStringLiteral("Open Sheet"), {},
                                          QStringLiteral("Target sheets (*.pxsheet)"));
                !p.isEmpty())
                OpenSheet(p);
        },
        QKeySequence::Open);
    item(
        file, "mnuSheetSave", QStringLiteral("&Save Sheet"),
        [this] {
            const QString p = doc.Path().isEmpty()
                                  ? AskPath(true, QStringLiteral("Save Sheet"),
                                            doc.Name() + QStringLiteral(".pxsheet"),
                                            QStringLiteral("Target sheets (*.pxsheet)"))
                                  : doc.Path();
            if (!p.isEmpty()) SaveSheet(p);
        },
        QKeySequence::Save);
    item(file, "mnuSheetSaveAs", QStringLiteral("Save Sheet &As..."), [this] {
        if (const QString p = AskPath(true, QStringLiteral("Save Sheet As"),
                                      doc.Name() + QStringLiteral(".pxsheet"),
                                      QStringLiteral("Target sheets (*.pxsheet)"));
            !p.isEmpty())
            SaveSheet(p);
    });
    file->addSeparator();
    item(file, "mnuSheetExportGroups", QStringLiteral("Export Groups (.pxs)..."), [this] {
        if (const QString p =
                AskPath(true, QStringLiteral("Export Groups"), doc.Name() + QStringLiteral(".pxs"),
                        QStringLiteral("Statistics files (*.pxs)"));
            !p.isEmpty())
            ExportGroups(p);
    });
    item(file, "mnuSheetExportCsv", QStringLiteral("Export Shots (CSV)..."), [this] {
        if (const QString p =
                AskPath(true, QStringLiteral("Export Shots"), doc.Name() + QStringLiteral(".csv"),
                        QStringLiteral("CSV files (*.csv)"));
            !p.isEmpty())
            ExportCsv(p);
    });
    item(file, "mnuSheetExportImage", QStringLiteral("Export Marked Card..."), [this] {
        if (const QString p = AskPath(true, QStringLiteral("Export Marked Card"),
                                      doc.Name() + QStringLiteral(" marked.png"),
                                      QStringLiteral("Images (*.png *.jpg)"));
            !p.isEmpty())
            ExportImage(p);
    });
    item(
        file, "mnuSheetPrint", QStringLiteral("&Print Sheet..."),
        [this] {
            if (const QString p = AskPath(true, QStringLiteral("Print Sheet"),
                                          doc.Name() + QStringLiteral(".pdf"),
                                          QStringLiteral("PDF files (*.pdf)"));
                !p.isEmpty())
                PrintSheet(p);
        },
        QKeySequence::Print);
    file->addSeparator();
    item(file, "mnuSheetLogGroup", QStringLiteral("Add Group to &Logbook"),
         [this] { AddToLogbook(false); });
    item(file, "mnuSheetLogAll", QStringLiteral("Add All Groups to Logbook"),
         [this] { AddToLogbook(true); });
    file->addSeparator();
    item(file, "mnuSheetClose", QStringLiteral("&Close"), [this] { close(); });

    // Every change to the sheet is a step of the document's stack.
    QMenu *changes = AddMenu(menuBar(), "mnuSheetEditing", QStringLiteral("&Edit"));
    undo = doc.Stack().createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("mnuSheetUndo"));
    undo->setShortcut(QKeySequence::Undo);
    redo = doc.Stack().createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("mnuSheetRedo"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    changes->addActions({undo, redo});

    QMenu *edit = AddMenu(menuBar(), "mnuSheetEdit", QStringLiteral("&Card"));
    item(edit, "mnuSheetFindAims", QStringLiteral("Find &Aims"), [this] { FindAims(); });
    item(edit, "mnuSheetFindHoles", QStringLiteral("Find &Holes"), [this] { FindHoles(); });
    item(edit, "mnuSheetStraighten", QStringLiteral("&Straighten Picture..."),
         [this] { StraightenPicture(); });
    item(edit, "mnuSheetAssign", QStringLiteral("Assign Shots to &Groups Again"),
         [this] { doc.AssignAgain(); });
    item(edit, "mnuSheetMoveShot", QStringLiteral("&Move Shot to Group..."), [this] {
        const TargetSheet &Sheet = doc.Sheet();
        const int shot = picSheet->SelectedShot;
        if (shot < 0 || size_t(shot) >= Sheet.Shots.size()) {
            Tell(QStringLiteral("Click a shot first."));
            return;
        }
        app.prompter.SetOwner(this);
        const auto answer = app.prompter.InputBox(
            QStringLiteral("Group (1 to %1) of the selected shot:").arg(Sheet.Marks.size()), Title,
            QString::number(Sheet.Shots[size_t(shot)].group + 1));
        if (!answer) return;
        bool ok = false;
        const int g = answer->trimmed().toInt(&ok);
        if (!ok || g < 1 || g > int(Sheet.Marks.size())) {
            Tell(QStringLiteral("There is no group %1.").arg(answer->trimmed()));
            return;
        }
        MoveShot(shot, g - 1);
    });
}

void frmTargetSheet::Tell(const QString &text, bool warn)
{
    app.prompter.SetOwner(this);
    app.prompter.MsgBox(text, Title, Buttons::Ok, warn ? Icon::Exclamation : Icon::Information);
}

QString frmTargetSheet::AskPath(bool save, const QString &title, const QString &suggested,
                                const QString &filter)
{
    app.prompter.SetOwner(this);
    const QString folder = doc.Path().isEmpty() ? QFileInfo(doc.Sheet().ImagePath).absolutePath()
                                                : QFileInfo(doc.Path()).absolutePath();
    const auto p = save ? app.prompter.SaveFileName(title, QDir(folder).filePath(suggested), filter)
                        : app.prompter.OpenFileName(title, folder, filter);
    return p.value_or(QString());
}

bool frmTargetSheet::AskSave()
{
    if (!doc.Modified()) return true;
    app.prompter.SetOwner(this);
    const int a = app.prompter.MsgBox(QStringLiteral("The sheet has changed. Save it first?"),
                                      Title, Buttons::YesNoCancel, Icon::Exclamation);
    if (a == Answer::Cancel) return false;
    if (a == Answer::No) return true;
    const QString p = doc.Path().isEmpty() ? AskPath(true, QStringLiteral("Save Sheet"),
                                                     doc.Name() + QStringLiteral(".pxsheet"),
                                                     QStringLiteral("Target sheets (*.pxsheet)"))
                                           : doc.Path();
    return !p.isEmpty() && SaveSheet(p);
}

void frmTargetSheet::closeEvent(QCloseEvent *e)
{
    if (Busy() || !AskSave()) {
        e->ignore();
        return;
    }
    e->accept();
}

bool frmTargetSheet::ImportScan(const QString &path)
{
    if (Busy() || !AskSave()) return false;
    QString why;
    const auto image = ReadCardImage(path, &why);
    if (!image) {
        Tell(why);
        return false;
    }
    picSheet->SelectedGroup = picSheet->SelectedShot = picSheet->SelectedMark = -1;
    const auto from =
        doc.Import(path, *image, RememberedDpi(app.session.AppDataDir, image->size()));
    statusBar()->showMessage(
        from == SheetDocument::ScaleFrom::None
            ? QStringLiteral("Set the scale: the resolution in dots per inch or two clicks.")
        : from == SheetDocument::ScaleFrom::File
            ? QStringLiteral("Scale from the scan's resolution.")
            : QStringLiteral("Scale from the resolution last typed for a card of this size."));
    return true;
}

bool frmTargetSheet::OpenSheet(const QString &path)
{
    if (Busy() || !AskSave()) return false;
    QString why, cardWhy;
    if (!doc.Open(path, &why, &cardWhy)) {
        Tell(QStringLiteral("%1 cannot be opened as a target sheet.\r%2").arg(path, why));
        return false;
    }
    picSheet->SelectedShot = picSheet->SelectedMark = -1;
    SelectGroup(-1);
    if (!cardWhy.isEmpty())
        Tell(QStringLiteral("The sheet is open with its marks and shots, but its scan cannot be "
                            "shown.\r%1")
                 .arg(cardWhy));
    return true;
}

bool frmTargetSheet::SaveSheet(const QString &path)
{
    QString why;
    if (!doc.Save(path, &why)) {
        Tell(QStringLiteral("%1 could not be written.\r%2").arg(path, why));
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Saved ") + path);
    return true;
}

bool frmTargetSheet::ReadyToFind()
{
    QString why;
    const TargetSheet &Sheet = doc.Sheet();
    if (doc.Card().isNull() || Sheet.ImagePath.isEmpty())
        why = QStringLiteral("Import a scanned card first.");
    else if (!Sheet.Scaled())
        why = QStringLiteral("Set the scale first: the scan's resolution or two clicks on a known "
                             "length.");
    else
        why = CheckCardRequest(Sheet, doc.Card().size());
    if (why.isEmpty()) return !Busy();
    Tell(why);
    return false;
}

void frmTargetSheet::FindAims()
{
    if (!ReadyToFind()) return;
    if (const TargetSheet &Sheet = doc.Sheet(); !Sheet.Marks.empty()) {
        app.prompter.SetOwner(this);
        if (app.prompter.MsgBox(QStringLiteral("Find the aiming marks again? The %1 marks and "
                                               "their labels are replaced.")
                                    .arg(Sheet.Marks.size()),
                                Title, Buttons::YesNo, Icon::Exclamation) != Answer::Yes)
            return;
    }
    StartWork(QStringLiteral("Finding the aiming marks"), QStringLiteral("Find Aims"),
              [](TargetSheet &s, const QImage &image, const SheetProgress &progress) {
                  s.Marks = FindAimMarks(image, s.BulletDiameter * s.PixelsPerUnit);
                  if (!progress(0.8)) return false;
                  AssignShots(s);
                  return progress(1);
              });
}

void frmTargetSheet::FindHoles()
{
    if (!ReadyToFind()) return;
    if (doc.Sheet().ShotsPerGroup <= 0) {
        // Asked once a sheet: a group found short or long is then marked.
        app.prompter.SetOwner(this);
        const auto answer = app.prompter.InputBox(
            QStringLiteral("How many shots should each group have? (Leave it empty when they "
                           "differ.)"),
            Title, QString());
        bool ok = false;
        const int shots = answer ? answer->trimmed().toInt(&ok) : 0;
        if (ok && shots > 0 && shots <= 10000) {
            doc.SetShotsPerGroup(shots);
        } else if (answer && !answer->trimmed().isEmpty()) {
            Tell(QStringLiteral("The number of shots must be a whole number above 0."));
            return;
        }
    }
    StartWork(QStringLiteral("Finding the holes"), QStringLiteral("Find Holes"),
              [](TargetSheet &s, const QImage &image, const SheetProgress &progress) {
                  return ReadCard(s, image, progress);
              });
}

void frmTargetSheet::StartWork(const QString &what, const QString &step, Job work)
{
    auto result = std::make_shared<TargetSheet>(doc.Sheet());
    auto done = std::make_shared<bool>(false);
    const QImage image = doc.Card();
    job = new SearchJob(
        [=](const SearchControl &control) {
            *done = work(*result, image, [&control](double d) {
                control.Progress(d);
                return !control.Cancelled();
            });
        },
        this);
    connect(job, &SearchJob::Progress, this,
            [this](int percent) { prgWork->setValue(percent * 10); });
    connect(job, &SearchJob::Finished, this, [this, result, done, what, step](bool cancelled) {
        job->deleteLater();
        job = nullptr;
        SetBusy(false);
        if (*done && !cancelled) {
            picSheet->SelectedShot = picSheet->SelectedMark = -1;
            doc.Replace(*result, step);
            const TargetSheet &Sheet = doc.Sheet();
            const auto found = std::count_if(Sheet.Shots.begin(), Sheet.Shots.end(),
                                             [](const SheetShot &s) { return s.accepted; });
            statusBar()->showMessage(
                Sheet.Marks.empty()
                    ? QStringLiteral("No aiming marks found: click them in with \"Click: aiming "
                                     "marks\".")
                    : QStringLiteral("%1 aiming marks, %2 shots.")
                          .arg(Sheet.Marks.size())
                          .arg(found));
        } else {
            statusBar()->showMessage(what + QStringLiteral(": cancelled, nothing changed."));
        }
        emit WorkFinished();
    });
    SetBusy(true);
    statusBar()->showMessage(what + QStringLiteral("..."));
}

void frmTargetSheet::SetBusy(bool busy)
{
    prgWork->setVisible(busy);
    prgWork->setValue(0);
    cmdCancel->setVisible(busy);
    cmdFindAims->setEnabled(!busy);
    const QString off = HoleModelProblem();
    cmdFindHoles->setEnabled(!busy && off.isEmpty());
    cmdFindHoles->setToolTip(off);
    picSheet->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    // The found sheet lands on the stack as it was when the work began.
    if (undo) undo->setEnabled(!busy && doc.Stack().canUndo());
    if (redo) redo->setEnabled(!busy && doc.Stack().canRedo());
}

void frmTargetSheet::ScalePicked(QPointF a, QPointF b)
{
    app.prompter.SetOwner(this);
    const auto answer = app.prompter.InputBox(
        QStringLiteral("Length between the two points, in %1:").arg(doc.Sheet().UnitName.trimmed()),
        Title, QString());
    cboMode->setCurrentIndex(0);
    if (!answer) return;
    bool ok = false;
    const double length = answer->trimmed().toDouble(&ok);
    QString why;
    if (!doc.ScaleFromPoints(a, b, ok ? length : 0, &why)) Tell(why);
}
