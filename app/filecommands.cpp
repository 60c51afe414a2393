// The file commands of the application object.
#include "app/peltrixapp.h"
#include "files/export.h"
#include "files/frmfiledialog.h"
#include "files/frmfilesaveas.h"
#include "files/statsfile.h"

#include <QPointer>

namespace {
// Runs a modal window; it may lose its owner while it runs (an entry window
// closed by what it opened), so it lives on the heap under a guard.
template <typename Form> bool runModal(PeltrixApp &app, QWidget *owner)
{
    QPointer<QWidget> guard(owner);
    QPointer<Form> form = new Form(app, owner);
    const bool accepted = form->exec() == QDialog::Accepted;
    delete form.data();
    app.prompter.SetOwner(guard.data());
    return accepted;
}
} // namespace

void PeltrixApp::SaveStats(QWidget *owner)
{
    if (session.StatsFilePath.isEmpty()) {
        SaveStatsAs(owner);
        return;
    }
    prompter.SetOwner(owner);
    if (SaveStatsFileOrTell(session, session.StatsFilePath, prompter)) LogbookAfterSave(owner);
}

void PeltrixApp::SaveStatsAs(QWidget *owner)
{
    QPointer<QWidget> guard(owner);
    // Accepted means written: the logbook may then take the group as well.
    if (runModal<frmFileSaveAs>(*this, owner) && session.StatsSaved) LogbookAfterSave(guard.data());
}

bool PeltrixApp::OpenFileDialog(qint32 mode, QWidget *owner)
{
    session.FileDialogMode = mode;
    return runModal<frmFileDialog>(*this, owner);
}

void PeltrixApp::ExportShots(QWidget *owner)
{
    prompter.SetOwner(owner);
    ExportShotData(session, prompter);
}
