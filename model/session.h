#pragma once
// The record of the current shot group, in its parts. Owned by the
// application object and handed to every form.
#include <QString>
#include <QtGlobal>
#include <array>

constexpr qint32 ShotCapacity = 21;
constexpr int ShooterNameWidth = 30;
constexpr int DateFiredWidth = 20;
constexpr int FirearmWidth = 30;
constexpr int CaliberWidth = 30;
constexpr int LotNumberWidth = 30;
constexpr int CommentsWidth = 354;
constexpr int UserProfileWidth = 260;

// The system colour of button faces: high bit set, system colour index 15.
constexpr qint32 ButtonFaceColor = qint32(0x8000000F);

// ToolMode values: what a press on the target picture does.
namespace Tool {
constexpr qint32 EnterShot = 0;
constexpr qint32 RemoveShot = 1;
constexpr qint32 Calibrate = 2;
constexpr qint32 AimPoint = 3;
constexpr qint32 None = 4;
} // namespace Tool

// The toolbox buttons' state lives here so that core code can set it; the
// toolbox window mirrors it.
struct ToolButtonState {
    bool enabled = false;
    bool bold = false;
    bool operator==(const ToolButtonState &) const = default;
};
struct ToolboxState {
    ToolButtonState cmdEnterShot;
    ToolButtonState cmdRemShot;
    ToolButtonState cmdCalImg{true, true};
    ToolButtonState cmdAimPoint;
};

// The group: its shots and its header. Header texts always hold exactly
// their widths; SetHeader is the one way a whole header comes in.
struct GroupRecord {
    qint32 ShotCount = 0;
    std::array<float, ShotCapacity + 1> ShotX{};
    std::array<float, ShotCapacity + 1> ShotY{};
    std::array<float, ShotCapacity + 1> ShotR{};

    QString ShooterName;
    QString DateFired = QString(DateFiredWidth, QLatin1Char(' '));
    QString Firearm;
    QString Caliber;
    QString LotNumber = QString(LotNumberWidth, QLatin1Char(' '));
    QString Comments = QString(CommentsWidth, QLatin1Char(' '));
    float RangeToTarget;
    bool RangeEntered = false;
    bool HeaderEntered = false;
    QString UnitName;
};

// The statistics of the group, computed from its shots.
struct GroupStatistics {
    float MeanX = 0, MeanY = 0, MeanR = 0;
    float SdX = 0, SdY = 0, SdR = 0;
    float RangeX = 0, RangeY = 0, RangeR = 0;
    float GroupSize = 0;
    float GroupCenterX = 0, GroupCenterY = 0;
    float SpanAcrossX = 0, SpanAcrossY = 0;
};

// The graphical entry: the image, its calibration and aim, the tool, the
// options of the picture and what its overlay shows now.
struct GraphicalEntryState {
    float AimX = -1, AimY = -1;
    float ImageScale = -1;
    float CalDistance;
    float CalPoint1X = 0, CalPoint1Y = 0, CalPoint2X = 0, CalPoint2Y = 0;
    float CalLength = 0;
    bool ImageCalibrated = false;
    qint32 BackColor;
    bool FullScreenCursor, ShowAxes, ShowCentroid;
    qint32 ToolMode = Tool::Calibrate;
    QString ImagePath;

    bool AxesDrawn = false, CursorLinesDrawn = false, CentroidDrawn = false;
    bool CalMarkersDrawn = false;
    float CentroidMarkX = 0, CentroidMarkY = 0;
    float CursorLinesX = -1, CursorLinesY = -1;

    ToolboxState Toolbox;
};

// Folders and files the program works with.
struct SessionPlaces {
    QString StatsDir, ImageDir;
    QString StatsFilePath;
    QString AppDataDir;
    QString UserProfileDir = QString(UserProfileWidth, QChar(0));
    QString InstallDir; // the folder the program's installation files lie in
    QString DocumentsDir;
    bool IsWindowsNT = false;
};

// The twelve settings: default copies (copied into the current values by a
// reset), stored copies (as read at start-up) and save-as-default
// selections. model/settings.h describes each setting once.
struct SettingsCopies {
    float DefRangeToTarget;
    QString DefShooterName, DefFirearm, DefCaliber, DefUnitName;
    float DefCalDistance;
    qint32 DefBackColor;
    bool DefFullScreenCursor, DefShowCentroid, DefShowAxes;
    QString DefStatsDir, DefImageDir;

    float IniRangeToTarget;
    QString IniShooterName, IniFirearm, IniCaliber, IniUnitName;
    float IniCalDistance;
    qint32 IniBackColor;
    bool IniFullScreenCursor, IniShowCentroid, IniShowAxes;
    QString IniStatsDir, IniImageDir;

    bool SaveDefRangeToTarget = false, SaveDefShooterName = false, SaveDefFirearm = false,
         SaveDefCaliber = false, SaveDefUnitName = false, SaveDefCalDistance = false,
         SaveDefBackColor = false, SaveDefFullScreenCursor = false, SaveDefShowCentroid = false,
         SaveDefShowAxes = false, SaveDefStatsDir = false, SaveDefImageDir = false;
    // peltrix.ini could not be read, or a damaged one could not be kept
    // aside: it is never written over in this run.
    bool KeepConfigFile = false;
    // "Save on Exit" was pressed in this run: capture current values at close.
    bool SaveDefaultsOnExit = false;
};

// The program-wide record of the current group, made of the parts above.
// Fields keep their names and their 1-based slots (slot 0 unused) so code
// reads like the rules it implements. It knows no window: GroupDocument
// (model/groupdocument.h) tells the views when it changed.
struct Session : GroupRecord, GroupStatistics, GraphicalEntryState, SessionPlaces, SettingsCopies {
    // The twelve settings (model/settings.h) start at their install values.
    Session();

    // What the windows are doing with the group.
    bool StatsSaved = true;
    bool EntryWindowOpen = false;
    bool GraphicalEntryActive = false;
    bool TutorialOpen = false;
    qint32 FileDialogMode = 1;

    // Report layout tables, indexes 0 to 17.
    std::array<QString, 18> ReportLabel;
    std::array<qint32, 18> ReportLeft{};
    std::array<qint32, 18> ReportTop{};

    // GammaHalf[k] = Gamma(k/2), slots 0 to 76.
    std::array<double, 77> GammaHalf{};
};

// A header as typed or stored elsewhere; SetHeader fits each text to its width.
struct GroupHeader {
    QString ShooterName, DateFired, Firearm, Caliber, LotNumber, Comments;
    float RangeToTarget = 0;
    bool RangeEntered = false;
};
void SetHeader(GroupRecord &g, const GroupHeader &h);

// Puts the install values of the twelve settings into the default and stored
// copies; used until a configuration file supplies them. The settings are
// described in model/settings.h.
void SetInstallDefaults(Session &s);

void ResetSession(Session &s);
void ResetToolbox(Session &s);
void FillGammaTable(Session &s, qint32 n);

// Program version as written in files and shown in the About box.
QString ProgramVersion();
