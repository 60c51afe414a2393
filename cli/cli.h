#pragma once
// peltrix-cli: the headless companion, in-process callable for tests.
#include "model/session.h"
#include "platform/prompter.h"

#include <QStringList>
#include <QTextStream>
#include <deque>

// Messages the GUI would show in a box go to stderr as "Title: text".
class CliPrompter : public Prompter {
public:
    explicit CliPrompter(QTextStream &err) : err(err) {}
    int MsgBox(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultAnswer) override;
    std::optional<QColor> ChooseColor(const QColor &initial) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &suggested,
                                        const QString &filter) override;
    void Beep() override {}
    // The answers input boxes get, in order; none left means Cancel.
    std::deque<QString> inputAnswers;
    int messageCount = 0;

private:
    QTextStream &err;
};

namespace CliExit {
constexpr int Ok = 0;
constexpr int Refused = 1;
constexpr int Usage = 2;
} // namespace CliExit

struct CliContext {
    QTextStream &out;
    QTextStream &err;
    CliPrompter &prompter;
    // What RunCli names a usage error after: the command, "log add" for a
    // subcommand, so that only its usage lines follow.
    QString command;
    // What is wrong with the line, as "--bullet is required".
    QString usageError;
    int Usage(const QString &why)
    {
        usageError = why;
        return CliExit::Usage;
    }
};

// Runs one command line (without the program name).
int RunCli(const QStringList &args, QTextStream &out, QTextStream &err);

// A session as the program has it after start-up.
void PrepareSession(Session &s);
// The stats JSON of CLI.md.
QString StatsJson(const Session &s);

// Commands of the subsystems, one file each.
int CmdStats(const QStringList &args, CliContext &ctx);
int CmdReport(const QStringList &args, CliContext &ctx);
int CmdResave(const QStringList &args, CliContext &ctx);
int CmdExport(const QStringList &args, CliContext &ctx);
int CmdCritical(const QStringList &args, CliContext &ctx);
int CmdTTest(const QStringList &args, CliContext &ctx);
int CmdFTest(const QStringList &args, CliContext &ctx);
int CmdAnalyze(const QStringList &args, CliContext &ctx);
int CmdPlot(const QStringList &args, CliContext &ctx);
int CmdCsv(const QStringList &args, CliContext &ctx);
int CmdRender(const QStringList &args, CliContext &ctx);
int CmdDetect(const QStringList &args, CliContext &ctx);
int CmdSheet(const QStringList &args, CliContext &ctx);
int CmdStraighten(const QStringList &args, CliContext &ctx);
int CmdLog(const QStringList &args, CliContext &ctx);
int CmdChrono(const QStringList &args, CliContext &ctx);
// The logbook of the log and chrono commands: `given` (--db), else the user's.
QString LogbookDatabasePath(const QString &given);
// Opens FILE.pxs into `s` as the Open command does. False (message shown)
// when it cannot be read.
bool CliOpenStats(Session &s, CliContext &ctx, const QString &path);
