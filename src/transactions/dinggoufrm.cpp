#include "dinggoufrm.h"

#include "data/dberror.h"
#include "data/salesstore.h"
#include "data/session.h"
#include "data/tdm1.h"
#include "entryparts.h"
#include "master/customersearchpanel.h"
#include "ui/enterchain.h"
#include "ui/messages.h"
#include "ui/moneykeyfilter.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString PaymentKey = QStringLiteral("订购付款");
const QString Hint = QStringLiteral("提示");
} // namespace

using EntryParts::field;

Tdinggou::Tdinggou(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("dinggou"));
    setWindowTitle(QStringLiteral("定购录入"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(401, 604);
    move(300, 0);

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    m_number = field(group, "Edit7", QStringLiteral("输入客户编号后请回车"));
    m_name = field(group, "Edit1", QStringLiteral("输入客户名称后请回车"));
    m_contact = field(group, "Edit9");
    m_telephone = field(group, "Edit3", QStringLiteral("输入客户电话后请回车"));
    m_mobile = field(group, "Edit8", QStringLiteral("输入手机号后请回车"));
    m_address = field(group, "Edit2");
    m_taxNumber = field(group, "Edit10");
    for (QLineEdit *readOnly : {m_contact, m_address, m_taxNumber})
        readOnly->setReadOnly(true);
    m_model = field(group, "Edit4");
    m_serial = field(group, "Edit5");
    m_price = field(group, "Edit6");
    m_date = new QDateEdit(QDate::currentDate(), group);
    m_date->setObjectName(QStringLiteral("DateTimePicker1"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_staff = field(group, "Edit11");
    m_remark = new QPlainTextEdit(group);
    m_remark->setObjectName(QStringLiteral("Memo1"));
    m_remark->setTabChangesFocus(true);
    m_remark->setFixedHeight(53);
    m_invoice = field(group, "Edit12");
    m_profit = field(group, "Edit13");
    MoneyKeyFilter::install(m_price);
    MoneyKeyFilter::install(m_profit);
    m_payment = new PaymentGroup(group);
    m_newCustomer = new QPushButton(QStringLiteral("新增客户"), group);
    m_newCustomer->setObjectName(QStringLiteral("BitBtn6"));
    QPushButton *fuzzyName = EntryParts::fuzzyButton(group, "BitBtn1");
    QPushButton *fuzzyTelephone = EntryParts::fuzzyButton(group, "BitBtn7");
    QPushButton *fuzzyMobile = EntryParts::fuzzyButton(group, "BitBtn8");

    EntryParts::FormRows rows(group);
    QGridLayout *grid = rows.grid();
    EntryParts::addCustomerRows(rows,
                                {m_number, m_name, m_contact, m_telephone, m_mobile, m_address,
                                 m_taxNumber, m_newCustomer, fuzzyName, fuzzyTelephone,
                                 fuzzyMobile});
    grid->addWidget(m_payment, rows.row(), 2, 3, 2);
    rows.add(QStringLiteral("订购型号"), m_model);
    rows.add(QStringLiteral("主机序列号"), m_serial);
    rows.add(QStringLiteral("价格"), m_price);
    rows.add(QStringLiteral("销售日期"), m_date);
    rows.add(QStringLiteral("客服人员"), m_staff);
    rows.add(QStringLiteral("备注"), m_remark);
    rows.add(QStringLiteral("发票号码"), m_invoice);
    rows.add(QStringLiteral("利润"), m_profit, new QLabel(QStringLiteral("元"), group));

    m_save = new QPushButton(QStringLiteral("保存"), this);
    m_save->setObjectName(QStringLiteral("BitBtn2"));
    m_exit = new QPushButton(QStringLiteral("退出"), this);
    m_exit->setObjectName(QStringLiteral("BitBtn3"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_exit);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    EntryParts::tabOrder({m_number,      m_name,         m_telephone, m_mobile,  m_address,
                          m_contact,     m_taxNumber,    m_model,     m_serial,  m_price,
                          m_date,        m_staff,        m_remark,    m_payment, fuzzyName,
                          m_newCustomer, fuzzyTelephone, fuzzyMobile, m_invoice, m_profit});

    // The search panel's result list lies over the customer fields while it is shown.
    const CustomerSearchConfig search = CustomerSearchConfig::dinggou();
    grid->addWidget(CustomerSearchPanel::buildResultGroup(group, search), 0, 0, 7, 4);
    new CustomerSearchPanel(this, search);

    m_enter = new EnterChain(this);
    m_enter->chain({m_model, m_serial, m_price, m_date, m_staff, m_remark, m_invoice, m_profit});
    m_enter->onEnter(m_profit, [this] {
        if (m_save->isEnabled())
            m_save->setFocus();
    });
    // The chain ends on "保存"; Enter there saves, as the shop's keyboard flow expects.
    m_enter->onEnter(m_save, [this] { m_save->click(); });

    connect(m_save, &QPushButton::clicked, this, &Tdinggou::save);
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);
}

void Tdinggou::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tdinggou::FormShow()
{
    m_payment->load(PaymentKey);
    clearFields();
    m_date->setDate(QDate::currentDate());
    m_save->setEnabled(false);
}

void Tdinggou::closeEvent(QCloseEvent *event)
{
    m_payment->store(PaymentKey);
    QWidget::closeEvent(event);
}

void Tdinggou::clearFields()
{
    for (QLineEdit *edit : {m_number, m_name, m_telephone, m_mobile, m_address, m_contact,
                            m_taxNumber, m_model, m_serial, m_price, m_staff, m_invoice, m_profit})
        edit->clear();
    m_remark->clear();
}

void Tdinggou::save()
{
    m_name->setText(m_name->text().trimmed());
    m_price->setText(m_price->text().trimmed());
    if (m_name->text().isEmpty() || m_price->text().isEmpty()) {
        Messages::error(this, Hint, QStringLiteral("信息不完整！"));
        return;
    }
    if (m_profit->text().isEmpty())
        m_profit->setText(QStringLiteral("0"));
    const std::optional<Money> price = EntryParts::amount(this, m_price, QStringLiteral("价格"));
    if (!price)
        return;
    const std::optional<Money> profit = EntryParts::amount(this, m_profit, QStringLiteral("利润"));
    if (!profit)
        return;

    Sale sale;
    sale.customer = {0,
                     m_name->text(),
                     m_address->text(),
                     m_telephone->text(),
                     m_mobile->text(),
                     m_contact->text(),
                     m_taxNumber->text()};
    sale.model = m_model->text();
    sale.serial = m_serial->text();
    sale.price = *price;
    sale.profit = *profit;
    sale.serviceStaff = m_staff->text();
    sale.invoiceNumber = m_invoice->text();
    sale.remark = m_remark->toPlainText();
    sale.date = m_date->date();
    sale.operatorNumber = Session::current().number;
    try {
        const QSqlDatabase db = DM1()->ADOConnection1();
        // The number may have been typed over after the customer was taken.
        const std::optional<qint64> number = CustomerStore::parseNumber(m_number->text());
        if (!number || !CustomerStore(db).find(*number)) {
            Messages::error(this, Hint, QStringLiteral("此客户不存在！"));
            m_number->setFocus();
            return;
        }
        sale.customer.number = *number;
        SalesStore(db).record(sale, m_payment->isPaid());
    } catch (const DbError &e) {
        Messages::plain(this, e.text()); // nothing was written; the form keeps its values
        return;
    }
    Messages::information(this, Hint, QStringLiteral("订购资料录入成功！"));
    clearFields();
    m_save->setEnabled(false);
    if (m_number->isEnabled())
        m_number->setFocus();
}
