#include "model/json.h"

#include "model/textnum.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace Json {
QString Text(const QString &t)
{
    QString r = QStringLiteral("\"");
    for (QChar c : t) {
        switch (c.unicode()) {
        case '"':
            r += QStringLiteral("\\\"");
            break;
        case '\\':
            r += QStringLiteral("\\\\");
            break;
        case '\n':
            r += QStringLiteral("\\n");
            break;
        case '\r':
            r += QStringLiteral("\\r");
            break;
        case '\t':
            r += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                r += c;
        }
    }
    return r + QLatin1Char('"');
}

QString Number(double v)
{
    if (!std::isfinite(v)) return QStringLiteral("null");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

QString Number(float v)
{
    if (!std::isfinite(v)) return QStringLiteral("null");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

QString Number(std::optional<double> v) { return v ? Number(*v) : QStringLiteral("null"); }

QString Rounded(double v, int decimals)
{
    // Not finite: "inf" or "nan", which reads as no number and writes null.
    return Number(ParseNumber(QString::number(v, 'f', decimals))
                      .value_or(std::numeric_limits<double>::quiet_NaN()));
}

QString Float(double v)
{
    if (!std::isfinite(v)) return QStringLiteral("null");
    return QString::number(v, 'g', 9);
}

QString Bool(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

QString Array(const QStringList &items)
{
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}
} // namespace Json

JsonObject &JsonObject::Raw(const char *key, const QString &json)
{
    parts << QLatin1Char('"') + QLatin1String(key) + QStringLiteral("\": ") + json;
    return *this;
}

QString JsonObject::Str() const
{
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}
