#include "entry/frmtextenter.h"

#include "entry/keyboardentry.h"
#include "platform/screen.h"
#include "stats/report.h"
#include "ui/appinterface.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmTextEnter::frmTextEnter(IPeltrixApp &a, QWidget *parent) : QWidget(parent), app(a)
{
    setObjectName(QStringLiteral("frmTextEnter"));
    setWindowTitle(QStringLiteral("Keyboard Data Entry"));
    auto make = [this](auto *w, const char *name, QRect r) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(r);
        return w;
    };
    lblEnterX = make(new QLabel(QStringLiteral("Distance in X direction from Point of Aim:"), this),
                     "lblEnterX", TwipsRect(240, 720, 3015, 255));
    txtEnterX = make(new QLineEdit(this), "txtEnterX", TwipsRect(3360, 720, 975, 285));
    lblEnterY = make(new QLabel(QStringLiteral("Distance inY direction from Point of Aim:"), this),
                     "lblEnterY", TwipsRect(240, 1080, 2895, 255));
    txtEnterY = make(new QLineEdit(this), "txtEnterY", TwipsRect(3360, 1080, 975, 285));
    cmdEnterTextData = make(new QPushButton(QStringLiteral("Add To Data Set"), this),
                            "cmdEnterTextData", TwipsRect(3120, 1560, 1455, 495));
    cmdRemShot = make(new QPushButton(QStringLiteral("Delete Shot"), this), "cmdRemShot",
                      TwipsRect(3120, 2160, 1455, 495));
    cmdRemShot->hide();
    cmdRemShot->setAutoDefault(false);
    // Labels are measured in another font than the one they were laid out
    // for: let them use the room up to the fields.
    lblEnterX->setWordWrap(false);
    lblEnterY->setWordWrap(false);
    txtEnterX->setMaxLength(40);
    txtEnterY->setMaxLength(40);
    cmdEnterTextData->setDefault(true);
    setFixedSize(TwipsToPixels(4815), TwipsToPixels(2900));
    connect(cmdEnterTextData, &QPushButton::clicked, this, &frmTextEnter::cmdEnterTextData_Click);
    connect(cmdRemShot, &QPushButton::clicked, this, &frmTextEnter::cmdRemShot_Click);
    connect(txtEnterY, &QLineEdit::returnPressed, this, &frmTextEnter::cmdEnterTextData_Click);
    connect(txtEnterX, &QLineEdit::returnPressed, txtEnterY, qOverload<>(&QWidget::setFocus));
}

void frmTextEnter::showEvent(QShowEvent *event)
{
    // On its own (not inside the keyboard-entry window) it opens at 600 twips.
    if (!loaded && isWindow()) move(x(), TwipsToPixels(600));
    loaded = true;
    SyncDeleteButton();
    QWidget::showEvent(event);
}

void frmTextEnter::changeEvent(QEvent *event)
{
    // The group may have changed in another window meanwhile.
    if (event->type() == QEvent::ActivationChange) SyncDeleteButton();
    QWidget::changeEvent(event);
}

void frmTextEnter::SyncDeleteButton() { cmdRemShot->setVisible(app.session.ShotCount > 0); }

void frmTextEnter::cmdEnterTextData_Click()
{
    Session &s = app.session;
    app.prompter.SetOwner(this);
    if (!AddTypedShot(s, app.prompter, txtEnterX->text(), txtEnterY->text())) return;
    SyncDeleteButton();
    txtEnterX->clear();
    txtEnterY->clear();
    InitReportLayout(s);
    app.RenderStats();
    txtEnterX->setFocus();
}

void frmTextEnter::cmdRemShot_Click()
{
    app.prompter.SetOwner(this);
    if (DeleteTypedShot(app.session, app.prompter)) app.Document().Changed();
    SyncDeleteButton();
    cmdRemShot->setAutoDefault(false);
}
