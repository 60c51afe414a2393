#pragma once
// "Target Sheet": one scanned card with many groups, each aimed at its own
// mark. The card with its marks and shots on the left; the groups with their
// labels and figures, the selected group's plot and the load-development
// chart on the right. Finding marks and holes runs off the interface thread
// with a progress bar and Cancel. The sheet and its rules are the document's;
// the window hands it what the user did and draws again when it changes.
#include "detect/searchjob.h"
#include "sheet/sheetdocument.h"
#include "sheet/sheetwork.h"

#include <QMainWindow>
#include <functional>

class IPeltrixApp;
class GroupPlotView;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class SheetCanvas;
class SheetGroupsModel;

class frmTargetSheet : public QMainWindow {
    Q_OBJECT
public:
    explicit frmTargetSheet(IPeltrixApp &app, QWidget *parent = nullptr);
    ~frmTargetSheet() override;

    const SheetDocument &Document() const { return doc; }

    // The commands of the menus; each tells the user what went wrong.
    bool ImportScan(const QString &path);
    bool OpenSheet(const QString &path);
    bool SaveSheet(const QString &path);
    void FindAims();
    void FindHoles();
    bool ExportGroups(const QString &pxsPath);
    bool ExportCsv(const QString &path);
    bool ExportImage(const QString &path);
    bool PrintSheet(const QString &pdfPath);
    void AddToLogbook(bool all);
    // Four corners clicked on the card, then the rectangle's size.
    void StraightenPicture();
    bool Busy() const { return job != nullptr; }

signals:
    void WorkFinished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildMenus();
    QWidget *BuildSettings();
    void ShowSettings();
    void ApplySettings();
    // Groups, figures, plot and chart drawn again from the document.
    void Refresh();
    void SelectGroup(int group);
    void MoveShot(int shot, int group);
    void ShotMenu(int shot, QPoint at);
    void ScalePicked(QPointF a, QPointF b);
    void Tell(const QString &text, bool warn = true);
    bool ReadyToFind();
    bool AskSave();
    QString AskPath(bool save, const QString &title, const QString &suggested,
                    const QString &filter);
    // Runs `job` on a copy of the sheet in a worker thread; its result
    // replaces the sheet, as the step `step`, when it finished and was not
    // cancelled.
    using Job = std::function<bool(TargetSheet &, const QImage &, const SheetProgress &)>;
    void StartWork(const QString &what, const QString &step, Job job);
    void SetBusy(bool busy);

    IPeltrixApp &app;
    SheetDocument doc;
    SheetGroupsModel *model;
    SheetCanvas *picSheet;
    QTableView *grdGroups;
    QLabel *lblPooled;
    GroupPlotView *picPlot;
    QWidget *chtLoad;
    QLineEdit *txtDpi, *txtScale, *txtRange, *txtBullet, *txtShots, *txtShooter, *txtFirearm,
        *txtDate;
    QComboBox *cboUnit, *cboShow, *cboMode;
    QPushButton *cmdFindAims, *cmdFindHoles, *cmdCancel;
    QProgressBar *prgWork;
    QAction *undo = nullptr, *redo = nullptr;
    SearchJob *job = nullptr;
    bool filling = false;
};

// "Open Sheet..." and "Target Sheet", added to the end of the main window's
// File and View menus; both show the one Target Sheet window of `owner`.
void AddOpenSheetItem(IPeltrixApp &app, QMainWindow *owner, QMenu *file);
void AddViewSheetItem(IPeltrixApp &app, QMainWindow *owner, QMenu *view);
