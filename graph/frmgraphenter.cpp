#include "graph/frmgraphenter.h"

#include "graph/cornerpicker.h"
#include "graph/findtool.h"
#include "graph/frmtoolbox.h"
#include "graph/graphguide.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "graph/straighten.h"
#include "model/textnum.h"
#include "platform/menus.h"
#include "platform/placement.h"
#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace {
const QString TitlePrefix = QStringLiteral("Graphical Data Entry - ");
}

frmGraphEnter::frmGraphEnter(IPeltrixApp &a, QWidget *parent)
    : QMainWindow(parent, Qt::Window), app(a)
{
    setObjectName(QStringLiteral("frmGraphEnter"));
    setWindowTitle(QStringLiteral("Graphical Data Entry"));
    setAttribute(Qt::WA_DeleteOnClose);

    View = new PictureView(picture.canvas, this);
    Picture1 = View->Picture();
    setCentralWidget(View);
    ZoomLabel = new QLabel(PictureView::ZoomText(1.0), this);
    ZoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblScale = new QLabel(this);
    lblScale->setObjectName(QStringLiteral("lblScale"));
    statusBar()->addWidget(lblStatus, 1);
    statusBar()->addPermanentWidget(lblScale);
    statusBar()->addPermanentWidget(ZoomLabel);
    connect(View, &PictureView::ZoomChanged, this, [this](double z) {
        ZoomLabel->setText(PictureView::ZoomText(z));
        if (!fitting) keepFitted = false;
    });
    connect(View, &PictureView::ViewMoved, this, &frmGraphEnter::ViewMoved);
    picture.canvas.Changed = [this](const QRect &r) { Picture1->CanvasChanged(r); };
    connect(Picture1, &PictureBox::MouseDown, this, &frmGraphEnter::Picture1_MouseDown);
    connect(Picture1, &PictureBox::MouseMove, this, &frmGraphEnter::Picture1_MouseMove);
    Finder = new FindTool(app, this, Picture1, picture);
    connect(Finder, &FindTool::Changed, this, [this] {
        if (toolbox) toolbox->Sync();
    });
    // Shots added, removed or re-read anywhere: the tools and the guide follow.
    connect(&app.Document(), &GroupDocument::groupChanged, this, [this] {
        if (toolbox) toolbox->Sync();
        UpdateGuide();
    });

    auto item = [this](auto &&...args) { return AddMenuItem(this, args...); };
    auto menu = [this](const char *name, const QString &caption) {
        return AddMenu(menuBar(), name, caption);
    };
    using F = frmGraphEnter;
    QMenu *file = menu("mnuGraphFile", QStringLiteral("&File"));
    mnuGraphFileNew = item(file, "mnuGraphFileNew", QStringLiteral("&New"),
                           &F::mnuGraphFileNew_Click, QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuGraphFileOpen = item(file, "mnuGraphFileOpen", QStringLiteral("&Open"),
                            &F::mnuGraphFileOpen_Click, QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuGraphFileSave = item(file, "mnuGraphFileSave", QStringLiteral("&Save"),
                            &F::mnuGraphFileSave_Click, QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuGraphFileSaveAs = item(file, "mnuGraphFileSaveAs", QStringLiteral("Save &As"),
                              &F::mnuGraphFileSaveAs_Click, QKeySequence(Qt::CTRL | Qt::Key_A));
    app.AddLogbookItem(this, file, "mnuGraphAddLogbook");
    file->addSeparator();
    mnuGraphImportImage = item(file, "mnuGraphImportImage", QStringLiteral("Import Target Image"),
                               &F::mnuGraphImportImage_Click);
    mnuGraphExport =
        item(file, "mnuGraphExport", QStringLiteral("Export Shot Data"), &F::mnuGraphExport_Click);
    file->addSeparator();
    mnuGraphFilePrint = item(file, "mnuGraphFilePrint", QStringLiteral("&Print Statistics"),
                             &F::mnuGraphFilePrint_Click, QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    mnuGraphClose = item(file, "mnuGraphClose", QStringLiteral("&Close Graphical Entry"),
                         &F::mnuGraphClose_Click, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu *view = menu("mnuGraphView", QStringLiteral("&View"));
    mnuViewToolBox =
        item(view, "mnuViewToolBox", QStringLiteral("View Toolbox"), &F::mnuViewToolBox_Click);
    mnuViewStats =
        item(view, "mnuViewStats", QStringLiteral("View Statistics"), &F::mnuViewStats_Click);
    mnuViewHeader =
        item(view, "mnuViewHeader", QStringLiteral("View Header Form"), &F::mnuViewHeader_Click);
    mnuGraphViewAnalysis = item(view, "mnuGraphViewAnalysis", QStringLiteral("View Group Analysis"),
                                &F::mnuGraphViewAnalysis_Click);
    app.ViewLogbookItem(this, view, "mnuGraphViewLogbook");
    view->addSeparator();
    mnuZoomIn = item(view, "mnuZoomIn", QStringLiteral("Zoom &In"), &F::mnuZoomIn_Click,
                     QKeySequence(Qt::CTRL | Qt::Key_Equal));
    // Ctrl++ as well, for keyboards where + is the shifted =.
    mnuZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    mnuZoomOut = item(view, "mnuZoomOut", QStringLiteral("Zoom &Out"), &F::mnuZoomOut_Click,
                      QKeySequence(Qt::CTRL | Qt::Key_Minus));
    mnuZoomActual = item(view, "mnuZoomActual", QStringLiteral("Actual Size (100 %)"),
                         &F::mnuZoomActual_Click, QKeySequence(Qt::CTRL | Qt::Key_0));
    mnuZoomFit = item(view, "mnuZoomFit", QStringLiteral("Fit to Window"), &F::mnuZoomFit_Click);
    view->addSeparator();
    mnuStraighten = item(view, "mnuStraighten", QStringLiteral("Straighten Picture..."),
                         &F::mnuStraighten_Click);
    QMenu *options = menu("mnuGraphOptions", QStringLiteral("&Options"));
    mnuGraphColor = item(options, "mnuGraphColor", QStringLiteral("Set Background &Color"),
                         &F::mnuGraphColor_Click);
    mnuCursor =
        item(options, "mnuCursor", QStringLiteral("Full Screen Cursor"), &F::mnuCursor_Click);
    mnuGroupCenter = item(options, "mnuGroupCenter", QStringLiteral("Show Group Centroid"),
                          &F::mnuGroupCenter_Click);
    mnuAxes =
        item(options, "mnuAxes", QStringLiteral("Show Axes Through Aimpoint"), &F::mnuAxes_Click);
    for (QAction *a : {mnuCursor, mnuGroupCenter, mnuAxes}) a->setCheckable(true);
    QMenu *help = menu("mnuGraphHelp", QStringLiteral("&Help"));
    mnuGraphManual =
        item(help, "mnuGraphManual", QStringLiteral("Peltrix Manual"), &F::mnuGraphManual_Click);
    mnuGraphTutorial = item(help, "mnuGraphTutorial", QStringLiteral("Graphical Entry Tutorial"),
                            &F::mnuGraphTutorial_Click);
    help->addSeparator();
    mnuGraphAbout =
        item(help, "mnuGraphAbout", QStringLiteral("About Peltrix"), &F::mnuGraphAbout_Click);
}

frmGraphEnter::~frmGraphEnter() { picture.canvas.Changed = nullptr; }

frmToolBox *frmGraphEnter::ToolBox()
{
    if (!toolbox) {
        toolbox = new frmToolBox(app, this);
        Finder->AddKeysTo(toolbox);
    }
    return toolbox;
}

void frmGraphEnter::Form_Load()
{
    const QSize picturePixels(TwipsToPixels(ScreenWidthTwips() - 20),
                              TwipsToPixels(ScreenHeightTwips() - 1080));
    picture.canvas.SetPictureSize(picturePixels);
    if (!app.session.HeaderEntered) app.ShowHeaderForm(this);
    frmToolBox *tools = ToolBox();
    tools->show();
    app.ShowStatistics(this);
    picture.LastMouseX = -1;
    ReloadTargetImage();
    // Counted from here: a large scan takes a while to load.
    opened.start();
    PlaceOwnWindows();
    for (int ms : {200, 600, 1500}) QTimer::singleShot(ms, this, &frmGraphEnter::PlaceOwnWindows);
}

void frmGraphEnter::PlaceOwnWindows()
{
    // The toolbox at the picture's top-left, where the work starts; the
    // statistics at the top-right. Again while the window manager frames and
    // maximises this window, in its first moments; after that they stay
    // where the user puts them.
    if (!opened.isValid() || opened.elapsed() > 2000) return;
    if (toolbox) PlaceInsideTopLeft(toolbox, this);
    QWidget *stats = app.StatisticsWindow();
    if (stats->parentWidget() == this) PlaceBeside(stats, this);
}

void frmGraphEnter::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    PlaceOwnWindows();
}

void frmGraphEnter::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    PlaceOwnWindows();
}

void frmGraphEnter::ReloadTargetImage()
{
    Session &s = app.session;
    // Corners clicked on the picture that goes do not belong to the next.
    if (Picking()) Straightening->Cancel();
    setWindowTitle(TitlePrefix + s.ImagePath);
    app.prompter.SetOwner(this);
    Finder->Forget();
    LoadPictureFromSession(s, picture, app.prompter);
    Picture1->setCursor(Qt::CrossCursor);
    SyncControls();
    if (s.ImagePath != fittedImage) {
        fittedImage = s.ImagePath;
        keepFitted = true;
    }
    FitNewPicture();
    ViewMoved();
}

void frmGraphEnter::FitNewPicture()
{
    if (!keepFitted || fitting) return;
    fitting = true;
    fittedView = View->viewport()->size();
    View->FitToWindow();
    // A small picture at its own size, not blown up.
    if (View->Zoom() > 1) View->SetZoom(1.0);
    fitting = false;
}

void frmGraphEnter::SyncControls()
{
    const Session &s = app.session;
    setWindowTitle(TitlePrefix + s.ImagePath);
    mnuGroupCenter->setChecked(s.ShowCentroid);
    mnuCursor->setChecked(s.FullScreenCursor);
    mnuAxes->setChecked(s.ShowAxes);
    if (toolbox) toolbox->Sync();
    UpdateGuide();
}

void frmGraphEnter::UpdateGuide()
{
    const Session &s = app.session;
    lblStatus->setText(Picking() ? Straightening->Prompt()
                                 : ToolPrompt(s, picture, picture.canvas.HasImage()));
    lblScale->setText(ScaleText(s));
    Picture1->SetNotes(NotesOf(s, picture));
}

void frmGraphEnter::Picture1_MouseDown(int, int, float X, float Y)
{
    app.prompter.SetOwner(this);
    // The second calibration press asks for the length: say in which unit.
    if (app.session.ToolMode == Tool::Calibrate && picture.FirstCalPointSet)
        lblStatus->setText(CalibrationAnswerPrompt(app.session));
    ::Picture1_MouseDown(app.session, picture, app.prompter, X, Y);
    app.Document().Changed();
}

void frmGraphEnter::Picture1_MouseMove(int, int, float X, float Y)
{
    ::Picture1_MouseMove(app.session, picture, X, Y);
}

void frmGraphEnter::mnuGraphFileNew_Click() {}

void frmGraphEnter::mnuGraphFileOpen_Click()
{
    // Called off, the picture stays exactly as it is.
    if (app.OpenFileDialog(1, this) && app.HasGraphEnter()) ReloadTargetImage();
}

void frmGraphEnter::mnuGraphFileSave_Click() { app.SaveStats(this); }

void frmGraphEnter::mnuGraphFileSaveAs_Click() { app.SaveStatsAs(this); }

void frmGraphEnter::mnuGraphImportImage_Click()
{
    if (app.OpenFileDialog(2, this) && app.HasGraphEnter()) ReloadTargetImage();
}

void frmGraphEnter::mnuGraphExport_Click() { app.ExportShots(this); }

void frmGraphEnter::mnuGraphFilePrint_Click() { app.PrintStats(this); }

void frmGraphEnter::mnuGraphClose_Click() { close(); }

void frmGraphEnter::mnuViewToolBox_Click()
{
    frmToolBox *tools = ToolBox();
    tools->Sync();
    tools->show();
    tools->raise();
}

void frmGraphEnter::mnuViewStats_Click() { app.ShowStatistics(this); }

void frmGraphEnter::mnuGraphViewAnalysis_Click() { app.ShowGroupAnalysis(this); }

void frmGraphEnter::mnuViewHeader_Click() { app.ShowHeaderForm(this); }

void frmGraphEnter::mnuGraphColor_Click()
{
    Session &s = app.session;
    app.prompter.SetOwner(this);
    const auto chosen = app.prompter.ChooseColor(QColor(picture.canvas.Background()));
    // A cancelled dialog changes nothing: not the colour, not the figures.
    if (!chosen || !chosen->isValid()) return;
    ChangeBackColor(s, picture, ColorValue(chosen->rgb()));
    SyncControls();
}

void frmGraphEnter::mnuCursor_Click()
{
    ToggleFullScreenCursor(app.session, picture);
    mnuCursor->setChecked(app.session.FullScreenCursor);
}

void frmGraphEnter::mnuGroupCenter_Click()
{
    ToggleCentroid(app.session, picture);
    mnuGroupCenter->setChecked(app.session.ShowCentroid);
}

void frmGraphEnter::mnuAxes_Click()
{
    ToggleAxes(app.session, picture);
    mnuAxes->setChecked(app.session.ShowAxes);
}

void frmGraphEnter::mnuZoomIn_Click() { View->ZoomIn(); }

void frmGraphEnter::mnuZoomOut_Click() { View->ZoomOut(); }

void frmGraphEnter::mnuZoomActual_Click() { View->SetZoom(1.0); }

void frmGraphEnter::mnuZoomFit_Click()
{
    keepFitted = true;
    FitNewPicture();
}

bool frmGraphEnter::Picking() const { return Straightening && Straightening->Running(); }

void frmGraphEnter::mnuStraighten_Click()
{
    app.prompter.SetOwner(this);
    if (Picking()) return;
    auto refuse = [this](const QString &text) {
        app.prompter.MsgBox(text, StraightenTitle, Buttons::Ok, Icon::Exclamation);
    };
    if (!picture.canvas.HasImage() || app.session.ImagePath.isEmpty())
        return refuse(QStringLiteral("Import a target image first: File, Import Target Image."));
    if (Finder->Searching() || Finder->Showing())
        return refuse(QStringLiteral("Enter or drop the holes Find proposes first."));
    Straightening = new CornerPicker(
        this, Picture1, [this](QPointF w) { return Picture1->ToPictureTwips(w) / TwipsPerPixel; },
        [this](QPointF px) { return (px + QPointF(0.5, 0.5)) * Picture1->Zoom(); });
    connect(Straightening, &CornerPicker::Step, lblStatus, &QLabel::setText);
    connect(Straightening, &CornerPicker::Cancelled, this, &frmGraphEnter::UpdateGuide);
    connect(Straightening, &CornerPicker::Picked, this, &frmGraphEnter::StraightenCornersPicked);
    UpdateGuide();
}

void frmGraphEnter::StraightenCornersPicked(const std::array<QPointF, 4> &corners)
{
    Session &s = app.session;
    app.prompter.SetOwner(this);
    const QString unit = s.UnitName.trimmed();
    auto ask = [&](const QString &what) {
        return app.prompter.InputBox(QStringLiteral("%1 of the rectangle, in %2:").arg(what, unit),
                                     StraightenTitle, QString());
    };
    const auto width = ask(QStringLiteral("Width (corner 1 to corner 2)"));
    const auto height =
        width ? ask(QStringLiteral("Height (corner 2 to corner 3)")) : std::optional<QString>();
    // Either box cancelled: everything stays as it was. Not a number: 0, which
    // the straightening refuses with its reason.
    if (width && height &&
        StraightenGroupPicture(s, corners, ParseNumber(*width).value_or(0),
                               ParseNumber(*height).value_or(0), app.prompter)) {
        ReloadTargetImage();
        app.RenderStats();
    }
    UpdateGuide();
}

void frmGraphEnter::ViewMoved()
{
    // Resized while fitted: fitted again (a scroll leaves it alone).
    if (keepFitted && !fitting && View->viewport()->size() != fittedView) FitNewPicture();
    ShowVisibleArea(app.session, picture, Picture1->VisibleTwips());
}

void frmGraphEnter::mnuGraphManual_Click() { app.OpenManual(this); }

void frmGraphEnter::mnuGraphTutorial_Click() { app.ShowTutorial(); }

void frmGraphEnter::mnuGraphAbout_Click() { app.ShowAbout(false); }

void frmGraphEnter::Form_Unload()
{
    app.session.CursorLinesDrawn = false;
    app.session.CentroidDrawn = false;
    app.session.AxesDrawn = false;
    app.session.CalMarkersDrawn = false;
    if (toolbox) toolbox->close();
    app.ReleaseOwned(this);
}

void frmGraphEnter::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QMainWindow::closeEvent(event);
}
