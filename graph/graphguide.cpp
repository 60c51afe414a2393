#include "graph/graphguide.h"

#include "model/textnum.h"
#include "stats/groupstats.h"

#include <algorithm>

namespace {
QString Unit(const Session &s) { return s.UnitName.trimmed(); }
} // namespace

QString ToolPrompt(const Session &s, const GraphPicture &p, bool hasImage)
{
    if (!hasImage) return QStringLiteral("Import a target image: File, Import Target Image");
    switch (s.ToolMode) {
    case Tool::Calibrate:
        return p.FirstCalPointSet ? QStringLiteral("Click the other end")
                                  : QStringLiteral("Click one end of a known length");
    case Tool::AimPoint:
        return QStringLiteral("Click the point of aim");
    case Tool::EnterShot:
        return QStringLiteral("Click the centre of each hole — %1 %2 so far")
            .arg(s.ShotCount)
            .arg(s.ShotCount == 1 ? QStringLiteral("shot") : QStringLiteral("shots"));
    case Tool::RemoveShot:
        return QStringLiteral("Click a shot to remove it");
    default:
        return QString();
    }
}

QString CalibrationAnswerPrompt(const Session &s)
{
    return QStringLiteral("Type the known length in ") + Unit(s);
}

QString ScaleText(const Session &s)
{
    if (!IsCalibrated(s)) return QString();
    const double perPixel = double(s.ImageScale) * 15;
    return QString::number(perPixel, 'g', 4) + QLatin1Char(' ') + Unit(s) +
           QStringLiteral(" per pixel");
}

PictureNotes NotesOf(const Session &s, const GraphPicture &p)
{
    PictureNotes n;
    const qint32 count = std::clamp(s.ShotCount, 0, ShotCapacity);
    for (qint32 i = 1; i <= count; ++i)
        if (p.ShotMarkDrawn[size_t(i)])
            n.shots.emplace_back(QPointF(p.ShotMarkX[size_t(i)], p.ShotMarkY[size_t(i)]), i);
    if (p.FirstCalPointSet || s.CalMarkersDrawn)
        n.calPoints.emplace_back(s.CalPoint1X, s.CalPoint1Y);
    if (s.CalMarkersDrawn) n.calPoints.emplace_back(s.CalPoint2X, s.CalPoint2Y);
    return n;
}

bool RemoveShotByNumber(Session &s, Prompter &prompter)
{
    const QString typed =
        prompter
            .InputBox(QStringLiteral(
                          "Enter number of shot (from shot data list) to Remove from Data Set:"),
                      QStringLiteral("Remove Shot"), QString())
            .value_or(QString())
            .trimmed();
    const double v = Val(typed);
    // Out-of-range (and absurd) numbers are ignored before rounding.
    const qint32 k = v >= 0.5 && v < double(s.ShotCount) + 0.5 ? RoundToInt(v) : 0;
    const bool removed = k >= 1 && k <= s.ShotCount;
    if (removed) {
        RemoveShot(s, k);
        s.StatsSaved = false;
    } else if (!typed.isEmpty()) { // typed, not cancelled: say why nothing happened
        prompter.MsgBox(s.ShotCount == 0
                            ? QStringLiteral("There are no Shots to Remove from Data Set")
                            : QStringLiteral("There is no shot ") + typed +
                                  QStringLiteral(" in this group: its shots are numbered 1 to ") +
                                  QString::number(s.ShotCount) + QLatin1Char('.'),
                        QStringLiteral("Remove Shot"));
    }
    if (s.ShotCount == 0) s.Toolbox.cmdRemShot.enabled = false;
    return removed;
}
