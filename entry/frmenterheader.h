#pragma once
#include <QDialog>

class IPeltrixApp;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The header form, always shown modally.
class frmEnterHeader : public QDialog {
    Q_OBJECT
public:
    explicit frmEnterHeader(IPeltrixApp &app, QWidget *parent = nullptr);

    QLabel *Label1, *lblMOA, *lblShooterName, *lblDate, *lblRifle, *lblCaliber, *lblLotNumber,
        *lblComments;
    QLineEdit *txtRangeToTarget, *txtShooterName, *txtDate, *txtRifle, *txtCaliber, *txtLotNumber;
    QPlainTextEdit *txtComments;
    QPushButton *cmdHeaderOk, *cmdHeaderCancel;

    QString RangeWarning;
    qint16 ValidationResult = 0;

public slots:
    void cmdHeaderOk_Click();
    void cmdHeaderCancel_Click();

private:
    void Form_Load();
    IPeltrixApp &app;
};
