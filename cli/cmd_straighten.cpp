// straighten: a photo taken at an angle mapped onto the rectangle whose
// corners are given, as Straighten Picture does it.
#include "analysis/groupanalysis.h"
#include "cli/args.h"
#include "graph/straighten.h"
#include "model/textnum.h"
#include "platform/wholefile.h"

#include <QFileInfo>
#include <cmath>

namespace {
int Refuse(CliContext &ctx, const QString &why)
{
    ctx.prompter.MsgBox(why, StraightenTitle, Buttons::Ok, Icon::Exclamation);
    return CliExit::Refused;
}

// `count` finite numbers separated by commas.
std::optional<std::vector<double>> Numbers(const QString &text, int count)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count) return std::nullopt;
    std::vector<double> v;
    for (const QString &p : parts) {
        const auto n = ParseNumber(p);
        if (!n) return std::nullopt;
        v.push_back(*n);
    }
    return v;
}

QString Pixels(double v) { return QString::number(v, 'f', 1); }
} // namespace

int CmdStraighten(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {{"--corners", CliOption::Value},
                        {"--size", CliOption::Value},
                        UnitOption,
                        {"--dpi", CliOption::Value},
                        {"-o", CliOption::Value}}) ||
        !a.Expect({"IMAGE"}) || !a.Require({"--corners", "--size", "-o"}))
        return ctx.Usage(a.Error);
    const QString photoPath = a.Positional.first(), out = a.Value("-o");
    const auto corners = Numbers(a.Value("--corners"), 8);
    if (!corners)
        return Refuse(ctx, QStringLiteral("The corners must be eight numbers, "
                                          "X1,Y1,X2,Y2,X3,Y3,X4,Y4, in image pixels."));
    const auto size = Numbers(a.Value("--size"), 2);
    if (!size) return Refuse(ctx, QStringLiteral("The size must be two numbers, W,H."));
    const QString unit =
        a.Has(UnitOption.name) ? a.Value(UnitOption.name).trimmed() : QStringLiteral("Inches");
    // The file's resolution is in dots per metre: the unit needs a known length.
    if (!InchesPerUnit(unit))
        return Refuse(ctx, QStringLiteral("The unit \"%1\" has no known length: give Inches, "
                                          "Centimeters or Millimeters.")
                               .arg(unit));
    double dpi = 0;
    if (a.Has("--dpi")) {
        dpi = ParseNumber(a.Value("--dpi")).value_or(0);
        if (dpi <= 0)
            return Refuse(ctx, QStringLiteral("The resolution must be a number above 0."));
    }
    const QFileInfo outInfo(out);
    if (outInfo.exists()) {
        const bool same = outInfo.canonicalFilePath() == QFileInfo(photoPath).canonicalFilePath();
        return Refuse(ctx, same ? QStringLiteral("The straightened picture never replaces the "
                                                 "photo: give another OUT.")
                                : QStringLiteral("%1 exists: the straightened picture is written "
                                                 "to a new file only.")
                                      .arg(out));
    }

    QString why;
    const auto photo = ReadPhoto(photoPath, &why);
    if (!photo) return Refuse(ctx, why);
    StraightenRequest request;
    request.imageSize = photo->size();
    const std::vector<double> &c = *corners;
    for (size_t k = 0; k < 4; ++k) request.corners[k] = QPointF(c[2 * k], c[2 * k + 1]);
    request.width = (*size)[0];
    request.height = (*size)[1];
    request.dotsPerUnit = dpi;
    const auto plan = PlanStraighten(request, &why);
    if (!plan) return Refuse(ctx, why);
    const QImage picture = StraightenImage(*photo, *plan, unit);
    if (picture.isNull())
        return Refuse(ctx, QStringLiteral("There is not enough memory for the straightened "
                                          "picture."));
    if (!SaveStraightenedPng(picture, out, &why)) return Refuse(ctx, WriteFailedText(out, why));
    const QPointF from = *plan->Map(request.corners[0]), to = *plan->Map(request.corners[2]);
    ctx.out << QStringLiteral("%1: %2 x %3 pixels, %4 dots per unit (%5), the rectangle from "
                              "%6,%7 to %8,%9")
                   .arg(out)
                   .arg(picture.width())
                   .arg(picture.height())
                   .arg(plan->dotsPerUnit, 0, 'g', 6)
                   .arg(unit, Pixels(from.x()), Pixels(from.y()), Pixels(to.x()), Pixels(to.y()))
            << Qt::endl;
    return CliExit::Ok;
}
