#include "platform/fonts.h"

#include <QFontDatabase>
#include <QStringList>

QFont NarrowFont(double points)
{
    static const bool condensed =
        QFontDatabase::families().contains(QStringLiteral("DejaVu Sans Condensed"));
    QFont f(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(condensed ? points : points * 0.9);
    return f;
}

QFont FormFont() { return NarrowFont(7.5); }

QFont PageFont(QFont f)
{
    // Latin text needs no shaping; without it the font's ligatures stay out
    // of the glyph run, and with them of the PDF's text.
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::PreferNoShaping));
    return f;
}
