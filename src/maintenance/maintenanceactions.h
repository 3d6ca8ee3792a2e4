#pragma once

class QWidget;

// The main window's own maintenance handlers; each takes the main window as parent.
namespace MaintenanceActions {

void manualBackup(QWidget *mainWindow); // "数据备份" (N3)
void restore(QWidget *mainWindow); // "数据恢复" (N12)
void initialise(QWidget *mainWindow); // "数据初始化" (N4)
// After the exit question was answered OK: the day's backup into backup/, then the offer of
// a further manual copy.
void exitBackup(QWidget *mainWindow);
// "帮助主题" (N36) and the tool button "系统帮助": the help pages in the desktop's browser.
void openHelp();

} // namespace MaintenanceActions
