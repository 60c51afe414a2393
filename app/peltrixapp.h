#pragma once
// The application object: owns the one Session, the prompter and the single
// instance of every window, and carries the commands several windows share
// (save, print, the entry windows). Windows reach it, and each other, through
// IPeltrixApp (ui/appinterface.h).
#include "logbook/logbook.h"
#include "model/groupdocument.h"
#include "model/session.h"
#include "platform/environment.h"
#include "platform/prompter.h"
#include "ui/appinterface.h"

#include <QObject>
#include <QPointer>

class QWidget;
class frmMain;
class frmTextOutput;
class frmKeyBoardEnter;
class frmTextEnter;
class frmGroupAnalysis;
class frmTutorial;
class frmManual;
class frmTargetSheet;
class frmAbout;
class Desktop;
class frmTTest;
class frmFTest;
class frmGraphEnter;
class frmLogbook;
class QMenu;

class PeltrixApp : public QObject, public IPeltrixApp {
    Q_OBJECT
public:
    PeltrixApp(Session &session, Prompter &prompter);
    ~PeltrixApp() override;

    // Where the folders come from; tests point it at a temporary folder.
    HostFolders host = HostFolders::FromHost();

    // The start-up sequence: folders, configuration, layout tables, reset,
    // Γ table; then the main window is shown.
    frmMain *Start();

    // Single instances, created on first use.
    frmMain *Main();
    frmTextOutput *TextOutput();
    frmKeyBoardEnter *KeyBoardEnter();
    frmTextEnter *TextEnter();
    bool HasKeyBoardEnter() const { return !keyBoardEnter.isNull(); }
    bool HasTextEnter() const { return !textEnter.isNull(); }
    void ShowTextEntryForm() override;
    void CloseTextEntryForm() override;

    // View Text Entry / View Graphical Entry.
    void ViewTextEntry() override;
    void ViewGraphicalEntry() override;
    void ShowStatistics(QWidget *owner) override;
    void ReleaseOwned(QWidget *owner) override;
    QWidget *MainWindow() override;
    QWidget *StatisticsWindow() override;
    void ShowHeaderForm(QWidget *owner) override;
    void RenderStats() override;
    GroupDocument &Document() override { return groupDocument; }

    // Shared procedures of the main window.
    void ClearDataSet() override;
    int PromptSaveIfDirty();
    // Clear Data: ask, save when asked to, clear only when nothing is lost.
    void ClearDataCommand(QWidget *owner) override;
    // Asks about unsaved shots before the group is dropped (New, Exit).
    // True when the caller may go on.
    bool ConfirmDiscard(QWidget *owner) override;

    // File commands (files/): Save writes to StatsFilePath or asks for a name.
    void SaveStats(QWidget *owner) override;
    void SaveStatsAs(QWidget *owner) override;
    // The open dialog in `mode`; false when it was called off or nothing was chosen.
    bool OpenFileDialog(qint32 mode, QWidget *owner) override;
    void ExportShots(QWidget *owner) override;
    // Configuration (config/).
    void ResolveFolders();
    void LoadConfig();
    // The write at exit: the values current then when "Save on Exit" was pressed.
    void SaveConfig() override;
    // CaptureDefaults with the user's own image folder, also while the
    // tutorial lends its folder to the import dialog.
    void CaptureUserDefaults() override;
    void ShowDefaultOptions(QWidget *owner) override;
    void ShowUnits(QWidget *owner) override;
    // Graphical entry (graph/).
    void ShowGraphEntry();
    void ClearGraphPicture();
    void CloseGraphWindows() override;
    frmGraphEnter *GraphEnter();
    bool HasGraphEnter() const override { return !graphEnter.isNull(); }
    // The graphical entry window follows a session reset (title, toolbox).
    void SyncGraphWindows();
    // Statistical tools (stattools/).
    void ShowTTest() override;
    void ShowFTest() override;
    bool StatToolsAvailable() const override;
    frmTTest *TTestWindow() const; // null while the window is not open
    frmFTest *FTestWindow() const;
    // Help (help/).
    void OpenManual(QWidget *owner) override;
    void ShowTutorial() override;
    void FocusTutorial();
    void ShowAbout(bool modal) override;
    // The desktop the help opens the manual and system information with;
    // the host's unless a test puts its own here.
    Desktop *desktop = nullptr;
    Desktop &HelpDesktop() override;

    void PrintStats(QWidget *owner) override;

    // Group analysis (analysis/): the window of the View menus, refreshed
    // with the statistics window.
    void ShowGroupAnalysis(QWidget *owner) override;
    frmGroupAnalysis *GroupAnalysisWindow();
    bool HasGroupAnalysis() const { return !groupAnalysis.isNull(); }
    void RefreshGroupAnalysis();

    // The logbook (logbook/): Add to Logbook of the File menus, the Logbook
    // window, and the optional add after every Save.
    void AddToLogbook(QWidget *owner) override;
    void ShowLogbook(QWidget *owner) override;
    frmLogbook *LogbookWindow();
    bool HasLogbook() const { return !logbook.isNull(); }
    void LogbookAfterSave(QWidget *owner);
    LogbookSettings &LogbookConfig() override;
    void SaveLogbookConfig() override;
    QString LogbookPath() override;
    bool OpenLogbook(Logbook &book, QWidget *owner) override;
    void AddLogbookItem(QWidget *owner, QMenu *file, const char *name) override;
    void ViewLogbookItem(QWidget *owner, QMenu *view, const char *name) override;

    // Target sheet (sheet/): its one window, owned by the main window.
    frmTargetSheet *TargetSheet() override;

    // Closes every window but the main one, most recent first.
    void CloseAll() override;

private:
    GroupDocument groupDocument;
    QPointer<frmMain> main;
    QPointer<frmTextOutput> textOutput;
    QPointer<frmKeyBoardEnter> keyBoardEnter;
    QPointer<frmTextEnter> textEnter;
    QPointer<frmGroupAnalysis> groupAnalysis;
    QPointer<frmTutorial> tutorial;
    QPointer<frmAbout> about;
    QPointer<frmTTest> tTest;
    QPointer<frmFTest> fTest;
    QPointer<frmGraphEnter> graphEnter;
    QPointer<frmLogbook> logbook;
    QPointer<frmManual> manual;
    QPointer<frmTargetSheet> targetSheet;
    std::optional<LogbookSettings> logbookSettings;
};
