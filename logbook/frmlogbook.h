#pragma once
// The "Logbook" window: the groups kept, filtered by firearm, load, text and
// dates; pooled figures of a selection; open, delete (with undo), the load
// of the selected groups, velocities; Compare and Trend open windows of
// their own.
#include "logbook/logbookmodel.h"

#include <QPointer>
#include <QWidget>

class IPeltrixApp;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class frmLogbookCompare;
class frmLogbookTrend;

class frmLogbook : public QWidget {
    Q_OBJECT
public:
    explicit frmLogbook(IPeltrixApp &app, QWidget *parent = nullptr);
    ~frmLogbook() override;

    QLineEdit *txtFirearm, *txtLoad, *txtText;
    // The load of the selected groups: its name and fields; Set Load writes them.
    QLineEdit *txtLoadName, *txtPowder, *txtCharge, *txtBullet, *txtCoal, *txtPrimer;
    QCheckBox *chkFrom, *chkTo, *chkAddOnSave;
    QDateEdit *dtpFrom, *dtpTo;
    QTableView *grdGroups;
    QLabel *lblPooled, *lblStatus;
    QPushButton *cmdOpen, *cmdSetLoad, *cmdDelete, *cmdUndo, *cmdVelocities, *cmdCompare, *cmdTrend,
        *cmdDatabase;

    // Reads the logbook again; false (message shown) when it cannot be opened.
    bool Reload();
    // The groups that pass the filter, and those selected among them.
    std::vector<const LogbookEntry *> Shown() const;
    std::vector<const LogbookEntry *> Selected() const;
    const std::vector<LogbookEntry> &Entries() const { return entries; }
    const std::vector<VelocitySeries> &Velocities() const { return velocities; }
    LogbookModel &Model() { return model; }

public slots:
    void ApplyFilter();

private slots:
    void grdGroups_SelectionChanged();
    void cmdOpen_Click();
    void cmdSetLoad_Click();
    void cmdDelete_Click();
    void cmdUndo_Click();
    void cmdVelocities_Click();
    void cmdCompare_Click();
    void cmdTrend_Click();
    void cmdDatabase_Click();
    void chkAddOnSave_Toggled(bool on);

private:
    void updateButtons();
    void showLoad();
    bool tell(const QString &text);

    IPeltrixApp &app;
    Logbook book;
    std::vector<LogbookEntry> entries;
    std::vector<VelocitySeries> velocities;
    std::vector<LogbookRow> rows;
    LogbookModel model;
    std::vector<Logbook::Removed> lastDeleted;
    QPointer<frmLogbookCompare> compare;
    QPointer<frmLogbookTrend> trend;
};
