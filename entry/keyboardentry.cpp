#include "entry/keyboardentry.h"

#include "model/textnum.h"
#include "stats/groupstats.h"

#include <cmath>
#include <tuple>

namespace {
const QString Cr = QStringLiteral("\r");
}

bool AddTypedShot(Session &s, Prompter &prompter, const QString &xText, const QString &yText)
{
    const QString title = QStringLiteral("Enter X and Y Data");
    if (xText.isEmpty() || yText.isEmpty()) {
        prompter.MsgBox(QStringLiteral("Both X and Y values must be entered to add data"), title);
        return false;
    }
    // A value that is not a number would otherwise be stored as 0 or as its
    // leading number, silently.
    if (!IsNumeric(xText) || !IsNumeric(yText)) {
        prompter.MsgBox(QStringLiteral("X and Y must be numbers, for example 1.25 or -0.5."),
                        title);
        return false;
    }
    const float x = float(Val(xText));
    const float y = float(Val(yText));
    // Far beyond any target, the squares of the statistics would overflow
    // and every figure would turn into inf or NaN.
    if (!(std::fabs(x) <= MaxShotOffset) || !(std::fabs(y) <= MaxShotOffset)) {
        prompter.MsgBox(QStringLiteral("X and Y must lie between -1000000 and 1000000."), title);
        return false;
    }
    s.StatsSaved = false;
    if (s.ShotCount == ShotCapacity) {
        prompter.MsgBox(
            QStringLiteral("You have entered the maximum number of shots...no additional "
                           "shots can be entered"),
            QStringLiteral("Enter Data"));
        return false;
    }
    const qint32 k = s.ShotCount + 1;
    s.ShotX[k] = x;
    s.ShotY[k] = y;
    s.ShotR[k] = RadialDistance(x, y);
    s.ShotCount = k;
    if (s.ShotCount > 1) ComputeGroupStats(s);
    return true;
}

bool DeleteTypedShot(Session &s, Prompter &prompter)
{
    const auto answer =
        prompter.InputBox(QStringLiteral("Enter the Number of the Shot to Delete"),
                          QStringLiteral("Delete Shot"), QString::number(s.ShotCount));
    const QString text = answer.value_or(QString());
    if (!IsNumeric(text)) {
        prompter.MsgBox(QStringLiteral("You must enter a NUMBER for the shot to delete."),
                        QStringLiteral("Number Entry Error"));
        return false;
    }
    if (s.ShotCount == 0) {
        prompter.MsgBox(QStringLiteral("There are no Shots to Remove from Data Set."),
                        QStringLiteral("Remove Shots"), Buttons::Ok, Icon::Exclamation);
        return false;
    }
    const double v = Val(text);
    if (s.ShotCount == 1 && v != 1) {
        prompter.MsgBox(QStringLiteral("You must enter 1 for the Shot Number.") + Cr + Cr,
                        QStringLiteral("Invalid Shot Number"));
        return false;
    }
    if (v >= 1 && v <= s.ShotCount) {
        s.StatsSaved = false;
        RemoveShot(s, RoundToInt(v));
        return true;
    }
    prompter.MsgBox(QStringLiteral("You must enter a Shot Number between 1 and ") +
                        QString::number(s.ShotCount) + QStringLiteral(".") + Cr + Cr +
                        QStringLiteral("Please enter a valid Shot Number."),
                    QStringLiteral("Invalid Shot Number"));
    return false;
}

QString RangeWarningText()
{
    return QStringLiteral(
               "You have not entered a valid number (larger than 0) for the Range to Target.") +
           Cr + QStringLiteral("Peltrix will not compute group MOA if no range is entered.") + Cr +
           Cr + QStringLiteral("Click Ok to continue without MOA calculation.") + Cr +
           QStringLiteral("Click Cancel to close this window and enter edit the header info.");
}

namespace {
bool rangeIsValid(const QString &text)
{
    if (!IsNumeric(text)) return false;
    const double v = Val(text);
    // A range beyond float range would be stored as inf.
    return v > 0 && std::isfinite(float(v));
}
} // namespace

int ValidateRange(Prompter &prompter, const QString &rangeText)
{
    if (rangeIsValid(rangeText)) return RangeValid;
    return prompter.MsgBox(RangeWarningText(), QStringLiteral("No Range to Target"),
                           Buttons::OkCancel);
}

namespace {
// A stored text without the blanks that pad it to its width: a click into
// its box then lands after the last letter, and typing there adds to it.
QString Unpadded(const QString &text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == QLatin1Char(' ')) --n;
    return text.left(n);
}
} // namespace

HeaderTexts HeaderFromSession(const Session &s)
{
    HeaderTexts h;
    // The range as it reads back to the same value, with no leading blank.
    if (s.RangeToTarget > 0) h.range = GeneralNum(s.RangeToTarget, 7);
    h.shooter = Unpadded(s.ShooterName);
    h.date = Unpadded(s.DateFired);
    h.firearm = Unpadded(s.Firearm);
    h.caliber = Unpadded(s.Caliber);
    h.lot = Unpadded(s.LotNumber);
    h.comments = Unpadded(s.Comments);
    return h;
}

bool StoreHeader(Session &s, Prompter &prompter, const HeaderTexts &h)
{
    const int result = ValidateRange(prompter, h.range);
    if (result == Answer::Cancel) return false;
    // What the statistics file keeps of the header (it has no place for
    // RangeEntered: an Ok that only confirms the range changes nothing saved).
    const auto values = [](const Session &v) {
        return std::tuple(v.RangeToTarget, v.ShooterName, v.DateFired, v.Firearm, v.Caliber,
                          v.LotNumber, v.Comments);
    };
    const auto before = values(s);
    // A range that is no valid number is not entered; the one before stays.
    const bool ranged = result == RangeValid;
    SetHeader(s, {h.shooter, h.date, h.firearm, h.caliber, h.lot, h.comments,
                  ranged ? float(Val(h.range)) : s.RangeToTarget, ranged});
    s.HeaderEntered = true;
    // The header is saved with the group: a changed header is unsaved work.
    if (values(s) != before) s.StatsSaved = false;
    return true;
}
