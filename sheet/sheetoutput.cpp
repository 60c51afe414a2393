// The Target Sheet window's output: exports, the printed page, the logbook,
// and the menu items that open the window.
#include "sheet/frmtargetsheet.h"

#include "logbook/logbook.h"
#include "ui/appinterface.h"
#include "platform/menus.h"
#include "platform/wholefile.h"
#include "sheet/sheetchart.h"
#include "sheet/sheetdraw.h"
#include "sheet/sheetexport.h"

#include <QBuffer>
#include <QChart>
#include <QComboBox>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QLabel>
#include <QMainWindow>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStatusBar>
#include <QTableWidget>

namespace {
const QString Title = QStringLiteral("Target Sheet");

// The rows of a table as text in even columns, its header first.
QStringList TableLines(const QTableWidget *t)
{
    std::vector<QStringList> rows(size_t(t->rowCount()) + 1);
    std::vector<qsizetype> width(size_t(t->columnCount()), 0);
    for (int c = 0; c < t->columnCount(); ++c) {
        const QString head =
            t->horizontalHeaderItem(c) ? t->horizontalHeaderItem(c)->text() : QString();
        rows[0] << head;
        for (int r = 0; r < t->rowCount(); ++r)
            rows[size_t(r) + 1] << (t->item(r, c) ? t->item(r, c)->text() : QString());
    }
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c)
            width[size_t(c)] = std::max(width[size_t(c)], row[c].size());
    QStringList lines;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += (c < 2 ? row[c].leftJustified(width[size_t(c)])
                           : row[c].rightJustified(width[size_t(c)])) +
                    QStringLiteral("  ");
        lines << line.trimmed();
    }
    return lines;
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

        // The chart only where the labels make one: a page says no more than it has.
        if (!LoadDevelopment(Sheet, Figures).empty()) {
            QGraphicsScene scene;
            QChart *chart = MakeLoadChart(Sheet, Figures);
            scene.addItem(chart);
            const QRectF chartBox(page.width() * 0.57, 50, page.width() * 0.43,
                                  page.height() * 0.48);
            // Laid out at two thirds of the size and drawn at the whole:
            // letters that read on paper.
            chart->setGeometry(QRectF(QPointF(0, 0), chartBox.size() / 1.5));
            scene.setSceneRect(QRectF(QPointF(0, 0), chartBox.size() / 1.5));
            scene.render(&p, chartBox);
        }

        // The table of the window, as small as needed to fit below.
        QStringList lines = TableLines(grdGroups);
        lines.prepend(QStringLiteral("Figures in %1, range %2")
                          .arg(cboShow->currentText(),
                               Sheet.RangeYards
                                   ? QString::number(*Sheet.RangeYards) + QStringLiteral(" yards")
                                   : QStringLiteral("not entered")));
        lines << QString() << lblPooled->text();
        const QRectF tableBox(0, 70 + page.height() * 0.5, page.width(), page.height() * 0.5 - 70);
        QFont mono(QStringLiteral("DejaVu Sans Mono"));
        mono.setPixelSize(20);
        const double widest = [&] {
            double w = 1;
            for (const QString &l : lines)
                w = std::max(w, QFontMetricsF(mono).horizontalAdvance(l));
            return w;
        }();
        const double px = std::min(
            {20.0, 20 * tableBox.width() / widest, tableBox.height() / double(lines.size()) / 1.2});
        mono.setPixelSize(std::max(4, int(px)));
        p.setFont(mono);
        const double lineHeight = QFontMetricsF(mono).lineSpacing();
        for (qsizetype i = 0; i < lines.size(); ++i)
            p.drawText(QPointF(tableBox.x(), tableBox.y() + double(i + 1) * lineHeight), lines[i]);
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
    const int selected = picSheet->SelectedGroup;
    if (!all && (selected < 0 || size_t(selected) >= Sheet.Marks.size())) {
        Tell(QStringLiteral("Select a group in the table first."));
        return;
    }
    std::vector<LogbookEntry> entries = SheetLogbookEntries(Sheet, SheetPath, all ? -1 : selected);
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
