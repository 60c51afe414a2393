// The application's side of the target sheet window.
#include "app/frmmain.h"
#include "app/peltrixapp.h"
#include "sheet/frmtargetsheet.h"

frmTargetSheet *PeltrixApp::TargetSheet()
{
    // A window of its own owned by the main window, so it closes with it.
    if (!targetSheet) targetSheet = new frmTargetSheet(*this, Main());
    return targetSheet;
}
