#pragma once

#include <QString>
#include <QWidget>

#include <functional>

// What the main window's menu items do, by the item's object name ("N32", "N3", …).
// The main window builds every item; the units that own the screens register here (see
// wiring.cpp), so the shell does not grow with every new screen.
namespace ScreenRegistry {

// Creates a child screen; the main window adds it to its work area, shows it and sets the
// caption from its own table.
using ChildFactory = std::function<QWidget *()>;
// Runs a handler of the main window (backup, restore, about, …) with the main window as parent.
using Action = std::function<void(QWidget *mainWindow)>;

void registerChild(const QString &menuItem, ChildFactory factory);
void registerAction(const QString &menuItem, Action action);

ChildFactory child(const QString &menuItem);
Action action(const QString &menuItem);

// Registers every screen and handler the program has (wiring.cpp).
// Pseudo items besides the menu's object names: "ExitBackup" runs after the exit question
// was answered OK; "RzToolButton8" is the temporary lock.
void wireAll();

// Creates, in start-up order, the dialogs that live for the whole run and are reused
// (xiugaicaozuoyuan, guanyu, xiugaidinggoujilu, xiugaiweixiujilu, xiugaikehu, xinzengkehu).
// Each such unit offers `Txxx *xxx()` returning its one instance; wiring.cpp calls them here.
void createStartupDialogs();

} // namespace ScreenRegistry
