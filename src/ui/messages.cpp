#include "messages.h"

#include <QApplication>
#include <QMessageBox>

namespace Messages {

namespace {
int show(QWidget *parent,
         QMessageBox::Icon icon,
         const QString &title,
         const QString &text,
         QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

QString applicationTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("电脑公司Merrow") : name;
}
} // namespace

void information(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Information, title, text, QMessageBox::Ok);
}

void error(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Critical, title, text, QMessageBox::Ok);
}

bool question(QWidget *parent, const QString &title, const QString &text)
{
    return show(parent, QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel)
            == QMessageBox::Ok;
}

void plain(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok);
}

void generalError(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok);
}

} // namespace Messages
