#pragma once
#include <QWidget>

class IPeltrixApp;
class QLabel;
class QLineEdit;
class QPushButton;

// The entry form of keyboard entry: two fields, Add and Delete.
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

public slots:
    void cmdEnterTextData_Click();
    void cmdRemShot_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    IPeltrixApp &app;
    bool loaded = false;
};
