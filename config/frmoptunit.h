#pragma once
#include <QDialog>

class IPeltrixApp;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Names the unit distances are entered and shown in; no value is converted.
class FrmOptUnit : public QDialog {
    Q_OBJECT
public:
    explicit FrmOptUnit(IPeltrixApp &app, QWidget *parent = nullptr);

    QGroupBox *fraUnit;
    QRadioButton *OptInch, *OptCM, *OptOther;
    QLineEdit *TxtOtherUnit;
    QPushButton *cmdSetUnit;

public slots:
    void OptInch_Click();
    void OptCM_Click();
    void OptOther_Click();
    void TxtOtherUnit_LostFocus();
    void cmdSetUnit_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    IPeltrixApp &app;
};
