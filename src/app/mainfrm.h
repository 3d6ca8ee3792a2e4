#pragma once

#include "ui/shell.h"

#include <QDate>
#include <QMainWindow>

#include <array>
#include <memory>

class BackgroundArea;
class ClockPane;
class MarqueePane;
class QAction;
class QFileDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QToolButton;
class Tloginform;

// The main window: menu, tool bar, status bar and the work area in which every screen
// opens as a child window, found again by its caption.
class TMAIN : public QMainWindow, public Shell
{
    Q_OBJECT
public:
    static constexpr const char *ProductTitle = "Merrow";
    static constexpr const char *Version = "V4.69";

    explicit TMAIN(QWidget *parent = nullptr);
    ~TMAIN() override;

    // Connects to the database, reads the shop settings and runs the login. Returns true when
    // the operator logged in and the window is shown; false when the program should end
    // (every message has been shown by then).
    bool start();

    // Brings back the open child window whose caption is exactly `caption`.
    bool ActivateChild(const QString &caption);
    // What choosing the menu item (N2 …) does; nothing when the item is disabled.
    void clickItem(const QString &item);
    void closeAllChildren() override;
    void applyShopSettings() override;
    void showBackground(const QString &path) override;
    bool isItemEnabled(const QString &item) const override;
    void openChild(const QString &caption, const ChildFactory &create) override;
    // Enables exactly the items and tool buttons whose flags are set; flag n is flags[n - 1].
    void applyPermissions(const std::array<bool, 17> &flags);

    QMdiArea *mdiArea() const;
    QAction *menuItem(const QString &name) const;
    QToolButton *toolButton(const QString &name) const;
    QMdiSubWindow *child(const QString &caption) const;
    Tloginform *loginform() const { return m_login.get(); }
    bool hasBackgroundPicture() const;
    QString slogan() const;
    QFileDialog *SaveDialog1() const override;
    QFileDialog *OpenDialog1() const override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenu();
    void buildToolBar();
    void buildStatusBar();
    QFileDialog *makeFileDialog(const QString &name, bool save);
    bool connectDatabase();
    void openItem(const QString &item, const QString &caption);
    void runAction(const QString &name);
    void placeLabels();

    BackgroundArea *m_area = nullptr;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_operatorPane = nullptr;
    MarqueePane *m_marquee = nullptr;
    ClockPane *m_clock = nullptr;
    // Made on first use: a file dialog reads its folder when built, which is slow to pay
    // before the login on a crowded working directory.
    mutable QFileDialog *m_saveDialog = nullptr;
    mutable QFileDialog *m_openDialog = nullptr;
    QDate m_startDay;
    std::unique_ptr<Tloginform> m_login;
};

// The program's main window (null before it is created).
TMAIN *MAIN();
