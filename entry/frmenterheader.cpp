#include "entry/frmenterheader.h"

#include "entry/keyboardentry.h"
#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace {
// The comments box keeps to the width of the stored field, as the line
// edits do through their maximum length.
void limitLength(QPlainTextEdit *edit, int maxLength)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxLength] {
        const QString text = edit->toPlainText();
        if (text.size() <= maxLength) return;
        QTextCursor cursor = edit->textCursor();
        const int pos = cursor.position();
        edit->setPlainText(text.left(maxLength));
        cursor = edit->textCursor();
        cursor.setPosition(qMin(pos, maxLength));
        edit->setTextCursor(cursor);
    });
}
} // namespace

frmEnterHeader::frmEnterHeader(IPeltrixApp &a, QWidget *parent) : QDialog(parent), app(a)
{
    setObjectName(QStringLiteral("frmEnterHeader"));
    setWindowTitle(QStringLiteral("Enter Header Information"));
    auto label = [this](const char *name, const QString &caption, QRect r) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(r);
        return l;
    };
    auto field = [this](const char *name, QRect r, int maxLength, const QString &tip) {
        auto *t = new QLineEdit(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setGeometry(r);
        t->setMaxLength(maxLength);
        t->setToolTip(tip);
        return t;
    };
    Label1 = label("Label1", QStringLiteral("Range to Target:"), TwipsRect(240, 120, 1215, 255));
    txtRangeToTarget =
        field("txtRangeToTarget", TwipsRect(1560, 120, 495, 285), 4,
              QStringLiteral("Enter a number, greater than zero, for the range in yards"));
    lblMOA = label("lblMOA", QStringLiteral("yds (required if you want MOA)"),
                   TwipsRect(2160, 120, 2295, 255));
    lblShooterName =
        label("lblShooterName", QStringLiteral("Shooter's Name:"), TwipsRect(240, 480, 1215, 255));
    txtShooterName =
        field("txtShooterName", TwipsRect(1560, 480, 2775, 285), 30,
              QStringLiteral("Optional: Any text to identify the shooter of this group"));
    lblDate = label("lblDate", QStringLiteral("Date Fired:"), TwipsRect(240, 960, 1215, 255));
    txtDate = field("txtDate", TwipsRect(1560, 960, 1575, 285), 20, QStringLiteral("Optional"));
    lblRifle = label("lblRifle", QStringLiteral("Firearm: "), TwipsRect(240, 1440, 1215, 255));
    txtRifle = field(
        "txtRifle", TwipsRect(1560, 1440, 2775, 285), 30,
        QStringLiteral("Optional: any text to identify the firearm used to shoot this group"));
    lblCaliber = label("lblCaliber", QStringLiteral("Caliber:"), TwipsRect(240, 1920, 1215, 255));
    txtCaliber = field("txtCaliber", TwipsRect(1560, 1920, 2775, 285), 30,
                       QStringLiteral("Optional: any text to identify the caliber of the load"));
    lblLotNumber =
        label("lblLotNumber", QStringLiteral("Lot Number:"), TwipsRect(240, 2400, 1215, 255));
    txtLotNumber =
        field("txtLotNumber", TwipsRect(1560, 2400, 2775, 285), 30,
              QStringLiteral("Optional: any text to identify the Lot this load was from"));
    lblComments =
        label("lblComments", QStringLiteral("General Comments:"), TwipsRect(240, 3120, 1575, 255));
    txtComments = new QPlainTextEdit(this);
    txtComments->setObjectName(QStringLiteral("txtComments"));
    txtComments->setGeometry(TwipsRect(240, 3480, 4095, 1695));
    txtComments->setToolTip(QStringLiteral("Optional: any additional comments for this group"));
    txtComments->setTabChangesFocus(true);
    limitLength(txtComments, 354);
    cmdHeaderOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdHeaderOk->setObjectName(QStringLiteral("cmdHeaderOk"));
    cmdHeaderOk->setGeometry(TwipsRect(240, 5400, 1215, 495));
    cmdHeaderOk->setDefault(true);
    cmdHeaderCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdHeaderCancel->setObjectName(QStringLiteral("cmdHeaderCancel"));
    cmdHeaderCancel->setGeometry(TwipsRect(3120, 5400, 1215, 495));
    setTabOrder(txtRangeToTarget, txtShooterName);
    setTabOrder(txtShooterName, txtDate);
    setTabOrder(txtDate, txtRifle);
    setTabOrder(txtRifle, txtCaliber);
    setTabOrder(txtCaliber, txtLotNumber);
    setTabOrder(txtLotNumber, txtComments);
    setTabOrder(txtComments, cmdHeaderOk);
    setTabOrder(cmdHeaderOk, cmdHeaderCancel);
    setFixedSize(TwipsToPixels(4680), TwipsToPixels(6120));
    connect(cmdHeaderOk, &QPushButton::clicked, this, &frmEnterHeader::cmdHeaderOk_Click);
    connect(cmdHeaderCancel, &QPushButton::clicked, this, &frmEnterHeader::cmdHeaderCancel_Click);
    Form_Load();
}

void frmEnterHeader::Form_Load()
{
    const HeaderTexts h = HeaderFromSession(app.session);
    // Four characters as designed, more when the stored range needs them, so
    // the box never cuts the range it shows.
    txtRangeToTarget->setMaxLength(std::max<int>(4, int(h.range.size())));
    txtRangeToTarget->setText(h.range);
    txtShooterName->setText(h.shooter);
    txtDate->setText(h.date);
    txtRifle->setText(h.firearm);
    txtCaliber->setText(h.caliber);
    txtLotNumber->setText(h.lot);
    txtComments->setPlainText(h.comments);
    RangeWarning = RangeWarningText();
    txtRangeToTarget->setFocus();
}

void frmEnterHeader::cmdHeaderOk_Click()
{
    HeaderTexts h;
    h.range = txtRangeToTarget->text();
    h.shooter = txtShooterName->text();
    h.date = txtDate->text();
    h.firearm = txtRifle->text();
    h.caliber = txtCaliber->text();
    h.lot = txtLotNumber->text();
    h.comments = txtComments->toPlainText();
    app.prompter.SetOwner(this);
    if (!StoreHeader(app.session, app.prompter, h)) {
        ValidationResult = Answer::Cancel;
        return;
    }
    ValidationResult = app.session.RangeEntered ? qint16(RangeValid) : qint16(Answer::Ok);
    accept();
}

void frmEnterHeader::cmdHeaderCancel_Click() { reject(); }
