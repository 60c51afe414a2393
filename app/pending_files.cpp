// File commands until the statistics file, the dialogs and the export exist.
#include "app/peltrixapp.h"

void PeltrixApp::SaveStats(QWidget *owner) { SaveStatsAs(owner); }
void PeltrixApp::SaveStatsAs(QWidget *) {}
void PeltrixApp::OpenFileDialog(qint32 mode, QWidget *) { session.FileDialogMode = mode; }
void PeltrixApp::ExportShots(QWidget *) {}
