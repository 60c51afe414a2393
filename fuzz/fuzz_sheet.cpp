// The .pxsheet reader on arbitrary bytes: never crashes, and whatever it
// accepts is written into bytes it accepts again, unchanged from then on.
#include "sheet/sheetfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = QStringLiteral("/fuzz/card.pxsheet");
    TargetSheet sheet;
    if (!ParseSheetFile(bytes, path, sheet)) return 0;
    (void)AnalyzeSheet(sheet);
    TargetSheet second, third;
    const QByteArray once = SheetFileBytes(sheet, path);
    if (!ParseSheetFile(once, path, second)) std::abort();
    if (!ParseSheetFile(SheetFileBytes(second, path), path, third)) std::abort();
    if (SheetFileBytes(third, path) != SheetFileBytes(second, path)) std::abort();
    return 0;
}
