#include "model/session.h"

#include "model/settings.h"
#include "model/textnum.h"

#include <cmath>

QString ProgramVersion() { return QStringLiteral(PELTRIX_VERSION_TEXT); }

Session::Session()
{
    SetInstallDefaults(*this);
    ApplyInstallValues(*this);
}

void ResetToolbox(Session &s)
{
    s.Toolbox.cmdEnterShot.enabled = false;
    s.Toolbox.cmdRemShot.enabled = false;
    s.Toolbox.cmdAimPoint.enabled = false;
    s.Toolbox.cmdCalImg.bold = true;
    s.ToolMode = Tool::Calibrate;
}

void ResetSession(Session &s)
{
    s.ImageScale = -1;
    s.AimX = -1;
    s.AimY = -1;
    s.ShotCount = 0;
    s.EntryWindowOpen = false;
    s.ImageCalibrated = false;
    s.AxesDrawn = false;
    s.CursorLinesDrawn = false;
    s.CentroidDrawn = false;
    s.ImagePath.clear();
    s.StatsFilePath.clear();
    s.StatsSaved = true;
    s.TutorialOpen = false;
    s.HeaderEntered = false;
    // The twelve settings take their defaults, the range through its text form.
    ResetSettings(s);
    for (int k = 1; k <= ShotCapacity; ++k) {
        s.ShotX[k] = 0;
        s.ShotY[k] = 0;
        s.ShotR[k] = 0;
    }
    ResetToolbox(s);
    s.MeanX = s.MeanY = s.MeanR = 0;
    s.SdX = s.SdY = s.SdR = 0;
    s.RangeX = s.RangeY = s.RangeR = 0;
    s.GroupSize = 0;
}

void FillGammaTable(Session &s, qint32 n)
{
    const double pi = 3.14159265359;
    if (n > 76) n = 76;
    s.GammaHalf[2] = 1.0;
    for (qint32 k = 4; k <= n; k += 2) s.GammaHalf[k] = (0.5 * k - 1) * s.GammaHalf[k - 2];
    for (qint32 k = 1; k <= n; k += 2) {
        double p = 1;
        for (qint32 j = 3; j <= k - 2; j += 2) p *= j;
        qint32 m = (k - 1) / 2;
        s.GammaHalf[k] = p * std::sqrt(pi) / std::pow(2.0, m);
    }
}

void SetHeader(GroupRecord &g, const GroupHeader &h)
{
    g.ShooterName = FixedWidth(h.ShooterName, ShooterNameWidth);
    g.DateFired = FixedWidth(h.DateFired, DateFiredWidth);
    g.Firearm = FixedWidth(h.Firearm, FirearmWidth);
    g.Caliber = FixedWidth(h.Caliber, CaliberWidth);
    g.LotNumber = FixedWidth(h.LotNumber, LotNumberWidth);
    g.Comments = FixedWidth(h.Comments, CommentsWidth);
    g.RangeToTarget = h.RangeToTarget;
    g.RangeEntered = h.RangeEntered;
}
