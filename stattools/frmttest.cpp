#include "stattools/frmttest.h"

#include "platform/screen.h"
#include "stattools/testform.h"
#include "ui/appinterface.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace TestForm;

frmTTest::frmTTest(IPeltrixApp &a, QWidget *parent) : QWidget(parent, Qt::Window), app(a)
{
    setObjectName(QStringLiteral("frmTTest"));
    setWindowTitle(QStringLiteral("T-Test: Testing Averages"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPixels(8805), TwipsToPixels(3990));

    Label7 = Label(this, "Label7",
                   QStringLiteral("Lot Numbers are Optional.  All other fields are required."),
                   {240, 0, 8295, 495});
    Label7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Frame1 = Frame(this, "Frame1", QStringLiteral("Sample A"), {240, 480, 4095, 1815});
    Frame2 = Frame(this, "Frame2", QStringLiteral("Sample B"), {4440, 480, 4095, 1815});
    const QString lot = QStringLiteral("Lot #:"), average = QStringLiteral("Average:"),
                  sd = QStringLiteral("Standard Deviation:"),
                  number = QStringLiteral("Number in Sample:");
    Label1 = Label(Frame1, "Label1", lot, {120, 240, 735, 255});
    txtLotA = Field(Frame1, "txtLotA", {1080, 240, 2895, 285}, 0);
    Label2 = Label(Frame1, "Label2", average, {120, 600, 735, 255});
    txtAverageA = Field(Frame1, "txtAverageA", {1080, 600, 1095, 285}, 10);
    Label10 = Label(Frame1, "Label10", sd, {120, 960, 1575, 255});
    txtStdDevA = Field(Frame1, "txtStdDevA", {1680, 960, 1095, 285}, 10);
    Label3 = Label(Frame1, "Label3", number, {120, 1320, 1455, 255});
    txtNumberA = Field(Frame1, "txtNumberA", {1680, 1320, 1095, 285}, 2);
    Label6 = Label(Frame2, "Label6", lot, {120, 240, 735, 255});
    txtLotB = Field(Frame2, "txtLotB", {1080, 240, 2895, 285}, 0);
    Label5 = Label(Frame2, "Label5", average, {120, 600, 735, 255});
    txtAverageB = Field(Frame2, "txtAverageB", {1080, 600, 1095, 285}, 10);
    Label11 = Label(Frame2, "Label11", sd, {120, 960, 1455, 255});
    txtStdDevB = Field(Frame2, "txtStdDevB", {1680, 960, 1095, 285}, 10);
    Label4 = Label(Frame2, "Label4", number, {120, 1320, 1455, 255});
    txtNumberB = Field(Frame2, "txtNumberB", {1680, 1320, 1095, 285}, 2);
    Label8 =
        Label(this, "Label8", QStringLiteral("Level of Significance:"), {2280, 2520, 1695, 255});
    txtSigLevel = Field(this, "txtSigLevel", {4080, 2520, 495, 285}, 5);
    txtSigLevel->setText(QStringLiteral("5"));
    Label9 = Label(this, "Label9", QStringLiteral("%"), {4680, 2520, 255, 255});
    lblResult = Label(this, "lblResult", QString(), {5160, 2520, 3375, 855});
    lblResult->setWordWrap(true);
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdCompute = Button(this, "cmdCompute", QStringLiteral("Compute"), {3120, 3480, 1215, 375});
    cmdClose = Button(this, "cmdClose", QStringLiteral("Close"), {4440, 3480, 1215, 375});
    cmdPrint = Button(this, "cmdPrint", QStringLiteral("Print"), {7440, 3480, 1215, 375});

    QWidget *order[] = {txtLotA,    txtAverageA, txtStdDevA,  txtNumberA, txtLotB,  txtAverageB,
                        txtStdDevB, txtNumberB,  txtSigLevel, cmdCompute, cmdClose, cmdPrint};
    for (size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);

    connect(cmdCompute, &QPushButton::clicked, this, &frmTTest::cmdCompute_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmTTest::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTTest::cmdClose_Click);
}

void frmTTest::Form_Load()
{
    cmdPrint->hide();
    SetCaption(Label7, QChar(13) + Label7->text());
}

TTestFields frmTTest::Fields() const
{
    TTestFields f;
    f.LotA = txtLotA->text();
    f.AverageA = txtAverageA->text();
    f.StdDevA = txtStdDevA->text();
    f.NumberA = txtNumberA->text();
    f.LotB = txtLotB->text();
    f.AverageB = txtAverageB->text();
    f.StdDevB = txtStdDevB->text();
    f.NumberB = txtNumberB->text();
    f.SigLevel = txtSigLevel->text();
    return f;
}

void frmTTest::cmdCompute_Click()
{
    app.prompter.SetOwner(this);
    RunCompute(lblResult, cmdPrint, resultCaption,
               [this] { return ComputeTTest(Fields(), app.session.GammaHalf, app.prompter); });
}

void frmTTest::cmdPrint_Click()
{
    PrintPage(app.prompter, this, windowTitle(),
              SuggestedPdf(app.session.DocumentsDir, QStringLiteral("ttest.pdf")),
              [this](ReportSurface &surface) { PrintTTestPage(surface, Fields(), resultCaption); });
}

void frmTTest::cmdClose_Click() { close(); }
