#pragma once
// Numbers and fixed-width texts as the program reads, shows and stores them.
// None of these depend on the locale.
#include <QString>
#include <QStringView>

#include <optional>

// The leading decimal number of a text, blanks ignored, "." as decimal point,
// 0 when there is none: "12.5abc" -> 12.5, "abc" -> 0, ".5" -> 0.5, "1E-04" -> 0.0001.
double Val(const QString &text);

// True when the whole text, blanks before and after aside, is one decimal
// number: optional sign, digits with at most one point, optional exponent.
bool IsNumeric(const QString &text);

// The strict reading of a number given as text, as every command and newer
// window takes it: the whole text, blanks before and after aside, is an
// optional sign, digits with at most one "." as the decimal point and an
// optional e/E exponent. Never the locale's: "1,5" and "1,000" are no numbers.
// Nothing when the value is beyond what a double holds (1E400, 1E-400).
std::optional<double> ParseNumber(QStringView text);
// The same for a whole number: an optional sign and digits only.
std::optional<qint64> ParseWhole(QStringView text);
// A confidence level: a number strictly between 0 and 1, such as 0.95.
std::optional<double> ParseLevel(QStringView text);

// Picture formats such as "###0.000", "##0.00", "#0.00", "00", "##0": # an
// optional digit, 0 a digit always shown; rounded half away from zero to the
// pattern's decimals. A float is taken at its 7 significant digits, a double at 15.
QString FormatPicture(float value, const QString &pattern);
QString FormatPictureD(double value, const QString &pattern);

// The plain number-to-text conversion with a leading blank for a value that is
// not negative and no zero before the point of a value below 1 (" 100", " .5", "-2.25").
// `digits` is the number of significant digits kept: 7 for floats, 15 for doubles.
QString StrNum(double value, int digits);
// The shortest general form, no leading blank: "100", "87.5", "0.5".
QString GeneralNum(double value, int digits);

// Cut or pad with blanks to exactly `width` characters (code points).
QString FixedWidth(const QString &text, int width);

// Nearest whole number, halves to the even neighbour.
qint32 RoundToInt(double value);
