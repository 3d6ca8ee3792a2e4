#pragma once

// A stand-in main window for screens and handlers tested without the real one: a work area
// whose children are found again by caption, the two backup dialogs, menu items that are
// enabled or not, and a record of what was asked of it. Header-only: the support library
// does not link the ui layer; every test folder that includes this does.

#include "data/settingsfile.h"
#include "ui/shell.h"

#include <QFileDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>
#include <QStringList>

class FakeShell : public Shell
{
public:
    QMainWindow window;
    QMdiArea *area = new QMdiArea;
    QFileDialog *saveDialog = new QFileDialog(&window);
    QFileDialog *openDialog = new QFileDialog(&window);
    QSet<QString> enabledItems;

    // What the screens asked for, in order.
    QStringList backgrounds;
    QStringList childCaptions;
    int childrenClosed = 0;
    // The shop name and slogan myini.ini held each time the settings were applied.
    QStringList shopNamesApplied;
    QStringList slogansApplied;

    FakeShell()
    {
        window.setCentralWidget(area);
        saveDialog->setObjectName(QStringLiteral("SaveDialog1"));
        saveDialog->selectFile(QStringLiteral("startup"));
        openDialog->setObjectName(QStringLiteral("OpenDialog1"));
        window.show();
    }

    // A child window captioned `caption` in the work area.
    QMdiSubWindow *addChild(QWidget *screen, const QString &caption)
    {
        QMdiSubWindow *sub = area->addSubWindow(screen);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(caption);
        sub->show();
        return sub;
    }

    void applyShopSettings() override
    {
        const SettingsFile settings = SettingsFile::programSettings();
        shopNamesApplied << settings.read(QStringLiteral("店铺名称"));
        slogansApplied << settings.read(QStringLiteral("广告语"));
    }
    void showBackground(const QString &path) override { backgrounds << path; }
    void closeAllChildren() override
    {
        ++childrenClosed;
        area->closeAllSubWindows();
    }
    bool isItemEnabled(const QString &item) const override { return enabledItems.contains(item); }
    void openChild(const QString &caption, const ChildFactory &create) override
    {
        childCaptions << caption;
        for (QMdiSubWindow *sub : area->subWindowList()) {
            if (sub->windowTitle() == caption) {
                area->setActiveSubWindow(sub);
                return;
            }
        }
        addChild(create(), caption);
    }
    QFileDialog *SaveDialog1() const override { return saveDialog; }
    QFileDialog *OpenDialog1() const override { return openDialog; }
};
