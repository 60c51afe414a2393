#pragma once
// The one JSON writer of the program: objects keep their keys in the order
// they are written, so the output reads like the contract that lists them.
#include <QString>
#include <QStringList>

#include <optional>

namespace Json {
// A quoted string with JSON escapes.
QString Text(const QString &t);
// The shortest text that reads back to the same double; null when not finite.
QString Number(double v);
QString Number(std::optional<double> v);
// Rounded to `decimals` as fixed-point text rounds it, then written shortest.
QString Rounded(double v, int decimals);
// The shortest text that reads back to the same 32-bit float.
QString Number(float v);
// 9 significant digits: a session float reads back to the same 32-bit value.
QString Float(double v);
QString Bool(bool b);
// Items that are already JSON, in brackets.
QString Array(const QStringList &items);
} // namespace Json

class JsonObject {
public:
    JsonObject &Raw(const char *key, const QString &json);
    JsonObject &Text(const char *key, const QString &t) { return Raw(key, Json::Text(t)); }
    JsonObject &Num(const char *key, std::optional<double> v) { return Raw(key, Json::Number(v)); }
    JsonObject &Float(const char *key, double v) { return Raw(key, Json::Float(v)); }
    JsonObject &Int(const char *key, qint64 v) { return Raw(key, QString::number(v)); }
    JsonObject &Bool(const char *key, bool b) { return Raw(key, Json::Bool(b)); }
    JsonObject &Object(const char *key, const JsonObject &o) { return Raw(key, o.Str()); }
    QString Str() const;

private:
    QStringList parts;
};
