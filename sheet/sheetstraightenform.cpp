// The Target Sheet window's Straighten Picture: four corners clicked on the
// card, the rectangle's size asked, the sheet moved onto the new picture.
#include "ui/appinterface.h"
#include "graph/cornerpicker.h"
#include "sheet/frmtargetsheet.h"
#include "sheet/sheetstraighten.h"

#include <QStatusBar>

void frmTargetSheet::StraightenPicture()
{
    app.prompter.SetOwner(this);
    if (Busy()) return;
    if (const auto *running = findChild<CornerPicker *>(); running && running->Running()) return;
    if (picSheet->Image().isNull() || Sheet.ImagePath.isEmpty()) {
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
    const qint64 card = picSheet->Image().cacheKey();
    connect(picker, &CornerPicker::Picked, this, [this, card](const StraightenCorners &corners) {
        statusBar()->clearMessage();
        if (Busy() || picSheet->Image().cacheKey() != card) return;
        app.prompter.SetOwner(this);
        auto ask = [this](const QString &what) -> std::optional<double> {
            const auto answer = app.prompter.InputBox(
                QStringLiteral("%1 of the rectangle, in %2:").arg(what, Sheet.UnitName.trimmed()),
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
        auto done = StraightenSheet(Sheet, picSheet->Image(), corners, *width, *height, &why);
        if (!done) {
            Tell(why);
            return;
        }
        Sheet = std::move(done->sheet);
        Modified = true;
        picSheet->SelectedGroup = picSheet->SelectedShot = picSheet->SelectedMark = -1;
        picSheet->SetImage(done->picture);
        ShowSettings();
        Refresh();
        statusBar()->showMessage(QStringLiteral("Straightened into ") + Sheet.ImagePath);
    });
}
