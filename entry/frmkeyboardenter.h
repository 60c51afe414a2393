#pragma once
#include <QMainWindow>

class IPeltrixApp;
class QAction;

// Keyboard entry's window: a menu bar over the entry form. Opening it opens
// the header form first (until a header was entered), then the entry form
// and the statistics window beside it.
class frmKeyBoardEnter : public QMainWindow {
    Q_OBJECT
public:
    explicit frmKeyBoardEnter(IPeltrixApp &app, QWidget *parent = nullptr);

    QAction *mnuKBNew, *mnuKBOpen, *mnuKBSave, *mnuKBSaveAs, *mnuKBExport, *mnuKBPrint, *mnuKBClose,
        *mnuKBViewStats, *mnuKBViewAnalysis, *mnuKBViewHeader, *mnuKBManual, *mnuKBAbout;

    // The load event; runs when the window is first shown.
    void Form_Load();
    // Puts the entry form (back) under the menu bar and shows it.
    void ShowEntryForm(QWidget *entry);

public slots:
    void mnuKBNew_Click();
    void mnuKBOpen_Click();
    void mnuKBSave_Click();
    void mnuKBSaveAs_Click();
    void mnuKBExport_Click();
    void mnuKBPrint_Click();
    void mnuKBClose_Click();
    void mnuKBViewStats_Click();
    void mnuKBViewAnalysis_Click();
    void mnuKBViewHeader_Click();
    void mnuKBManual_Click();
    void mnuKBAbout_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    IPeltrixApp &app;
};
