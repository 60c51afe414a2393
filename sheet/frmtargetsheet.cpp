#include "sheet/frmtargetsheet.h"

#include "analysis/frmgroupanalysis.h"
#include "detect/holenet.h"
#include "platform/menus.h"
#include "sheet/sheetcanvas.h"
#include "sheet/sheetgroupsmodel.h"
#include "sheet/sheetpage.h"
#include "ui/appinterface.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

namespace {
const QString Title = QStringLiteral("Target Sheet");
} // namespace

frmTargetSheet::frmTargetSheet(IPeltrixApp &a, QWidget *parent)
    : QMainWindow(parent, Qt::Window), app(a), model(new SheetGroupsModel(doc, this)),
      picSheet(new SheetCanvas(doc))
{
    setObjectName(QStringLiteral("frmTargetSheet"));
    setWindowTitle(Title);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *tools = addToolBar(QStringLiteral("Card"));
    tools->setObjectName(QStringLiteral("tbrSheet"));
    cmdFindAims = new QPushButton(QStringLiteral("Find &Aims"));
    cmdFindAims->setObjectName(QStringLiteral("cmdFindAims"));
    cmdFindHoles = new QPushButton(QStringLiteral("Find &Holes"));
    cmdFindHoles->setObjectName(QStringLiteral("cmdFindHoles"));
    cboMode = new QComboBox;
    cboMode->setObjectName(QStringLiteral("cboMode"));
    cboMode->addItems({QStringLiteral("Click: shots"), QStringLiteral("Click: aiming marks"),
                       QStringLiteral("Click: two points of the scale")});
    tools->addWidget(cmdFindAims);
    tools->addWidget(cmdFindHoles);
    tools->addSeparator();
    tools->addWidget(cboMode);
    connect(cmdFindAims, &QPushButton::clicked, this, &frmTargetSheet::FindAims);
    connect(cmdFindHoles, &QPushButton::clicked, this, &frmTargetSheet::FindHoles);
    connect(cboMode, &QComboBox::currentIndexChanged, this,
            [this](int i) { picSheet->SetMode(SheetCanvas::Mode(i)); });

    prgWork = new QProgressBar;
    prgWork->setObjectName(QStringLiteral("prgWork"));
    prgWork->setRange(0, 1000);
    prgWork->setMaximumWidth(220);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    statusBar()->addPermanentWidget(prgWork);
    statusBar()->addPermanentWidget(cmdCancel);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        if (job) job->Cancel();
    });
    SetBusy(false);
    if (const QString off = HoleModelProblem(); !off.isEmpty()) statusBar()->showMessage(off);

    grdGroups = new QTableView;
    grdGroups->setObjectName(QStringLiteral("grdGroups"));
    grdGroups->setModel(model);
    grdGroups->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdGroups->setSelectionMode(QAbstractItemView::SingleSelection);
    grdGroups->verticalHeader()->hide();
    grdGroups->setWordWrap(false);
    lblPooled = new QLabel;
    lblPooled->setObjectName(QStringLiteral("lblPooled"));
    lblPooled->setWordWrap(true);
    cboShow = new QComboBox;
    cboShow->setObjectName(QStringLiteral("cboShow"));
    picPlot = new GroupPlotView;
    picPlot->setMinimumSize(300, 300);
    chtLoad = new LoadChartView(doc);
    chtLoad->setObjectName(QStringLiteral("chtLoad"));
    chtLoad->setMinimumSize(300, 260);

    auto *tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("tabViews"));
    tabs->addTab(picPlot, QStringLiteral("Group"));
    tabs->addTab(chtLoad, QStringLiteral("Load Chart"));
    auto *side = new QWidget;
    auto *v = new QVBoxLayout(side);
    v->addWidget(BuildSettings());
    auto *showRow = new QHBoxLayout;
    showRow->addWidget(new QLabel(QStringLiteral("Figures in:")));
    showRow->addWidget(cboShow, 1);
    v->addLayout(showRow);
    v->addWidget(grdGroups, 2);
    v->addWidget(lblPooled);
    v->addWidget(tabs, 3);
    auto *split = new QSplitter;
    split->addWidget(picSheet);
    split->addWidget(side);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({600, 680});
    setCentralWidget(split);

    connect(&doc, &SheetDocument::Changed, this, [this] {
        ShowSettings();
        Refresh();
    });
    connect(&doc, &SheetDocument::PathChanged, this, &frmTargetSheet::Refresh);
    connect(picSheet, &SheetCanvas::SelectionChanged, this, [this] {
        const TargetSheet &sheet = doc.Sheet();
        const int s = picSheet->SelectedShot;
        if (s >= 0 && size_t(s) < sheet.Shots.size() && sheet.Shots[size_t(s)].group >= 0)
            SelectGroup(sheet.Shots[size_t(s)].group);
    });
    connect(picSheet, &SheetCanvas::ScalePicked, this, &frmTargetSheet::ScalePicked);
    connect(picSheet, &SheetCanvas::ShotMenu, this, &frmTargetSheet::ShotMenu);
    connect(grdGroups->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &row) {
                if (!filling)
                    SelectGroup(row.row() < int(doc.Sheet().Marks.size()) ? row.row() : -1);
            });
    connect(cboShow, &QComboBox::currentIndexChanged, this, [this](int show) {
        if (filling) return;
        model->SetShow(std::max(0, show));
        grdGroups->resizeColumnsToContents();
    });
    BuildMenus();
    resize(1300, 860);
    ShowSettings();
    Refresh();
}

QWidget *frmTargetSheet::BuildSettings()
{
    // Two fields a row: the figures below get the height.
    auto *box = new QWidget;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    int at = 0;
    auto place = [&](QWidget *w, const QString &label) {
        grid->addWidget(new QLabel(label), at / 2, (at % 2) * 2);
        grid->addWidget(w, at / 2, (at % 2) * 2 + 1);
        ++at;
    };
    auto field = [&](QLineEdit *&e, const char *name, const QString &label) {
        e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        place(e, label);
        connect(e, &QLineEdit::editingFinished, this, &frmTargetSheet::ApplySettings);
    };
    cboUnit = new QComboBox;
    cboUnit->setObjectName(QStringLiteral("cboUnit"));
    cboUnit->setEditable(true);
    cboUnit->addItems(
        {QStringLiteral("Inches"), QStringLiteral("Centimeters"), QStringLiteral("Millimeters")});
    place(cboUnit, QStringLiteral("Unit"));
    connect(cboUnit, &QComboBox::currentTextChanged, this, [this] {
        if (!filling) ApplySettings();
    });
    field(txtBullet, "txtBullet", QStringLiteral("Bullet diameter"));
    field(txtDpi, "txtDpi", QStringLiteral("Resolution (dpi)"));
    field(txtScale, "txtScale", QStringLiteral("Pixels per unit"));
    field(txtRange, "txtRange", QStringLiteral("Range (yards)"));
    field(txtShots, "txtShots", QStringLiteral("Shots per group"));
    field(txtDate, "txtDate", QStringLiteral("Date fired"));
    field(txtShooter, "txtShooter", QStringLiteral("Shooter"));
    field(txtFirearm, "txtFirearm", QStringLiteral("Firearm"));
    return box;
}

void frmTargetSheet::ShowSettings()
{
    const TargetSheet &Sheet = doc.Sheet();
    filling = true;
    cboUnit->setCurrentText(Sheet.UnitName);
    const auto perInch = InchesPerUnit(Sheet.UnitName);
    txtScale->setText(Sheet.Scaled() ? QString::number(Sheet.PixelsPerUnit, 'g', 7) : QString());
    txtDpi->setText(Sheet.Scaled() && perInch
                        ? QString::number(Sheet.PixelsPerUnit / *perInch, 'g', 6)
                        : QString());
    txtBullet->setText(Sheet.BulletDiameter > 0 ? QString::number(Sheet.BulletDiameter, 'g', 6)
                                                : QString());
    txtRange->setText(Sheet.RangeYards ? QString::number(*Sheet.RangeYards, 'g', 7) : QString());
    txtShots->setText(Sheet.ShotsPerGroup > 0 ? QString::number(Sheet.ShotsPerGroup) : QString());
    txtShooter->setText(Sheet.Header.Shooter);
    txtFirearm->setText(Sheet.Header.Firearm);
    txtDate->setText(Sheet.Header.Date);
    filling = false;
}

void frmTargetSheet::ApplySettings()
{
    if (filling) return;
    QString why;
    std::optional<double> typedDpi;
    if (!doc.ApplySettings({cboUnit->currentText(), txtDpi->text(), txtScale->text(),
                            txtBullet->text(), txtRange->text(), txtShots->text(),
                            txtShooter->text(), txtFirearm->text(), txtDate->text()},
                           &why, &typedDpi)) {
        Tell(why);
        ShowSettings();
        return;
    }
    if (typedDpi) RememberDpi(app.session.AppDataDir, doc.Card().size(), *typedDpi);
    ShowSettings();
}

void frmTargetSheet::Refresh()
{
    const TargetSheet &sheet = doc.Sheet();
    // Selections of what an undo took away are dropped.
    if (size_t(picSheet->SelectedShot + 1) > sheet.Shots.size()) picSheet->SelectedShot = -1;
    if (size_t(picSheet->SelectedMark + 1) > sheet.Marks.size()) picSheet->SelectedMark = -1;
    filling = true;
    const int keep = cboShow->currentIndex();
    cboShow->clear();
    cboShow->addItems(SheetFigureUnits(sheet));
    cboShow->setCurrentIndex(keep >= 0 && keep < cboShow->count() ? keep : 0);
    model->SetShow(cboShow->currentIndex());
    filling = false;
    grdGroups->resizeColumnsToContents();
    lblPooled->setText(SheetPooledText(sheet, doc.Figures()));
    chtLoad->update();
    SelectGroup(picSheet->SelectedGroup < int(sheet.Marks.size()) ? picSheet->SelectedGroup : -1);
    setWindowTitle(doc.Path().isEmpty() ? Title : Title + QStringLiteral(" - ") + doc.Name());
}

void frmTargetSheet::SelectGroup(int group)
{
    picSheet->SelectedGroup = group;
    picSheet->update();
    const SheetFigures &figures = doc.Figures();
    if (group >= 0 && size_t(group) < figures.Groups.size()) {
        picPlot->SetGroup(doc.Sheet().GroupShots(group), figures.Groups[size_t(group)]);
        if (grdGroups->currentIndex().row() != group) {
            const bool was = filling;
            filling = true;
            grdGroups->selectRow(group);
            filling = was;
        }
    } else {
        picPlot->SetGroup({}, GroupAnalysis{});
    }
}

void frmTargetSheet::MoveShot(int shot, int group)
{
    doc.SetShotGroup(shot, group);
    const auto &shots = doc.Sheet().Shots;
    if (shot >= 0 && size_t(shot) < shots.size() && shots[size_t(shot)].group == group)
        SelectGroup(group);
}

void frmTargetSheet::ShotMenu(int shot, QPoint at)
{
    QMenu menu(this);
    const TargetSheet &Sheet = doc.Sheet();
    const SheetShot s = Sheet.Shots[size_t(shot)];
    QAction *take =
        menu.addAction(s.accepted ? QStringLiteral("Reject") : QStringLiteral("Accept"));
    QMenu *move = menu.addMenu(QStringLiteral("Move to Group"));
    for (size_t g = 0; g < Sheet.Marks.size(); ++g) {
        const QString label = Sheet.Marks[g].label;
        QAction *act = move->addAction(
            QString::number(g + 1) + (label.isEmpty() ? QString() : QStringLiteral("  ") + label));
        act->setData(int(g));
        act->setEnabled(int(g) != s.group);
    }
    QAction *del = menu.addAction(QStringLiteral("Delete Shot"));
    QAction *chosen = menu.exec(at);
    if (!chosen) return;
    if (chosen == take) {
        doc.SetAccepted(shot, !s.accepted);
    } else if (chosen == del) {
        picSheet->SelectedShot = -1;
        doc.DeleteShot(shot);
    } else if (chosen->data().isValid()) {
        MoveShot(shot, chosen->data().toInt());
    }
}
