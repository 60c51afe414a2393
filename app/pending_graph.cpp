// Graphical entry until its window exists.
#include "app/peltrixapp.h"

void PeltrixApp::ShowGraphEntry() {}
void PeltrixApp::ClearGraphPicture() {}
void PeltrixApp::CloseGraphWindows() {}
