#include "analysis/frmgroupanalysis.h"

#include "analysis/groupplot.h"
#include "ui/appinterface.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

GroupPlotView::GroupPlotView(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(420, 460);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void GroupPlotView::SetGroup(std::vector<ShotXY> s, GroupAnalysis a)
{
    shots = std::move(s);
    analysis = std::move(a);
    update();
}

void GroupPlotView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawGroupPlot(p, FitPlot(shots, analysis, QSizeF(size())), shots, analysis);
}

namespace {
const double Levels[] = {0.80, 0.90, 0.95, 0.99};
}

frmGroupAnalysis::frmGroupAnalysis(IPeltrixApp &a, QWidget *parent) : QWidget(parent), app(a)
{
    setObjectName(QStringLiteral("frmGroupAnalysis"));
    setWindowTitle(QStringLiteral("Group Analysis"));

    grdFigures = new QTableWidget(0, 4, this);
    grdFigures->setObjectName(QStringLiteral("grdFigures"));
    grdFigures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdFigures->setSelectionMode(QAbstractItemView::NoSelection);
    grdFigures->setFocusPolicy(Qt::NoFocus);
    grdFigures->verticalHeader()->hide();
    grdFigures->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grdFigures->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdFigures->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grdFigures->setMinimumWidth(440);

    cboLevel = new QComboBox(this);
    cboLevel->setObjectName(QStringLiteral("cboLevel"));
    for (double l : Levels) cboLevel->addItem(LevelText(l));
    cboLevel->setCurrentIndex(2);
    cmdSavePlot = new QPushButton(QStringLiteral("Save Plot..."), this);
    cmdSavePlot->setObjectName(QStringLiteral("cmdSavePlot"));
    picPlot = new GroupPlotView(this);
    picPlot->setObjectName(QStringLiteral("picPlot"));

    auto *controls = new QHBoxLayout;
    auto *lblLevel = new QLabel(QStringLiteral("Confidence level:"), this);
    lblLevel->setBuddy(cboLevel);
    controls->addWidget(lblLevel);
    controls->addWidget(cboLevel);
    controls->addStretch();
    controls->addWidget(cmdSavePlot);
    auto *left = new QVBoxLayout;
    left->addWidget(grdFigures);
    left->addLayout(controls);
    auto *top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addWidget(picPlot, 1);

    connect(cboLevel, &QComboBox::currentIndexChanged, this, &frmGroupAnalysis::cboLevel_Change);
    connect(cmdSavePlot, &QPushButton::clicked, this, &frmGroupAnalysis::cmdSavePlot_Click);
    resize(1000, 560);
    Refresh();
}

double frmGroupAnalysis::Level() const
{
    const int i = cboLevel->currentIndex();
    return i >= 0 && i < int(std::size(Levels)) ? Levels[i] : 0.95;
}

void frmGroupAnalysis::Refresh()
{
    const Session &s = app.session;
    analysis = AnalyzeGroup(s, Level());
    const auto rows = AnalysisRows(analysis);
    grdFigures->setHorizontalHeaderLabels(
        {QString(), s.UnitName.trimmed(), QStringLiteral("MOA"), QStringLiteral("mrad")});
    grdFigures->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const AnalysisRow &row = rows[size_t(r)];
        const QString cells[] = {row.Label, row.Unit, row.MOA, row.Mrad};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdFigures->setItem(r, c, item);
        }
    }
    picPlot->SetGroup(GroupShots(s), analysis);
}

void frmGroupAnalysis::cboLevel_Change() { Refresh(); }

void frmGroupAnalysis::cmdSavePlot_Click()
{
    const Session &s = app.session;
    app.prompter.SetOwner(this);
    QString suggested;
    if (!s.StatsFilePath.isEmpty()) {
        const QFileInfo fi(s.StatsFilePath);
        suggested = fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".png"));
    } else {
        suggested = QDir(s.StatsDir.isEmpty() ? QDir::homePath() : s.StatsDir)
                        .filePath(QStringLiteral("group.png"));
    }
    const auto path =
        app.prompter.SaveFileName(QStringLiteral("Save Plot"), suggested,
                                  QStringLiteral("PNG image (*.png);;PDF document (*.pdf)"));
    if (!path || path->trimmed().isEmpty()) return;
    QString target = *path;
    const QString suffix = QFileInfo(target).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png"))
        target += QStringLiteral(".png");
    QString error;
    const bool pdf = target.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const auto shots = GroupShots(s);
    const bool ok =
        pdf ? SavePlotPdf(target, shots, analysis, QStringLiteral("Group Analysis"), &error)
            : SavePlotPng(target, shots, analysis, &error);
    if (!ok)
        app.prompter.MsgBox(error, QStringLiteral("Save Plot"), Buttons::Ok, Icon::Exclamation);
}
