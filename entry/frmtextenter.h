#pragma once
#include <QWidget>

class IPeltrixApp;
class QLabel;
class QLineEdit;
class QPushButton;

// The entry form of keyboard entry: two fields, Add and Delete. It is the
// client area of the keyboard-entry window; Delete shows while the group
// has shots.
class frmTextEnter : public QWidget {
    Q_OBJECT
public:
    explicit frmTextEnter(IPeltrixApp &app, QWidget *parent = nullptr);

    QLabel *lblEnterX;
    QLineEdit *txtEnterX;
    QLabel *lblEnterY;
    QLineEdit *txtEnterY;
    QPushButton *cmdEnterTextData;
    QPushButton *cmdRemShot;

    void SyncDeleteButton();

public slots:
    void cmdEnterTextData_Click();
    void cmdRemShot_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    IPeltrixApp &app;
    bool loaded = false;
};
