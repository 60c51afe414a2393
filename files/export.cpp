#include "files/export.h"

#include "config/textrecords.h"
#include "model/textnum.h"
#include "platform/localfile.h"
#include "platform/prompter.h"
#include "platform/wholefile.h"
#include "stats/groupstats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ExportFileName(const QString &statsFileName)
{
    const qsizetype dot = statsFileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? statsFileName.left(dot) : statsFileName;
    return base + QStringLiteral(".txt");
}

QString ExportAnswerName(const QString &answer)
{
    const qsizetype n = answer.size();
    bool append;
    if (n == 1)
        append = true;
    else if (n <= 3)
        append = !answer.contains(QLatin1Char('.'));
    else
        append = !answer.right(4).contains(QLatin1Char('.'));
    return append ? answer + QStringLiteral(".txt") : answer;
}

QString ExportMoaText(const Session &s)
{
    const auto moa = GroupSizeMOA(s);
    if (!moa) return QString();
    return QStringLiteral("MOA: ") + StrNum(*moa, 15);
}

QByteArray ExportBytes(const Session &s)
{
    RecordWriter w;
    auto labelled = [&w](const char *label, const QString &value) {
        w.Text(QString::fromLatin1(label));
        w.Text(value);
        w.EndRecord();
    };
    labelled("Shooter Name:", FixedWidth(s.ShooterName, ShooterNameWidth));
    labelled("Date Fired:", FixedWidth(s.DateFired, DateFiredWidth));
    labelled("Firearm Description:", FixedWidth(s.Firearm, FirearmWidth));
    labelled("Caliber Description:", FixedWidth(s.Caliber, CaliberWidth));
    labelled("Lot Number:", FixedWidth(s.LotNumber, LotNumberWidth));
    labelled("General Comments:", FixedWidth(s.Comments, CommentsWidth));
    w.EndRecord();
    w.Text(QStringLiteral("Shot Data:"));
    w.EndRecord();
    w.Text(QStringLiteral("Range to Target:"));
    w.Float(s.RangeToTarget);
    w.EndRecord();
    for (const char *h :
         {"Shot Number", "x coordinate", "y coordinate", "distance from point of aim"})
        w.Text(QString::fromLatin1(h));
    w.EndRecord();
    const qint32 n = std::clamp(s.ShotCount, qint32(0), ShotCapacity);
    for (qint32 i = 1; i <= n; ++i) {
        w.Int(i);
        w.Float(s.ShotX[i]);
        w.Float(s.ShotY[i]);
        w.Float(s.ShotR[i]);
        w.EndRecord();
    }
    w.EndRecord();
    w.Text(QStringLiteral("Number of Shots:"));
    w.Int(n);
    w.EndRecord();
    w.Text(QStringLiteral("Center-to-Center Group Size:"));
    w.Float(s.GroupSize);
    w.Text(s.UnitName);
    w.Text(ExportMoaText(s));
    w.EndRecord();
    for (const char *h : {" ", "Average", "Standard Deviation", "Range"})
        w.Text(QString::fromLatin1(h));
    w.EndRecord();
    const struct {
        const char *label;
        float mean, sd, range;
    } rows[] = {{"x:", s.MeanX, s.SdX, s.RangeX},
                {"y:", s.MeanY, s.SdY, s.RangeY},
                {"r:", s.MeanR, s.SdR, s.RangeR}};
    for (const auto &row : rows) {
        w.Text(QString::fromLatin1(row.label));
        w.Float(row.mean);
        w.Float(row.sd);
        w.Float(row.range);
        w.EndRecord();
    }
    return w.Bytes();
}

bool ExportShotData(const Session &s, Prompter &prompter)
{
    const qsizetype slash = s.StatsFilePath.lastIndexOf(QLatin1Char('/'));
    const QString statsName = s.StatsFilePath.mid(slash + 1);
    if (statsName.isEmpty()) {
        prompter.MsgBox(QStringLiteral("No File to Export. Save Data File First."),
                        QStringLiteral("Cannot Export Empty File"), Buttons::Ok);
        return false;
    }
    // The folder text keeps its separator; only the name can change.
    const QString folder = s.StatsFilePath.left(slash + 1);
    QString name = ExportFileName(statsName);
    QString path = folder + name;
    while (NameExists(path)) {
        const auto answer = prompter.InputBox(
            name + QStringLiteral(" exists. Please Enter a new file name for the export file."),
            name + QStringLiteral(" Exists"), QString());
        if (!answer || answer->isEmpty()) {
            prompter.MsgBox(QStringLiteral("No file name entered; terminating export"),
                            QStringLiteral("No File Name"), Buttons::Ok);
            return false;
        }
        // A name only: a folder in the answer would put the export elsewhere.
        if (answer->contains(QLatin1Char('/')) || answer->contains(QLatin1Char('\\'))) continue;
        name = ExportAnswerName(*answer);
        path = folder + name;
    }

    // Even a file that appeared meanwhile is never replaced.
    QString why;
    if (!WriteWholeFile(path, ExportBytes(s), &why, Existing::Keep)) {
        prompter.MsgBox(QStringLiteral("File %1 could not be exported.\r\r%2").arg(name, why),
                        QStringLiteral("Export Failed"), Buttons::Ok, Icon::Exclamation);
        return false;
    }
    prompter.MsgBox(QStringLiteral("File ") + name + QStringLiteral(" successfully exported."),
                    QStringLiteral("File Exported"), Buttons::Ok);
    return true;
}
