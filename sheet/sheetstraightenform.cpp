// The Target Sheet window's Straighten Picture: four corners clicked on the
// card, the rectangle's size asked, the sheet moved onto the new picture.
#include "graph/cornerpicker.h"
#include "sheet/frmtargetsheet.h"
#include "sheet/sheetcanvas.h"
#include "sheet/sheetstraighten.h"
#include "ui/appinterface.h"

#include <QStatusBar>

void frmTargetSheet::StraightenPicture()
{
    app.prompter.SetOwner(this);
    if (Busy()) return;
    if (const auto *running = findChild<CornerPicker *>(); running && running->Running()) return;
    if (doc.Card().isNull() || doc.Sheet().ImagePath.isEmpty()) {
        Tell(QStringLiteral("Import a scanned card first."));
        return;
    }
    auto *picker = new CornerPicker(
        this, picSheet, [this](QPointF w) { return picSheet->ToImage(w); },
        [this](QPointF p) { return picSheet->ToWidget(p); });
    statusBar()->showMessage(picker->Prompt());
    connect(picker, &CornerPicker::Step, this,
            [this](const QString &prompt) { statusBar()->showMessage(prompt); });
    connect(picker, &CornerPicker::Cancelled, statusBar(), &QStatusBar::clearMessage);
    // The corners belong to the card shown now, not to one opened meanwhile.
    const qint64 card = doc.Card().cacheKey();
    connect(picker, &CornerPicker::Picked, this, [this, card](const StraightenCorners &corners) {
        statusBar()->clearMessage();
        if (Busy() || doc.Card().cacheKey() != card) return;
        app.prompter.SetOwner(this);
        auto ask = [this](const QString &what) -> std::optional<double> {
            const auto answer =
                app.prompter.InputBox(QStringLiteral("%1 of the rectangle, in %2:")
                                          .arg(what, doc.Sheet().UnitName.trimmed()),
                                      StraightenTitle, QString());
            if (!answer) return std::nullopt;
            // Not a number: 0, which the straightening refuses with its reason.
            return answer->trimmed().toDouble();
        };
        const auto width = ask(QStringLiteral("Width (corner 1 to corner 2)"));
        const auto height =
            width ? ask(QStringLiteral("Height (corner 2 to corner 3)")) : std::optional<double>();
        if (!width || !height) return;
        QString why;
        auto done = StraightenSheet(doc.Sheet(), doc.Card(), corners, *width, *height, &why);
        if (!done) {
            Tell(why);
            return;
        }
        picSheet->SelectedGroup = picSheet->SelectedShot = picSheet->SelectedMark = -1;
        doc.Straighten(done->sheet, done->picture);
        statusBar()->showMessage(QStringLiteral("Straightened into ") + doc.Sheet().ImagePath);
    });
}
