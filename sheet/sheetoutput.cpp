// The Target Sheet window's output: exports, the printed page, the logbook,
// and the menu items that open the window.
#include "sheet/frmtargetsheet.h"

#include "app/appinterface.h"
#include "platform/menus.h"
#include "platform/wholefile.h"
#include "sheet/sheetchart.h"
#include "sheet/sheetdraw.h"
#include "sheet/sheetexport.h"

#include <QBuffer>
#include <QChart>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QMainWindow>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStatusBar>
#include <QTextDocument>

namespace {
const QString Title = QStringLiteral("Target Sheet");

// The figures under a heading in columns: unit, MOA, mrad.
QString TableText(const QString &heading, const QString &unit, const std::vector<AnalysisRow> &rows)
{
    QString t = heading + QLatin1Char('\n');
    t += QString(22, QLatin1Char(' ')) + unit.rightJustified(14) +
         QStringLiteral("MOA").rightJustified(14) + QStringLiteral("mrad").rightJustified(14) +
         QLatin1Char('\n');
    for (const AnalysisRow &r : rows)
        t += r.Label.leftJustified(22) + r.Unit.rightJustified(14) + r.MOA.rightJustified(14) +
             r.Mrad.rightJustified(14) + QLatin1Char('\n');
    return t;
}
} // namespace

bool frmTargetSheet::ExportGroups(const QString &pxsPath)
{
    const QFileInfo at(pxsPath);
    QStringList written;
    QString why;
    if (!ExportGroupFiles(Sheet, at.absolutePath(), at.completeBaseName(), &written, &why)) {
        Tell(why);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("%1 group files written.").arg(written.size()));
    return true;
}

bool frmTargetSheet::ExportCsv(const QString &path)
{
    QString why;
    if (!ExportSheetCsv(Sheet, SheetName(), path, &why)) {
        Tell(QStringLiteral("%1 could not be written.\r%2").arg(path, why));
        return false;
    }
    return true;
}

bool frmTargetSheet::ExportImage(const QString &path)
{
    QString why;
    if (!ExportMarkedCard(picSheet->Image(), Sheet, path, &why)) {
        Tell(QStringLiteral("%1 could not be written.\r%2").arg(path, why));
        return false;
    }
    return true;
}

bool frmTargetSheet::PrintSheet(const QString &pdfPath)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setResolution(150);
        pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        pdf.setTitle(SheetName());
        QPainter p(&pdf);
        const QRectF page(0, 0, pdf.width(), pdf.height());
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(26);
        font.setBold(true);
        p.setFont(font);
        QString heading = Title + QStringLiteral(": ") + SheetName();
        for (const QString &t : {Sheet.Header.Shooter, Sheet.Header.Firearm, Sheet.Header.Date})
            if (!t.isEmpty()) heading += QStringLiteral(" \u2014 ") + t;
        p.drawText(QRectF(0, 0, page.width(), 40), Qt::AlignLeft | Qt::AlignVCenter, heading);

        // The card on the upper half, the chart beside it, the table below.
        const QImage card = MarkedCard(picSheet->Image(), Sheet, 1600);
        QRectF cardBox(0, 50, page.width() * 0.55, page.height() * 0.5);
        const QSizeF fit = QSizeF(card.size()).scaled(cardBox.size(), Qt::KeepAspectRatio);
        p.drawImage(QRectF(cardBox.topLeft(), fit), card);

        QGraphicsScene scene;
        QChart *chart = MakeLoadChart(Sheet, Figures);
        scene.addItem(chart);
        const QRectF chartBox(page.width() * 0.57, 50, page.width() * 0.43, page.height() * 0.4);
        chart->setGeometry(QRectF(QPointF(0, 0), chartBox.size()));
        scene.setSceneRect(QRectF(QPointF(0, 0), chartBox.size()));
        scene.render(&p, chartBox);

        QString table;
        const QString unit = Sheet.UnitName.trimmed();
        for (size_t g = 0; g < Sheet.Marks.size(); ++g) {
            QString heading = QStringLiteral("Group %1").arg(g + 1);
            if (!Sheet.Marks[g].label.isEmpty())
                heading += QStringLiteral("  ") + Sheet.Marks[g].label;
            heading += QStringLiteral(": %1 shots").arg(Figures.Groups[g].ShotCount);
            table += TableText(heading, unit, AnalysisRows(Figures.Groups[g])) + QLatin1Char('\n');
        }
        if (Figures.Pooled)
            table += TableText(QStringLiteral("Pooled, each group around its own centre"), unit,
                               PooledRows(*Figures.Pooled));
        // Two columns of the figures, as small as needed to fit.
        const QStringList lines = table.split(QLatin1Char('\n'));
        const QRectF tableBox(0, 60 + page.height() * 0.5, page.width(), page.height() * 0.5 - 60);
        const qsizetype perColumn = (lines.size() + 1) / 2;
        QFont mono(QStringLiteral("DejaVu Sans Mono"));
        const double px =
            std::min(15.0, tableBox.height() / double(std::max<qsizetype>(perColumn, 1)) / 1.15);
        mono.setPixelSize(std::max(4, int(px)));
        p.setFont(mono);
        const double lineHeight = QFontMetricsF(mono).lineSpacing();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const double x = tableBox.x() + (i < perColumn ? 0 : tableBox.width() / 2);
            const double y = tableBox.y() + double(i % perColumn) * lineHeight;
            p.drawText(QPointF(x, y + lineHeight), lines[i]);
        }
    }
    buffer.close();
    QString why;
    if (!WriteWholeFile(pdfPath, bytes, &why)) {
        Tell(QStringLiteral("%1 could not be written.\r%2").arg(pdfPath, why));
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Printed to ") + pdfPath);
    return true;
}

void frmTargetSheet::AddToLogbook(bool all)
{
    std::vector<LogbookEntry> entries;
    const int selected = picSheet->SelectedGroup;
    if (!all && (selected < 0 || size_t(selected) >= Sheet.Marks.size())) {
        Tell(QStringLiteral("Select a group in the table first."));
        return;
    }
    for (size_t g = 0; g < Sheet.Marks.size(); ++g) {
        if (!all && int(g) != selected) continue;
        const std::vector<ShotXY> shots = Sheet.GroupShots(int(g));
        if (shots.empty()) continue;
        LogbookEntry e;
        e.DateText = Sheet.Header.Date;
        e.Date = ParseDateFired(e.DateText).value_or(QDate::currentDate());
        e.Added = QDateTime::currentDateTime();
        e.Shooter = Sheet.Header.Shooter;
        e.Firearm = Sheet.Header.Firearm;
        e.Caliber = Sheet.Header.Caliber;
        e.Lot = Sheet.Header.Lot;
        e.Comments = Sheet.Header.Comments;
        e.RangeYards = Sheet.RangeYards;
        e.UnitName = Sheet.UnitName;
        e.Shots = shots;
        e.Source =
            SheetPath.isEmpty() ? QString() : SheetPath + QStringLiteral(" group %1").arg(g + 1);
        e.Load.Text = Sheet.Marks[g].label;
        if (const auto charge = LabelNumber(e.Load.Text);
            charge && e.Load.Text.contains(QLatin1String("gr"), Qt::CaseInsensitive))
            e.Load.Charge = charge;
        entries.push_back(std::move(e));
    }
    if (entries.empty()) {
        Tell(QStringLiteral("There is no group with shots to add."));
        return;
    }
    Logbook book;
    if (!app.OpenLogbook(book, this)) return;
    const size_t n = entries.size();
    if (!book.Add(std::move(entries))) {
        Tell(book.ErrorString());
        return;
    }
    statusBar()->showMessage(QStringLiteral("%1 groups added to the logbook.").arg(n));
}

frmTargetSheet *TargetSheetWindow(IPeltrixApp &app, QWidget *owner)
{
    auto *w = owner->findChild<frmTargetSheet *>(QString(), Qt::FindDirectChildrenOnly);
    if (!w) w = new frmTargetSheet(app, owner);
    return w;
}

void AddTargetSheetMenuItems(IPeltrixApp &app, QMainWindow *owner, QMenu *file, QMenu *view)
{
    IPeltrixApp *a = &app;
    auto show = [a, owner] {
        frmTargetSheet *w = TargetSheetWindow(*a, owner);
        w->show();
        w->raise();
        return w;
    };
    auto *open = new QAction(QStringLiteral("Open S&heet..."), file);
    open->setObjectName(QStringLiteral("mnuOpenSheet"));
    // After Open, where a user looks for it.
    const auto acts = file->actions();
    QAction *before = nullptr;
    for (qsizetype k = 0; k + 1 < acts.size(); ++k)
        if (acts[k]->objectName() == QLatin1String("mnuOpenStats")) before = acts[k + 1];
    file->insertAction(before, open);
    QObject::connect(open, &QAction::triggered, owner, [a, owner, show] {
        frmTargetSheet *w = TargetSheetWindow(*a, owner);
        a->prompter.SetOwner(owner);
        const auto path = a->prompter.OpenFileName(QStringLiteral("Open Sheet"), QString(),
                                                   QStringLiteral("Target sheets (*.pxsheet)"));
        if (path && w->OpenSheet(*path)) show();
    });
    auto *sheet = view->addAction(QStringLiteral("Target &Sheet"));
    sheet->setObjectName(QStringLiteral("mnuViewSheet"));
    QObject::connect(sheet, &QAction::triggered, owner, show);
}
