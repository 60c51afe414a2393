#pragma once
#include <QDialog>

class IPeltrixApp;
class QCheckBox;
class QLabel;
class QPushButton;

// Chooses which current settings become the defaults kept in peltrix.ini.
class frmDefaultOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmDefaultOptions(IPeltrixApp &app, QWidget *parent = nullptr);

    QLabel *lblExplain, *lblHeaderGroup, *lblGraphGroup, *lblPathGroup;
    QCheckBox *chkImPath, *chkFilePath, *chkAPAxes, *chkCentroid, *chkFullCursor, *chkBGColor,
        *chkCalDist, *chkUnits, *chkCaliber, *chkFirearm, *chkShooter, *chkRange;
    QPushButton *cmdDefReset, *cmdDefCancel, *cmdSaveDefExit, *cmdSaveDefNow;

    void RecordDefaultSelections();

public slots:
    void cmdSaveDefNow_Click();
    void cmdSaveDefExit_Click();
    void cmdDefReset_Click();
    void cmdDefCancel_Click();

private:
    IPeltrixApp &app;
};
