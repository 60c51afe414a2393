#pragma once
#include <QMainWindow>

class IPeltrixApp;
class QAction;

// Keyboard entry's window: only a menu bar. Opening it opens the header form
// (until a header was entered), the entry form and the statistics window.
class frmKeyBoardEnter : public QMainWindow {
    Q_OBJECT
public:
    explicit frmKeyBoardEnter(IPeltrixApp &app, QWidget *parent = nullptr);

    QAction *mnuKBNew, *mnuKBOpen, *mnuKBSave, *mnuKBSaveAs, *mnuKBExport, *mnuKBPrint, *mnuKBClose,
        *mnuKBViewStats, *mnuKBViewAnalysis, *mnuKBViewHeader, *mnuKBManual, *mnuKBAbout;

    // The load event; runs when the window is first shown.
    void Form_Load();

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
