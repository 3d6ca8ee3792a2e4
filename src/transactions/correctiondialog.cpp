#include "correctiondialog.h"

#include "data/customerstore.h"
#include "data/dberror.h"
#include "data/ledgerstore.h"
#include "master/mastertexts.h"
#include "ui/enterchain.h"
#include "ui/messages.h"
#include "ui/moneykeyfilter.h"

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
const QString Title = QStringLiteral("提示");
const QString Number = QStringLiteral("Edit7");
} // namespace

CorrectionDialog::CorrectionDialog(const Layout &layout, QWidget *parent)
    : QDialog(parent)
    , m_layout(layout)
{
    setObjectName(layout.objectName);
    setWindowTitle(layout.caption);

    auto *group = new QGroupBox(this);
    auto *form = new QFormLayout(group);
    QList<QWidget *> chain;
    auto addField = [&](const Field &field) {
        auto *edit = new QLineEdit(group);
        edit->setObjectName(field.name);
        edit->setToolTip(field.hint);
        if (field.moneyKeys)
            MoneyKeyFilter::install(edit);
        m_edits.insert(field.name, edit);
        chain << edit;
        if (!field.yuan) {
            form->addRow(field.label, edit);
            return;
        }
        auto *row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(new QLabel(QStringLiteral("元"), group));
        form->addRow(field.label, row);
    };
    for (const Field &field : layout.fields)
        addField(field);

    m_date = new QDateEdit(QDate::currentDate(), group);
    m_date->setObjectName(QStringLiteral("DateTimePicker1"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    form->addRow(layout.dateLabel, m_date);
    chain << m_date;

    m_remark = new QPlainTextEdit(group);
    m_remark->setObjectName(QStringLiteral("Memo1"));
    m_remark->setFixedHeight(53);
    form->addRow(QStringLiteral("备注"), m_remark);
    chain << m_remark;

    addField({QStringLiteral("Edit11"), QStringLiteral("发票号码")});
    addField(layout.profit);

    m_save = new QPushButton(QStringLiteral("保存"), this);
    m_save->setObjectName(QStringLiteral("BitBtn1"));
    auto *exit = new QPushButton(QStringLiteral("退出"), this);
    exit->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton *button : {m_save, exit})
        button->setAutoDefault(false); // Enter belongs to the field chain
    chain << m_save;

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(exit);
    auto *main = new QVBoxLayout(this);
    main->addWidget(group);
    main->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));

    auto *enter = new EnterChain(this);
    enter->chain(chain);
    // The chain ends on "保存"; Enter there saves, as the shop's keyboard flow expects.
    enter->onEnter(m_save, [this] { m_save->click(); });

    connect(m_save, &QPushButton::clicked, this, &CorrectionDialog::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

int CorrectionDialog::editRecord(qint64 id)
{
    bool found = false;
    try {
        found = load(id);
    } catch (const DbError &e) {
        Messages::generalError(parentWidget(), e.text());
        return Rejected;
    }
    if (!found) {
        Messages::error(parentWidget(), Title, QStringLiteral("该记录已不存在！"));
        return Gone;
    }
    if (!m_dateValid) {
        // Saving would put some other day in its place: better not to open it at all.
        Messages::generalError(parentWidget(), QStringLiteral("该记录的日期无效，无法修改！"));
        return Rejected;
    }
    return exec();
}

QString CorrectionDialog::text(const QString &field) const
{
    return m_edits.value(field)->text();
}

void CorrectionDialog::setText(const QString &field, const QString &text)
{
    m_edits.value(field)->setText(text);
}

Money CorrectionDialog::amount(const QString &field) const
{
    return Money::parse(text(field)).value_or(Money());
}

QDate CorrectionDialog::date() const
{
    return m_date->date();
}

QString CorrectionDialog::remark() const
{
    return m_remark->toPlainText();
}

void CorrectionDialog::fillCommon(qint64 id,
                                  const CustomerCopy &customer,
                                  const QDate &date,
                                  const QString &remark,
                                  const QString &invoiceNumber,
                                  Money profit)
{
    m_recordId = id;
    setText(Number, QString::number(customer.number));
    setText(QStringLiteral("Edit1"), customer.name);
    setText(QStringLiteral("Edit9"), customer.contact);
    setText(QStringLiteral("Edit3"), customer.phone);
    setText(QStringLiteral("Edit8"), customer.mobile);
    setText(QStringLiteral("Edit2"), customer.address);
    setText(QStringLiteral("Edit10"), customer.taxNumber);
    m_dateValid = date.isValid();
    if (m_dateValid)
        m_date->setDate(date);
    m_remark->setPlainText(remark);
    setText(QStringLiteral("Edit11"), invoiceNumber);
    setText(QStringLiteral("Edit12"), profit.toString());
}

CustomerCopy CorrectionDialog::customer() const
{
    CustomerCopy c;
    c.number = CustomerStore::parseNumber(text(Number)).value_or(0);
    c.name = text(QStringLiteral("Edit1"));
    c.contact = text(QStringLiteral("Edit9"));
    c.phone = text(QStringLiteral("Edit3"));
    c.mobile = text(QStringLiteral("Edit8"));
    c.address = text(QStringLiteral("Edit2"));
    c.taxNumber = text(QStringLiteral("Edit10"));
    return c;
}

QString CorrectionDialog::label(const QString &field) const
{
    for (const Field &f : m_layout.fields) {
        if (f.name == field)
            return f.label;
    }
    return m_layout.profit.label;
}

void CorrectionDialog::refuse(const QString &field, const QString &text)
{
    Messages::error(this, Title, text);
    m_edits.value(field)->setFocus();
    m_edits.value(field)->selectAll();
}

void CorrectionDialog::save()
{
    for (const QString &field : std::as_const(m_layout.required)) {
        if (text(field).isEmpty()) {
            Messages::error(this, Title, QStringLiteral("信息不完整！"));
            return;
        }
    }
    for (const QString &field : std::as_const(m_layout.zeroWhenEmpty)) {
        if (text(field).isEmpty())
            setText(field, QStringLiteral("0"));
    }
    // Bound values never reach the engine as text, so what is not a number must be caught
    // here; storing 0 in its place would corrupt the record silently.
    if (!CustomerStore::parseNumber(text(Number)))
        return refuse(Number, MasterTexts::numberNotANumber());
    for (const QString &field : std::as_const(m_layout.amounts)) {
        if (!Money::parse(text(field)))
            return refuse(field, label(field) + QStringLiteral("不是有效的金额！"));
    }
    try {
        if (!exists()) {
            Messages::error(this, Title, QStringLiteral("该记录已不存在！"));
            done(Gone);
            return;
        }
        write(); // commits before anything is reported
    } catch (const DbError &e) {
        Messages::plain(this, e.text());
        return;
    }
    Messages::information(this, Title, m_layout.successText);
    accept();
}
