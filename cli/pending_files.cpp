// File commands until the statistics file exists.
#include "cli/cli.h"

bool CliOpenStats(Session &, CliContext &ctx, const QString &path)
{
    ctx.err << "Open: " << path << " cannot be read by this build." << Qt::endl;
    return false;
}
int CmdResave(const QStringList &, CliContext &) { return CliExit::Usage; }
int CmdExport(const QStringList &, CliContext &) { return CliExit::Usage; }
