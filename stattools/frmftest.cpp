#include "stattools/frmftest.h"

#include "platform/screen.h"
#include "stattools/testform.h"
#include "ui/appinterface.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace TestForm;

frmFTest::frmFTest(IPeltrixApp &a, QWidget *parent) : QWidget(parent, Qt::Window), app(a)
{
    setObjectName(QStringLiteral("frmFTest"));
    setWindowTitle(QStringLiteral("F-Test: Variance Testing"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPixels(8625), TwipsToPixels(3870));

    Label7 = Label(this, "Label7",
                   QStringLiteral("Lot Numbers are Optional.  All other fields are required."),
                   {0, 0, 8295, 495});
    Label7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Frame1 = Frame(this, "Frame1", QStringLiteral("Sample A"), {0, 480, 4095, 1455});
    Frame2 = Frame(this, "Frame2", QStringLiteral("Sample B"), {4200, 480, 4095, 1455});
    const QString lot = QStringLiteral("Lot #:"), sd = QStringLiteral("Standard Deviation:"),
                  number = QStringLiteral("Number in Sample:");
    Label1 = Label(Frame1, "Label1", lot, {120, 240, 735, 255});
    txtLotA = Field(Frame1, "txtLotA", {1080, 240, 2895, 285}, 0);
    Label10 = Label(Frame1, "Label10", sd, {120, 600, 1575, 255});
    txtStdDevA = Field(Frame1, "txtStdDevA", {1680, 600, 1095, 285}, 10);
    Label3 = Label(Frame1, "Label3", number, {120, 960, 1455, 255});
    txtNumberA = Field(Frame1, "txtNumberA", {1680, 960, 1095, 285}, 2);
    Label6 = Label(Frame2, "Label6", lot, {120, 240, 735, 255});
    txtLotB = Field(Frame2, "txtLotB", {1080, 240, 2895, 285}, 0);
    Label11 = Label(Frame2, "Label11", sd, {120, 600, 1455, 255});
    txtStdDevB = Field(Frame2, "txtStdDevB", {1680, 600, 1095, 285}, 10);
    Label4 = Label(Frame2, "Label4", number, {120, 960, 1455, 255});
    txtNumberB = Field(Frame2, "txtNumberB", {1680, 960, 1095, 285}, 2);
    Label8 =
        Label(this, "Label8", QStringLiteral("Level of Significance:"), {2040, 2160, 1695, 255});
    txtSigLevel = Field(this, "txtSigLevel", {3840, 2160, 495, 285}, 5);
    txtSigLevel->setText(QStringLiteral("5"));
    Label9 = Label(this, "Label9", QStringLiteral("%"), {4440, 2160, 255, 255});
    lblResult = Label(this, "lblResult", QString(), {4920, 2160, 3375, 1095});
    lblResult->setWordWrap(true);
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdCompute = Button(this, "cmdCompute", QStringLiteral("Compute"), {2880, 3360, 1215, 375});
    cmdClose = Button(this, "cmdClose", QStringLiteral("Close"), {4200, 3360, 1215, 375});
    cmdPrint = Button(this, "cmdPrint", QStringLiteral("Print"), {7200, 3360, 1215, 375});

    QWidget *order[] = {txtLotA,    txtStdDevA,  txtNumberA, txtLotB,  txtStdDevB,
                        txtNumberB, txtSigLevel, cmdCompute, cmdClose, cmdPrint};
    for (size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);

    connect(cmdCompute, &QPushButton::clicked, this, &frmFTest::cmdCompute_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmFTest::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmFTest::cmdClose_Click);
}

void frmFTest::Form_Load()
{
    cmdPrint->hide();
    SetCaption(Label7, QChar(13) + Label7->text());
}

FTestFields frmFTest::Fields() const
{
    FTestFields f;
    f.LotA = txtLotA->text();
    f.StdDevA = txtStdDevA->text();
    f.NumberA = txtNumberA->text();
    f.LotB = txtLotB->text();
    f.StdDevB = txtStdDevB->text();
    f.NumberB = txtNumberB->text();
    f.SigLevel = txtSigLevel->text();
    return f;
}

void frmFTest::cmdCompute_Click()
{
    app.prompter.SetOwner(this);
    RunCompute(lblResult, cmdPrint, resultCaption,
               [this] { return ComputeFTest(Fields(), app.session.GammaHalf, app.prompter); });
}

void frmFTest::cmdPrint_Click()
{
    PrintPage(app.prompter, this, windowTitle(),
              SuggestedPdf(app.session.DocumentsDir, QStringLiteral("ftest.pdf")),
              [this](ReportSurface &surface) { PrintFTestPage(surface, Fields(), resultCaption); });
}

void frmFTest::cmdClose_Click() { close(); }
