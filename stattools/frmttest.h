#pragma once
#include "stattools/stattests.h"

#include <QWidget>

class IPeltrixApp;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// T-Test: compares the averages of two samples typed in by the user.
class frmTTest : public QWidget {
    Q_OBJECT
public:
    explicit frmTTest(IPeltrixApp &app, QWidget *parent = nullptr);

    QLabel *Label7, *Label1, *Label6, *Label2, *Label5, *Label10, *Label11, *Label3, *Label4,
        *Label8, *Label9, *lblResult;
    QGroupBox *Frame1, *Frame2;
    QLineEdit *txtLotA, *txtAverageA, *txtStdDevA, *txtNumberA;
    QLineEdit *txtLotB, *txtAverageB, *txtStdDevB, *txtNumberB, *txtSigLevel;
    QPushButton *cmdCompute, *cmdClose, *cmdPrint;

    void Form_Load();
    TTestFields Fields() const;
    // lblResult's caption as computed, lines ending in carriage returns.
    QString ResultCaption() const { return resultCaption; }

public slots:
    void cmdCompute_Click();
    void cmdPrint_Click();
    void cmdClose_Click();

private:
    IPeltrixApp &app;
    QString resultCaption;
};
