#pragma once
// The floating toolbox of the graphical entry: four tools, Clear and Print.
// Enabled states and bold captions are session state; Sync mirrors them.
#include <QPushButton>
#include <QWidget>

class IPeltrixApp;

// A push button whose caption wraps onto a second line when it does not fit,
// as the toolbox's narrow buttons need.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class frmToolBox : public QWidget {
    Q_OBJECT
public:
    frmToolBox(IPeltrixApp &app, QWidget *owner);

    WrapButton *cmdEnterShot, *cmdRemShot, *cmdCalImg, *cmdAimPoint, *cmdClrDat, *cmdPrintData;

    void Sync();

public slots:
    void cmdEnterShot_Click();
    void cmdRemShot_Click();
    void cmdCalImg_Click();
    void cmdAimPoint_Click();
    void cmdClrDat_Click();
    void cmdPrintData_Click();

private:
    IPeltrixApp &app;
};
