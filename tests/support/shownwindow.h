#pragma once
// Finding a window the program opened on its own.
#include <QApplication>
#include <QWidget>

// The shown window of type T, wherever it was opened from.
template <class T> T *ShownWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible()) return t;
    return nullptr;
}
