// The statistical tools until they exist.
#include "cli/cli.h"

int CmdCritical(const QStringList &, CliContext &) { return CliExit::Usage; }
int CmdTTest(const QStringList &, CliContext &) { return CliExit::Usage; }
int CmdFTest(const QStringList &, CliContext &) { return CliExit::Usage; }
