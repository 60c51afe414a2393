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
        Once,     // --bullet 0.308 (given again: a usage error)
        Repeated, // --aim X,Y --aim X,Y
        List      // --shots X,Y X,Y ... up to the next option
    };
    const char *name;
    Kind kind;
};

// Each check returns false on a usage error and leaves its text in Error
// ("unknown option --foo"), for the command to hand to CliContext::Usage.
class CliArgs {
public:
    // An option this command does not take, one without its value, or a
    // once-only one given again.
    bool Parse(const QStringList &args, std::initializer_list<CliOption> options);
    // The positional arguments are exactly these; a name ending in "..."
    // stands for one or more.
    bool Expect(std::initializer_list<const char *> names);
    // Every one of these options is given.
    bool Require(std::initializer_list<const char *> names);
    // Exactly one of the two is given.
    bool OneOf(const char *a, const char *b);
    // Not both of the two are given.
    bool NotBoth(const char *a, const char *b);
    bool Has(const char *name) const { return values.contains(QLatin1String(name)); }
    QString Value(const char *name) const { return Values(name).value(0); }
    QStringList Values(const char *name) const { return values.value(QLatin1String(name)); }
    QStringList Positional;
    QString Error;

private:
    bool fail(const QString &why);
    QMap<QString, QStringList> values;
};

// The usage error of positional arguments that are not exactly `names`
// (see CliArgs::Expect); empty when they are.
QString PositionalProblem(const QStringList &given, std::initializer_list<const char *> names);

// The options of a typed group, shared by the commands that take one.
inline constexpr CliOption ShotsOption{"--shots", CliOption::List};
inline constexpr CliOption RangeOption{"--range", CliOption::Value};
inline constexpr CliOption UnitOption{"--unit", CliOption::Value};
inline constexpr CliOption LevelOption{"--level", CliOption::Value};
inline constexpr CliOption JsonOption{"--json", CliOption::Flag};

// True when the line names a typed group (--shots, --range or --unit).
bool HasTypedGroup(const CliArgs &a);
// The line names one file (any number with `several`) or a typed group,
// which `typed` says it has, never both. False with the usage error otherwise.
bool ExpectGroup(CliArgs &a, bool typed, bool several);
// A started session with the typed group entered as the header form and
// keyboard entry take it; false (message shown) on refused input.
bool BuildTypedGroup(const CliArgs &a, Session &s, CliContext &ctx);
// A started session with FILE.pxs opened; false (message shown) when unreadable.
bool OpenGroupFile(const QString &path, Session &s, CliContext &ctx);
