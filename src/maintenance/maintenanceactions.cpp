#include "maintenanceactions.h"

#include "data/dates.h"
#include "data/dberror.h"
#include "data/maintenancestore.h"
#include "data/programfolder.h"
#include "data/tdm1.h"
#include "ui/messages.h"
#include "ui/shell.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QUrl>
#include <QWidget>

#include <memory>

namespace MaintenanceActions {

namespace {

// The save dialog proposes the day the program was started, as the original did.
const QDate startupDay = QDate::currentDate();

const QStringList BackupFilters {QStringLiteral("BAK文件 (*.BAK)"), QStringLiteral("所有文件 (*)")};

QString databaseFile()
{
    if (TDM1 *dm = DM1(); dm && !dm->databaseFile().isEmpty())
        return dm->databaseFile();
    return ProgramFolder::databaseFile();
}

// The chosen file name, or empty when the dialog was cancelled. The main window's own dialog
// is used when there is one, so it keeps the name chosen last, as the original did.
QString chooseFile(QWidget *parent, const QString &objectName, QFileDialog::AcceptMode mode)
{
    QFileDialog *dialog = nullptr;
    if (const Shell *main = shell())
        dialog = mode == QFileDialog::AcceptSave ? main->SaveDialog1() : main->OpenDialog1();
    std::unique_ptr<QFileDialog> own;
    if (!dialog) {
        own = std::make_unique<QFileDialog>(parent);
        dialog = own.get();
        dialog->setObjectName(objectName);
        if (mode == QFileDialog::AcceptSave)
            dialog->selectFile(Dates::toText(startupDay));
    }
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // ".bak" is appended to the name chosen, so the chosen file itself is never overwritten.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
    dialog->setNameFilters(BackupFilters);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return dialog->selectedFiles().value(0);
}

QString ensureBackupFolder()
{
    const QString folder = ProgramFolder::backupFolder();
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("cannot create the folder %1").arg(folder));
    return folder;
}

// Replaces the database by a checked copy of `chosen`, keeping the current one in backup/.
void replaceDatabase(const QString &chosen)
{
    const QString refusal = MaintenanceStore::checkCandidate(chosen);
    if (!refusal.isEmpty())
        throw DbError(refusal);
    TDM1 *dm = DM1();
    if (!dm)
        throw DbError(QStringLiteral("no database connection"));
    const QString file = databaseFile();
    const QString kept = ensureBackupFolder() + QStringLiteral("/before-restore-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"))
            + QStringLiteral(".bak");
    MaintenanceStore::copyDatabase(file, kept);

    dm->close();
    try {
        MaintenanceStore::copyDatabase(chosen, file);
    } catch (const DbError &) {
        dm->open(file); // untouched: the copy is renamed into place only when complete
        throw;
    }
    QString detail;
    if (dm->open(file, &detail) != TDM1::OpenResult::Ok) {
        dm->close();
        MaintenanceStore::copyDatabase(kept, file);
        dm->open(file);
        throw DbError(detail);
    }
    emit dm->reopened();
}

} // namespace

void manualBackup(QWidget *mainWindow)
{
    const QString chosen
            = chooseFile(mainWindow, QStringLiteral("SaveDialog1"), QFileDialog::AcceptSave);
    if (chosen.isEmpty())
        return;
    try {
        MaintenanceStore::copyDatabase(databaseFile(), chosen + QStringLiteral(".bak"));
    } catch (const DbError &) {
        Messages::error(mainWindow, QStringLiteral("错误！"),
                        QStringLiteral("备份数据失败，请重试！!"));
        return;
    }
    Messages::information(mainWindow, QStringLiteral("提示！"), QStringLiteral("备份数据成功！"));
}

void restore(QWidget *mainWindow)
{
    if (!Messages::question(mainWindow, QStringLiteral("数据恢复"),
                            QStringLiteral("数据库恢复将要覆盖原来数据库中所有的数据，继续吗？")))
        return;
    const QString chosen
            = chooseFile(mainWindow, QStringLiteral("OpenDialog1"), QFileDialog::AcceptOpen);
    if (chosen.isEmpty())
        return;
    try {
        replaceDatabase(chosen);
    } catch (const DbError &) {
        Messages::error(mainWindow, QStringLiteral("错误！"),
                        QStringLiteral("恢复数据失败，请重试！!"));
        return;
    }
    // No screen may go on showing or editing rows of the replaced database.
    if (Shell *main = shell())
        main->closeAllChildren();
    Messages::information(mainWindow, QStringLiteral("提示！"), QStringLiteral("恢复数据成功！"));
}

void initialise(QWidget *mainWindow)
{
    if (!Messages::question(
                mainWindow, QStringLiteral("数据初始化"),
                QStringLiteral("确实进行数据初始化？如果进行本项操作，将要清空数据库中的全部内容！"
                               "该操作不可恢复！")))
        return;
    try {
        if (!DM1())
            throw DbError(QStringLiteral("no database connection"));
        MaintenanceStore(DM1()->ADOConnection1()).initialise();
    } catch (const DbError &e) {
        Messages::plain(mainWindow, e.text());
        return;
    }
    Messages::information(mainWindow, QStringLiteral("提示！"), QStringLiteral("初始化成功！"));
}

void exitBackup(QWidget *mainWindow)
{
    try {
        MaintenanceStore::copyDatabase(databaseFile(),
                                       ensureBackupFolder() + u'/'
                                               + Dates::toText(QDate::currentDate())
                                               + QStringLiteral(".bak"));
    } catch (const DbError &) {
        Messages::error(mainWindow, QStringLiteral("错误"),
                        QStringLiteral("备份数据失败，请重试！"));
        return;
    }
    if (!Messages::question(
                mainWindow, QStringLiteral("提示"),
                QStringLiteral("退出系统前软件已经自动进行数据备份！，备份文件名称为当前日期，"
                               "备份文件存放地址为软件安装目录下的“backup”文件夹下。"
                               "您还需要再次手动备份，以便保留备份文件副本吗？"
                               "点击“确定”再次进行备份，点击“取消”不再次备份！")))
        return;
    // As if "数据备份" were clicked: nothing for an operator whose item is disabled.
    if (const Shell *main = shell(); main && main->isItemEnabled(QStringLiteral("N3")))
        manualBackup(mainWindow);
}

void openHelp()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(ProgramFolder::helpFile()));
}

} // namespace MaintenanceActions
