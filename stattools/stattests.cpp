#include "stattools/stattests.h"

#include "model/textnum.h"
#include "stats/report.h"

#include <algorithm>
#include <cmath>
#include <utility>

const QString InputErrorTitle = QStringLiteral("Input Error");

namespace {
const QString TooLarge = QStringLiteral("The numbers are too large or too small to compute with.");

// Runs the checks in their order; the first message refuses the input.
class Checker {
public:
    explicit Checker(Prompter &p) : prompter(p) {}
    bool ok() const { return !refused; }
    void require(bool condition, const QString &message)
    {
        if (refused || condition) return;
        prompter.MsgBox(message, InputErrorTitle, Buttons::Ok, Icon::None);
        refused = true;
    }
    void numeric(const QString &text, const QString &message) { require(IsNumeric(text), message); }
    // A sample size: a number, 1 to 20, whole; the range before the decimals.
    void sampleSize(const QString &text, QChar sample)
    {
        numeric(text, QStringLiteral("Sample %1 Number must be a number.").arg(sample));
        if (refused) return;
        const double v = Val(text);
        require(v >= 1 && v <= 20,
                QStringLiteral("Number %1 must be a number between 1 and 20.").arg(sample));
        require(v == std::floor(v),
                QStringLiteral("Number %1 must be a whole number (1,2,3) with no decimals.")
                    .arg(sample));
    }
    void sigLevel(const QString &text)
    {
        if (refused) return;
        if (const auto problem = SigLevelProblem(text)) require(false, *problem);
    }

private:
    Prompter &prompter;
    bool refused = false;
};

QString verdictText(const QString &firstLabel, double critical, const QString &secondLabel,
                    double statistic, const QString &subject)
{
    const QChar cr(13);
    return firstLabel + FormatPictureD(critical, QStringLiteral("#0.00")) + cr + secondLabel +
           FormatPictureD(statistic, QStringLiteral("#0.00")) + cr + subject +
           (statistic >= critical
                ? QStringLiteral("are significantly different.")
                : QStringLiteral("do not differ by a statistically significant amount."));
}

void finish(TestOutcome &out, std::optional<double> critical, double statistic,
            const QString &caption, Prompter &prompter)
{
    out.computed = true;
    out.critical = critical;
    out.statistic = statistic;
    if (critical) out.caption = caption;
    prompter.Beep();
}

// A square that overflowed, or that underflowed from a standard deviation
// other than 0 (1e-170 squared is 0 in double), cannot be computed with.
bool squareFits(double sd, double square)
{
    return std::isfinite(square) && (sd == 0 || std::isnormal(square));
}

using Row = std::pair<QString, QString>;

template <size_t N>
void printPage(ReportSurface &surface, const Row (&rows)[N], const QString &sigLevel,
               const QString &caption)
{
    // A long lot text wraps within its own column and pushes the rows below
    // down, so it never runs into the other column or off the page.
    constexpr double columnA = 2500, columnB = 6050, columnGap = 150;
    const qint32 h = surface.TextHeight(QStringLiteral("00.00"));
    surface.CurrentY = 1200;
    for (const Row &row : rows) {
        const QStringList a = WrapText(surface, row.first, columnB - columnGap - columnA);
        const QStringList b = WrapText(surface, row.second, surface.RightLimit() - columnB);
        const double top = surface.CurrentY;
        for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
            surface.CurrentY = top + double(i) * h;
            surface.CurrentX = columnA;
            surface.Print(i < a.size() ? a[i] : QString(), false);
            surface.CurrentX = columnB;
            surface.Print(i < b.size() ? b[i] : QString(), true);
        }
    }
    for (int k = 0; k < 3; ++k) surface.Print(QString(), true);
    surface.CurrentX = 2500;
    surface.Print(QStringLiteral("Significance Level: ") + sigLevel + QStringLiteral("%"), true);
    QString line;
    auto printLine = [&] {
        surface.CurrentX = 2500;
        surface.Print(line, true);
        line.clear();
    };
    for (QChar ch : caption) {
        if (ch == QChar(13))
            printLine();
        else
            line += ch;
    }
    printLine();
}
} // namespace

std::optional<QString> SigLevelProblem(const QString &text)
{
    if (!IsNumeric(text)) return QStringLiteral("The Significance Level must be a number.");
    const double s = Val(text);
    if (!(s >= 0.001 && s <= 45))
        return QStringLiteral("The Significance Level must be a number between 0.001 and 45.00");
    return std::nullopt;
}

TestOutcome ComputeTTest(const TTestFields &f, const GammaTable &g, Prompter &prompter)
{
    TestOutcome out;
    Checker check(prompter);
    check.numeric(f.AverageA, QStringLiteral("Sample A Average must be a number."));
    check.sampleSize(f.NumberA, QLatin1Char('A'));
    check.numeric(f.AverageB, QStringLiteral("Sample B Average must be a number."));
    check.sampleSize(f.NumberB, QLatin1Char('B'));
    check.numeric(f.StdDevA,
                  QStringLiteral("The Standard Deviation for Sample A must be a number."));
    check.numeric(f.StdDevB,
                  QStringLiteral("The Standard Deviation for Sample B must be a number."));
    check.sigLevel(f.SigLevel);
    if (!check.ok()) return out;

    const qint32 nA = qint32(Val(f.NumberA));
    const qint32 nB = qint32(Val(f.NumberB));
    const qint32 nu = nA + nB - 2;
    // Two single shots leave no degree of freedom: the pooled variance is 0/0.
    check.require(nu > 0,
                  QStringLiteral("The two samples together need at least 3 shots for this test."));
    if (!check.ok()) return out;
    const double sA = Val(f.StdDevA), sB = Val(f.StdDevB);
    const double vA = sA * sA, vB = sB * sB;
    check.require(squareFits(sA, vA) && squareFits(sB, vB), TooLarge);
    if (!check.ok()) return out;
    const double sp = std::sqrt(((nA - 1) * vA + (nB - 1) * vB) / nu);
    check.require(std::isfinite(sp), TooLarge);
    check.require(sp != 0, QStringLiteral("A pooled standard deviation of 0 cannot be compared: "
                                          "a sample of 2 or more shots needs a standard deviation "
                                          "other than 0."));
    if (!check.ok()) return out;
    const double se = sp * std::sqrt(1.0 / nB + 1.0 / nA);
    const double t = std::fabs(Val(f.AverageA) - Val(f.AverageB)) / se;
    check.require(std::isfinite(t), TooLarge);
    if (!check.ok()) return out;

    const double s = Val(f.SigLevel);
    const auto x = CriticalT(g, nu, s);
    finish(out, x, t,
           x ? verdictText(QStringLiteral("T-Test Value: "), *x,
                           QStringLiteral("Experimental t value: "), t,
                           QStringLiteral("The averages of Sample A and Sample B "))
             : QString(),
           prompter);
    return out;
}

TestOutcome ComputeFTest(const FTestFields &f, const GammaTable &g, Prompter &prompter)
{
    TestOutcome out;
    Checker check(prompter);
    check.sampleSize(f.NumberA, QLatin1Char('A'));
    check.sampleSize(f.NumberB, QLatin1Char('B'));
    check.numeric(f.StdDevA,
                  QStringLiteral("The Standard Deviation for Sample A must be a number."));
    check.numeric(f.StdDevB,
                  QStringLiteral("The Standard Deviation for Sample B must be a number."));
    check.sigLevel(f.SigLevel);
    if (!check.ok()) return out;

    const qint32 nA = qint32(Val(f.NumberA));
    const qint32 nB = qint32(Val(f.NumberB));
    const qint32 dA = nA - 1, dB = nB - 1;
    const double sA = Val(f.StdDevA), sB = Val(f.StdDevB);
    const double vA = sA * sA, vB = sB * sB;
    // Two overflowing or underflowing squares would otherwise compare as equal.
    check.require(squareFits(sA, vA) && squareFits(sB, vB), TooLarge);
    if (!check.ok()) return out;
    if (vA == vB) {
        prompter.MsgBox(QStringLiteral("Variance Sample A = Variance Sample B"),
                        QStringLiteral("Variances Have No Difference"), Buttons::Ok, Icon::None);
        return out;
    }
    const bool aLarger = vA > vB;
    const double larger = aLarger ? vA : vB, smaller = aLarger ? vB : vA;
    const qint32 d1 = aLarger ? dA : dB, d2 = aLarger ? dB : dA;
    // Γ(0) is not in the table, and with one degree of freedom on top the
    // density is infinite at 0, where the integral starts.
    check.require(dA > 0 && dB > 0,
                  QStringLiteral("Each sample needs at least 2 shots for this test."));
    check.require(d1 > 1, QStringLiteral("The sample with the larger standard deviation needs at "
                                         "least 3 shots for this test."));
    check.require(smaller != 0, QStringLiteral("A standard deviation of 0 cannot be compared."));
    if (!check.ok()) return out;
    const double F = larger / smaller;
    check.require(std::isfinite(F), TooLarge);
    if (!check.ok()) return out;

    const double s = Val(f.SigLevel);
    const auto x = CriticalF(g, d1, d2, s);
    finish(out, x, F,
           x ? verdictText(QStringLiteral("F-Test Value: "), *x,
                           QStringLiteral("Experimental f value: "), F,
                           QStringLiteral("The variances of Sample A and Sample B "))
             : QString(),
           prompter);
    return out;
}

void PrintTTestPage(ReportSurface &surface, const TTestFields &f, const QString &caption)
{
    const Row rows[] = {
        {QStringLiteral("Sample A"), QStringLiteral("Sample B")},
        {QStringLiteral("Lot#: ") + f.LotA, QStringLiteral("Lot#: ") + f.LotB},
        {QStringLiteral("Average: ") + f.AverageA, QStringLiteral("Average: ") + f.AverageB},
        {QStringLiteral("Standard Deviation: ") + f.StdDevA,
         QStringLiteral("Standard Deviation: ") + f.StdDevB},
        {QStringLiteral("Number in Sample: ") + f.NumberA,
         QStringLiteral("Number in Sample: ") + f.NumberB}};
    printPage(surface, rows, f.SigLevel, caption);
}

void PrintFTestPage(ReportSurface &surface, const FTestFields &f, const QString &caption)
{
    const Row rows[] = {{QStringLiteral("Sample A"), QStringLiteral("Sample B")},
                        {QStringLiteral("Lot#: ") + f.LotA, QStringLiteral("Lot#: ") + f.LotB},
                        {QStringLiteral("Standard Deviation: ") + f.StdDevA,
                         QStringLiteral("Standard Deviation: ") + f.StdDevB},
                        {QStringLiteral("Number in Sample: ") + f.NumberA,
                         QStringLiteral("Number in Sample: ") + f.NumberB}};
    printPage(surface, rows, f.SigLevel, caption);
}
