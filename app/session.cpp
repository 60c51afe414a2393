#include "app/session.h"

#include "app/textnum.h"

#include <cmath>

QString ProgramVersion() { return QStringLiteral(PELTRIX_VERSION_TEXT); }

void SetInstallDefaults(Session &s)
{
    s.IniRangeToTarget = s.DefRangeToTarget = 100;
    s.IniShooterName = s.DefShooterName = QString(ShooterNameWidth, QLatin1Char(' '));
    s.IniFirearm = s.DefFirearm = QString(FirearmWidth, QLatin1Char(' '));
    s.IniCaliber = s.DefCaliber = QString(CaliberWidth, QLatin1Char(' '));
    s.IniUnitName = s.DefUnitName = QStringLiteral("Inches");
    s.IniCalDistance = s.DefCalDistance = 1;
    s.IniBackColor = s.DefBackColor = ButtonFaceColor;
    s.IniFullScreenCursor = s.DefFullScreenCursor = false;
    s.IniShowCentroid = s.DefShowCentroid = false;
    s.IniShowAxes = s.DefShowAxes = false;
    s.IniStatsDir = s.DefStatsDir = s.DocumentsDir;
    s.IniImageDir = s.DefImageDir = s.DocumentsDir;
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
    // The range passes through its text form, as the header form would show it.
    s.RangeToTarget = float(Val(StrNum(s.DefRangeToTarget, 7)));
    s.ShooterName = FixedWidth(s.DefShooterName, ShooterNameWidth);
    s.Firearm = FixedWidth(s.DefFirearm, FirearmWidth);
    s.Caliber = FixedWidth(s.DefCaliber, CaliberWidth);
    s.UnitName = s.DefUnitName;
    s.CalDistance = s.DefCalDistance;
    s.BackColor = s.DefBackColor;
    s.FullScreenCursor = s.DefFullScreenCursor;
    s.ShowCentroid = s.DefShowCentroid;
    s.ShowAxes = s.DefShowAxes;
    s.StatsDir = s.DefStatsDir;
    s.ImageDir = s.DefImageDir;
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
