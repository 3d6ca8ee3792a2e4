#pragma once

#include "data/money.h"

#include <QGroupBox>
#include <QList>
#include <QString>

#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The payment state of the sales and repair entry screens ("已付款" / "未付款"), remembered in
// myini.ini so the next opening starts with the state last used.
class PaymentGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit PaymentGroup(QWidget *parent = nullptr);

    bool isPaid() const;
    void setPaid(bool paid);

    // Selects the state stored under `key` (paid unless it reads exactly "未付款").
    void load(const QString &key);
    void store(const QString &key) const;

private:
    QRadioButton *m_paid = nullptr;
    QRadioButton *m_unpaid = nullptr;
};

namespace EntryParts {

QLineEdit *field(QWidget *parent, const char *objectName, const QString &hint = {});
// The bold red "[回车]" beside a field that acts on Enter.
QLabel *enterMark(QWidget *parent, const char *objectName);

// The small picture button "模糊查找" beside a look-up field.
QPushButton *fuzzyButton(QWidget *parent, const char *objectName);

// Rows of a form, top to bottom: a label, its field, and up to two widgets beside it.
class FormRows
{
public:
    explicit FormRows(QWidget *group);
    void
    add(const QString &label, QWidget *field, QWidget *beside = nullptr, QWidget *more = nullptr);
    QGridLayout *grid() const { return m_grid; }
    int row() const { return m_row; }

private:
    QWidget *m_group;
    QGridLayout *m_grid;
    int m_row = 0;
};

// The customer part both entry forms open with; the look-up fields carry their "[回车]" marks.
struct CustomerRows
{
    QLineEdit *number, *name, *contact, *telephone, *mobile, *address, *taxNumber;
    QWidget *newCustomer, *fuzzyName, *fuzzyTelephone, *fuzzyMobile;
};
void addCustomerRows(FormRows &rows, const CustomerRows &customer);

// Tab moves through `widgets` in this order.
void tabOrder(const QList<QWidget *> &widgets);

// The amount typed into a money field. Text that is not an amount is refused with
// "<label>不是有效的金额！" and the field gets the focus; nothing is guessed.
std::optional<Money> amount(QWidget *screen, QLineEdit *field, const QString &label);

} // namespace EntryParts
