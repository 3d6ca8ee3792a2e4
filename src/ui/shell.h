#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

// What a screen may ask of the main window it lives in. The main window is built above every
// screen, so screens reach it only through this interface; tests put a small stand-in here.
//
// Constructing a Shell makes it the program's one shell until it is destroyed.
class Shell
{
public:
    Shell();
    virtual ~Shell();
    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;

    // Re-reads myini.ini: caption, shop name, slogan and background picture.
    virtual void applyShopSettings() = 0;
    // Shows the picture file `path` as the background; an unreadable or empty path leaves
    // none, silently.
    virtual void showBackground(const QString &path) = 0;
    // Closes every child window, each running its own close steps.
    virtual void closeAllChildren() = 0;
    // Whether the menu item `item` ("N3", …) exists and is enabled for this operator.
    virtual bool isItemEnabled(const QString &item) const = 0;

    using ChildFactory = std::function<QWidget *()>;
    // Brings back the open child window captioned `caption`, or adds the screen `create`
    // makes to the work area under that caption.
    virtual void openChild(const QString &caption, const ChildFactory &create) = 0;

    // The file dialogs of the manual backup and the restore; they keep the name chosen last.
    virtual QFileDialog *SaveDialog1() const = 0;
    virtual QFileDialog *OpenDialog1() const = 0;
};

// The program's shell; null while there is none (a screen opened on its own).
Shell *shell();
