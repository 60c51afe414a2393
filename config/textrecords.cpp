#include "config/textrecords.h"

#include "model/textnum.h"
#include "platform/codec1252.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

QByteArray FloatText(float value)
{
    if (!std::isfinite(value)) {
        // Never produced by the program's own values; written so that every
        // reader takes it as the largest float rather than stopping.
        value = std::isnan(value) ? 0.0f : std::copysign(std::numeric_limits<float>::max(), value);
    }
    if (value == 0) return QByteArrayLiteral("0");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, double(std::fabs(value)),
                                   std::chars_format::scientific, 6);
    const std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string digits;
    for (char c : s.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int point = std::stoi(s.substr(e + 1)) + 1; // digits before the decimal point
    std::string out = value < 0 ? "-" : "";
    if (point <= 0) {
        out += "0." + std::string(-point, '0') + digits;
    } else if (int(digits.size()) <= point) {
        out += digits + std::string(point - digits.size(), '0');
    } else {
        out += digits.substr(0, point) + "." + digits.substr(point);
    }
    return QByteArray::fromStdString(out);
}

void RecordWriter::separate()
{
    if (fieldInRecord) text.append(QLatin1Char(','));
    fieldInRecord = true;
}

void RecordWriter::Text(const QString &value)
{
    separate();
    QString t = value;
    t.replace(QLatin1Char('"'), QLatin1String("''"));
    text.append(QLatin1Char('"'));
    text.append(t);
    text.append(QLatin1Char('"'));
}

void RecordWriter::Float(float value)
{
    separate();
    text.append(QLatin1String(FloatText(value)));
}

void RecordWriter::Int(qint32 value)
{
    separate();
    text.append(QString::number(value));
}

void RecordWriter::Bool(bool value)
{
    separate();
    text.append(value ? QLatin1String("#TRUE#") : QLatin1String("#FALSE#"));
}

void RecordWriter::EndRecord()
{
    text.append(QLatin1String("\r\n"));
    fieldInRecord = false;
}

QByteArray RecordWriter::Bytes() const { return EncodeTextFile(text); }

RecordReader::RecordReader(const QByteArray &bytes) : data(bytes), utf8(StartsWithUtf8Mark(bytes))
{
    if (utf8) pos = qsizetype(sizeof Utf8Mark) - 1;
}

bool RecordReader::AtEnd() const { return pos >= data.size(); }

std::optional<RecordReader::Field> RecordReader::Next()
{
    const qsizetype n = data.size();
    if (pos >= n) return std::nullopt;
    while (pos < n && (data[pos] == ' ' || data[pos] == '\t')) ++pos;
    Field f;
    qsizetype start = pos;
    qsizetype end = pos;
    if (pos < n && data[pos] == '"') {
        f.quoted = true;
        start = ++pos;
        while (pos < n && data[pos] != '"') ++pos;
        end = pos;
        if (pos < n) ++pos; // the closing quote
        // Anything between the closing quote and the delimiter is dropped.
        while (pos < n && data[pos] != ',' && data[pos] != '\r' && data[pos] != '\n') ++pos;
    } else {
        while (pos < n && data[pos] != ',' && data[pos] != '\r' && data[pos] != '\n') ++pos;
        end = pos;
        while (end > start && (data[end - 1] == ' ' || data[end - 1] == '\t')) --end;
    }
    // Quotes, commas and line ends never occur inside a UTF-8 sequence.
    const QByteArray raw = data.mid(start, end - start);
    f.text = utf8 ? QString::fromUtf8(raw) : FromCp1252(raw);
    if (pos < n) {
        if (data[pos] == ',') {
            ++pos;
        } else if (data[pos] == '\r') {
            ++pos;
            if (pos < n && data[pos] == '\n') ++pos;
        } else if (data[pos] == '\n') {
            ++pos;
        }
    }
    return f;
}

double FieldNumber(const RecordReader::Field &f) { return Val(f.text); }

std::optional<float> FieldFloat(const RecordReader::Field &f)
{
    const double v = FieldNumber(f);
    if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(v);
}

std::optional<qint32> FieldInt(const RecordReader::Field &f)
{
    const double v = std::nearbyint(FieldNumber(f));
    if (!(v >= -2147483648.0 && v <= 2147483647.0)) return std::nullopt;
    return qint32(v);
}

std::optional<bool> FieldBool(const RecordReader::Field &f)
{
    const QString t = f.text.trimmed();
    if (t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0) return false;
    if (!f.quoted && IsNumeric(t)) return FieldNumber(f) != 0;
    return std::nullopt;
}
