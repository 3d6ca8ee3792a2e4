#pragma once

#include <QList>
#include <QString>

// The main window's menu and tool bar as data: which item is where, what it says, which
// permission flag enables it and which child window it opens.
namespace MainMenu {

enum class Kind {
    Child, // opens a child window, found again by `childCaption`
    Action, // runs a handler registered under the item's name
    Exit, // closes the main window
    Separator,
};

struct Item
{
    QString name; // object name, N2 …
    QString caption;
    int flag = 0; // permission flag 1..17, 0 for always enabled
    Kind kind = Kind::Child;
    QString childCaption;
};

struct Menu
{
    QString name; // N1, N31, …
    QString caption;
    QList<Item> items;
};

struct ToolButton
{
    QString name; // RzToolButton1 …
    QString caption;
    QString hint;
    int icon = 0; // index into the tool bar's picture list
    QString item; // menu item it clicks, or empty
    Kind kind = Kind::Child; // what it does when it stands for no menu item
    bool separatorAfter = false;
};

const QList<Menu> &menus();
const QList<ToolButton> &toolButtons();

// The menu item enabled by permission flag `flag` (1..17).
QString itemForFlag(int flag);

} // namespace MainMenu
