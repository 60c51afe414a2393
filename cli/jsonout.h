#pragma once
// Small pieces of JSON output: numbers that read back to the same double,
// texts with their escapes, and objects built key by key.
#include <QString>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <optional>

inline QString JsonNumber(std::optional<double> v)
{
    if (!v || !std::isfinite(*v)) return QStringLiteral("null");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, *v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

inline QString JsonString(const QString &t)
{
    QString r = QStringLiteral("\"");
    for (QChar c : t) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            r += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r + QLatin1Char('"');
}

class JsonFields {
public:
    JsonFields &raw(const char *key, const QString &json)
    {
        parts << JsonString(QLatin1String(key)) + QStringLiteral(": ") + json;
        return *this;
    }
    JsonFields &num(const char *key, std::optional<double> v) { return raw(key, JsonNumber(v)); }
    JsonFields &text(const char *key, const QString &t) { return raw(key, JsonString(t)); }
    QString object() const
    {
        return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
    }

private:
    QStringList parts;
};

inline QString JsonArray(const QStringList &items)
{
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}
