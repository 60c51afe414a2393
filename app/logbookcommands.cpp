// The application's side of the logbook: the menus' Add to Logbook, the
// window, the add after a Save, and the logbook's own settings file.
#include "app/peltrixapp.h"
#include "logbook/frmlogbook.h"
#include "platform/menus.h"

#include <QFileInfo>
#include <QMenu>

namespace {
const QString AddTitle = QStringLiteral("Add to Logbook");
}

LogbookSettings &PeltrixApp::LogbookConfig()
{
    if (!logbookSettings) logbookSettings = LoadLogbookSettings(session.AppDataDir);
    return *logbookSettings;
}

void PeltrixApp::SaveLogbookConfig() { SaveLogbookSettings(session.AppDataDir, LogbookConfig()); }

QString PeltrixApp::LogbookPath()
{
    const QString chosen = LogbookConfig().DatabasePath;
    return chosen.isEmpty() ? DefaultLogbookPath(session.AppDataDir) : chosen;
}

bool PeltrixApp::OpenLogbook(Logbook &book, QWidget *owner)
{
    if (book.IsOpen() && book.Path() == LogbookPath()) return true;
    if (session.AppDataDir.isEmpty() && LogbookConfig().DatabasePath.isEmpty()) {
        prompter.SetOwner(owner);
        prompter.MsgBox(QStringLiteral("The user's data folder is not known, so there is no "
                                       "logbook."),
                        QStringLiteral("Logbook"), Buttons::Ok, Icon::Exclamation);
        return false;
    }
    if (book.Open(LogbookPath())) return true;
    prompter.SetOwner(owner);
    prompter.MsgBox(book.ErrorString(), QStringLiteral("Logbook"), Buttons::Ok, Icon::Exclamation);
    return false;
}

void PeltrixApp::AddToLogbook(QWidget *owner)
{
    prompter.SetOwner(owner);
    if (session.ShotCount < 1) {
        prompter.MsgBox(QStringLiteral("The group has no shots to keep in the logbook."), AddTitle,
                        Buttons::Ok, Icon::Exclamation);
        return;
    }
    const auto load = prompter.InputBox(
        QStringLiteral("Load of this group (powder, charge, bullet, ...); empty for none:"),
        AddTitle, LogbookConfig().LastLoad);
    if (!load) return;
    Logbook book;
    if (!OpenLogbook(book, owner)) return;
    LogbookEntry e = EntryFromSession(session, session.StatsFilePath);
    e.Load.Text = load->trimmed();
    std::vector<qint64> ids;
    std::vector<bool> updated;
    if (!book.Add({e}, &ids, &updated)) {
        prompter.MsgBox(book.ErrorString(), AddTitle, Buttons::Ok, Icon::Exclamation);
        return;
    }
    LogbookConfig().LastLoad = e.Load.Text;
    SaveLogbookConfig();
    book.Close();
    if (logbook && logbook->isVisible()) logbook->Reload();
    prompter.MsgBox(updated.front() ? QStringLiteral("The group was already in the logbook; its "
                                                     "entry was brought up to date.")
                                    : QStringLiteral("The group was added to the logbook."),
                    AddTitle, Buttons::Ok, Icon::Information);
}

void PeltrixApp::LogbookAfterSave(QWidget *owner)
{
    if (!LogbookConfig().AddOnSave || session.ShotCount < 1) return;
    Logbook book;
    if (!OpenLogbook(book, owner)) return;
    // No question on a Save: the group keeps the load it has in the logbook.
    if (!book.Add({EntryFromSession(session, session.StatsFilePath)})) {
        prompter.SetOwner(owner);
        prompter.MsgBox(book.ErrorString(), AddTitle, Buttons::Ok, Icon::Exclamation);
        return;
    }
    book.Close();
    if (logbook && logbook->isVisible()) logbook->Reload();
}

frmLogbook *PeltrixApp::LogbookWindow()
{
    if (!logbook) {
        logbook = new frmLogbook(*this);
        frmLogbook *w = logbook;
        connect(this, &QObject::destroyed, w, [w] { delete w; });
    }
    return logbook;
}

void PeltrixApp::ShowLogbook(QWidget *)
{
    frmLogbook *w = LogbookWindow();
    w->Reload();
    w->show();
    w->raise();
}

void PeltrixApp::AddLogbookMenuItems(QWidget *owner, QMenu *file, QMenu *view, const char *prefix)
{
    const QString p = QString::fromLatin1(prefix);
    // After the save items, before what follows them.
    QAction *before = nullptr;
    const auto acts = file->actions();
    for (qsizetype k = 0; k + 1 < acts.size(); ++k)
        if (acts[k]->objectName().contains(QLatin1String("SaveAs"))) before = acts[k + 1];
    auto *add = new QAction(QStringLiteral("Add to &Logbook..."), file);
    add->setObjectName(p + QStringLiteral("AddLogbook"));
    file->insertAction(before, add);
    connect(add, &QAction::triggered, owner, [this, owner] { AddToLogbook(owner); });
    QAction *after = nullptr;
    const auto viewActs = view->actions();
    for (qsizetype k = 0; k + 1 < viewActs.size(); ++k)
        if (viewActs[k]->objectName().contains(QLatin1String("ViewAnalysis")))
            after = viewActs[k + 1];
    auto *show = new QAction(QStringLiteral("View &Logbook"), view);
    view->insertAction(after, show);
    show->setObjectName(p + QStringLiteral("ViewLogbook"));
    connect(show, &QAction::triggered, owner, [this, owner] { ShowLogbook(owner); });
}
