#include "app/peltrixapp.h"

#include "analysis/frmgroupanalysis.h"
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "entry/frmkeyboardenter.h"
#include "entry/frmtextenter.h"
#include "graph/frmgraphenter.h"
#include "help/frmabout.h"
#include "help/frmmanual.h"
#include "help/frmtutorial.h"
#include "logbook/frmlogbook.h"
#include "platform/fonts.h"
#include "platform/placement.h"
#include "platform/printer.h"
#include "stats/frmtextoutput.h"
#include "stats/report.h"

#include <QApplication>
#include <QDir>

PeltrixApp::PeltrixApp(Session &s, Prompter &p) : IPeltrixApp(s, p), groupDocument(s)
{
    QApplication::setFont(FormFont());
    // The views of the group that are not a window of their own follow it.
    connect(&groupDocument, &GroupDocument::groupChanged, this, [this] {
        RefreshGroupAnalysis();
        if (textEnter) textEnter->SyncDeleteButton();
    });
}

PeltrixApp::~PeltrixApp()
{
    CloseAll();
    // Every window is one of the slots below, made on first use; the app
    // deletes what is left of them, the main window (and what it owns) last.
    delete groupAnalysis.data();
    delete logbook.data();
    delete manual.data();
    delete tutorial.data();
    delete about.data();
    delete textEnter.data();
    delete keyBoardEnter.data();
    delete graphEnter.data();
    delete textOutput.data();
    delete main.data();
}

frmMain *PeltrixApp::Start()
{
    ResolveFolders();
    LoadConfig();
    InitReportLabels(session);
    InitReportLayout(session);
    ResetSession(session);
    frmMain *m = Main();
    m->PlaceTitle();
    FillGammaTable(session, 39);
    m->show();
    QCoreApplication::processEvents();
    return m;
}

frmMain *PeltrixApp::Main()
{
    if (!main) main = new frmMain(*this);
    return main;
}

frmTextOutput *PeltrixApp::TextOutput()
{
    if (!textOutput) textOutput = new frmTextOutput(groupDocument);
    return textOutput;
}

frmKeyBoardEnter *PeltrixApp::KeyBoardEnter()
{
    if (!keyBoardEnter) keyBoardEnter = new frmKeyBoardEnter(*this);
    return keyBoardEnter;
}

frmTextEnter *PeltrixApp::TextEnter()
{
    if (!textEnter) textEnter = new frmTextEnter(*this);
    return textEnter;
}

void PeltrixApp::ShowTextEntryForm()
{
    // Under the keyboard-entry window's menu bar: one window to the user.
    KeyBoardEnter()->ShowEntryForm(TextEnter());
}

QWidget *PeltrixApp::MainWindow() { return Main(); }

QWidget *PeltrixApp::StatisticsWindow() { return TextOutput(); }

void PeltrixApp::CloseTextEntryForm()
{
    if (HasTextEnter()) textEnter->close();
}

void PeltrixApp::RenderStats()
{
    TextOutput();
    groupDocument.Changed();
}

void PeltrixApp::ViewTextEntry()
{
    session.GraphicalEntryActive = false;
    session.EntryWindowOpen = true;
    const bool fresh = !keyBoardEnter;
    frmKeyBoardEnter *kb = KeyBoardEnter();
    if (fresh) {
        kb->Form_Load();
    } else {
        ShowTextEntryForm();
        kb->show();
        kb->raise();
    }
    session.ToolMode = Tool::None;
    RenderStats();
}

void PeltrixApp::ViewGraphicalEntry()
{
    session.GraphicalEntryActive = true;
    session.EntryWindowOpen = true;
    ShowGraphEntry();
    InitReportLayout(session);
    RenderStats();
    // A reset clears TutorialOpen although the tutorial may still be open.
    if (session.TutorialOpen || tutorial) FocusTutorial();
}

void PeltrixApp::ShowStatistics(QWidget *owner)
{
    frmTextOutput *w = TextOutput();
    // Owned by the window that shows it, so it stays above that window, and
    // placed beside it when it changes hands or opens.
    const bool newOwner = owner && w->parentWidget() != owner;
    if (newOwner) w->setParent(owner, w->windowFlags() | Qt::Window);
    if (newOwner || !w->isVisible()) PlaceBeside(w, owner ? owner : Main());
    w->show();
    w->raise();
}

void PeltrixApp::ReleaseOwned(QWidget *owner)
{
    // The statistics window outlives its owner: hidden and unowned until the
    // next window shows it.
    if (textOutput && textOutput->parentWidget() == owner) {
        textOutput->hide();
        textOutput->setParent(nullptr, textOutput->windowFlags() | Qt::Window);
    }
}

void PeltrixApp::ShowHeaderForm(QWidget *owner)
{
    frmEnterHeader form(*this, owner);
    form.exec();
    prompter.SetOwner(owner);
}

void PeltrixApp::ClearDataSet()
{
    if (session.GraphicalEntryActive) {
        ClearGraphPicture();
        session.ImagePath.clear();
    }
    ResetSession(session);
    InitReportLayout(session);
    RenderStats();
    SyncGraphWindows();
}

int PeltrixApp::PromptSaveIfDirty()
{
    if (session.StatsSaved) return Answer::No;
    return prompter.MsgBox(QStringLiteral("Current statistics data not saved.\r\rSave Now?"),
                           QStringLiteral("File Not Saved"), Buttons::YesNoCancel);
}

bool PeltrixApp::ConfirmDiscard(QWidget *owner)
{
    prompter.SetOwner(owner);
    const int answer = PromptSaveIfDirty();
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Yes) {
        SaveStats(owner);
        // A save that was cancelled or failed keeps the group.
        return session.StatsSaved;
    }
    return true;
}

void PeltrixApp::ClearDataCommand(QWidget *owner)
{
    if (!ConfirmDiscard(owner)) return;
    ClearDataSet();
}

void PeltrixApp::PrintStats(QWidget *owner)
{
    prompter.SetOwner(owner);
    QString suggested = session.StatsFilePath;
    if (suggested.isEmpty())
        suggested = QDir(session.StatsDir.isEmpty() ? QDir::homePath() : session.StatsDir)
                        .filePath(QStringLiteral("statistics.pdf"));
    else
        suggested =
            suggested.left(suggested.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".pdf");
    auto job = BeginPrint(prompter, QStringLiteral("Peltrix Statistics"), suggested);
    if (!job) return;
    if (!PrintReportPage(session, *job))
        prompter.MsgBox(job->ErrorText(), QStringLiteral("Print"), Buttons::Ok, Icon::Exclamation);
}

void PeltrixApp::CloseAll()
{
    CloseGraphWindows();
    if (textEnter) textEnter->close();
    if (keyBoardEnter) keyBoardEnter->close();
    if (textOutput) textOutput->hide();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != main && w != textOutput && w->isVisible()) w->close();
}
