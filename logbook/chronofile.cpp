#include "logbook/chronofile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
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

// A number as such files write it: "2801.5", "2801,5" (a decimal comma, the
// rule where ";" or tabs part the cells), "2,801.5" or "2.801,5" (grouped
// thousands), perhaps with its unit after it ("853,9 m/s", which sets `unit`).
std::optional<double> number(const QString &cell, bool decimalComma,
                             std::optional<VelocityUnit> *unit = nullptr)
{
    QString t = cell.trimmed();
    qsizetype end = 0;
    while (end < t.size() &&
           (t[end].isDigit() || QStringLiteral(".,+-' \u00a0\u202f").contains(t[end])))
        ++end;
    const QString rest = t.mid(end).trimmed();
    std::optional<VelocityUnit> named;
    if (!rest.isEmpty() && !(named = unitIn(rest))) return std::nullopt;
    t.truncate(end);
    t.remove(QRegularExpression(QStringLiteral("[ '\u00a0\u202f]")));
    const qsizetype comma = t.lastIndexOf(QLatin1Char(',')), dot = t.lastIndexOf(QLatin1Char('.'));
    static const QRegularExpression groupedComma(QStringLiteral("^[-+]?\\d{1,3}(,\\d{3})+$"));
    static const QRegularExpression groupedDot(QStringLiteral("^[-+]?\\d{1,3}(\\.\\d{3})+$"));
    if (comma >= 0 && dot >= 0) {
        // Both: the last is the decimal sign, the other groups thousands.
        t.remove(comma > dot ? QLatin1Char('.') : QLatin1Char(','));
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (comma >= 0) {
        if (!decimalComma && groupedComma.match(t).hasMatch())
            t.remove(QLatin1Char(','));
        else
            t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (dot >= 0 && decimalComma && groupedDot.match(t).hasMatch()) {
        t.remove(QLatin1Char('.'));
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    if (unit && named) *unit = named;
    return v;
}

bool namesSpeed(const QString &cell)
{
    const QString c = cell.toLower();
    return c.startsWith(QLatin1String("velocity")) || c.startsWith(QLatin1String("speed")) ||
           c.startsWith(QLatin1String("vel")) || c == QLatin1String("v") ||
           c.startsWith(QLatin1String("v0")) || c.startsWith(QLatin1String("v ("));
}

// A label of summary figures or device data rather than of a shot: letters
// that are not "Shot 3", "#3" or "No. 3".
bool isLabel(const QString &cell)
{
    static const QRegularExpression shot(QStringLiteral("^(shot|no\\.?|#)?\\s*#?\\s*\\d+[a-z]?$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString c = cell.trimmed();
    return std::any_of(c.begin(), c.end(), [](QChar ch) { return ch.isLetter(); }) &&
           !shot.match(c).hasMatch();
}

// The label of a summary line after a plain list of speeds.
bool isSummary(const QString &cell)
{
    static const QRegularExpression words(
        QStringLiteral("^(avg|average|mean|sd|std|stdev|standard|es|extreme|spread|hi|high|"
                       "highest|lo|low|lowest|max|min|maximum|minimum|total|count|n|shots)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(cell.trimmed()).hasMatch();
}

bool isEmptyRow(const QStringList &row)
{
    return std::all_of(row.begin(), row.end(), [](const QString &c) { return c.isEmpty(); });
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
    // The next row after `r` with anything in it.
    auto next = [&](size_t r) {
        while (++r < rows.size() && isEmptyRow(rows[r])) {}
        return r;
    };
    auto cellAt = [&](size_t r, qsizetype c) {
        return r < rows.size() && c < rows[r].size() ? rows[r][c] : QString();
    };
    // The header names a speed column that the rows below fill with numbers,
    // perhaps after a row of units; "Velocity unit;fps" among device data is
    // no header.
    qsizetype column = -1;
    size_t start = 0;
    for (size_t r = 0; r < rows.size() && column < 0; ++r)
        for (qsizetype c = 0; c < rows[r].size() && column < 0; ++c) {
            if (!namesSpeed(rows[r][c])) continue;
            size_t first = next(r);
            const auto unitRow = unitIn(cellAt(first, c));
            if (unitRow && !number(cellAt(first, c), decimalComma)) first = next(first);
            if (!number(cellAt(first, c), decimalComma)) continue;
            column = c;
            start = first;
            d.Unit = unitIn(rows[r][c]) ? unitIn(rows[r][c]) : unitRow;
        }
    if (!d.Unit)
        // A line of device data naming the unit ("Units velocity;fps").
        for (const QStringList &row : rows)
            if (row.size() >= 2 && row.first().contains(QLatin1String("unit"), Qt::CaseInsensitive))
                for (qsizetype c = 1; c < row.size() && !d.Unit; ++c) d.Unit = unitIn(row[c]);

    std::optional<VelocityUnit> cellUnit;
    if (column < 0) {
        // No header: one speed a row, or a shot number and its speed. Text
        // before the first speed is a title; after it only summary lines.
        std::vector<std::pair<double, std::optional<double>>> found; // first, second cell
        for (size_t r = 0; r < rows.size(); ++r) {
            const QStringList &row = rows[r];
            const QString text = row.join(QString());
            if (!std::any_of(text.begin(), text.end(),
                             [](QChar ch) { return ch.isLetterOrNumber(); }))
                continue; // blank or a rule of dashes
            if (const auto v = number(row.first(), decimalComma, &cellUnit)) {
                found.emplace_back(*v, row.size() > 1 ? number(row[1], decimalComma, &cellUnit)
                                                      : std::nullopt);
                continue;
            }
            if (found.empty() || isSummary(row.first())) continue;
            return fail(QStringLiteral("Line %1 holds no speed: \"%2\".")
                            .arg(r + 1)
                            .arg(lines[qsizetype(r)].left(60)));
        }
        // Shot numbers 1, 2, 3... before each speed.
        bool numbered = !found.empty();
        for (size_t k = 0; k < found.size() && numbered; ++k)
            numbered = found[k].second && found[k].first == double(k + 1);
        for (const auto &[first, second] : found) d.Speeds.push_back(numbered ? *second : first);
    } else {
        // Summary and device lines sit among the shots: a shot row is not
        // labelled with words ("AVERAGE SPEED", "Stats - Highest"). Should
        // every row have words first (a date as "Dec 7"), the shots are
        // those not labelled as summary figures.
        std::vector<double> labelled;
        for (size_t r = start; r < rows.size(); ++r) {
            const QStringList &row = rows[r];
            if (row.size() <= column) continue;
            const auto v = number(row[column], decimalComma, &cellUnit);
            if (!v) continue;
            if (column == 0 || !isLabel(row.first()))
                d.Speeds.push_back(*v);
            else if (!isSummary(row.first()))
                labelled.push_back(*v);
        }
        if (d.Speeds.empty()) d.Speeds = labelled;
    }
    if (!d.Unit) d.Unit = cellUnit;
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
