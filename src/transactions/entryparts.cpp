#include "entryparts.h"

#include "data/ledgerstore.h"
#include "data/settingsfile.h"
#include "ui/messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

PaymentGroup::PaymentGroup(QWidget *parent)
    : QGroupBox(QStringLiteral("付款情况"), parent)
{
    setObjectName(QStringLiteral("RzRadioGroup2"));
    setStyleSheet(QStringLiteral("QGroupBox { color: red; }"));
    m_paid = new QRadioButton(PaymentState::paid(), this);
    m_unpaid = new QRadioButton(PaymentState::unpaid(), this);
    auto *layout = new QVBoxLayout(this);
    for (QRadioButton *item : {m_paid, m_unpaid}) {
        item->setStyleSheet(QStringLiteral("color: blue; font-size: 16px;"));
        layout->addWidget(item);
    }
    m_paid->setChecked(true);
}

bool PaymentGroup::isPaid() const
{
    return m_paid->isChecked();
}

void PaymentGroup::setPaid(bool paid)
{
    (paid ? m_paid : m_unpaid)->setChecked(true);
}

void PaymentGroup::load(const QString &key)
{
    setPaid(SettingsFile::programSettings().read(key, PaymentState::paid())
            != PaymentState::unpaid());
}

void PaymentGroup::store(const QString &key) const
{
    SettingsFile::programSettings().write(key,
                                          isPaid() ? PaymentState::paid() : PaymentState::unpaid());
}

namespace EntryParts {

FormRows::FormRows(QWidget *group)
    : m_group(group)
    , m_grid(new QGridLayout(group))
{ }

void FormRows::add(const QString &label, QWidget *field, QWidget *beside, QWidget *more)
{
    m_grid->addWidget(new QLabel(label, m_group), m_row, 0);
    m_grid->addWidget(field, m_row, 1);
    if (beside)
        m_grid->addWidget(beside, m_row, 2);
    if (more)
        m_grid->addWidget(more, m_row, 3);
    ++m_row;
}

void addCustomerRows(FormRows &rows, const CustomerRows &c)
{
    QWidget *group = c.number->parentWidget();
    rows.add(QStringLiteral("客户编号"), c.number, enterMark(group, "Label18"), c.newCustomer);
    rows.add(QStringLiteral("客户名称"), c.name, enterMark(group, "Label19"), c.fuzzyName);
    rows.add(QStringLiteral("联系人"), c.contact);
    rows.add(QStringLiteral("电话"), c.telephone, enterMark(group, "Label20"), c.fuzzyTelephone);
    rows.add(QStringLiteral("手机"), c.mobile, enterMark(group, "Label21"), c.fuzzyMobile);
    rows.add(QStringLiteral("地址"), c.address);
    rows.add(QStringLiteral("单位税号"), c.taxNumber);
}

QLineEdit *field(QWidget *parent, const char *objectName, const QString &hint)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(objectName));
    if (!hint.isEmpty())
        edit->setToolTip(hint);
    return edit;
}

QLabel *enterMark(QWidget *parent, const char *objectName)
{
    auto *label = new QLabel(QStringLiteral("[回车]"), parent);
    label->setObjectName(QLatin1String(objectName));
    label->setStyleSheet(QStringLiteral("color: red; font-weight: bold; font-size: 15px;"));
    return label;
}

QPushButton *fuzzyButton(QWidget *parent, const char *objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setIcon(parent->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    button->setToolTip(QStringLiteral("模糊查找"));
    button->setFixedWidth(28);
    return button;
}

void tabOrder(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 0; i + 1 < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i], widgets[i + 1]);
}

std::optional<Money> amount(QWidget *screen, QLineEdit *field, const QString &label)
{
    const std::optional<Money> value = Money::parse(field->text());
    if (!value) {
        Messages::error(screen, QStringLiteral("提示"), label + QStringLiteral("不是有效的金额！"));
        field->setFocus();
    }
    return value;
}

} // namespace EntryParts
