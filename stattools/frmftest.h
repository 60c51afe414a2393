#pragma once
#include "stattools/stattests.h"

#include <QWidget>

class IPeltrixApp;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// F-Test: compares the variances of two samples typed in by the user.
class frmFTest : public QWidget {
    Q_OBJECT
public:
    explicit frmFTest(IPeltrixApp &app, QWidget *parent = nullptr);

    QLabel *Label7, *Label1, *Label6, *Label10, *Label11, *Label3, *Label4, *Label8, *Label9,
        *lblResult;
    QGroupBox *Frame1, *Frame2;
    QLineEdit *txtLotA, *txtStdDevA, *txtNumberA;
    QLineEdit *txtLotB, *txtStdDevB, *txtNumberB, *txtSigLevel;
    QPushButton *cmdCompute, *cmdClose, *cmdPrint;

    void Form_Load();
    FTestFields Fields() const;
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
