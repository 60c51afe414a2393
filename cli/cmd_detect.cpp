// detect: the bullet holes in a scanned target, as Find proposes them.
#include "cli/args.h"
#include "detect/scanreader.h"
#include "model/json.h"
#include "model/textnum.h"

#include <climits>
#include <cmath>

namespace {
bool Refuse(CliContext &ctx, const QString &why)
{
    ctx.prompter.MsgBox(why, QStringLiteral("Find Holes"), Buttons::Ok, Icon::Exclamation);
    return false;
}

// A whole text that is a finite number.
bool Number(const QString &text, double &value)
{
    const auto v = ParseNumber(text);
    value = v.value_or(0);
    return v.has_value();
}

QString Fixed(double v, int decimals) { return QString::number(v, 'f', decimals); }
} // namespace

int CmdDetect(const QStringList &args, CliContext &ctx)
{
    CliArgs a;
    if (!a.Parse(args, {{"--bullet", CliOption::Once},
                        {"--dpi", CliOption::Once},
                        {"--scale", CliOption::Once},
                        {"--region", CliOption::Once},
                        JsonOption}) ||
        !a.Expect({"IMAGE"}) || !a.Require({"--bullet"}) || !a.OneOf("--dpi", "--scale"))
        return ctx.Usage(a.Error);
    const QString image = a.Positional.first();
    const bool json = a.Has(JsonOption.name);

    HoleRequest request;
    if (!Number(a.Value("--bullet"), request.bulletDiameter))
        return Refuse(ctx, QStringLiteral("The bullet diameter must be a positive number.")),
               CliExit::Refused;
    if (!Number(a.Value(a.Has("--dpi") ? "--dpi" : "--scale"), request.pixelsPerUnit))
        return Refuse(ctx, QStringLiteral("The scale must be a positive number.")),
               CliExit::Refused;
    if (a.Has("--region")) {
        const QStringList parts = a.Value("--region").split(QLatin1Char(','));
        int v[4] = {};
        bool ok = parts.size() == 4;
        for (int k = 0; ok && k < 4; ++k) {
            const auto n = ParseWhole(parts[k]);
            ok = n && *n >= INT_MIN && *n <= INT_MAX;
            v[k] = ok ? int(*n) : 0;
        }
        if (!ok || v[0] < 0 || v[1] < 0 || v[2] <= 0 || v[3] <= 0)
            return Refuse(ctx, QStringLiteral("The region must be X,Y,W,H in whole pixels, with "
                                              "a width and height above 0.")),
                   CliExit::Refused;
        request.region = QRect(v[0], v[1], v[2], v[3]);
    }
    QString why;
    const auto report = FindHolesInFile(image, request, &why);
    if (!report) return Refuse(ctx, why), CliExit::Refused;

    QTextStream &out = ctx.out;
    if (json) {
        // Two decimals are a hundredth of a pixel: finer than any scan.
        QStringList holes;
        for (const FoundHole &h : report->holes)
            holes << JsonObject()
                         .Raw("x", Json::Rounded(h.x, 2))
                         .Raw("y", Json::Rounded(h.y, 2))
                         .Raw("diameter", Json::Rounded(h.diameter, 2))
                         .Raw("confidence", Json::Rounded(h.confidence, 3))
                         .Str();
        out << JsonObject()
                   .Int("width", report->imageSize.width())
                   .Int("height", report->imageSize.height())
                   .Raw("holes", Json::Array(holes))
                   .Str()
            << "\n";
    } else {
        out << "Image " << report->imageSize.width() << " x " << report->imageSize.height()
            << " pixels, " << report->holes.size() << " holes\n";
        out << QStringLiteral("%1 %2 %3 %4 %5\n")
                   .arg(QStringLiteral("#"), 3)
                   .arg(QStringLiteral("x"), 10)
                   .arg(QStringLiteral("y"), 10)
                   .arg(QStringLiteral("diameter"), 9)
                   .arg(QStringLiteral("confidence"), 11);
        int n = 0;
        for (const FoundHole &h : report->holes)
            out << QStringLiteral("%1 %2 %3 %4 %5\n")
                       .arg(++n, 3)
                       .arg(Fixed(h.x, 2), 10)
                       .arg(Fixed(h.y, 2), 10)
                       .arg(Fixed(h.diameter, 2), 9)
                       .arg(Fixed(h.confidence, 3), 11);
    }
    return CliExit::Ok;
}
