#include "config/frmoptunit.h"

#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

FrmOptUnit::FrmOptUnit(IPeltrixApp &a, QWidget *parent) : QDialog(parent), app(a)
{
    setObjectName(QStringLiteral("FrmOptUnit"));
    setWindowTitle(QStringLiteral("Unit Option Select"));
    fraUnit = new QGroupBox(this);
    fraUnit->setObjectName(QStringLiteral("fraUnit"));
    fraUnit->setGeometry(TwipsRect(120, 120, 3375, 1695));
    auto option = [this](const char *name, const QString &caption, int top) {
        auto *o = new QRadioButton(caption, fraUnit);
        o->setObjectName(QString::fromLatin1(name));
        o->setGeometry(TwipsRect(240, top, 1500, 300));
        return o;
    };
    OptInch = option("OptInch", QStringLiteral("Inches"), 240);
    OptCM = option("OptCM", QStringLiteral("Centimeters"), 660);
    OptOther = option("OptOther", QStringLiteral("Other"), 1080);
    TxtOtherUnit = new QLineEdit(fraUnit);
    TxtOtherUnit->setObjectName(QStringLiteral("TxtOtherUnit"));
    TxtOtherUnit->setGeometry(TwipsRect(1800, 1080, 1400, 315));
    cmdSetUnit = new QPushButton(QStringLiteral("Set Unit"), this);
    cmdSetUnit->setObjectName(QStringLiteral("cmdSetUnit"));
    cmdSetUnit->setGeometry(TwipsRect(1080, 2000, 1455, 375));
    connect(OptInch, &QRadioButton::clicked, this, &FrmOptUnit::OptInch_Click);
    connect(OptCM, &QRadioButton::clicked, this, &FrmOptUnit::OptCM_Click);
    connect(OptOther, &QRadioButton::clicked, this, &FrmOptUnit::OptOther_Click);
    connect(cmdSetUnit, &QPushButton::clicked, this, &FrmOptUnit::cmdSetUnit_Click);
    TxtOtherUnit->installEventFilter(this);
    setFixedSize(TwipsToPixels(3615), TwipsToPixels(2600));

    // Form_Load
    TxtOtherUnit->setEnabled(false);
    const QString &unit = app.session.UnitName;
    if (unit == QLatin1String("Inches"))
        OptInch->setChecked(true);
    else if (unit == QLatin1String("Centimeters"))
        OptCM->setChecked(true);
    else
        TxtOtherUnit->setText(unit);
}

bool FrmOptUnit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TxtOtherUnit && event->type() == QEvent::FocusOut) TxtOtherUnit_LostFocus();
    return QDialog::eventFilter(watched, event);
}

void FrmOptUnit::OptInch_Click()
{
    app.session.UnitName = OptInch->text();
    TxtOtherUnit->setEnabled(false);
}

void FrmOptUnit::OptCM_Click()
{
    app.session.UnitName = OptCM->text();
    TxtOtherUnit->setEnabled(false);
}

void FrmOptUnit::OptOther_Click()
{
    TxtOtherUnit->setEnabled(true);
    TxtOtherUnit->setFocus();
}

void FrmOptUnit::TxtOtherUnit_LostFocus()
{
    if (TxtOtherUnit->isEnabled()) app.session.UnitName = TxtOtherUnit->text();
}

void FrmOptUnit::cmdSetUnit_Click()
{
    // The text box gives up the focus to the button first; where no focus
    // moves (a click without an active window) its text is taken here.
    if (OptOther->isChecked()) TxtOtherUnit_LostFocus();
    hide();
    if (app.session.EntryWindowOpen) {
        if (app.session.GraphicalEntryActive)
            app.ViewGraphicalEntry();
        else
            app.ViewTextEntry();
    }
    accept();
}
