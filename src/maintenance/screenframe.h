#pragma once

#include <QPoint>
#include <QString>

class QPushButton;
class QWidget;

// The frame the maintenance child screens share: their fields in one group above a centred
// pair of buttons, a fixed place in the work area, and "退出" closing the whole child window.
namespace ScreenFrame {

struct Buttons
{
    QPushButton *BitBtn1; // the screen's own action
    QPushButton *BitBtn2; // "退出"
};

// Lays `group` out above "BitBtn1" (captioned `action`) and "BitBtn2" "退出"; the latter
// already closes the screen.
Buttons layOut(QWidget *screen, QWidget *group, const QString &action);

// Moves the child window holding `screen` to `where` on its first show only, so a window the
// operator moved stays where it was put.
void placeOnce(QWidget *screen, QPoint where, bool &placed);

} // namespace ScreenFrame
