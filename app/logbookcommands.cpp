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
    if (!logbook) logbook = new frmLogbook(*this);
    return logbook;
}

void PeltrixApp::ShowLogbook(QWidget *)
{
    frmLogbook *w = LogbookWindow();
    w->Reload();
    w->show();
    w->raise();
}

void PeltrixApp::AddLogbookItem(QWidget *owner, QMenu *file, const char *name)
{
    auto *add = file->addAction(QStringLiteral("Add to &Logbook..."));
    add->setObjectName(QString::fromLatin1(name));
    connect(add, &QAction::triggered, owner, [this, owner] { AddToLogbook(owner); });
}

void PeltrixApp::ViewLogbookItem(QWidget *owner, QMenu *view, const char *name)
{
    auto *show = view->addAction(QStringLiteral("View &Logbook"));
    show->setObjectName(QString::fromLatin1(name));
    connect(show, &QAction::triggered, owner, [this, owner] { ShowLogbook(owner); });
}
