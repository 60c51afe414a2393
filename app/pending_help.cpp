// Help until the manual, the tutorial and the About box exist.
#include "app/peltrixapp.h"

void PeltrixApp::OpenManual(QWidget *) {}
void PeltrixApp::ShowTutorial() {}
void PeltrixApp::FocusTutorial() {}
void PeltrixApp::ShowAbout(bool) {}
