// The .pxs reader on arbitrary bytes: never crashes, and whatever it accepts
// is written into a file it accepts again; after that first write, texts,
// shots and flags come back unchanged.
#include "files/statsfile.h"
#include "stats/groupstats.h"

#include <cstdlib>

namespace {
bool reread(const Session &from, Session &to)
{
    SetInstallDefaults(to);
    ResetSession(to);
    return ParseStatsFile(to, StatsFileBytes(from));
}

bool sameTexts(const Session &a, const Session &b)
{
    return a.ShotCount == b.ShotCount && a.ShooterName == b.ShooterName &&
           a.DateFired == b.DateFired && a.Comments == b.Comments && a.UnitName == b.UnitName &&
           a.ImagePath == b.ImagePath && a.BackColor == b.BackColor &&
           a.GraphicalEntryActive == b.GraphicalEntryActive && a.ShowAxes == b.ShowAxes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Session s;
    SetInstallDefaults(s);
    ResetSession(s);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!ParseStatsFile(s, bytes)) return 0;
    if (s.ShotCount < 0 || s.ShotCount > ShotCapacity) std::abort();
    if (s.ShotCount > 1) ComputeGroupStats(s);
    Session second, third;
    if (!reread(s, second) || !reread(second, third)) std::abort();
    if (!sameTexts(second, third)) std::abort();
    return 0;
}
