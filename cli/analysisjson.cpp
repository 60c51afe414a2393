#include "cli/analysisjson.h"

#include "model/json.h"
#include "model/textnum.h"

namespace {
void addRayleigh(JsonObject &o, const std::optional<RayleighFigures> &f)
{
    auto v = [&](double RayleighFigures::*m) {
        return f ? std::optional<double>((*f).*m) : std::nullopt;
    };
    o.Num("Sigma", v(&RayleighFigures::Sigma))
        .Num("SigmaLow", v(&RayleighFigures::SigmaLow))
        .Num("SigmaHigh", v(&RayleighFigures::SigmaHigh))
        .Num("CEP50", v(&RayleighFigures::CEP50))
        .Num("CEP50Low", v(&RayleighFigures::CEP50Low))
        .Num("CEP50High", v(&RayleighFigures::CEP50High))
        .Num("RayleighMR", v(&RayleighFigures::RayleighMR))
        .Num("RayleighMRLow", v(&RayleighFigures::RayleighMRLow))
        .Num("RayleighMRHigh", v(&RayleighFigures::RayleighMRHigh));
}

void addLength(JsonObject &o, const std::optional<LengthFigures> &f)
{
    auto v = [&](double LengthFigures::*m) {
        return f ? std::optional<double>((*f).*m) : std::nullopt;
    };
    o.Num("ExtremeSpread", v(&LengthFigures::ExtremeSpread))
        .Num("MeanRadius", v(&LengthFigures::MeanRadius))
        .Num("CenterOffset", v(&LengthFigures::CenterOffset))
        .Num("BoxWidth", v(&LengthFigures::BoxWidth))
        .Num("BoxHeight", v(&LengthFigures::BoxHeight))
        .Num("FigureOfMerit", v(&LengthFigures::FigureOfMerit))
        .Num("BoxDiagonal", v(&LengthFigures::BoxDiagonal));
    addRayleigh(o, f ? std::optional(f->Rayleigh) : std::nullopt);
}

bool angularKnown(const QString &unit, std::optional<double> range)
{
    return InchesPerUnit(unit) && range && *range > 0;
}

QString pad(const QString &t, int width, bool right)
{
    if (t.size() >= width) return t;
    const QString fill(width - t.size(), QLatin1Char(' '));
    return right ? fill + t : t + fill;
}

} // namespace

QString GroupAnalysisJson(const GroupAnalysis &a, const QString &file)
{
    JsonObject o;
    if (!file.isNull()) o.Raw("File", Json::Text(file));
    o.Raw("ShotCount", QString::number(a.ShotCount))
        .Raw("UnitName", Json::Text(a.UnitName.trimmed()))
        .Num("RangeToTarget", a.RangeYards)
        .Num("Level", a.Level);
    const bool ok = a.Defined();
    o.Raw("ExtremeSpreadShots",
          ok ? QStringLiteral("[%1, %2]").arg(a.SpreadShotA).arg(a.SpreadShotB)
             : QStringLiteral("null"));
    o.Num("CenterX", ok ? std::optional(a.CenterX) : std::nullopt)
        .Num("CenterY", ok ? std::optional(a.CenterY) : std::nullopt);
    addLength(o, a.Length);
    if (angularKnown(a.UnitName, a.RangeYards)) {
        JsonObject moa, mrad;
        addLength(moa, a.MOA);
        addLength(mrad, a.Mrad);
        o.Raw("MOA", moa.Str()).Raw("Mrad", mrad.Str());
    }
    return o.Str();
}

QString PooledAnalysisJson(const PooledAnalysis &p)
{
    JsonObject o;
    o.Raw("Groups", QString::number(p.Groups))
        .Raw("ShotCount", QString::number(p.ShotCount))
        .Num("DegreesOfFreedom", p.DegreesOfFreedom)
        .Raw("UnitName", p.InAngle ? QStringLiteral("null") : Json::Text(p.UnitName.trimmed()))
        .Num("RangeToTarget", p.RangeYards)
        .Num("Level", p.Level);
    addRayleigh(o, p.Length);
    if (p.InAngle || angularKnown(p.UnitName, p.RangeYards)) {
        JsonObject moa, mrad;
        addRayleigh(moa, p.MOA);
        addRayleigh(mrad, p.Mrad);
        o.Raw("MOA", moa.Str()).Raw("Mrad", mrad.Str());
    }
    return o.Str();
}

QString AnalysisTable(const QString &heading, const QString &unit,
                      const std::vector<AnalysisRow> &rows)
{
    QString t = heading + QLatin1Char('\n');
    t += pad(QString(), 26, false) + pad(unit.trimmed(), 18, true) +
         pad(QStringLiteral("MOA"), 18, true) + pad(QStringLiteral("mrad"), 18, true) +
         QLatin1Char('\n');
    for (const AnalysisRow &r : rows) {
        QString line = pad(r.Label, 26, false) + pad(r.Unit, 18, true) + pad(r.MOA, 18, true) +
                       pad(r.Mrad, 18, true);
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        t += line + QLatin1Char('\n');
    }
    return t;
}

QString RangeText(std::optional<double> range)
{
    return range ? GeneralNum(*range, 7) + QStringLiteral(" yards") : QStringLiteral("not entered");
}

QString VelocityJson(const std::optional<VelocityFigures> &f, const char *of)
{
    if (!f) return QStringLiteral("null");
    JsonObject o;
    if (of) o.Text("of", QString::fromLatin1(of));
    return o.Int("n", f->N)
        .Num("mean", f->Mean)
        .Num("sd", f->Sd)
        .Num("sdLow", f->SdLow)
        .Num("sdHigh", f->SdHigh)
        .Num("es", f->ExtremeSpread)
        .Num("min", f->Min)
        .Num("max", f->Max)
        .Text("unit", VelocityUnitName(f->Unit))
        .Str();
}
