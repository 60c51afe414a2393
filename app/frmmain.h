#pragma once
#include <QMainWindow>

class IPeltrixApp;
class QAction;
class QLabel;

// The main window: start-up, the hub of every menu, and shut-down.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(IPeltrixApp &app);

    QLabel *lblTitle;
    QLabel *PicMain;
    QAction *mnuNewFile, *mnuOpenStats, *mnuFileSave, *mnuFileSaveAs, *mnuImportItem, *mnuExport,
        *mnuPrintItem, *mnuExitItem, *mnuGraphDataItem, *mnuTextDataItem, *mnuViewStats,
        *mnuViewAnalysis, *mnuClearDatItem, *mnuMainHeader, *mnuDefault, *mnuItemUnit,
        *mnuToolsAverage, *mnuToolsVariance, *mnuToolsIndep, *mnuHtmlHelp, *mnuTutorial,
        *mnuAboutItem;

    // Places the title and the title picture on the screen's width.
    void PlaceTitle();

public slots:
    void mnuNewFile_Click();
    void mnuOpenStats_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuImportItem_Click();
    void mnuExport_Click();
    void mnuPrintItem_Click();
    void mnuExitItem_Click();
    void mnuGraphDataItem_Click();
    void mnuTextDataItem_Click();
    void mnuViewStats_Click();
    void mnuViewAnalysis_Click();
    void mnuClearDatItem_Click();
    void mnuMainHeader_Click();
    void mnuDefault_Click();
    void mnuItemUnit_Click();
    void mnuToolsAverage_Click();
    void mnuToolsVariance_Click();
    void mnuToolsIndep_Click();
    void mnuHtmlHelp_Click();
    void mnuTutorial_Click();
    void mnuAboutItem_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    IPeltrixApp &app;
    bool closing = false;
};

// The title picture of the main window, drawn by the program.
class QPixmap;
QPixmap TitlePicture();
