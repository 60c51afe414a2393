#include "logbook/chronofile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <array>
#include <cmath>

namespace {
QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                                  (bytes.size() - 2) / 2);
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

QStringList splitCells(const QString &line, QChar sep)
{
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                cell += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == sep) {
            cells << cell.trimmed();
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells << cell.trimmed();
    return cells;
}

// A number as such files write it: "." or, with ";" between cells, ",".
std::optional<double> number(QString t, bool decimalComma)
{
    if (decimalComma) t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<VelocityUnit> unitIn(const QString &text)
{
    const QString t = text.toLower();
    static const QRegularExpression fps(
        QStringLiteral("(^|[^a-z])(fps|ft/s|feet/s|f/s)([^a-z]|$)"));
    static const QRegularExpression mps(QStringLiteral("(^|[^a-z/])(mps|m/s)([^a-z]|$)"));
    const bool isFps = fps.match(t).hasMatch(), isMps = mps.match(t).hasMatch();
    if (isFps == isMps) return std::nullopt;
    return isFps ? VelocityUnit::Fps : VelocityUnit::Mps;
}

bool namesSpeed(const QString &cell)
{
    const QString c = cell.toLower();
    return c.startsWith(QLatin1String("velocity")) || c.startsWith(QLatin1String("speed")) ||
           c.startsWith(QLatin1String("vel")) || c == QLatin1String("v") ||
           c.startsWith(QLatin1String("v0")) || c.startsWith(QLatin1String("v ("));
}
} // namespace

std::optional<ChronoData> ParseChronoCsv(const QByteArray &bytes, QString *errorText)
{
    auto fail = [&](const QString &why) {
        if (errorText) *errorText = why;
        return std::nullopt;
    };
    QStringList lines = decode(bytes).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    QChar sep;
    if (!lines.isEmpty() && lines.first().startsWith(QLatin1String("sep="), Qt::CaseInsensitive) &&
        lines.first().size() > 4) {
        sep = lines.first()[4];
        lines.removeFirst();
    } else {
        // The separator found on the most lines; tab, then ";", then "," on a tie.
        const std::array<QChar, 3> candidates{QLatin1Char('\t'), QLatin1Char(';'),
                                              QLatin1Char(',')};
        int best = -1;
        for (QChar c : candidates) {
            int n = 0;
            for (const QString &l : lines) n += l.contains(c) ? 1 : 0;
            if (n > best) {
                best = n;
                sep = c;
            }
        }
    }
    const bool decimalComma = sep != QLatin1Char(',');
    std::vector<QStringList> rows;
    for (const QString &l : lines) rows.push_back(splitCells(l, sep));

    ChronoData d;
    qsizetype column = -1;
    size_t start = 0;
    for (size_t r = 0; r < rows.size() && column < 0; ++r) {
        for (qsizetype c = 0; c < rows[r].size(); ++c)
            if (namesSpeed(rows[r][c])) {
                column = c;
                start = r + 1;
                d.Unit = unitIn(rows[r][c]);
                break;
            }
    }
    if (!d.Unit)
        // A line of device data naming the unit ("Units velocity;fps").
        for (const QStringList &row : rows)
            if (row.size() >= 2 && row.first().contains(QLatin1String("unit"), Qt::CaseInsensitive))
                for (qsizetype c = 1; c < row.size() && !d.Unit; ++c) d.Unit = unitIn(row[c]);

    for (size_t r = start; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        if (column < 0) {
            // A plain list: the first cell of each row that is a number.
            if (row.isEmpty() || row.first().isEmpty()) continue;
            const auto v = number(row.first(), decimalComma);
            if (!v)
                return fail(QStringLiteral("Line %1 holds no speed: \"%2\".")
                                .arg(r + 1)
                                .arg(lines[qsizetype(r)].left(60)));
            d.Speeds.push_back(*v);
            continue;
        }
        // Summary and device lines sit among the shots: a shot row has a
        // number in its first cell as well as a speed.
        if (row.size() <= column) continue;
        const auto v = number(row[column], decimalComma);
        if (!v || (column > 0 && !number(row.first(), decimalComma))) continue;
        d.Speeds.push_back(*v);
    }
    if (d.Speeds.empty()) return fail(QStringLiteral("The file holds no speeds."));
    for (double v : d.Speeds)
        if (!(v > 0))
            return fail(
                QStringLiteral("The file holds a speed that is not above zero (%1).").arg(v));
    return d;
}

std::optional<ChronoData> ReadChronoFile(const QString &path, QString *errorText)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (errorText) *errorText = f.errorString();
        return std::nullopt;
    }
    // Velocity files are small; anything huge is not one.
    if (f.size() > 16 * 1024 * 1024) {
        if (errorText) *errorText = QStringLiteral("The file is too large for a velocity file.");
        return std::nullopt;
    }
    return ParseChronoCsv(f.readAll(), errorText);
}
