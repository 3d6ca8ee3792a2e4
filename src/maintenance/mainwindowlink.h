#pragma once

#include <QString>

class QWidget;

// What the maintenance screens change on the main window without knowing its class: the
// background picture and the shop name and slogan. A method of the main window is preferred
// when it has one; otherwise its controls are reached by their object names.
namespace MainWindowLink {

// The main window a screen lives in (the top-level window of `screen`).
QWidget *mainWindowOf(QWidget *screen);

// Loads the picture into `Image1`; an unreadable picture leaves `Image1` hidden, silently.
void applyBackground(QWidget *mainWindow, const QString &picture);

// `Label1` shows the shop name, the scrolling pane `RzMarqueeStatus1` the slogan.
void applyShopTexts(QWidget *mainWindow, const QString &shopName, const QString &slogan);

// Closes every child window of the main window's work area.
void closeAllChildren(QWidget *mainWindow);

} // namespace MainWindowLink
