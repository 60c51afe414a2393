#include "cli/args.h"

#include "entry/keyboardentry.h"

bool CliArgs::Parse(const QStringList &args, std::initializer_list<CliOption> options)
{
    values.clear();
    Positional.clear();
    Error.clear();
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
            if (a.startsWith(QLatin1String("--")))
                return fail(QStringLiteral("unknown option ") + a);
            Positional << a;
            continue;
        }
        QStringList &v = values[a];
        switch (o->kind) {
        case CliOption::Flag:
            break;
        case CliOption::Value:
        case CliOption::Once:
        case CliOption::Repeated:
            if (i + 1 >= args.size()) return fail(a + QStringLiteral(" needs a value"));
            if (o->kind == CliOption::Once && !v.isEmpty())
                return fail(a + QStringLiteral(" is given twice"));
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

QString PositionalProblem(const QStringList &given, std::initializer_list<const char *> names)
{
    qsizetype k = 0;
    bool more = false;
    for (const char *n : names) {
        QString name = QString::fromLatin1(n);
        more = name.endsWith(QLatin1String("..."));
        if (more) name.chop(3);
        if (k >= given.size()) return name + QStringLiteral(" is required");
        ++k;
    }
    if (!more && k < given.size()) return QStringLiteral("unexpected argument ") + given[k];
    return {};
}

bool CliArgs::Expect(std::initializer_list<const char *> names)
{
    const QString why = PositionalProblem(Positional, names);
    return why.isEmpty() || fail(why);
}

bool CliArgs::Require(std::initializer_list<const char *> names)
{
    for (const char *n : names)
        if (!Has(n)) return fail(QLatin1String(n) + QStringLiteral(" is required"));
    return true;
}

bool CliArgs::OneOf(const char *a, const char *b)
{
    if (Has(a) != Has(b)) return true;
    return fail(
        QString::fromLatin1(Has(a) ? "%1 and %2 cannot go together" : "%1 or %2 is required")
            .arg(QLatin1String(a), QLatin1String(b)));
}

bool CliArgs::NotBoth(const char *a, const char *b) { return !Has(a) || !Has(b) || OneOf(a, b); }

bool CliArgs::fail(const QString &why)
{
    Error = why;
    return false;
}

bool HasTypedGroup(const CliArgs &a)
{
    return a.Has(ShotsOption.name) || a.Has(RangeOption.name) || a.Has(UnitOption.name);
}

bool ExpectGroup(CliArgs &a, bool typed, bool several)
{
    const QStringList &files = a.Positional;
    if (!several && files.size() > 1) {
        a.Error = QStringLiteral("unexpected argument ") + files[1];
    } else if (!files.isEmpty() && HasTypedGroup(a)) {
        for (const CliOption &o : {ShotsOption, RangeOption, UnitOption})
            if (a.Has(o.name)) {
                a.Error =
                    QStringLiteral("FILE.pxs and %1 cannot go together").arg(QLatin1String(o.name));
                break;
            }
    } else if (files.isEmpty() && !typed) {
        a.Error = a.Has(ShotsOption.name) ? QStringLiteral("--shots needs a shot X,Y")
                                          : QStringLiteral("FILE.pxs or --shots is required");
    } else {
        return true;
    }
    return false;
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
