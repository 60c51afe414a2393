// The statistical tools until their windows exist.
#include "app/peltrixapp.h"

void PeltrixApp::ShowTTest() {}
void PeltrixApp::ShowFTest() {}
bool PeltrixApp::StatToolsAvailable() const { return false; }
