#include "dayinshezhifrm.h"

#include "screenframe.h"

#include "data/settingsfile.h"
#include "ui/messages.h"
#include "ui/shell.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {
const QString ShopName = QStringLiteral("店铺名称");
const QString Slogan = QStringLiteral("广告语");
const QString Background = QStringLiteral("背景");
const QString PrinterPort = QStringLiteral("打印端口");
const QString ReceiptFooter = QStringLiteral("小票尾");
} // namespace

Tdayinshezhi::Tdayinshezhi(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("dayinshezhi"));
    setWindowTitle(QStringLiteral("小票打印设置"));
    resize(342, 227);

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto label = [group](const char *name, const QString &text) {
        auto *l = new QLabel(text, group);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto edit = [group](const char *name) {
        auto *e = new QLineEdit(group);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    Edit1 = edit("Edit1");
    Edit4 = edit("Edit4");
    Edit2 = edit("Edit2");
    Button1 = new QPushButton(QStringLiteral("..."), group);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedWidth(28);

    auto *grid = new QGridLayout(group);
    grid->addWidget(label("Label2", QStringLiteral("公司名称")), 0, 0);
    grid->addWidget(Edit1, 0, 1, 1, 2);
    grid->addWidget(label("Label5", QStringLiteral("背景图片")), 1, 0);
    grid->addWidget(Edit4, 1, 1);
    grid->addWidget(Button1, 1, 2);
    grid->addWidget(label("Label3", QStringLiteral("滚动字幕")), 2, 0);
    grid->addWidget(Edit2, 2, 1, 1, 2);

    // Receipt printer settings: not edited here, only carried through every save. Editable so
    // that whatever the file holds, even an empty port, is kept as it is.
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->hide();
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->hide();

    BitBtn1 = ScreenFrame::layOut(this, group, QStringLiteral("保存")).BitBtn1;

    connect(Button1, &QPushButton::clicked, this, &Tdayinshezhi::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tdayinshezhi::BitBtn1Click);
}

void Tdayinshezhi::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    // Opens at its own place in the work area, at the top.
    ScreenFrame::placeOnce(this, QPoint(330, 0), m_placed);
    FormShow();
}

void Tdayinshezhi::FormShow()
{
    const SettingsFile settings = SettingsFile::programSettings();
    Edit4->clear();
    ComboBox1->clear();
    ComboBox1->addItems({QStringLiteral("lpt1"), QStringLiteral("lpt2"), QStringLiteral("lpt3"),
                         QStringLiteral("lpt4")});
    Edit1->setText(settings.read(ShopName));
    Edit2->setText(settings.read(Slogan));
    Edit4->setText(settings.read(Background));
    ComboBox1->setCurrentText(settings.read(PrinterPort, QStringLiteral("lpt1")));
    Memo1->setPlainText(settings.read(ReceiptFooter, QStringLiteral("欢迎您再次光临！")));
}

void Tdayinshezhi::Button1Click()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("OpenDialog2"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        Edit4->setText(dialog.selectedFiles().constFirst());
    // Applied at once, chosen or not, and kept even if the screen is closed without saving.
    SettingsFile::programSettings().write(Background, Edit4->text());
    if (Shell *main = shell())
        main->showBackground(Edit4->text());
}

void Tdayinshezhi::BitBtn1Click()
{
    if (ComboBox1->currentText().isEmpty()) {
        Messages::error(this, QStringLiteral("提示"), QStringLiteral("信息不完整！"));
        return;
    }
    const SettingsFile settings = SettingsFile::programSettings();
    const bool written = settings.write(PrinterPort, ComboBox1->currentText())
            && settings.write(ShopName, Edit1->text()) && settings.write(Slogan, Edit2->text())
            && settings.write(Background, Edit4->text())
            && settings.write(ReceiptFooter, Memo1->toPlainText().split(u'\n').join(QString()));
    if (!written) {
        Messages::error(this, QStringLiteral("提示"), QStringLiteral("保存失败！"));
        return;
    }
    Messages::information(this, QStringLiteral("提示"), QStringLiteral("保存成功！"));
    if (Shell *main = shell())
        main->applyShopSettings();
}
