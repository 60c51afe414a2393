#pragma once
#include <QDialog>

class IPeltrixApp;
class QLabel;
class QPushButton;

// The About box: title, version, description, the project line and the way
// to the host's system information program.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(IPeltrixApp &app);

    QLabel *picIcon, *lblTitle, *lblVersion, *lblDescription, *lblDisclaimer;
    QPushButton *cmdOK, *cmdSysInfo;

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    IPeltrixApp &app;
};

// The program's icon, as the desktop entry and the windows show it.
class QIcon;
QIcon ProgramIcon();
