#pragma once
// The one option parser of peltrix-cli. A command declares the options it
// takes; everything else on its line is a positional argument.
#include "cli/cli.h"

#include <QMap>
#include <QStringList>
#include <initializer_list>

struct CliOption {
    enum Kind {
        Flag,     // --json
        Value,    // --level 0.95 (given again: the last one counts)
        Repeated, // --aim X,Y --aim X,Y
        List      // --shots X,Y X,Y ... up to the next option
    };
    const char *name;
    Kind kind;
};

class CliArgs {
public:
    // False on a usage error: an option this command does not take, or one
    // without its value.
    bool Parse(const QStringList &args, std::initializer_list<CliOption> options);
    bool Has(const char *name) const { return values.contains(QLatin1String(name)); }
    QString Value(const char *name) const { return Values(name).value(0); }
    QStringList Values(const char *name) const { return values.value(QLatin1String(name)); }
    QStringList Positional;

private:
    QMap<QString, QStringList> values;
};

// The options of a typed group, shared by the commands that take one.
inline constexpr CliOption ShotsOption{"--shots", CliOption::List};
inline constexpr CliOption RangeOption{"--range", CliOption::Value};
inline constexpr CliOption UnitOption{"--unit", CliOption::Value};
inline constexpr CliOption LevelOption{"--level", CliOption::Value};
inline constexpr CliOption JsonOption{"--json", CliOption::Flag};

// True when the line names a typed group (--shots, --range or --unit).
bool HasTypedGroup(const CliArgs &a);
// A started session with the typed group entered as the header form and
// keyboard entry take it; false (message shown) on refused input.
bool BuildTypedGroup(const CliArgs &a, Session &s, CliContext &ctx);
// A started session with FILE.pxs opened; false (message shown) when unreadable.
bool OpenGroupFile(const QString &path, Session &s, CliContext &ctx);
