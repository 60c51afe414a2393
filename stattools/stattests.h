#pragma once
// The T-test and F-test as their windows run them: the field checks in their
// order, the statistic, the critical value and the result text. The windows
// and the command line share this code, so both refuse and answer alike.
#include "platform/prompter.h"
#include "stattools/criticalvalues.h"

#include <QString>
#include <optional>

class ReportSurface;

// The windows' field texts as typed.
struct TTestFields {
    QString LotA, AverageA, StdDevA, NumberA;
    QString LotB, AverageB, StdDevB, NumberB;
    QString SigLevel = QStringLiteral("5");
};
struct FTestFields {
    QString LotA, StdDevA, NumberA;
    QString LotB, StdDevB, NumberB;
    QString SigLevel = QStringLiteral("5");
};

struct TestOutcome {
    // The computation ran to its end (beep sounded, printing offered); false
    // when a message refused the input.
    bool computed = false;
    std::optional<double> critical;
    double statistic = 0;
    // The result text, lines separated by carriage returns; empty when no
    // critical value was found.
    QString caption;
};

extern const QString InputErrorTitle;

// The message that refuses a significance level, if any.
std::optional<QString> SigLevelProblem(const QString &text);

// Compute: checks the fields, showing the first problem through `prompter`
// (title "Input Error", OK only), then computes and beeps.
TestOutcome ComputeTTest(const TTestFields &fields, const GammaTable &gammaHalf,
                         Prompter &prompter);
TestOutcome ComputeFTest(const FTestFields &fields, const GammaTable &gammaHalf,
                         Prompter &prompter);

// The printed page, in twips, with the fields as they stand and the caption.
void PrintTTestPage(ReportSurface &surface, const TTestFields &fields, const QString &caption);
void PrintFTestPage(ReportSurface &surface, const FTestFields &fields, const QString &caption);
