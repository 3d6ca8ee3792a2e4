#include "weixiufrm.h"

#include "data/customerstore.h"
#include "data/dberror.h"
#include "data/pickliststore.h"
#include "data/repairstore.h"
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
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString PaymentKey = QStringLiteral("维修付款");
const QString Hint = QStringLiteral("提示");
} // namespace

using EntryParts::field;

Tweixiu::Tweixiu(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("weixiu"));
    setWindowTitle(QStringLiteral("维修录入"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(508, 605);
    move(280, 0);

    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    m_number = field(group, "Edit6");
    m_name = field(group, "Edit1");
    m_contact = field(group, "Edit9");
    m_telephone = field(group, "Edit3");
    m_mobile = field(group, "Edit7");
    m_address = field(group, "Edit2");
    m_taxNumber = field(group, "Edit10");
    m_contact->setReadOnly(true);
    m_taxNumber->setReadOnly(true);
    m_serial = field(group, "Edit4");
    m_newSerial = field(group, "Edit8");
    m_fee = field(group, "Edit5");
    m_date = new QDateEdit(QDate::currentDate(), group);
    m_date->setObjectName(QStringLiteral("DateTimePicker1"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_remark = new QPlainTextEdit(group);
    m_remark->setObjectName(QStringLiteral("Memo1"));
    m_remark->setTabChangesFocus(true);
    m_remark->setFixedHeight(52);
    m_invoice = field(group, "Edit11");
    m_profit = field(group, "Edit12");
    MoneyKeyFilter::install(m_fee);
    MoneyKeyFilter::install(m_profit);
    m_payment = new PaymentGroup(group);
    auto *newCustomer = new QPushButton(QStringLiteral("新增客户"), group);
    newCustomer->setObjectName(QStringLiteral("BitBtn6"));
    QPushButton *fuzzyName = EntryParts::fuzzyButton(group, "BitBtn1");
    QPushButton *fuzzyTelephone = EntryParts::fuzzyButton(group, "BitBtn7");
    QPushButton *fuzzyMobile = EntryParts::fuzzyButton(group, "BitBtn8");

    auto *itemGroup = new QGroupBox(QStringLiteral("维修项目列表"), group);
    itemGroup->setObjectName(QStringLiteral("GroupBox3"));
    m_items = new QTreeWidget(itemGroup);
    m_items->setObjectName(QStringLiteral("ListView1"));
    m_items->setRootIsDecorated(false);
    m_items->setHeaderLabels({QStringLiteral("维修项目")});
    m_items->setColumnWidth(0, 100);
    m_items->header()->setSectionResizeMode(QHeaderView::Fixed);
    m_items->setStyleSheet(QStringLiteral("QTreeWidget { background: rgb(240, 240, 255); }"));
    (new QVBoxLayout(itemGroup))->addWidget(m_items);

    EntryParts::FormRows rows(group);
    QGridLayout *grid = rows.grid();
    EntryParts::addCustomerRows(rows,
                                {m_number, m_name, m_contact, m_telephone, m_mobile, m_address,
                                 m_taxNumber, newCustomer, fuzzyName, fuzzyTelephone, fuzzyMobile});
    rows.add(QStringLiteral("主机序列号"), m_serial);
    rows.add(QStringLiteral("更换主机\n新序列号"), m_newSerial);
    grid->addWidget(m_payment, rows.row(), 2, 3, 2);
    rows.add(QStringLiteral("维修费"), m_fee);
    rows.add(QStringLiteral("维修日期"), m_date);
    rows.add(QStringLiteral("备注"), m_remark);
    rows.add(QStringLiteral("发票号码"), m_invoice);
    rows.add(QStringLiteral("利润"), m_profit, new QLabel(QStringLiteral("元"), group));
    grid->addWidget(itemGroup, 0, 4, rows.row(), 1);

    m_save = new QPushButton(QStringLiteral("保存"), this);
    m_save->setObjectName(QStringLiteral("BitBtn2"));
    auto *exit = new QPushButton(QStringLiteral("退出"), this);
    exit->setObjectName(QStringLiteral("BitBtn3"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(exit);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    EntryParts::tabOrder({m_number,       m_name,      m_telephone, m_mobile,    m_contact,
                          m_taxNumber,    m_address,   m_serial,    m_newSerial, m_fee,
                          m_date,         m_remark,    m_items,     fuzzyName,   newCustomer,
                          fuzzyTelephone, fuzzyMobile, m_invoice,   m_payment,   m_profit});

    // The search panel's result list lies over the customer fields while it is shown.
    const CustomerSearchConfig search = CustomerSearchConfig::weixiu();
    grid->addWidget(CustomerSearchPanel::buildResultGroup(group, search), 0, 0, 7, 4);
    auto *panel = new CustomerSearchPanel(this, search);
    // Normally the focus moving into Edit4 fills the serial; a taken customer fills it even
    // while the window is not active and no focus event comes.
    connect(panel, &CustomerSearchPanel::customerTaken, this, &Tweixiu::prefillSerial);

    m_enter = new EnterChain(this);
    m_enter->chain({m_serial, m_newSerial, m_fee, m_date, m_remark, m_invoice, m_profit});
    m_enter->onEnter(m_profit, [this] {
        if (m_save->isEnabled())
            m_save->setFocus();
    });
    // The chain ends on "保存"; Enter there saves, as the shop's keyboard flow expects.
    m_enter->onEnter(m_save, [this] { m_save->click(); });
    m_serial->installEventFilter(this);
    connect(m_serial, &QLineEdit::textChanged, m_newSerial, &QLineEdit::setText);
    connect(m_save, &QPushButton::clicked, this, &Tweixiu::save);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
}

void Tweixiu::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tweixiu::FormShow()
{
    m_payment->load(PaymentKey);
    loadItems();
    clearFields();
    m_save->setEnabled(false);
}

void Tweixiu::closeEvent(QCloseEvent *event)
{
    m_payment->store(PaymentKey);
    QWidget::closeEvent(event);
}

bool Tweixiu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_serial && event->type() == QEvent::FocusIn)
        prefillSerial();
    return QWidget::eventFilter(watched, event);
}

void Tweixiu::loadItems()
{
    m_items->clear();
    QStringList names;
    try {
        names = PickListStore(DM1()->ADOConnection1()).repairItems();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
    for (const QString &name : std::as_const(names)) {
        auto *item = new QTreeWidgetItem(m_items, {name});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
}

void Tweixiu::prefillSerial()
{
    // The serial of the machine the customer bought here, replacing what was typed.
    if (m_number->text().isEmpty())
        return;
    const std::optional<qint64> number = CustomerStore::parseNumber(m_number->text());
    if (!number)
        return; // no such customer; saving refuses it
    try {
        m_serial->setText(SalesStore(DM1()->ADOConnection1()).firstSerialOf(*number));
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

QStringList Tweixiu::tickedItems() const
{
    QStringList names;
    for (int i = 0; i < m_items->topLevelItemCount(); ++i) {
        if (m_items->topLevelItem(i)->checkState(0) == Qt::Checked)
            names << m_items->topLevelItem(i)->text(0);
    }
    return names;
}

void Tweixiu::clearFields()
{
    for (QLineEdit *edit : {m_number, m_name, m_telephone, m_mobile, m_address, m_contact,
                            m_taxNumber, m_serial, m_newSerial, m_fee, m_invoice, m_profit})
        edit->clear();
    m_remark->clear();
    m_date->setDate(QDate::currentDate());
}

void Tweixiu::save()
{
    m_name->setText(m_name->text().trimmed());
    m_fee->setText(m_fee->text().trimmed());
    if (m_name->text().isEmpty() || m_fee->text().isEmpty()) {
        Messages::error(this, Hint, QStringLiteral("信息不完整！"));
        return;
    }
    const QStringList items = tickedItems();
    if (items.isEmpty()) {
        Messages::error(this, Hint, QStringLiteral("请选择维修项目！"));
        return;
    }
    if (m_profit->text().isEmpty())
        m_profit->setText(QStringLiteral("0"));
    const std::optional<Money> fee = EntryParts::amount(this, m_fee, QStringLiteral("维修费"));
    if (!fee)
        return;
    const std::optional<Money> profit = EntryParts::amount(this, m_profit, QStringLiteral("利润"));
    if (!profit)
        return;

    Repair repair;
    repair.customer = {0,
                       m_name->text(),
                       m_address->text(),
                       m_telephone->text(),
                       m_mobile->text(),
                       m_contact->text(),
                       m_taxNumber->text()};
    repair.serial = m_newSerial->text();
    repair.items = Repair::itemsText(items);
    repair.fee = *fee;
    repair.profit = *profit;
    repair.invoiceNumber = m_invoice->text();
    repair.remark = m_remark->toPlainText();
    repair.date = m_date->date();
    repair.operatorNumber = Session::current().number;
    // A fee of exactly "0" paid at once needs no receipt; "0.0" or "00" still gets one.
    const bool receipt = m_fee->text() != QLatin1String("0");
    try {
        const QSqlDatabase db = DM1()->ADOConnection1();
        // The number may have been typed over after the customer was taken.
        const std::optional<qint64> number = CustomerStore::parseNumber(m_number->text());
        if (!number || !CustomerStore(db).find(*number)) {
            Messages::error(this, QStringLiteral("提示！"), QStringLiteral("此客户不存在!"));
            m_number->setFocus();
            return;
        }
        repair.customer.number = *number;
        RepairStore(db).record(repair, m_payment->isPaid(), receipt);
    } catch (const DbError &e) {
        Messages::plain(this, e.text()); // nothing was written; the form keeps its values
        return;
    }
    Messages::information(this, Hint, QStringLiteral("维修资料录入成功！"));
    clearFields();
    m_save->setEnabled(false);
    if (m_number->isEnabled())
        m_number->setFocus();
    for (int i = 0; i < m_items->topLevelItemCount(); ++i)
        m_items->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
}
