#include "graph/frmtoolbox.h"

#include "detect/holenet.h"
#include "graph/findtool.h"
#include "graph/frmgraphenter.h"
#include "graph/targetdrawing.h"
#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QGuiApplication>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
QFont CaptionFont(bool bold)
{
    // The captions' face on this desktop, at the toolbox's small size.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(7);
    f.setBold(bold);
    return f;
}

void Mirror(QPushButton *b, const ToolButtonState &state)
{
    b->setEnabled(state.enabled);
    if (b->font().bold() != state.bold) b->setFont(CaptionFont(state.bold));
}
} // namespace

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    p.drawControl(QStyle::CE_PushButton, opt);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

frmToolBox::frmToolBox(IPeltrixApp &a, QWidget *owner)
    : QWidget(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      app(a)
{
    setObjectName(QStringLiteral("frmToolBox"));
    setWindowTitle(QStringLiteral("Tools"));
    // A fourth row below the six buttons holds Find and Enter Shots.
    setFixedSize(TwipsToPixels(1200), TwipsToPixels(1920));
    auto button = [this](const char *name, const char *caption, const char *tip, int left, int top,
                         auto slot) {
        auto *b = new WrapButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(tip));
        b->setGeometry(TwipsRect(left, top, 615, 495));
        b->setFont(CaptionFont(false));
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    using F = frmToolBox;
    cmdEnterShot = button("cmdEnterShot", "Enter Shot", "Click shot to enter data", 0, 0,
                          &F::cmdEnterShot_Click);
    cmdRemShot =
        button("cmdRemShot", "Del Shot", "Clickshot to remove data", 600, 0, &F::cmdRemShot_Click);
    cmdCalImg =
        button("cmdCalImg", "Cal", "Calibrate Image to Target", 0, 480, &F::cmdCalImg_Click);
    cmdAimPoint = button("cmdAimPoint", "Aim Point", "Set Shooter's Actual Point of Aim", 600, 480,
                         &F::cmdAimPoint_Click);
    cmdClrDat = button("cmdClrDat", "Clear", "Clear All Data", 0, 960, &F::cmdClrDat_Click);
    cmdPrintData = button("cmdPrintData", "Print", "Send Statistics to Printer", 600, 960,
                          &F::cmdPrintData_Click);
    cmdFind = button("cmdFind", "Find",
                     "Find bullet holes in the part shown (Shift: in the whole picture)", 0, 1440,
                     &F::cmdFind_Click);
    cmdEnterShots = button("cmdEnterShots", "Enter Shots", "Enter the accepted holes as shots", 600,
                           1440, &F::cmdEnterShots_Click);
    // Tab order follows creation order: Enter Shot, Del Shot, Cal, Aim Point, Clear, Print,
    // Find, Enter Shots.
    Sync();
}

void frmToolBox::Sync()
{
    const ToolboxState &t = app.session.Toolbox;
    Mirror(cmdEnterShot, t.cmdEnterShot);
    Mirror(cmdRemShot, t.cmdRemShot);
    Mirror(cmdCalImg, {true, t.cmdCalImg.bold});
    Mirror(cmdAimPoint, t.cmdAimPoint);
    FindTool *f = Finder();
    // Without a usable hole model Find stays off, its tip saying why.
    const QString off = HoleModelProblem();
    cmdFind->setEnabled(off.isEmpty() && f && f->Ready() && !f->Showing() && !f->Searching());
    cmdFind->setToolTip(off);
    cmdEnterShots->setEnabled(f && f->Showing());
    // The window's status line names the tool chosen here.
    if (auto *owner = qobject_cast<frmGraphEnter *>(parentWidget())) owner->UpdateGuide();
}

FindTool *frmToolBox::Finder() const
{
    auto *w = qobject_cast<frmGraphEnter *>(parentWidget());
    return w ? w->Finder : nullptr;
}

void frmToolBox::cmdFind_Click()
{
    if (FindTool *f = Finder())
        f->Find(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    Sync();
}

void frmToolBox::cmdEnterShots_Click()
{
    if (FindTool *f = Finder()) f->EnterShots();
    Sync();
}

void frmToolBox::cmdEnterShot_Click()
{
    ChooseTool(app.session, ToolButton::EnterShot);
    Sync();
}

void frmToolBox::cmdRemShot_Click()
{
    ChooseTool(app.session, ToolButton::RemoveShot);
    if (!app.session.GraphicalEntryActive) {
        app.prompter.SetOwner(this);
        if (RemoveShotByNumber(app.session, app.prompter)) app.Document().Changed();
    }
    Sync();
}

void frmToolBox::cmdCalImg_Click()
{
    ChooseTool(app.session, ToolButton::Calibrate);
    Sync();
}

void frmToolBox::cmdAimPoint_Click()
{
    ChooseTool(app.session, ToolButton::AimPoint);
    Sync();
}

void frmToolBox::cmdClrDat_Click()
{
    // Clears only when nothing is lost: a cancelled or failed save keeps the group.
    app.ClearDataCommand(this);
    Sync();
}

void frmToolBox::cmdPrintData_Click() { app.PrintStats(this); }
