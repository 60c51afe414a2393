// The peltrix.ini reader on arbitrary bytes: never crashes, the file written
// from what it read is always whole (13 records read back), and after that
// first write the texts and the colour come back unchanged.
#include "config/configfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Session s;
    SetInstallDefaults(s);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ParseConfigRecords(s, bytes);
    if (s.IniShooterName.size() != ShooterNameWidth) std::abort();
    Session second, third;
    if (ParseConfigRecords(second, ConfigFileBytes(s)) != 13) std::abort();
    if (ParseConfigRecords(third, ConfigFileBytes(second)) != 13) std::abort();
    if (third.IniUnitName != second.IniUnitName || third.IniStatsDir != second.IniStatsDir ||
        third.IniImageDir != second.IniImageDir || third.IniShooterName != second.IniShooterName ||
        third.IniBackColor != second.IniBackColor)
        std::abort();
    return 0;
}
