#include "platform/codec1252.h"

#include <optional>

namespace {
// 0x80-0x9F; everything else is Latin-1. The five holes map to themselves,
// as the system conversion does, so every byte survives a round trip.
constexpr char16_t High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

QString FromCp1252(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b <= 0x9F) ? QChar(High[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

namespace {
// The byte of a character, or nothing when the code page has none.
std::optional<char> byteOf(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return char(u);
    for (int k = 0; k < 32; ++k)
        if (High[k] == u) return char(0x80 + k);
    return std::nullopt;
}
} // namespace

QByteArray ToCp1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) out.append(byteOf(c.unicode()).value_or('?'));
    return out;
}

bool FitsCp1252(const QString &text)
{
    for (QChar c : text)
        if (!byteOf(c.unicode())) return false;
    return true;
}

bool StartsWithUtf8Mark(const QByteArray &bytes) { return bytes.startsWith(Utf8Mark); }

QByteArray EncodeTextFile(const QString &text)
{
    if (FitsCp1252(text)) return ToCp1252(text);
    return QByteArray(Utf8Mark) + text.toUtf8();
}
