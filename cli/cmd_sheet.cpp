// sheet: a card with several bulls, each group measured from its own mark.
#include "cli/analysisjson.h"
#include "cli/args.h"
#include "model/json.h"
#include "model/textnum.h"
#include "sheet/loadplot.h"
#include "sheet/sheetfile.h"
#include "sheet/sheetpage.h"
#include "sheet/sheetwork.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {
const QString Title = QStringLiteral("Target Sheet");

int Refuse(CliContext &ctx, const QString &why)
{
    ctx.prompter.MsgBox(why, Title, Buttons::Ok, Icon::Exclamation);
    return CliExit::Refused;
}

bool Positive(const QString &text, double &value)
{
    value = ParseNumber(text).value_or(0);
    return value > 0;
}

// Two decimals are a hundredth of a pixel, finer than any scan.
QString Pixels(double v) { return Json::Rounded(v, 2); }

void Print(const TargetSheet &sheet, bool json, QTextStream &out)
{
    const SheetFigures f = AnalyzeSheet(sheet);
    if (json) {
        QStringList aims, groups;
        for (const SheetMark &m : sheet.Marks)
            aims << JsonObject().Raw("x", Pixels(m.x)).Raw("y", Pixels(m.y)).Str();
        for (size_t g = 0; g < sheet.Marks.size(); ++g) {
            QStringList shots;
            const std::vector<ShotXY> xy = sheet.GroupShots(int(g));
            const std::vector<int> index = sheet.GroupShotIndexes(int(g));
            for (size_t k = 0; k < index.size(); ++k) {
                const SheetShot &s = sheet.Shots[size_t(index[k])];
                shots << JsonObject()
                             .Raw("x", Pixels(s.x))
                             .Raw("y", Pixels(s.y))
                             .Num("dx", k < xy.size() ? std::optional(xy[k].x) : std::nullopt)
                             .Num("dy", k < xy.size() ? std::optional(xy[k].y) : std::nullopt)
                             .Str();
            }
            groups << JsonObject()
                          .Int("aim", qint64(g) + 1)
                          .Text("label", sheet.Marks[g].label)
                          .Raw("shots", Json::Array(shots))
                          .Raw("analysis", GroupAnalysisJson(f.Groups[g]))
                          .Str();
        }
        out << JsonObject()
                   .Raw("aims", Json::Array(aims))
                   .Raw("groups", Json::Array(groups))
                   .Raw("pooled", f.Pooled ? PooledAnalysisJson(*f.Pooled) : QStringLiteral("null"))
                   .Str()
            << Qt::endl;
        return;
    }
    out << sheet.Marks.size() << " aims, "
        << std::count_if(sheet.Shots.begin(), sheet.Shots.end(),
                         [](const SheetShot &s) { return s.accepted && s.group >= 0; })
        << " shots\n";
    for (size_t g = 0; g < sheet.Marks.size(); ++g) {
        const SheetMark &m = sheet.Marks[g];
        QString heading = QStringLiteral("Group %1 (aim at %2, %3)")
                              .arg(g + 1)
                              .arg(m.x, 0, 'f', 1)
                              .arg(m.y, 0, 'f', 1);
        if (!m.label.isEmpty()) heading += QStringLiteral(" ") + m.label;
        heading += QStringLiteral(": %1 shots").arg(f.Groups[g].ShotCount);
        out << AnalysisTable(heading, sheet.UnitName, AnalysisRows(f.Groups[g])) << '\n';
    }
    if (f.Pooled)
        out << AnalysisTable(QStringLiteral("Pooled, each group around its own centre"),
                             sheet.UnitName, PooledRows(*f.Pooled));
}
} // namespace

int CmdSheet(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {{"--bullet", CliOption::Value},
                        {"--dpi", CliOption::Value},
                        {"--scale", CliOption::Value},
                        {"--aim", CliOption::Repeated},
                        UnitOption,
                        RangeOption,
                        JsonOption,
                        {"--pdf", CliOption::Value}}) ||
        !a.Expect({"IMAGE"}) || !a.NotBoth("--pdf", JsonOption.name))
        return ctx.Usage(a.Error);
    const QString path = a.Positional.front();
    const bool json = a.Has(JsonOption.name);
    TargetSheet sheet;

    if (path.endsWith(QLatin1String(".pxsheet"), Qt::CaseInsensitive)) {
        for (const char *o :
             {"--bullet", "--dpi", "--scale", "--aim", UnitOption.name, RangeOption.name})
            if (a.Has(o))
                return ctx.Usage(
                    QStringLiteral("FILE.pxsheet and %1 cannot go together").arg(QLatin1String(o)));
        QString why;
        if (!OpenSheetFile(path, sheet, &why))
            return Refuse(ctx, QStringLiteral("%1 cannot be opened.\n%2").arg(path, why));
        if (!a.Has("--pdf")) {
            Print(sheet, json, ctx.out);
            return CliExit::Ok;
        }
        // The page Print Sheet prints, from the sheet and its scan (a blank
        // card where the scan cannot be read).
        QString cardWhy;
        const SheetFigures figures = AnalyzeSheet(sheet);
        const SheetPage page{
            sheet,
            figures,
            SheetCardImage(sheet, &cardWhy),
            QFileInfo(path).completeBaseName(),
            0,
            [&](QPainter &p, const QRectF &box) { DrawLoadChart(p, box, sheet, figures); }};
        if (!PrintSheetPdf(a.Value("--pdf"), page, &why)) return Refuse(ctx, why);
        return CliExit::Ok;
    }
    if (a.Has("--pdf"))
        return ctx.Usage(QStringLiteral("IMAGE and --pdf cannot go together; --pdf prints a "
                                        "saved FILE.pxsheet"));

    if (!a.Require({"--bullet"}) || !a.OneOf("--dpi", "--scale")) return ctx.Usage(a.Error);
    if (a.Has(UnitOption.name)) sheet.UnitName = a.Value(UnitOption.name).trimmed();
    if (!Positive(a.Value("--bullet"), sheet.BulletDiameter))
        return Refuse(ctx, QStringLiteral("The bullet diameter must be a positive number."));
    double scale = 0;
    if (!Positive(a.Value(a.Has("--dpi") ? "--dpi" : "--scale"), scale))
        return Refuse(ctx, QStringLiteral("The scale must be a positive number."));
    if (a.Has("--dpi")) {
        const auto s = ScaleFromDpi(scale, sheet.UnitName);
        if (!s)
            return Refuse(ctx, QStringLiteral("A resolution in dots per inch needs a unit that "
                                              "converts to inches (Inches, Centimeters or "
                                              "Millimeters)."));
        scale = *s;
    }
    sheet.PixelsPerUnit = scale;
    if (a.Has(RangeOption.name)) {
        double range = 0;
        if (!Positive(a.Value(RangeOption.name), range))
            return Refuse(ctx, QStringLiteral("The range must be a positive number of yards."));
        sheet.RangeYards = range;
    }
    for (const QString &aim : a.Values("--aim")) {
        const QStringList xy = aim.split(QLatin1Char(','));
        const auto x = ParseNumber(xy.value(0)), y = ParseNumber(xy.value(1));
        if (xy.size() != 2 || !x || !y)
            return Refuse(ctx, QStringLiteral("An aim must be X,Y in image pixels: ") + aim);
        SheetMark m;
        m.x = *x, m.y = *y;
        sheet.Marks.push_back(m);
    }
    QString why;
    const auto image = ReadCardImage(path, &why);
    if (!image) return Refuse(ctx, why);
    if (why = CheckCardRequest(sheet, image->size()); !why.isEmpty()) return Refuse(ctx, why);
    for (const SheetMark &m : sheet.Marks)
        if (!QRectF(image->rect()).contains(m.x, m.y))
            return Refuse(ctx, QStringLiteral("An aim lies outside the image (%1 x %2 pixels).")
                                   .arg(image->width())
                                   .arg(image->height()));
    sheet.ImagePath = path;
    ReadCard(sheet, *image);
    if (sheet.Marks.empty())
        return Refuse(ctx, QStringLiteral("No aiming marks were found on the card; give them with "
                                          "--aim X,Y."));
    Print(sheet, json, ctx.out);
    return CliExit::Ok;
}
