// The peltrix.ini reader on arbitrary bytes: never crashes, the fixed-width
// texts hold their width, a damaged file leaves every install value, and the
// file written from what it read is always whole and undamaged (13 records
// read back); after that first write the texts and the colour come back
// unchanged.
#include "config/configfile.h"

#include <QList>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Session s;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ConfigRecords read = ParseConfigRecords(s, bytes);
    if (QStringView(s.IniShooterName).toUcs4().size() != ShooterNameWidth) std::abort();
    if (read.damaged && ConfigFileBytes(s) != ConfigFileBytes(Session())) std::abort();
    Session second, third;
    const ConfigRecords again = ParseConfigRecords(second, ConfigFileBytes(s));
    if (again.records != 13 || again.damaged) std::abort();
    if (ParseConfigRecords(third, ConfigFileBytes(second)).records != 13) std::abort();
    if (third.IniUnitName != second.IniUnitName || third.IniStatsDir != second.IniStatsDir ||
        third.IniImageDir != second.IniImageDir || third.IniShooterName != second.IniShooterName ||
        third.IniBackColor != second.IniBackColor)
        std::abort();
    return 0;
}
