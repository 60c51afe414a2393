#pragma once
// What a window may ask of the application: the session and the boxes, the
// other windows, the statistics rendered again, and the commands several
// windows share. PeltrixApp implements it; windows hold nothing more concrete.
#include "model/groupdocument.h"
#include "model/session.h"
#include "platform/prompter.h"

#include <QtGlobal>

class QWidget;
class Logbook;
class frmTargetSheet;
struct LogbookSettings;
class QMenu;
class Desktop;

class IPeltrixApp {
public:
    IPeltrixApp(Session &session, Prompter &prompter) : session(session), prompter(prompter) {}
    virtual ~IPeltrixApp() = default;
    IPeltrixApp(const IPeltrixApp &) = delete;
    IPeltrixApp &operator=(const IPeltrixApp &) = delete;

    Session &session;
    Prompter &prompter;

    // Windows.
    virtual void ViewTextEntry() = 0;
    virtual void ViewGraphicalEntry() = 0;
    virtual void ShowTextEntryForm() = 0;  // the X/Y form beside keyboard entry
    virtual void CloseTextEntryForm() = 0; // if it is open
    virtual bool HasGraphEnter() const = 0;
    virtual void ShowStatistics(QWidget *owner) = 0;
    // Before `owner` closes: the windows it owns that outlive it are let go.
    virtual void ReleaseOwned(QWidget *owner) = 0;
    // Where windows are placed from: the main window, the statistics window.
    virtual QWidget *MainWindow() = 0;
    virtual QWidget *StatisticsWindow() = 0;
    virtual void CloseGraphWindows() = 0;
    virtual void ShowHeaderForm(QWidget *owner) = 0;
    virtual void ShowGroupAnalysis(QWidget *owner) = 0;
    virtual void ShowDefaultOptions(QWidget *owner) = 0;
    virtual void ShowUnits(QWidget *owner) = 0;
    virtual bool StatToolsAvailable() const = 0;
    virtual void ShowTTest() = 0;
    virtual void ShowFTest() = 0;
    virtual void ShowTutorial() = 0;
    virtual void ShowAbout(bool modal) = 0;
    virtual void OpenManual(QWidget *owner) = 0;
    virtual Desktop &HelpDesktop() = 0;
    virtual void CloseAll() = 0;
    // The one target sheet window, made on first use.
    virtual frmTargetSheet *TargetSheet() = 0;

    // The current group as a document: tell it after changing the group, and
    // every view of the group draws again.
    virtual GroupDocument &Document() = 0;
    // The statistics window, made when there is none, and every view drawn
    // again from the session.
    virtual void RenderStats() = 0;

    // Commands on the session.
    // False when it was called off or nothing was chosen.
    virtual bool OpenFileDialog(qint32 mode, QWidget *owner) = 0;
    virtual void SaveStats(QWidget *owner) = 0;
    virtual void SaveStatsAs(QWidget *owner) = 0;
    virtual void ExportShots(QWidget *owner) = 0;
    virtual void PrintStats(QWidget *owner) = 0;
    virtual void ClearDataSet() = 0;
    virtual void ClearDataCommand(QWidget *owner) = 0;
    virtual bool ConfirmDiscard(QWidget *owner) = 0;
    virtual void SaveConfig() = 0;
    // The defaults taken from the session, with the user's own image folder.
    virtual void CaptureUserDefaults() = 0;

    // The logbook: Add to Logbook, the Logbook window, its settings file.
    virtual void AddToLogbook(QWidget *owner) = 0;
    virtual void ShowLogbook(QWidget *owner) = 0;
    // "Add to Logbook..." and "View Logbook" added to the end of a window's
    // File and View menus, under the object name given.
    virtual void AddLogbookItem(QWidget *owner, QMenu *file, const char *name) = 0;
    virtual void ViewLogbookItem(QWidget *owner, QMenu *view, const char *name) = 0;
    virtual LogbookSettings &LogbookConfig() = 0;
    virtual void SaveLogbookConfig() = 0;
    virtual QString LogbookPath() = 0;
    // Opens the user's logbook into `book`; false with the message shown.
    virtual bool OpenLogbook(Logbook &book, QWidget *owner) = 0;
};
