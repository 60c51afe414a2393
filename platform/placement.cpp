#include "platform/placement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int Gap = 4;

struct Frame {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The window manager's frame around `w`; none known before it was shown.
Frame FrameOf(const QWidget *w)
{
    if (!w || !w->isVisible()) return {};
    const QRect outer = w->frameGeometry(), inner = w->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

int MenuBarHeight(const QWidget *w)
{
    const auto *bar = w->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
    if (!bar) return 0;
    return bar->isVisible() ? bar->height() : bar->sizeHint().height();
}

// The global top-left of the client area below the menu bar.
QPoint ClientTopLeft(const QWidget *anchor)
{
    const auto *main = qobject_cast<const QMainWindow *>(anchor);
    if (main && main->centralWidget() && main->centralWidget()->isVisible())
        return main->centralWidget()->mapToGlobal(QPoint(0, 0));
    return anchor->geometry().topLeft() + QPoint(0, MenuBarHeight(anchor));
}
} // namespace

QRect AvailableArea(const QWidget *w)
{
    const QScreen *screen = w ? w->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect OuterRect(const QWidget *w, const QWidget *like, QPoint topLeft)
{
    Frame f = FrameOf(w);
    if (!w->isVisible()) f = FrameOf(like);
    return QRect(topLeft, w->size() + QSize(f.left + f.right, f.top + f.bottom));
}

void KeepInside(QWidget *w, const QRect &area, const QWidget *like)
{
    if (!like) like = w;
    QRect outer = OuterRect(w, like, w->pos());
    const int tooWide = outer.width() - area.width(), tooHigh = outer.height() - area.height();
    if (tooWide > 0 || tooHigh > 0) {
        w->resize(std::max(w->minimumWidth(), w->width() - std::max(tooWide, 0)),
                  std::max(w->minimumHeight(), w->height() - std::max(tooHigh, 0)));
        outer = OuterRect(w, like, w->pos());
    }
    const int x = std::clamp(outer.left(), area.left(),
                             std::max(area.left(), area.right() + 1 - outer.width()));
    const int y = std::clamp(outer.top(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - outer.height()));
    w->move(x, y);
}

namespace {
// Over `anchor`, shifted by its title and menu bar, which stay visible.
QPoint Cascaded(const QWidget *anchor)
{
    const QRect a = anchor->frameGeometry();
    const int step = std::max(24, ClientTopLeft(anchor).y() - a.top());
    return a.topLeft() + QPoint(step, step);
}

void Place(QWidget *w, const QWidget *anchor, bool tryRight)
{
    const QRect area = AvailableArea(anchor);
    const QRect a =
        anchor->isVisible() ? anchor->frameGeometry() : OuterRect(anchor, anchor, anchor->pos());
    const QSize size = OuterRect(w, anchor, QPoint()).size();
    QPoint at;
    if (tryRight && a.right() + Gap + size.width() <= area.right())
        at = QPoint(a.right() + 1 + Gap, a.top());
    else if (a.bottom() + Gap + size.height() <= area.bottom())
        at = QPoint(a.left(), a.bottom() + 1 + Gap);
    else if (a.width() > area.width() / 2) // a large window: its top-right corner
        at = QPoint(a.right() - size.width() - Gap, ClientTopLeft(anchor).y() + Gap);
    else
        at = Cascaded(anchor);
    w->move(at);
    KeepInside(w, area, anchor);
}
} // namespace

void PlaceBeside(QWidget *w, const QWidget *anchor) { Place(w, anchor, true); }

void PlaceBelow(QWidget *w, const QWidget *anchor) { Place(w, anchor, false); }

void PlaceInsideTopLeft(QWidget *w, const QWidget *anchor)
{
    w->move(ClientTopLeft(anchor) + QPoint(Gap * 2, Gap * 2));
    KeepInside(w, AvailableArea(anchor), anchor);
}
