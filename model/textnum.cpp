#include "model/textnum.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// A value as decimal digits: value = (neg ? -1 : 1) * 0.d1d2d3... * 10^exp.
struct Decimal {
    bool neg = false;
    std::string digits; // no leading zeros; empty for zero
    int exp = 0;
};

Decimal toDecimal(double v, int sig)
{
    Decimal d;
    if (v == 0 || !std::isfinite(v)) return d;
    d.neg = v < 0;
    char buf[64];
    auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, sig - 1);
    std::string s(buf, res.ptr);
    auto e = s.find('e');
    std::string mant = s.substr(0, e);
    int ex = std::stoi(s.substr(e + 1));
    for (char c : mant)
        if (c != '.') d.digits += c;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    d.exp = ex + 1;
    return d;
}

QString formatWithPattern(const Decimal &d, const QString &pattern)
{
    int point = int(pattern.indexOf(QLatin1Char('.')));
    int decimals = point < 0 ? 0 : int(pattern.size()) - point - 1;
    QString intPattern = point < 0 ? pattern : pattern.left(point);
    int minInt = int(intPattern.count(QLatin1Char('0')));

    auto digitAt = [&](int k) { return k >= 0 && k < int(d.digits.size()) ? d.digits[k] : '0'; };
    int intLen = d.exp > 0 ? d.exp : 0;
    std::string num;
    for (int k = 0; k < intLen; ++k) num += digitAt(k);
    for (int i = 0; i < decimals; ++i) num += digitAt(d.exp + i);
    // Half away from zero: the first dropped digit decides.
    if (digitAt(d.exp + decimals) >= '5') {
        int i = int(num.size()) - 1;
        for (; i >= 0 && num[i] == '9'; --i) num[i] = '0';
        if (i >= 0)
            ++num[i];
        else
            num.insert(num.begin(), '1');
    }
    std::string intDigits = num.substr(0, num.size() - decimals);
    std::string fracDigits = num.substr(num.size() - decimals);
    size_t nz = intDigits.find_first_not_of('0');
    intDigits = nz == std::string::npos ? std::string() : intDigits.substr(nz);
    while (int(intDigits.size()) < minInt) intDigits.insert(intDigits.begin(), '0');
    std::string out = intDigits;
    if (decimals > 0) out += "." + fracDigits;
    if (out.empty()) out = "0";
    if (d.neg) out.insert(out.begin(), '-');
    return QString::fromLatin1(out.c_str());
}

QString plainText(double v, int sig, bool leadingBlank, bool dropLeadingZero)
{
    if (!std::isfinite(v))
        return QString::fromLatin1(std::isnan(v) ? "NaN" : (v > 0 ? "Inf" : "-Inf"));
    Decimal d = toDecimal(v, sig);
    std::string out;
    if (d.digits.empty()) {
        out = "0";
    } else if (d.exp > sig || d.exp < -4) {
        // Exponent form: d.ddddE+XX
        out += d.digits[0];
        if (d.digits.size() > 1) out += "." + d.digits.substr(1);
        int e = d.exp - 1;
        char eb[16];
        std::snprintf(eb, sizeof eb, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        out += eb;
    } else if (d.exp <= 0) {
        out = dropLeadingZero ? "." : "0.";
        out += std::string(-d.exp, '0') + d.digits;
    } else {
        std::string ds = d.digits;
        if (int(ds.size()) <= d.exp) {
            out = ds + std::string(d.exp - ds.size(), '0');
        } else {
            out = ds.substr(0, d.exp) + "." + ds.substr(d.exp);
        }
    }
    if (d.neg)
        out.insert(out.begin(), '-');
    else if (leadingBlank)
        out.insert(out.begin(), ' ');
    return QString::fromLatin1(out.c_str());
}

// Scans a number at text[i...]; returns the length consumed, 0 when none.
// Blanks inside are skipped when skipBlanks is set (the reading of typed values).
struct Scan {
    int end = 0;
    bool digits = false;
    std::string text;
};

Scan scanNumber(const QString &t, int i, bool skipBlanks)
{
    Scan s;
    int n = int(t.size());
    auto skip = [&](int &j) {
        if (skipBlanks)
            while (j < n && isBlank(t[j])) ++j;
    };
    int j = i;
    skip(j);
    if (j < n && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-'))) {
        if (t[j] == QLatin1Char('-')) s.text += '-';
        ++j;
        skip(j);
    }
    bool seenPoint = false;
    while (j < n) {
        QChar c = t[j];
        if (c.isDigit() && c.unicode() < 128) {
            s.text += char(c.unicode());
            s.digits = true;
            ++j;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            s.text += '.';
            ++j;
        } else if (skipBlanks && isBlank(c)) {
            ++j;
        } else {
            break;
        }
    }
    if (!s.digits) return Scan{};
    s.end = j;
    // Optional exponent: E or D, optional sign, digits.
    if (j < n && (t[j] == QLatin1Char('e') || t[j] == QLatin1Char('E') ||
                  t[j] == QLatin1Char('d') || t[j] == QLatin1Char('D'))) {
        int k = j + 1;
        std::string ex = "e";
        if (k < n && (t[k] == QLatin1Char('+') || t[k] == QLatin1Char('-'))) {
            ex += char(t[k].unicode());
            ++k;
        }
        int startDigits = k;
        while (k < n && t[k].isDigit() && t[k].unicode() < 128) ex += char(t[k++].unicode());
        if (k > startDigits) {
            s.text += ex;
            s.end = k;
        }
    }
    return s;
}

double parse(const std::string &s)
{
    double v = 0;
    std::string t = s;
    if (!t.empty() && t.back() == '.') t.pop_back();
    if (t == "-" || t.empty()) return 0;
    const char *b = t.c_str();
    if (*b == '.') {
        t.insert(t.begin(), '0');
        b = t.c_str();
    } else if (b[0] == '-' && b[1] == '.') {
        t.insert(t.begin() + 1, '0');
        b = t.c_str();
    }
    auto r = std::from_chars(b, b + t.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves v untouched on overflow; large exponents mean huge values.
        bool neg = t[0] == '-';
        bool tiny = t.find("e-") != std::string::npos;
        v = tiny ? 0.0 : std::numeric_limits<double>::max();
        if (neg) v = -v;
    }
    return v;
}

// The text of a strict number, trimmed, as from_chars reads it: nothing when
// it is not one. `whole` takes digits only after the sign.
std::optional<std::string> strictText(QStringView text, bool whole)
{
    const QStringView t = text.trimmed();
    std::string out;
    qsizetype i = 0, n = t.size();
    auto digits = [&] {
        const qsizetype from = i;
        for (; i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9'; ++i)
            out += char(t[i].unicode());
        return i - from;
    };
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        if (t[i] == QLatin1Char('-')) out += '-';
        ++i;
    }
    qsizetype mantissa = digits();
    if (!whole && i < n && t[i] == QLatin1Char('.')) {
        out += '.';
        ++i;
        mantissa += digits();
    }
    if (!mantissa) return std::nullopt;
    if (!whole && i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        out += 'e';
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            out += char(t[i++].unicode());
        if (!digits()) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    return out;
}

} // namespace

std::optional<double> ParseNumber(QStringView text)
{
    const auto t = strictText(text, false);
    if (!t) return std::nullopt;
    double v = 0;
    // Out of range either way (overflow, or a value that is not 0 read as 0).
    const auto r = std::from_chars(t->data(), t->data() + t->size(), v);
    if (r.ec != std::errc() || r.ptr != t->data() + t->size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint64> ParseWhole(QStringView text)
{
    const auto t = strictText(text, true);
    if (!t) return std::nullopt;
    qint64 v = 0;
    const auto r = std::from_chars(t->data(), t->data() + t->size(), v);
    if (r.ec != std::errc() || r.ptr != t->data() + t->size()) return std::nullopt;
    return v;
}

std::optional<double> ParseLevel(QStringView text)
{
    const auto v = ParseNumber(text);
    if (!v || !(*v > 0 && *v < 1)) return std::nullopt;
    return v;
}

double Val(const QString &text)
{
    Scan s = scanNumber(text, 0, true);
    if (!s.digits) return 0;
    return parse(s.text);
}

bool IsNumeric(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty()) return false;
    Scan s = scanNumber(t, 0, false);
    return s.digits && s.end == t.size();
}

QString FormatPicture(float value, const QString &pattern)
{
    return formatWithPattern(toDecimal(double(value), 7), pattern);
}

QString FormatPictureD(double value, const QString &pattern)
{
    if (!std::isfinite(value)) return plainText(value, 15, false, false);
    return formatWithPattern(toDecimal(value, 15), pattern);
}

QString StrNum(double value, int digits) { return plainText(value, digits, true, true); }

QString GeneralNum(double value, int digits) { return plainText(value, digits, false, false); }

QString FixedWidth(const QString &text, int width)
{
    // Characters, not UTF-16 units: a letter beyond the basic plane counts
    // once and is never cut in half.
    qsizetype units = 0;
    int chars = 0;
    while (units < text.size() && chars < width) {
        const bool pair = text[units].isHighSurrogate() && units + 1 < text.size() &&
                          text[units + 1].isLowSurrogate();
        units += pair ? 2 : 1;
        ++chars;
    }
    return text.left(units) + QString(width - chars, QLatin1Char(' '));
}

qint32 RoundToInt(double value)
{
    if (!(value == value)) return 0;
    if (value > 2147483647.0) return std::numeric_limits<qint32>::max();
    if (value < -2147483648.0) return std::numeric_limits<qint32>::min();
    return qint32(std::nearbyint(value));
}
