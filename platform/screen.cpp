#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>

qint32 ScreenWidthTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() * TwipsPerPixel : 1024 * TwipsPerPixel;
}

qint32 ScreenHeightTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() * TwipsPerPixel : 768 * TwipsPerPixel;
}
