#include "entry/frmkeyboardenter.h"

#include "entry/frmtextenter.h"
#include "platform/menus.h"
#include "platform/placement.h"
#include "ui/appinterface.h"

#include <QCloseEvent>
#include <QMenuBar>

frmKeyBoardEnter::frmKeyBoardEnter(IPeltrixApp &a, QWidget *parent)
    : QMainWindow(parent, Qt::Window), app(a)
{
    setObjectName(QStringLiteral("frmKeyBoardEnter"));
    setWindowTitle(QStringLiteral("Keyboard Data Entry"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto item = [this](auto &&...args) { return AddMenuItem(this, args...); };
    QMenu *mnuKBFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuKBFile->setObjectName(QStringLiteral("mnuKBFile"));
    // The graphical entry window's keys, so both entry windows answer alike.
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    mnuKBNew = item(mnuKBFile, "mnuKBNew", QStringLiteral("New"), &frmKeyBoardEnter::mnuKBNew_Click,
                    ctrl(Qt::Key_N));
    mnuKBOpen = item(mnuKBFile, "mnuKBOpen", QStringLiteral("Open"),
                     &frmKeyBoardEnter::mnuKBOpen_Click, ctrl(Qt::Key_O));
    mnuKBSave = item(mnuKBFile, "mnuKBSave", QStringLiteral("Save"),
                     &frmKeyBoardEnter::mnuKBSave_Click, ctrl(Qt::Key_S));
    mnuKBSaveAs = item(mnuKBFile, "mnuKBSaveAs", QStringLiteral("Save As"),
                       &frmKeyBoardEnter::mnuKBSaveAs_Click, ctrl(Qt::Key_A));
    app.AddLogbookItem(this, mnuKBFile, "mnuKBAddLogbook");
    mnuKBFile->addSeparator();
    mnuKBExport = item(mnuKBFile, "mnuKBExport", QStringLiteral("Export Shot Data"),
                       &frmKeyBoardEnter::mnuKBExport_Click);
    mnuKBPrint = item(mnuKBFile, "mnuKBPrint", QStringLiteral("Print Statistics"),
                      &frmKeyBoardEnter::mnuKBPrint_Click, ctrl(Qt::Key_P));
    mnuKBFile->addSeparator();
    mnuKBClose = item(mnuKBFile, "mnuKBClose", QStringLiteral("Close Text Entry"),
                      &frmKeyBoardEnter::mnuKBClose_Click, ctrl(Qt::Key_Q));
    QMenu *mnuKBView = menuBar()->addMenu(QStringLiteral("View"));
    mnuKBView->setObjectName(QStringLiteral("mnuKBView"));
    mnuKBViewStats = item(mnuKBView, "mnuKBViewStats", QStringLiteral("View Statistics"),
                          &frmKeyBoardEnter::mnuKBViewStats_Click);
    mnuKBViewAnalysis = item(mnuKBView, "mnuKBViewAnalysis", QStringLiteral("View Group Analysis"),
                             &frmKeyBoardEnter::mnuKBViewAnalysis_Click);
    app.ViewLogbookItem(this, mnuKBView, "mnuKBViewLogbook");
    mnuKBViewHeader = item(mnuKBView, "mnuKBViewHeader", QStringLiteral("View Header Form"),
                           &frmKeyBoardEnter::mnuKBViewHeader_Click);
    QMenu *mnuKBHelp = menuBar()->addMenu(QStringLiteral("Help"));
    mnuKBHelp->setObjectName(QStringLiteral("mnuKBHelp"));
    mnuKBManual = item(mnuKBHelp, "mnuKBManual", QStringLiteral("Peltrix Manual"),
                       &frmKeyBoardEnter::mnuKBManual_Click);
    mnuKBAbout = item(mnuKBHelp, "mnuKBAbout", QStringLiteral("About Peltrix"),
                      &frmKeyBoardEnter::mnuKBAbout_Click);
    // New does nothing here; it stays visible as it always was.
    mnuKBNew->setEnabled(false);
}

void frmKeyBoardEnter::Form_Load()
{
    // The header comes first, before this window shows.
    if (!app.session.HeaderEntered)
        app.ShowHeaderForm(isVisible() ? static_cast<QWidget *>(this) : app.MainWindow());
    app.ShowTextEntryForm();
    // Below the main window, clear of its menu bar.
    PlaceBelow(this, app.MainWindow());
    show();
    raise();
    app.ShowStatistics(this);
}

void frmKeyBoardEnter::ShowEntryForm(QWidget *entry)
{
    // The entry form is this window's client area: one window under one menu bar.
    if (centralWidget() != entry) setCentralWidget(entry);
    entry->show();
    setFixedSize(sizeHint());
}

void frmKeyBoardEnter::mnuKBNew_Click() {}

void frmKeyBoardEnter::mnuKBOpen_Click() { app.OpenFileDialog(1, this); }

void frmKeyBoardEnter::mnuKBSave_Click() { app.SaveStats(this); }

void frmKeyBoardEnter::mnuKBSaveAs_Click() { app.SaveStatsAs(this); }

void frmKeyBoardEnter::mnuKBExport_Click() { app.ExportShots(this); }

void frmKeyBoardEnter::mnuKBPrint_Click() { app.PrintStats(this); }

void frmKeyBoardEnter::mnuKBClose_Click() { close(); }

void frmKeyBoardEnter::mnuKBViewStats_Click() { app.ShowStatistics(this); }

void frmKeyBoardEnter::mnuKBViewAnalysis_Click() { app.ShowGroupAnalysis(this); }

void frmKeyBoardEnter::mnuKBViewHeader_Click() { app.ShowHeaderForm(this); }

void frmKeyBoardEnter::mnuKBManual_Click() { app.OpenManual(this); }

void frmKeyBoardEnter::mnuKBAbout_Click() { app.ShowAbout(false); }

void frmKeyBoardEnter::closeEvent(QCloseEvent *event)
{
    // The entry form belongs to this window and goes with it.
    app.CloseTextEntryForm();
    app.ReleaseOwned(this);
    QMainWindow::closeEvent(event);
}
