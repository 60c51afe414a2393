#pragma once
// The graphical entry window: the target picture, its menus and options. The
// mouse and drawing rules live in targetdrawing; this form routes to them.
#include "graph/targetdrawing.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointF>
#include <QPointer>
#include <array>

class IPeltrixApp;
class PictureBox;
class PictureView;
class QLabel;
class QAction;
class frmToolBox;
class FindTool;
class CornerPicker;

class frmGraphEnter : public QMainWindow {
    Q_OBJECT
public:
    explicit frmGraphEnter(IPeltrixApp &app, QWidget *parent = nullptr);
    ~frmGraphEnter() override;

    PictureBox *Picture1;
    QAction *mnuGraphFileNew, *mnuGraphFileOpen, *mnuGraphFileSave, *mnuGraphFileSaveAs,
        *mnuGraphImportImage, *mnuGraphExport, *mnuGraphFilePrint, *mnuGraphClose, *mnuViewToolBox,
        *mnuViewStats, *mnuViewHeader, *mnuGraphViewAnalysis, *mnuGraphColor, *mnuCursor,
        *mnuGroupCenter, *mnuAxes, *mnuGraphManual, *mnuGraphTutorial, *mnuGraphAbout;
    // Scrolling and zoom of the picture.
    PictureView *View;
    QAction *mnuZoomIn, *mnuZoomOut, *mnuZoomActual, *mnuZoomFit;
    // Straighten Picture: four corners clicked, then the rectangle's size.
    QAction *mnuStraighten;
    QPointer<CornerPicker> Straightening;
    QLabel *ZoomLabel;
    // The status line: what a click does now, and the picture's scale.
    QLabel *lblStatus, *lblScale;

    // Find: holes proposed over the picture.
    FindTool *Finder;

    GraphPicture &Picture() { return picture; }
    frmToolBox *ToolBox();

    void Form_Load();
    void ReloadTargetImage();
    // Title, check marks and toolbox as the session has them now.
    void SyncControls();
    // The status line and the notes over the picture, as the session has them.
    void UpdateGuide();

public slots:
    void Picture1_MouseDown(int button, int shift, float X, float Y);
    void Picture1_MouseMove(int button, int shift, float X, float Y);
    void mnuGraphFileNew_Click();
    void mnuGraphFileOpen_Click();
    void mnuGraphFileSave_Click();
    void mnuGraphFileSaveAs_Click();
    void mnuGraphImportImage_Click();
    void mnuGraphExport_Click();
    void mnuGraphFilePrint_Click();
    void mnuGraphClose_Click();
    void mnuViewToolBox_Click();
    void mnuViewStats_Click();
    void mnuGraphViewAnalysis_Click();
    void mnuViewHeader_Click();
    void mnuGraphColor_Click();
    void mnuCursor_Click();
    void mnuGroupCenter_Click();
    void mnuAxes_Click();
    void mnuGraphManual_Click();
    void mnuGraphTutorial_Click();
    void mnuGraphAbout_Click();
    void mnuZoomIn_Click();
    void mnuZoomOut_Click();
    void mnuZoomActual_Click();
    void mnuZoomFit_Click();
    void mnuStraighten_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void Form_Unload();
    void ViewMoved();
    void StraightenCornersPicked(const std::array<QPointF, 4> &corners);
    bool Picking() const;
    // A new picture opens fitted to the window, and stays fitted as the
    // window is resized until the user zooms.
    void FitNewPicture();
    QString fittedImage;
    bool keepFitted = false, fitting = false;
    QSize fittedView;
    void PlaceOwnWindows();
    QElapsedTimer opened;
    IPeltrixApp &app;
    GraphPicture picture;
    QPointer<frmToolBox> toolbox;
};
