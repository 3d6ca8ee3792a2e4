#pragma once

#include <QMdiSubWindow>
#include <QWidget>

// Child screens open at a fixed place of the main window's work area. Called from the
// screen's first show, when the main window has wrapped it in its sub-window.
inline void placeAsChild(QWidget *screen, int left, int top)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(screen->parentWidget()))
        frame->move(left, top);
}
