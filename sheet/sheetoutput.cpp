// The Target Sheet window's output: exports, the printed page, the logbook,
// and the menu items that open the window.
#include "sheet/frmtargetsheet.h"

#include "logbook/logbook.h"
#include "platform/menus.h"
#include "sheet/loadplot.h"
#include "sheet/sheetcanvas.h"
#include "sheet/sheetexport.h"
#include "sheet/sheetpage.h"
#include "ui/appinterface.h"

#include <QComboBox>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>

namespace {
const QString Title = QStringLiteral("Target Sheet");
} // namespace

bool frmTargetSheet::ExportGroups(const QString &pxsPath)
{
    const QFileInfo at(pxsPath);
    QStringList written;
    QString why;
    if (!ExportGroupFiles(doc.Sheet(), at.absolutePath(), at.completeBaseName(), &written, &why)) {
        Tell(why);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("%1 group files written.").arg(written.size()));
    return true;
}

bool frmTargetSheet::ExportCsv(const QString &path)
{
    QString why;
    if (!ExportSheetCsv(doc.Sheet(), doc.Name(), path, &why)) {
        Tell(QStringLiteral("%1 could not be written.\r%2").arg(path, why));
        return false;
    }
    return true;
}

bool frmTargetSheet::ExportImage(const QString &path)
{
    QString why;
    if (!ExportMarkedCard(doc.Card(), doc.Sheet(), path, &why)) {
        Tell(QStringLiteral("%1 could not be written.\r%2").arg(path, why));
        return false;
    }
    return true;
}

bool frmTargetSheet::PrintSheet(const QString &pdfPath)
{
    const TargetSheet &sheet = doc.Sheet();
    const SheetFigures &figures = doc.Figures();
    SheetPage page{sheet,
                   figures,
                   doc.Card(),
                   doc.Name(),
                   std::max(0, cboShow->currentIndex()),
                   [&](QPainter &p, const QRectF &box) { DrawLoadChart(p, box, sheet, figures); }};
    QString why;
    if (!PrintSheetPdf(pdfPath, page, &why)) {
        Tell(why);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Printed to ") + pdfPath);
    return true;
}

void frmTargetSheet::AddToLogbook(bool all)
{
    const int selected = picSheet->SelectedGroup;
    if (!all && (selected < 0 || size_t(selected) >= doc.Sheet().Marks.size())) {
        Tell(QStringLiteral("Select a group in the table first."));
        return;
    }
    std::vector<LogbookEntry> entries =
        SheetLogbookEntries(doc.Sheet(), doc.Path(), all ? -1 : selected);
    if (entries.empty()) {
        Tell(QStringLiteral("There is no group with shots to add."));
        return;
    }
    Logbook book;
    if (!app.OpenLogbook(book, this)) return;
    const size_t n = entries.size();
    if (!book.Add(std::move(entries))) {
        Tell(book.ErrorString());
        return;
    }
    statusBar()->showMessage(QStringLiteral("%1 groups added to the logbook.").arg(n));
}

namespace {
frmTargetSheet *ShowSheetWindow(IPeltrixApp &app)
{
    frmTargetSheet *w = app.TargetSheet();
    w->show();
    w->raise();
    return w;
}
} // namespace

void AddOpenSheetItem(IPeltrixApp &app, QMainWindow *owner, QMenu *file)
{
    IPeltrixApp *a = &app;
    QAction *open = file->addAction(QStringLiteral("Open S&heet..."));
    open->setObjectName(QStringLiteral("mnuOpenSheet"));
    QObject::connect(open, &QAction::triggered, owner, [a, owner] {
        frmTargetSheet *w = a->TargetSheet();
        a->prompter.SetOwner(owner);
        const auto path = a->prompter.OpenFileName(QStringLiteral("Open Sheet"), QString(),
                                                   QStringLiteral("Target sheets (*.pxsheet)"));
        if (path && w->OpenSheet(*path)) ShowSheetWindow(*a);
    });
}

void AddViewSheetItem(IPeltrixApp &app, QMainWindow *owner, QMenu *view)
{
    IPeltrixApp *a = &app;
    QAction *sheet = view->addAction(QStringLiteral("Target &Sheet"));
    sheet->setObjectName(QStringLiteral("mnuViewSheet"));
    QObject::connect(sheet, &QAction::triggered, owner, [a] { ShowSheetWindow(*a); });
}
