#include "model/settings.h"

#include "model/textnum.h"

#include <array>
#include <cmath>

namespace {
bool notNegative(double v) { return v >= 0; }
bool positive(double v) { return v > 0; }
// 0x00BBGGRR, or a system colour: the high bit and an index below 256.
bool colour(double v)
{
    const auto c = quint32(qint32(v));
    return c <= 0x00FFFFFFu || (c & 0xFFFFFF00u) == 0x80000000u;
}
bool any(double) { return true; }

template <class T> using C = SettingCopies<T>;
using S = Session;

// In the order of the file; a reset also gives the current values in this order.
constexpr std::array<Setting, 12> table{{
    {.line = 2,
     .copies = C<float>{&S::RangeToTarget, &S::DefRangeToTarget, &S::IniRangeToTarget},
     .saveDef = &S::SaveDefRangeToTarget,
     .checkBox = "chkRange",
     .install = 100,
     .plausible = notNegative,
     .resetThroughText = true},
    {.line = 3,
     .copies = C<QString>{&S::ShooterName, &S::DefShooterName, &S::IniShooterName},
     .saveDef = &S::SaveDefShooterName,
     .checkBox = "chkShooter",
     .width = ShooterNameWidth},
    {.line = 4,
     .copies = C<QString>{&S::Firearm, &S::DefFirearm, &S::IniFirearm},
     .saveDef = &S::SaveDefFirearm,
     .checkBox = "chkFirearm",
     .width = FirearmWidth},
    {.line = 5,
     .copies = C<QString>{&S::Caliber, &S::DefCaliber, &S::IniCaliber},
     .saveDef = &S::SaveDefCaliber,
     .checkBox = "chkCaliber",
     .width = CaliberWidth},
    {.line = 6,
     .copies = C<QString>{&S::UnitName, &S::DefUnitName, &S::IniUnitName},
     .saveDef = &S::SaveDefUnitName,
     .checkBox = "chkUnits",
     .installText = "Inches"},
    {.line = 7,
     .copies = C<float>{&S::CalDistance, &S::DefCalDistance, &S::IniCalDistance},
     .saveDef = &S::SaveDefCalDistance,
     .checkBox = "chkCalDist",
     .install = 1,
     .plausible = positive},
    {.line = 8,
     .copies = C<qint32>{&S::BackColor, &S::DefBackColor, &S::IniBackColor},
     .saveDef = &S::SaveDefBackColor,
     .checkBox = "chkBGColor",
     .install = ButtonFaceColor,
     .plausible = colour},
    {.line = 9,
     .copies = C<bool>{&S::FullScreenCursor, &S::DefFullScreenCursor, &S::IniFullScreenCursor},
     .saveDef = &S::SaveDefFullScreenCursor,
     .checkBox = "chkFullCursor",
     .plausible = any},
    {.line = 10,
     .copies = C<bool>{&S::ShowCentroid, &S::DefShowCentroid, &S::IniShowCentroid},
     .saveDef = &S::SaveDefShowCentroid,
     .checkBox = "chkCentroid",
     .plausible = any},
    {.line = 11,
     .copies = C<bool>{&S::ShowAxes, &S::DefShowAxes, &S::IniShowAxes},
     .saveDef = &S::SaveDefShowAxes,
     .checkBox = "chkAPAxes",
     .plausible = any},
    {.line = 12,
     .copies = C<QString>{&S::StatsDir, &S::DefStatsDir, &S::IniStatsDir},
     .saveDef = &S::SaveDefStatsDir,
     .checkBox = "chkFilePath",
     .installDocuments = true},
    {.line = 13,
     .copies = C<QString>{&S::ImageDir, &S::DefImageDir, &S::IniImageDir},
     .saveDef = &S::SaveDefImageDir,
     .checkBox = "chkImPath",
     .installDocuments = true},
}};

template <class T> T resetValue(const Setting &setting, const Session &s, const C<T> &c)
{
    if constexpr (std::is_same_v<T, QString>) {
        return setting.width > 0 ? FixedWidth(s.*c.def, setting.width) : s.*c.def;
    } else if constexpr (std::is_same_v<T, float>) {
        return setting.resetThroughText ? float(Val(StrNum(s.*c.def, 7))) : s.*c.def;
    } else {
        return s.*c.def;
    }
}

template <class T> bool canKeep(const Setting &setting, const T &value)
{
    if constexpr (std::is_same_v<T, QString>)
        return true;
    else
        return !setting.plausible || setting.plausible(double(value));
}
} // namespace

std::span<const Setting> Settings() { return table; }

template <class T> T InstallValue(const Setting &setting, const Session &s)
{
    if constexpr (std::is_same_v<T, QString>) {
        if (setting.installDocuments) return s.DocumentsDir;
        const QString text = QString::fromLatin1(setting.installText);
        return setting.width > 0 ? FixedWidth(text, setting.width) : text;
    } else if constexpr (std::is_same_v<T, bool>) {
        return setting.install != 0;
    } else {
        return T(setting.install);
    }
}
template float InstallValue<float>(const Setting &, const Session &);
template qint32 InstallValue<qint32>(const Setting &, const Session &);
template bool InstallValue<bool>(const Setting &, const Session &);
template QString InstallValue<QString>(const Setting &, const Session &);

void SetInstallDefaults(Session &s)
{
    for (const Setting &setting : table)
        std::visit(
            [&](const auto &c) {
                using T = std::decay_t<decltype(s.*c.current)>;
                s.*c.ini = s.*c.def = InstallValue<T>(setting, s);
            },
            setting.copies);
}

void ApplyInstallValues(Session &s)
{
    for (const Setting &setting : table)
        std::visit(
            [&](const auto &c) {
                using T = std::decay_t<decltype(s.*c.current)>;
                s.*c.current = InstallValue<T>(setting, s);
            },
            setting.copies);
}

void ResetSettings(Session &s)
{
    for (const Setting &setting : table)
        std::visit([&](const auto &c) { s.*c.current = resetValue(setting, s, c); },
                   setting.copies);
}

void DefaultsFromStored(Session &s)
{
    for (const Setting &setting : table)
        std::visit([&](const auto &c) { s.*c.def = s.*c.ini; }, setting.copies);
}

void CaptureDefaults(Session &s)
{
    for (const Setting &setting : table)
        if (s.*setting.saveDef)
            std::visit(
                [&](const auto &c) {
                    if (canKeep(setting, s.*c.current)) s.*c.def = s.*c.current;
                },
                setting.copies);
}
