#pragma once
// Menus whose items carry the names the handlers and tests know them by.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

inline QMenu *AddMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *m = bar->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

template <typename Owner, typename Slot>
QAction *AddMenuItem(Owner *owner, QMenu *menu, const char *name, const QString &caption, Slot slot,
                     const QKeySequence &keys = {})
{
    QAction *act = menu->addAction(caption);
    act->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) act->setShortcut(keys);
    QObject::connect(act, &QAction::triggered, owner, slot);
    return act;
}
