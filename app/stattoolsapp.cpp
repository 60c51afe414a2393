// The Tools menu's two windows, one instance each, owned by the main window.
#include "app/frmmain.h"
#include "app/peltrixapp.h"
#include "stattools/frmftest.h"
#include "stattools/frmttest.h"

namespace {
template <typename Form> Form *showSingle(QPointer<Form> &slot, PeltrixApp &app)
{
    if (!slot) {
        slot = new Form(app, app.Main());
        slot->Form_Load();
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}
} // namespace

void PeltrixApp::ShowTTest() { showSingle(tTest, *this); }
void PeltrixApp::ShowFTest() { showSingle(fTest, *this); }
bool PeltrixApp::StatToolsAvailable() const { return true; }
frmTTest *PeltrixApp::TTestWindow() const { return tTest; }
frmFTest *PeltrixApp::FTestWindow() const { return fTest; }
