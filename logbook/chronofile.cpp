#include "logbook/chronofile.h"

#include "platform/localfile.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// What a chronograph measures; other figures in a speed column are not speeds.
constexpr double LowFps = 100, HighFps = 5000, LowMps = 30, HighMps = 1500;

QString decode(const QByteArray &bytes)
{
    QString text;
    if (bytes.startsWith("\xFF\xFE"))
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                                  (bytes.size() - 2) / 2);
    else
        text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    // Some apps begin a later line with the byte-order mark again.
    return text.remove(QChar(0xFEFF));
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

bool isUnitWord(const QString &token)
{
    return unitIn(token) &&
           std::none_of(token.begin(), token.end(), [](QChar c) { return c.isDigit(); });
}

// Cells parted by `sep`; a blank parts them where the file has no other
// separator, a unit then staying with the number or name before it.
QStringList splitCells(const QString &line, QChar sep)
{
    QStringList cells;
    if (sep == QLatin1Char(' ')) {
        for (const QString &t :
             line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            if (!cells.isEmpty() && isUnitWord(t))
                cells.last() += QLatin1Char(' ') + t;
            else
                cells << t;
        return cells.isEmpty() ? QStringList{QString()} : cells;
    }
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

enum Decimal { Point, Comma };

// A number as such files write it with `decimal` as its decimal sign:
// "2801.5", "853,9", grouped thousands ("2,801.5", "2.801,5", "2 801,5",
// "2'801.5"), perhaps with its unit after it ("853,9 m/s", which sets `unit`).
std::optional<double> number(const QString &cell, Decimal decimal,
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
    t = t.left(end).trimmed();
    // Groups of three only: "1 2801.5" is two numbers, not 12801.5.
    static const QRegularExpression point(
        QStringLiteral("^[-+]?(\\d{1,3}([,' \u00a0\u202f]\\d{3})+|\\d+)(\\.\\d+)?$"));
    static const QRegularExpression comma(
        QStringLiteral("^[-+]?(\\d{1,3}([.' \u00a0\u202f]\\d{3})+|\\d+)(,\\d+)?$"));
    if (!(decimal == Point ? point : comma).match(t).hasMatch()) return std::nullopt;
    static const QRegularExpression blanks(QStringLiteral("[' \u00a0\u202f]"));
    t.remove(blanks);
    t.remove(decimal == Point ? QLatin1Char(',') : QLatin1Char('.'));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    if (unit && named) *unit = named;
    return v;
}

std::optional<double> anyNumber(const QString &cell)
{
    const auto v = number(cell, Point);
    return v ? v : number(cell, Comma);
}

bool plausible(double v) { return v >= LowMps && v <= HighFps; }

// The decimal sign of the whole file, decided once from all its numbers: the
// one every number reads with; where both do ("2801", "2,801", "853.125"),
// the one that makes the speeds plausible, else the custom of the separator.
// `bad` is the first number that does not read as the others do.
struct Decision {
    Decimal decimal;
    qsizetype bad = -1;
};
Decision decide(const std::vector<QString> &texts, const std::vector<bool> &isSpeed, Decimal custom)
{
    qsizetype fits[2] = {0, 0};
    bool sane[2] = {true, true};
    for (size_t i = 0; i < texts.size(); ++i)
        for (Decimal d : {Point, Comma})
            if (const auto v = number(texts[i], d)) {
                ++fits[d];
                if (isSpeed[i] && !plausible(*v)) sane[d] = false;
            }
    const auto n = qsizetype(texts.size());
    Decision r{custom};
    if (fits[Point] == n && fits[Comma] == n) {
        if (sane[Point] != sane[Comma]) r.decimal = sane[Point] ? Point : Comma;
    } else if (fits[Point] == n || fits[Comma] == n) {
        r.decimal = fits[Point] == n ? Point : Comma;
    } else {
        if (fits[Point] != fits[Comma]) r.decimal = fits[Point] > fits[Comma] ? Point : Comma;
        for (qsizetype i = 0; i < n && r.bad < 0; ++i)
            if (!number(texts[size_t(i)], r.decimal)) r.bad = i;
    }
    return r;
}

bool namesSpeed(const QString &cell)
{
    const QString c = cell.toLower();
    return c.startsWith(QLatin1String("velocity")) || c.startsWith(QLatin1String("speed")) ||
           c.startsWith(QLatin1String("vel")) || c == QLatin1String("v") ||
           c.startsWith(QLatin1String("v0")) || c.startsWith(QLatin1String("v ("));
}

const QRegularExpression &shotPattern()
{
    static const QRegularExpression shot(
        QStringLiteral("^(shot|no\\.?|#)?\\s*#?\\s*(\\d+)([a-z]?)$"),
        QRegularExpression::CaseInsensitiveOption);
    return shot;
}

// "Shot 3", "#3", "No. 3", "0003": the cell that names a shot.
bool isShotId(const QString &cell) { return shotPattern().match(cell.trimmed()).hasMatch(); }

// The shot's number where the cell is one ("3", "Shot 3", "#3").
std::optional<qint64> shotNumber(const QString &cell)
{
    const auto m = shotPattern().match(cell.trimmed());
    if (!m.hasMatch() || !m.captured(3).isEmpty()) return std::nullopt;
    return m.captured(2).toLongLong();
}

// A label of summary figures or device data rather than of a shot: letters
// that are not "Shot 3", "#3" or "No. 3".
bool isLabel(const QString &cell)
{
    const QString c = cell.trimmed();
    return std::any_of(c.begin(), c.end(), [](QChar ch) { return ch.isLetter(); }) && !isShotId(c);
}

// The label of a summary line.
bool isSummary(const QString &cell)
{
    static const QRegularExpression words(
        QStringLiteral("^(avg|average|mean|sd|std|stdev|standard|es|extreme|spread|hi|high|"
                       "highest|lo|low|lowest|max|min|maximum|minimum|total|count|n|shots)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(cell.trimmed()).hasMatch();
}

// A summary label standing after the figure ("2798.3,Average"): the whole
// cell is the label, so that a note such as "high wind" is no summary.
bool laterSummary(const QStringList &row, qsizetype column)
{
    static const QRegularExpression label(
        QStringLiteral(
            "^(stats?\\s*[-:]\\s*)?(avg|average|mean|sd|std\\.?\\s*dev\\.?|standard\\s+"
            "deviation|es|extreme\\s+spread|spread|hi|high|highest|lo|low|lowest|max|"
            "min|maximum|minimum|total|count|n|shots)(\\s+(speed|velocity|vel))?\\s*:?$"),
        QRegularExpression::CaseInsensitiveOption);
    for (qsizetype c = 1; c < row.size(); ++c)
        if (c != column && label.match(row[c].trimmed()).hasMatch()) return true;
    return false;
}

bool hasWordOrNumber(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.isLetterOrNumber(); });
}

bool isEmptyRow(const QStringList &row)
{
    return std::all_of(row.begin(), row.end(), [](const QString &c) { return c.isEmpty(); });
}

// A number of the file and the line it stands on.
struct Figure {
    QString text;
    size_t row;
    bool speed;
};
} // namespace

namespace {
// The file's lines cut into cells.
struct Table {
    QStringList lines;
    std::vector<QStringList> rows;
    QChar sep;
    int skipped = 0; // lines before the first of `lines`
    Decimal custom = Point;

    QString cell(size_t r, qsizetype c) const
    {
        return r < rows.size() && c < rows[r].size() ? rows[r][c] : QString();
    }
    // The next row after `r` with anything in it.
    size_t next(size_t r) const
    {
        while (++r < rows.size() && isEmptyRow(rows[r])) {}
        return r;
    }
    size_t line(size_t r) const { return r + 1 + size_t(skipped); }
    QString noSpeed(size_t r) const
    {
        return QStringLiteral("Line %1 holds no speed: \"%2\".")
            .arg(line(r))
            .arg(lines[qsizetype(r)].trimmed().left(60));
    }
};

Table readTable(const QByteArray &bytes)
{
    Table t;
    t.lines = decode(bytes).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    QStringList &lines = t.lines;
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    if (!lines.isEmpty() && lines.first().startsWith(QLatin1String("sep="), Qt::CaseInsensitive) &&
        lines.first().size() > 4) {
        t.sep = lines.first()[4];
        lines.removeFirst();
        t.skipped = 1;
    } else {
        // The separator found on the most lines; tab, then ";", then "," on a
        // tie; blanks where none is.
        const std::array<QChar, 3> candidates{QLatin1Char('\t'), QLatin1Char(';'),
                                              QLatin1Char(',')};
        int best = -1;
        for (QChar c : candidates) {
            int n = 0;
            for (const QString &l : lines) n += l.contains(c) ? 1 : 0;
            if (n > best) {
                best = n;
                t.sep = c;
            }
        }
        if (best == 0) t.sep = QLatin1Char(' ');
    }
    t.custom = t.sep == QLatin1Char(';') || t.sep == QLatin1Char('\t') ? Comma : Point;
    for (const QString &l : lines) t.rows.push_back(splitCells(l, t.sep));
    return t;
}

// The header's speed column, the row its speeds start on and the unit the
// header or the device data name.
struct SpeedColumn {
    qsizetype column = -1;
    size_t start = 0;
    std::optional<VelocityUnit> unit;
};

SpeedColumn findSpeedColumn(const Table &t)
{
    // The header names a speed column that the rows below fill with numbers,
    // perhaps after a row of units; "Velocity unit;fps" among device data is
    // no header.
    SpeedColumn s;
    const auto &rows = t.rows;
    for (size_t r = 0; r < rows.size() && s.column < 0; ++r)
        for (qsizetype c = 0; c < rows[r].size() && s.column < 0; ++c) {
            if (!namesSpeed(rows[r][c])) continue;
            size_t first = t.next(r);
            const auto unitRow = unitIn(t.cell(first, c));
            if (unitRow && !anyNumber(t.cell(first, c))) first = t.next(first);
            if (!anyNumber(t.cell(first, c))) continue;
            s.column = c;
            s.start = first;
            s.unit = unitIn(rows[r][c]) ? unitIn(rows[r][c]) : unitRow;
            // Words parted by blanks: the header is the whole line ("Speed in m/s").
            if (!s.unit && t.sep == QLatin1Char(' ')) s.unit = unitIn(t.lines[qsizetype(r)]);
        }
    if (!s.unit)
        // A line of device data naming the unit ("Units velocity;fps").
        for (const QStringList &row : rows)
            if (row.size() >= 2 && row.first().contains(QLatin1String("unit"), Qt::CaseInsensitive))
                for (qsizetype c = 1; c < row.size() && !s.unit; ++c) s.unit = unitIn(row[c]);
    return s;
}

// No header: one speed a row, or a shot number and its speed. Text before the
// first speed is a title (which may name the unit); after it only summary
// lines. False with the reason.
bool listFigures(const Table &t, std::optional<VelocityUnit> &unit, std::vector<Figure> &figures,
                 QString &why)
{
    const auto &rows = t.rows;
    const QChar sep = t.sep;
    const bool inNumbers = sep == QLatin1Char(',') || sep == QLatin1Char(' ');
    std::vector<size_t> data;
    std::optional<VelocityUnit> titled;
    for (size_t r = 0; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        if (!hasWordOrNumber(row.join(QString()))) continue; // blank or a rule of dashes
        if (isSummary(row.first()) || laterSummary(row, 0)) continue;
        if (anyNumber(row.first()) || shotNumber(row.first()) ||
            (inNumbers && anyNumber(row.join(sep)))) {
            data.push_back(r);
        } else if (data.empty()) {
            if (!titled) titled = unitIn(t.lines[qsizetype(r)]);
        } else {
            return why = t.noSpeed(r), false;
        }
    }
    if (!unit) unit = titled;
    // Shot numbers before the speeds: whole, rising (a list may start at 6
    // or skip a number), each below the speed beside it.
    bool numbered = !data.empty();
    qint64 last = -1;
    for (size_t r : data) {
        const auto k = shotNumber(rows[r].first());
        const auto v = rows[r].size() > 1 ? anyNumber(rows[r][1]) : std::nullopt;
        numbered = numbered && k && rows[r].size() > 1 && *k > last && (!v || *v > *k);
        if (numbered) last = *k;
    }
    // Else a number of its own on each line, the separator inside it
    // ("853,9", "2,801.5", "2 801,5")...
    std::vector<QString> whole;
    std::vector<bool> speeds;
    bool joined = !numbered && inNumbers;
    static const QRegularExpression longDecimals(QStringLiteral(",\\d{4,}\\D*$"));
    for (size_t r : data) {
        whole.push_back(rows[r].join(sep));
        speeds.push_back(true);
        joined = joined && rows[r].size() <= 2 && !whole.back().contains(longDecimals);
    }
    bool readAsOne = false;
    if (joined &&
        std::any_of(data.begin(), data.end(), [&](size_t r) { return rows[r].size() == 2; })) {
        const Decision one = decide(whole, speeds, t.custom);
        const bool each = std::all_of(whole.begin(), whole.end(),
                                      [](const QString &w) { return bool(anyNumber(w)); });
        if (one.bad >= 0 && each) return why = t.noSpeed(data[size_t(one.bad)]), false;
        readAsOne = one.bad < 0;
        if (readAsOne)
            for (const QString &w : whole)
                readAsOne = readAsOne && plausible(*number(w, one.decimal));
    }
    // ...else the first cell the speed.
    for (size_t k = 0; k < data.size(); ++k) {
        const size_t r = data[k];
        const QString text = numbered ? rows[r][1] : readAsOne ? whole[k] : rows[r].first();
        if (!anyNumber(text)) return why = t.noSpeed(r), false;
        figures.push_back({text, r, true});
    }
    return true;
}

// Under a header: summary and device lines sit among the shots. A shot row is
// not labelled with words ("AVERAGE SPEED", "Stats - Highest"), nor does it
// lack the shot's number the others have. Should every row have words first
// (a date as "Dec 7"), the shots are those not labelled as summary figures.
bool columnFigures(const Table &t, const SpeedColumn &s, std::vector<Figure> &figures, QString &why)
{
    const qsizetype column = s.column;
    const bool ids = column > 0 && isShotId(t.cell(s.start, 0));
    std::vector<Figure> labelled;
    std::optional<size_t> suspect; // a line without a speed, before more speeds
    for (size_t r = s.start; r < t.rows.size(); ++r) {
        const QStringList &row = t.rows[r];
        if (row.size() <= column || !hasWordOrNumber(row[column])) continue;
        const bool summary = (column > 0 && isLabel(row.first()) && isSummary(row.first())) ||
                             laterSummary(row, column) || (ids && row.first().isEmpty());
        if (!anyNumber(row[column])) {
            if (summary || (column == 0 && isSummary(row[column]))) continue;
            if (column > 0 && isShotId(row.first())) return why = t.noSpeed(r), false;
            if (column == 0 && !suspect) suspect = r;
            continue;
        }
        if (suspect) return why = t.noSpeed(*suspect), false;
        if (summary)
            figures.push_back({row[column], r, false});
        else if (column == 0 || !isLabel(row.first()))
            figures.push_back({row[column], r, true});
        else
            labelled.push_back({row[column], r, true});
    }
    const bool anyShot =
        std::any_of(figures.begin(), figures.end(), [](const Figure &f) { return f.speed; });
    if (!anyShot)
        figures.insert(figures.end(), labelled.begin(), labelled.end());
    else
        for (Figure &f : labelled) figures.push_back({f.text, f.row, false});
    return true;
}

// Every speed within what a chronograph measures, in the file's unit or,
// where it names none, all in one of them; else the reason.
QString outOfRange(const Table &t, const std::vector<std::pair<double, size_t>> &shots,
                   const std::optional<VelocityUnit> &unit)
{
    auto within = [](double v, VelocityUnit u) {
        return u == VelocityUnit::Fps ? v >= LowFps && v <= HighFps : v >= LowMps && v <= HighMps;
    };
    auto count = [&](VelocityUnit u) {
        return std::count_if(shots.begin(), shots.end(),
                             [&](const auto &s) { return within(s.first, u); });
    };
    const auto fps = count(VelocityUnit::Fps), mps = count(VelocityUnit::Mps);
    const auto n = qsizetype(shots.size());
    const VelocityUnit judged = unit                     ? *unit
                                : fps == n || fps >= mps ? VelocityUnit::Fps
                                                         : VelocityUnit::Mps;
    if (!unit && (fps == n || mps == n)) return {};
    for (const auto &[v, r] : shots)
        if (!within(v, judged))
            return unit ? QStringLiteral("Line %1 holds the speed %2 %3, outside the %4\u2013%5 "
                                         "%3 a chronograph measures.")
                              .arg(t.line(r))
                              .arg(v)
                              .arg(judged == VelocityUnit::Fps ? QStringLiteral("fps")
                                                               : QStringLiteral("m/s"))
                              .arg(judged == VelocityUnit::Fps ? LowFps : LowMps)
                              .arg(judged == VelocityUnit::Fps ? HighFps : HighMps)
                        : QStringLiteral("Line %1 holds the speed %2, outside what a chronograph "
                                         "measures (100\u20135000 fps, 30\u20131500 m/s).")
                              .arg(t.line(r))
                              .arg(v);
    return {};
}
} // namespace

std::optional<ChronoData> ParseChronoCsv(const QByteArray &bytes, QString *errorText)
{
    auto fail = [&](const QString &why) -> std::optional<ChronoData> {
        if (errorText) *errorText = why;
        return std::nullopt;
    };
    const Table t = readTable(bytes);
    const SpeedColumn s = findSpeedColumn(t);
    ChronoData d;
    d.Unit = s.unit;
    std::vector<Figure> figures; // the shots' speeds and the summary figures beside them
    QString why;
    if (!(s.column < 0 ? listFigures(t, d.Unit, figures, why) : columnFigures(t, s, figures, why)))
        return fail(why);

    std::vector<QString> texts;
    std::vector<bool> speeds;
    for (const Figure &f : figures) {
        texts.push_back(f.text);
        speeds.push_back(f.speed);
    }
    const Decision how = decide(texts, speeds, t.custom);
    if (how.bad >= 0)
        return fail(QStringLiteral("Line %1 writes its number otherwise than the file's other "
                                   "lines: \"%2\".")
                        .arg(t.line(figures[size_t(how.bad)].row))
                        .arg(texts[size_t(how.bad)]));
    std::optional<VelocityUnit> cellUnit;
    std::vector<std::pair<double, size_t>> shots;
    for (const Figure &f : figures)
        if (f.speed) shots.emplace_back(*number(f.text, how.decimal, &cellUnit), f.row);
    if (!d.Unit) d.Unit = cellUnit;
    if (shots.empty()) return fail(QStringLiteral("The file holds no speeds."));
    if (const QString no = outOfRange(t, shots, d.Unit); !no.isEmpty()) return fail(no);
    for (const auto &shot : shots) d.Speeds.push_back(shot.first);
    return d;
}

std::optional<ChronoData> ReadChronoFile(const QString &path, QString *errorText)
{
    // Velocity files are small; anything huge is not one.
    const auto bytes =
        ReadRegularFile(path, 16 << 20, errorText, Beyond::Refuse,
                        QStringLiteral("The file is too large for a velocity file."));
    if (!bytes) return std::nullopt;
    return ParseChronoCsv(*bytes, errorText);
}
