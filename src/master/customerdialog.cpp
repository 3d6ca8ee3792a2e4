#include "customerdialog.h"

#include "data/dates.h"
#include "data/dberror.h"
#include "data/pickliststore.h"
#include "data/tdm1.h"
#include "ui/enterchain.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *lineEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QComboBox *pickList(QWidget *parent, const char *name)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    // Typed text is a help for the address only; it never becomes an entry of the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(120);
    return combo;
}
} // namespace

CustomerDialog::CustomerDialog(const QString &objectName, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);

    auto *group = new QGroupBox(this);
    m_number = lineEdit(group, "Edit1");
    m_number->setReadOnly(true);
    m_name = lineEdit(group, "Edit2");
    m_address = lineEdit(group, "Edit3");
    m_telephone = lineEdit(group, "Edit4");
    m_mobile = lineEdit(group, "Edit5");
    m_contact = lineEdit(group, "Edit6");
    m_taxNumber = lineEdit(group, "Edit7");
    m_townships = pickList(group, "ComboBox1");
    m_villages = pickList(group, "ComboBox2");
    m_since = new QDateEdit(QDate::currentDate(), group);
    m_since->setObjectName(QStringLiteral("DateTimePicker1"));
    m_since->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_since->setCalendarPopup(true);
    m_remark = new QPlainTextEdit(group);
    m_remark->setObjectName(QStringLiteral("Memo1"));

    auto *places = new QHBoxLayout;
    places->addWidget(m_townships, 1);
    places->addWidget(new QLabel(QStringLiteral("选择村庄"), group));
    places->addWidget(m_villages, 1);

    auto *form = new QFormLayout(group);
    form->addRow(QStringLiteral("客户编号"), m_number);
    form->addRow(QStringLiteral("客户名称"), m_name);
    form->addRow(QStringLiteral("联系人"), m_contact);
    form->addRow(QStringLiteral("电话"), m_telephone);
    form->addRow(QStringLiteral("手机"), m_mobile);
    form->addRow(QStringLiteral("地址"), m_address);
    form->addRow(QStringLiteral("选择乡镇"), places);
    form->addRow(QStringLiteral("单位税号"), m_taxNumber);
    form->addRow(QStringLiteral("起用日期"), m_since);
    form->addRow(QStringLiteral("备注"), m_remark);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(m_buttons);
    setFixedSize(430, 520);

    // The pick lists are no part of the chain; Enter in Memo1 is ordinary text input.
    auto *enter = new EnterChain(this);
    enter->chain({m_number, m_name, m_contact, m_telephone, m_mobile, m_address, m_taxNumber,
                  m_since, m_remark});

    connect(m_townships, &QComboBox::activated, this, &CustomerDialog::townshipChosen);
    connect(m_villages, &QComboBox::activated, this, &CustomerDialog::villageChosen);
}

QPushButton *CustomerDialog::addButton(const QString &objectName, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    // Enter belongs to the field chain, never to a default button.
    button->setAutoDefault(false);
    m_buttons->addWidget(button);
    return button;
}

Customer CustomerDialog::customer() const
{
    Customer c;
    c.number = CustomerStore::parseNumber(m_number->text()).value_or(0);
    c.name = m_name->text();
    c.address = m_address->text();
    c.telephone = m_telephone->text();
    c.mobile = m_mobile->text();
    c.contact = m_contact->text();
    c.taxNumber = m_taxNumber->text();
    c.since = m_since->date();
    c.sinceText = Dates::toText(c.since);
    c.remark = m_remark->toPlainText();
    return c;
}

void CustomerDialog::setCustomer(const Customer &c)
{
    m_number->setText(QString::number(c.number));
    m_name->setText(c.name);
    m_address->setText(c.address);
    m_telephone->setText(c.telephone);
    m_mobile->setText(c.mobile);
    m_contact->setText(c.contact);
    m_taxNumber->setText(c.taxNumber);
    m_since->setDate(c.since.isValid() ? c.since : QDate::currentDate());
    m_remark->setPlainText(c.remark);
}

void CustomerDialog::clearFields()
{
    for (QLineEdit *edit :
         {m_number, m_name, m_address, m_telephone, m_mobile, m_contact, m_taxNumber})
        edit->clear();
    m_remark->clear();
    m_since->setDate(QDate::currentDate());
}

void CustomerDialog::fillPickLists()
{
    m_townships->clear();
    m_villages->clear();
    try {
        m_townships->addItems(PickListStore(DM1()->ADOConnection1()).townships());
        m_townships->setCurrentIndex(m_townships->count() > 0 ? 0 : -1);
        fillVillages();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

void CustomerDialog::fillVillages()
{
    m_villages->clear();
    m_villages->addItems(
            PickListStore(DM1()->ADOConnection1()).villages(m_townships->currentText()));
    m_villages->setCurrentIndex(m_villages->count() > 0 ? 0 : -1);
}

void CustomerDialog::townshipChosen()
{
    m_address->setText(m_townships->currentText());
    try {
        fillVillages();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

void CustomerDialog::villageChosen()
{
    m_address->setText(m_address->text() + m_villages->currentText());
}

bool CustomerDialog::checkComplete()
{
    if (!m_number->text().isEmpty() && !m_name->text().isEmpty())
        return true;
    Messages::error(this, QStringLiteral("提示"), QStringLiteral("信息不完整！"));
    return false;
}
