#include "logbook/logbookactions.h"

#include "analysis/groupanalysis.h"
#include "files/statsfile.h"
#include "logbook/chronofile.h"
#include "model/session.h"
#include "model/textnum.h"
#include "platform/prompter.h"

#include <QFileInfo>

namespace {
const QString Title = QStringLiteral("Logbook");
const QString ImportTitle = QStringLiteral("Import Velocities");

void tell(Prompter &prompter, const QString &text)
{
    prompter.MsgBox(text, Title, Buttons::Ok, Icon::Exclamation);
}
} // namespace

OpenedFrom OpenEntry(Session &s, const LogbookEntry &e, Prompter &prompter)
{
    // The file it came from carries its image and calibration too.
    if (!e.Source.isEmpty() && QFileInfo::exists(e.Source)) {
        if (!OpenStatsFileOrTell(s, e.Source, prompter)) return OpenedFrom::Nothing;
        s.StatsSaved = true;
        return OpenedFrom::File;
    }
    ResetSession(s);
    SetHeader(s, {e.Shooter, e.DateText, e.Firearm, e.Caliber, e.Lot, e.Comments,
                  float(e.RangeYards.value_or(0)), e.RangeYards.has_value()});
    s.UnitName = e.UnitName;
    SetGroupShots(s, e.Shots);
    s.StatsSaved = false;
    return OpenedFrom::Logbook;
}

std::optional<VelocitySeries> ImportVelocities(Logbook &book, Prompter &prompter, qint64 groupId,
                                               const QString &loadHint, const QString &folder)
{
    VelocitySeries v;
    v.GroupId = groupId;
    if (groupId == 0) {
        const auto load = prompter.InputBox(
            QStringLiteral("Select one group to attach the velocities to it, or name the load "
                           "they belong to:"),
            ImportTitle, loadHint);
        if (!load || load->trimmed().isEmpty()) return std::nullopt;
        v.Load = load->trimmed();
    }
    const auto file = prompter.OpenFileName(
        ImportTitle, folder, QStringLiteral("Velocity files (*.csv *.txt);;All files (*)"));
    if (!file) return std::nullopt;
    QString why;
    const auto data = ReadChronoFile(*file, &why);
    if (!data) {
        tell(prompter, QStringLiteral("%1 cannot be read as a velocity file: %2").arg(*file, why));
        return std::nullopt;
    }
    if (data->Unit) {
        v.Unit = *data->Unit;
    } else {
        const int a = prompter.MsgBox(
            QStringLiteral("The file does not name its unit.\r\rAre the speeds in feet per "
                           "second? (No: metres per second)"),
            ImportTitle, Buttons::YesNoCancel, Icon::None);
        if (a == Answer::Cancel) return std::nullopt;
        v.Unit = a == Answer::Yes ? VelocityUnit::Fps : VelocityUnit::Mps;
    }
    v.Speeds = data->Speeds;
    v.Source = QFileInfo(*file).absoluteFilePath();
    if (!book.AddVelocities(v, &v.Id)) {
        tell(prompter, book.ErrorString());
        return std::nullopt;
    }
    return v;
}
