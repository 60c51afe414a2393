#include "app/frmmain.h"

#include "platform/menus.h"
#include "platform/screen.h"
#include "sheet/frmtargetsheet.h"
#include "ui/appinterface.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>

frmMain::frmMain(IPeltrixApp &a) : app(a)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Peltrix Main"));
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(central);
    lblTitle = new QLabel(QStringLiteral("Peltrix"), central);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont(QStringLiteral("DejaVu Sans"));
    titleFont.setPointSize(20);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->adjustSize();
    PicMain = new QLabel(central);
    PicMain->setObjectName(QStringLiteral("PicMain"));
    PicMain->setPixmap(TitlePicture());
    PicMain->adjustSize();

    auto item = [this](auto &&...args) { return AddMenuItem(this, args...); };
    auto menu = [this](const char *name, const QString &caption) {
        return AddMenu(menuBar(), name, caption);
    };
    // The graphical entry window's keys, so every window answers alike.
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    QMenu *mnuFile = menu("mnuFile", QStringLiteral("&File"));
    mnuNewFile = item(mnuFile, "mnuNewFile", QStringLiteral("&New"), &frmMain::mnuNewFile_Click,
                      ctrl(Qt::Key_N));
    mnuOpenStats = item(mnuFile, "mnuOpenStats", QStringLiteral("&Open"),
                        &frmMain::mnuOpenStats_Click, ctrl(Qt::Key_O));
    AddOpenSheetItem(app, this, mnuFile);
    mnuFileSave = item(mnuFile, "mnuFileSave", QStringLiteral("File &Save"),
                       &frmMain::mnuFileSave_Click, ctrl(Qt::Key_S));
    mnuFileSaveAs = item(mnuFile, "mnuFileSaveAs", QStringLiteral("File Save &As"),
                         &frmMain::mnuFileSaveAs_Click, ctrl(Qt::Key_A));
    app.AddLogbookItem(this, mnuFile, "mnuAddLogbook");
    mnuFile->addSeparator();
    mnuImportItem = item(mnuFile, "mnuImportItem", QStringLiteral("Import Target I&mage"),
                         &frmMain::mnuImportItem_Click);
    mnuExport =
        item(mnuFile, "mnuExport", QStringLiteral("Export Shot Data"), &frmMain::mnuExport_Click);
    mnuFile->addSeparator();
    mnuPrintItem = item(mnuFile, "mnuPrintItem", QStringLiteral("&Print Statistics"),
                        &frmMain::mnuPrintItem_Click, ctrl(Qt::Key_P));
    mnuFile->addSeparator();
    mnuExitItem = item(mnuFile, "mnuExitItem", QStringLiteral("E&xit"), &frmMain::mnuExitItem_Click,
                       ctrl(Qt::Key_Q));

    QMenu *mnuView = menu("mnuView", QStringLiteral("&View"));
    mnuGraphDataItem = item(mnuView, "mnuGraphDataItem", QStringLiteral("View &Graphical Entry"),
                            &frmMain::mnuGraphDataItem_Click);
    mnuTextDataItem = item(mnuView, "mnuTextDataItem", QStringLiteral("View &Text Entry"),
                           &frmMain::mnuTextDataItem_Click);
    mnuViewStats = item(mnuView, "mnuViewStats", QStringLiteral("View Statistics"),
                        &frmMain::mnuViewStats_Click);
    mnuViewAnalysis = item(mnuView, "mnuViewAnalysis", QStringLiteral("View Group &Analysis"),
                           &frmMain::mnuViewAnalysis_Click);
    app.ViewLogbookItem(this, mnuView, "mnuViewLogbook");
    mnuView->addSeparator();
    mnuClearDatItem = item(mnuView, "mnuClearDatItem", QStringLiteral("&Clear Data"),
                           &frmMain::mnuClearDatItem_Click);
    AddViewSheetItem(app, this, mnuView);

    QMenu *mnuOptions = menu("mnuOptions", QStringLiteral("&Options"));
    mnuMainHeader = item(mnuOptions, "mnuMainHeader", QStringLiteral("Edit Header Data"),
                         &frmMain::mnuMainHeader_Click);
    mnuDefault = item(mnuOptions, "mnuDefault", QStringLiteral("Default Options"),
                      &frmMain::mnuDefault_Click);
    mnuItemUnit = item(mnuOptions, "mnuItemUnit", QStringLiteral("&Units of Measure"),
                       &frmMain::mnuItemUnit_Click);

    QMenu *mnuMainTools = menu("mnuMainTools", QStringLiteral("&Tools"));
    mnuToolsAverage = item(mnuMainTools, "mnuToolsAverage", QStringLiteral("&Average Testing"),
                           &frmMain::mnuToolsAverage_Click);
    mnuToolsVariance = item(mnuMainTools, "mnuToolsVariance", QStringLiteral("&Variance Testing"),
                            &frmMain::mnuToolsVariance_Click);
    mnuToolsIndep = item(mnuMainTools, "mnuToolsIndep", QStringLiteral("Independence"),
                         &frmMain::mnuToolsIndep_Click);
    // It performs nothing; shown disabled so nobody waits for it.
    mnuToolsIndep->setEnabled(false);
    mnuToolsAverage->setEnabled(app.StatToolsAvailable());
    mnuToolsVariance->setEnabled(app.StatToolsAvailable());

    QMenu *mnuHelp = menu("mnuHelp", QStringLiteral("&Help"));
    mnuHtmlHelp = item(mnuHelp, "mnuHtmlHelp", QStringLiteral("Peltrix &Manual"),
                       &frmMain::mnuHtmlHelp_Click);
    mnuTutorial = item(mnuHelp, "mnuTutorial", QStringLiteral("Graphical Entry &Tutorial"),
                       &frmMain::mnuTutorial_Click);
    mnuAboutItem = item(mnuHelp, "mnuAboutItem", QStringLiteral("&About Peltrix"),
                        &frmMain::mnuAboutItem_Click);

    // As wide as the screen, so the title centred on the screen's width is
    // centred in the window too.
    const int width = TwipsToPixels(ScreenWidthTwips());
    resize(width, TwipsToPixels(500) + PicMain->height() + menuBar()->sizeHint().height() + 40);
    move(0, 0);
}

void frmMain::PlaceTitle()
{
    const int screenWidth = TwipsToPixels(ScreenWidthTwips());
    lblTitle->move(screenWidth / 2 - lblTitle->width() / 2, TwipsToPixels(120));
    PicMain->move(screenWidth / 2 - PicMain->width() / 2, TwipsToPixels(500));
}

void frmMain::mnuNewFile_Click()
{
    if (!app.ConfirmDiscard(this)) return;
    app.ClearDataSet();
}

void frmMain::mnuOpenStats_Click() { app.OpenFileDialog(1, this); }

void frmMain::mnuFileSave_Click() { app.SaveStats(this); }

void frmMain::mnuFileSaveAs_Click() { app.SaveStatsAs(this); }

void frmMain::mnuImportItem_Click() { app.OpenFileDialog(2, this); }

void frmMain::mnuExport_Click() { app.ExportShots(this); }

void frmMain::mnuPrintItem_Click() { app.PrintStats(this); }

void frmMain::mnuExitItem_Click() { close(); }

void frmMain::mnuGraphDataItem_Click() { app.ViewGraphicalEntry(); }

void frmMain::mnuTextDataItem_Click() { app.ViewTextEntry(); }

void frmMain::mnuViewStats_Click() { app.ShowStatistics(this); }

void frmMain::mnuViewAnalysis_Click() { app.ShowGroupAnalysis(this); }

void frmMain::mnuClearDatItem_Click() { app.ClearDataCommand(this); }

void frmMain::mnuMainHeader_Click() { app.ShowHeaderForm(this); }

void frmMain::mnuDefault_Click() { app.ShowDefaultOptions(this); }

void frmMain::mnuItemUnit_Click() { app.ShowUnits(this); }

void frmMain::mnuToolsAverage_Click() { app.ShowTTest(); }

void frmMain::mnuToolsVariance_Click() { app.ShowFTest(); }

void frmMain::mnuToolsIndep_Click() {}

void frmMain::mnuHtmlHelp_Click() { app.OpenManual(this); }

void frmMain::mnuTutorial_Click() { app.ShowTutorial(); }

void frmMain::mnuAboutItem_Click() { app.ShowAbout(true); }

void frmMain::closeEvent(QCloseEvent *event)
{
    if (closing) {
        event->accept();
        return;
    }
    // Unsaved shots are offered for saving first; the group is never dropped
    // without a word.
    if (!app.ConfirmDiscard(this)) {
        event->ignore();
        return;
    }
    closing = true;
    app.SaveConfig();
    app.CloseAll();
    event->accept();
}

QPixmap TitlePicture()
{
    // A target face with a tight group: the program's own title picture.
    QPixmap pix(300, 300);
    pix.fill(Qt::white);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(150, 150);
    for (int ring = 10; ring >= 1; --ring) {
        const double r = ring * 14.0;
        p.setPen(QPen(ring <= 6 ? Qt::white : Qt::black, 1));
        p.setBrush(ring <= 6 ? QColor(20, 20, 20) : QColor(250, 250, 245));
        p.drawEllipse(c, r, r);
    }
    p.setPen(QPen(QColor(200, 40, 40), 1.5));
    p.drawLine(QPointF(150, 0), QPointF(150, 300));
    p.drawLine(QPointF(0, 150), QPointF(300, 150));
    const QPointF holes[] = {{162, 138}, {171, 146}, {158, 127}, {176, 133}, {166, 152}};
    p.setPen(QPen(QColor(255, 220, 0), 2));
    p.setBrush(QColor(120, 120, 120));
    for (const QPointF &h : holes) p.drawEllipse(h, 4, 4);
    return pix;
}
