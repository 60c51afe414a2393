#include "sheet/frmtargetsheet.h"

#include "analysis/frmgroupanalysis.h"
#include "ui/appinterface.h"
#include "detect/holenet.h"
#include "platform/menus.h"
#include "sheet/assign.h"
#include "sheet/sheetchart.h"
#include "sheet/sheetdraw.h"

#include <QChartView>
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
#include <QTableWidget>
#include <QToolBar>
#include <cmath>

namespace {
const QString Title = QStringLiteral("Target Sheet");

QString Num(double v) { return QString::number(v, 'f', 3); }

// A number typed in a field: blank is nothing, anything else must be positive.
std::optional<double> Positive(const QLineEdit *e, bool *bad)
{
    const QString t = e->text().trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v <= 0) {
        *bad = true;
        return std::nullopt;
    }
    return v;
}
} // namespace

frmTargetSheet::frmTargetSheet(IPeltrixApp &a, QWidget *parent)
    : QMainWindow(parent, Qt::Window), picSheet(new SheetCanvas(Sheet)), app(a)
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

    grdGroups = new QTableWidget(0, 9);
    grdGroups->setObjectName(QStringLiteral("grdGroups"));
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
    chtLoad = new QChartView;
    chtLoad->setObjectName(QStringLiteral("chtLoad"));
    chtLoad->setRenderHint(QPainter::Antialiasing);
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

    connect(picSheet, &SheetCanvas::Edited, this, &frmTargetSheet::Edited);
    connect(picSheet, &SheetCanvas::SelectionChanged, this, [this] {
        const int s = picSheet->SelectedShot;
        if (s >= 0 && size_t(s) < Sheet.Shots.size() && Sheet.Shots[size_t(s)].group >= 0)
            SelectGroup(Sheet.Shots[size_t(s)].group);
    });
    connect(picSheet, &SheetCanvas::ScalePicked, this, &frmTargetSheet::ScalePicked);
    connect(picSheet, &SheetCanvas::ShotMenu, this, &frmTargetSheet::ShotMenu);
    connect(grdGroups, &QTableWidget::currentCellChanged, this,
            [this](int row) { SelectGroup(row < int(Sheet.Marks.size()) ? row : -1); });
    connect(grdGroups, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (filling || item->column() != 1 || size_t(item->row()) >= Sheet.Marks.size()) return;
        Sheet.Marks[size_t(item->row())].label = item->text().trimmed();
        Modified = true;
        grdGroups->resizeColumnToContents(1);
        chtLoad->setChart(MakeLoadChart(Sheet, Figures));
    });
    connect(cboShow, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling) FillTable();
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
    bool bad = false;
    const QString unit = cboUnit->currentText().trimmed();
    const auto dpi = Positive(txtDpi, &bad);
    const auto scale = Positive(txtScale, &bad);
    const auto bullet = Positive(txtBullet, &bad);
    const auto range = Positive(txtRange, &bad);
    const auto shots = Positive(txtShots, &bad);
    if (bad || (shots && *shots != std::floor(*shots))) {
        Tell(QStringLiteral("Resolution, scale, bullet diameter, range and shots per group must "
                            "be positive numbers (or blank)."));
        ShowSettings();
        return;
    }
    TargetSheet &s = Sheet;
    const bool unitChanged = unit != s.UnitName;
    const double oldDpi =
        s.Scaled() && InchesPerUnit(s.UnitName) ? s.PixelsPerUnit / *InchesPerUnit(s.UnitName) : 0;
    s.UnitName = unit.isEmpty() ? s.UnitName : unit;
    // The field the user changed wins: a new resolution sets the scale.
    if (dpi && std::abs(*dpi - oldDpi) > 1e-6 * *dpi) {
        if (const auto px = ScaleFromDpi(*dpi, s.UnitName)) s.PixelsPerUnit = *px;
        RememberDpi(app.session.AppDataDir, picSheet->Image().size(), *dpi);
    } else if (unitChanged && oldDpi > 0) {
        if (const auto px = ScaleFromDpi(oldDpi, s.UnitName)) s.PixelsPerUnit = *px;
    } else if (scale) {
        s.PixelsPerUnit = *scale;
    }
    s.BulletDiameter = bullet.value_or(0);
    s.RangeYards = range;
    s.ShotsPerGroup = shots ? int(std::min(*shots, 10000.0)) : 0;
    s.Header.Shooter = txtShooter->text().trimmed();
    s.Header.Firearm = txtFirearm->text().trimmed();
    s.Header.Date = txtDate->text().trimmed();
    Modified = true;
    ShowSettings();
    Refresh();
}

void frmTargetSheet::Refresh()
{
    Figures = AnalyzeSheet(Sheet);
    filling = true;
    const int keep = cboShow->currentIndex();
    cboShow->clear();
    cboShow->addItem(Sheet.UnitName.trimmed());
    if (InchesPerUnit(Sheet.UnitName) && Sheet.RangeYards)
        cboShow->addItems({QStringLiteral("MOA"), QStringLiteral("mrad")});
    cboShow->setCurrentIndex(keep >= 0 && keep < cboShow->count() ? keep : 0);
    filling = false;
    FillTable();
    chtLoad->setChart(MakeLoadChart(Sheet, Figures));
    SelectGroup(picSheet->SelectedGroup < int(Sheet.Marks.size()) ? picSheet->SelectedGroup : -1);
    setWindowTitle(SheetPath.isEmpty() ? Title : Title + QStringLiteral(" - ") + SheetName());
}

void frmTargetSheet::FillTable()
{
    filling = true;
    const int show = std::max(0, cboShow->currentIndex());
    grdGroups->setHorizontalHeaderLabels(
        {QStringLiteral("Group"), QStringLiteral("Label"), QStringLiteral("Shots"),
         QStringLiteral("Extreme spread"), QStringLiteral("Mean radius"),
         QStringLiteral("Rayleigh \u03c3"), QStringLiteral("\u03c3 interval (95 %)"),
         QStringLiteral("CEP"), QStringLiteral("Centre offset")});
    grdGroups->setRowCount(int(Sheet.Marks.size()) + 1);
    auto cell = [&](int row, int col, const QString &t, bool editable = false) {
        auto *item = new QTableWidgetItem(t);
        if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        grdGroups->setItem(row, col, item);
    };
    auto figures = [&](const GroupAnalysis &a) -> const std::optional<LengthFigures> & {
        return show == 1 ? a.MOA : show == 2 ? a.Mrad : a.Length;
    };
    for (size_t g = 0; g < Sheet.Marks.size(); ++g) {
        const int row = int(g);
        const GroupAnalysis &a = Figures.Groups[g];
        cell(row, 0, QString::number(g + 1));
        cell(row, 1, Sheet.Marks[g].label, true);
        const QString note = Sheet.CountNote(int(g));
        cell(row, 2,
             note.isEmpty() ? QString::number(a.ShotCount)
                            : QStringLiteral("%1 of %2").arg(a.ShotCount).arg(Sheet.ShotsPerGroup));
        if (!note.isEmpty()) {
            grdGroups->item(row, 2)->setForeground(QColor(200, 0, 0));
            grdGroups->item(row, 2)->setToolTip(note);
        }
        const auto &f = figures(a);
        cell(row, 3, f ? Num(f->ExtremeSpread) : UndefinedFigure);
        cell(row, 4, f ? Num(f->MeanRadius) : UndefinedFigure);
        cell(row, 5, f ? Num(f->Rayleigh.Sigma) : UndefinedFigure);
        cell(row, 6,
             f ? Num(f->Rayleigh.SigmaLow) + QStringLiteral(" \u2013 ") + Num(f->Rayleigh.SigmaHigh)
               : UndefinedFigure);
        cell(row, 7, f ? Num(f->Rayleigh.CEP50) : UndefinedFigure);
        cell(row, 8, f ? Num(f->CenterOffset) : UndefinedFigure);
        grdGroups->item(row, 0)->setForeground(GroupColor(int(g)));
    }
    const int last = int(Sheet.Marks.size());
    cell(last, 0, QStringLiteral("Pooled"));
    cell(last, 1, QString());
    const auto &p = Figures.Pooled;
    RayleighFigures r;
    bool pooled = false;
    if (p) {
        const std::optional<RayleighFigures> &o = show == 1   ? p->MOA
                                                  : show == 2 ? p->Mrad
                                                              : p->Length;
        if (o) r = *o, pooled = true;
    }
    cell(last, 2, p ? QString::number(p->ShotCount) : QStringLiteral("0"));
    for (int c : {3, 4, 8}) cell(last, c, QString());
    cell(last, 5, pooled ? Num(r.Sigma) : UndefinedFigure);
    cell(last, 6,
         pooled ? Num(r.SigmaLow) + QStringLiteral(" \u2013 ") + Num(r.SigmaHigh)
                : UndefinedFigure);
    cell(last, 7, pooled ? Num(r.CEP50) : UndefinedFigure);
    lblPooled->setText(
        p ? QStringLiteral("Pooled over %1 groups, %2 shots, each around its own centre (%3 "
                           "degrees of freedom).")
                .arg(p->Groups)
                .arg(p->ShotCount)
                .arg(p->DegreesOfFreedom)
          : QStringLiteral("Pooled: ") + Figures.PooledError);
    QStringList notes;
    for (int g = 0; g < int(Sheet.Marks.size()); ++g)
        if (const QString n = Sheet.CountNote(g); !n.isEmpty()) notes << n;
    if (!notes.isEmpty())
        lblPooled->setText(lblPooled->text() + QStringLiteral(" Not as many shots as asked: ") +
                           notes.join(QStringLiteral("; ")) + QStringLiteral("."));
    grdGroups->resizeColumnsToContents();
    filling = false;
}

void frmTargetSheet::SelectGroup(int group)
{
    picSheet->SelectedGroup = group;
    picSheet->update();
    if (group >= 0 && size_t(group) < Figures.Groups.size()) {
        picPlot->SetGroup(Sheet.GroupShots(group), Figures.Groups[size_t(group)]);
        if (grdGroups->currentRow() != group) {
            const bool was = grdGroups->blockSignals(true);
            grdGroups->selectRow(group);
            grdGroups->blockSignals(was);
        }
    } else {
        picPlot->SetGroup({}, GroupAnalysis{});
    }
}

void frmTargetSheet::Edited()
{
    Modified = true;
    Refresh();
}

void frmTargetSheet::MoveShot(int shot, int group)
{
    if (shot < 0 || size_t(shot) >= Sheet.Shots.size() || group < -1 ||
        group >= int(Sheet.Marks.size()))
        return;
    Sheet.Shots[size_t(shot)].group = group;
    Edited();
    SelectGroup(group);
}

void frmTargetSheet::ShotMenu(int shot, QPoint at)
{
    QMenu menu(this);
    SheetShot &s = Sheet.Shots[size_t(shot)];
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
        s.accepted = !s.accepted;
        Edited();
    } else if (chosen == del) {
        Sheet.Shots.erase(Sheet.Shots.begin() + shot);
        picSheet->SelectedShot = -1;
        Edited();
    } else if (chosen->data().isValid()) {
        MoveShot(shot, chosen->data().toInt());
    }
}
