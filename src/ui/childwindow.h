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

// "退出" of a child screen: inside the work area the sub-window is what closes (and is
// destroyed); closing only the screen would leave an empty frame under its caption.
inline void closeChild(QWidget *screen)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(screen->parentWidget()))
        frame->close();
    else
        screen->close();
}
