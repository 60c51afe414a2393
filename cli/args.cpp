#include "cli/args.h"

#include "entry/keyboardentry.h"

bool CliArgs::Parse(const QStringList &args, std::initializer_list<CliOption> options)
{
    values.clear();
    Positional.clear();
    auto find = [&](const QString &a) -> const CliOption * {
        for (const CliOption &o : options)
            if (a == QLatin1String(o.name)) return &o;
        return nullptr;
    };
    auto isOption = [&](const QString &a) { return find(a) || a.startsWith(QLatin1String("--")); };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const CliOption *o = find(a);
        if (!o) {
            if (a.startsWith(QLatin1String("--"))) return false;
            Positional << a;
            continue;
        }
        QStringList &v = values[a];
        switch (o->kind) {
        case CliOption::Flag:
            break;
        case CliOption::Value:
        case CliOption::Repeated:
            if (i + 1 >= args.size()) return false;
            if (o->kind == CliOption::Value) v.clear();
            v << args[++i];
            break;
        case CliOption::List:
            while (i + 1 < args.size() && !isOption(args[i + 1])) v << args[++i];
            break;
        }
    }
    return true;
}

bool HasTypedGroup(const CliArgs &a)
{
    return a.Has(ShotsOption.name) || a.Has(RangeOption.name) || a.Has(UnitOption.name);
}

bool BuildTypedGroup(const CliArgs &a, Session &s, CliContext &ctx)
{
    PrepareSession(s);
    if (a.Has(RangeOption.name)) {
        const QString range = a.Value(RangeOption.name);
        // The warning's Ok would go on without MOA; a script that names a
        // range means it, so an invalid one is refused.
        if (ValidateRange(ctx.prompter, range) != RangeValid) return false;
        HeaderTexts h = HeaderFromSession(s);
        h.range = range;
        StoreHeader(s, ctx.prompter, h);
    }
    if (a.Has(UnitOption.name)) s.UnitName = a.Value(UnitOption.name);
    for (const QString &shot : a.Values(ShotsOption.name)) {
        const qsizetype comma = shot.indexOf(QLatin1Char(','));
        if (comma < 0) {
            ctx.err << "Enter X and Y Data: a shot is given as X,Y, not \"" << shot << "\""
                    << Qt::endl;
            return false;
        }
        if (!AddTypedShot(s, ctx.prompter, shot.left(comma), shot.mid(comma + 1))) return false;
    }
    return true;
}

bool OpenGroupFile(const QString &path, Session &s, CliContext &ctx)
{
    PrepareSession(s);
    return CliOpenStats(s, ctx, path);
}
