#pragma once
// "Compare Loads": two loads, or two kept selections of the Logbook window,
// compared with the exact F distribution; velocities beside them.
#include "logbook/logbookstats.h"

#include <QWidget>

class frmLogbook;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

class frmLogbookCompare : public QWidget {
    Q_OBJECT
public:
    explicit frmLogbookCompare(frmLogbook &logbook);

    QComboBox *cboA, *cboB, *cboLevel;
    QPushButton *cmdSelectionA, *cmdSelectionB, *cmdCompute;
    QPlainTextEdit *txtResult;

    // Fills the lists with the loads the logbook holds now.
    void Refresh();

private slots:
    void cmdSelectionA_Click();
    void cmdSelectionB_Click();
    void cmdCompute_Click();

private:
    std::vector<const LogbookEntry *> side(const QComboBox *box,
                                           const std::vector<qint64> &kept) const;
    frmLogbook &logbook;
    std::vector<qint64> keptA, keptB;
};
