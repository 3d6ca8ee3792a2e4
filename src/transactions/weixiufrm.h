#pragma once

#include <QWidget>

class EnterChain;
class PaymentGroup;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "维修录入": records one repair job for a known customer: the items done, the fee and the
// machine's serial, with its ledger row and, when paid at once, its receipt.
class Tweixiu : public QWidget
{
    Q_OBJECT
public:
    explicit Tweixiu(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void loadItems();
    void prefillSerial();
    QStringList tickedItems() const;
    void save(); // BitBtn2 "保存"
    void clearFields();

    QLineEdit *m_number = nullptr; // Edit6
    QLineEdit *m_name = nullptr; // Edit1
    QLineEdit *m_telephone = nullptr; // Edit3
    QLineEdit *m_mobile = nullptr; // Edit7
    QLineEdit *m_address = nullptr; // Edit2
    QLineEdit *m_contact = nullptr; // Edit9
    QLineEdit *m_taxNumber = nullptr; // Edit10
    QLineEdit *m_serial = nullptr; // Edit4: before the repair, not saved
    QLineEdit *m_newSerial = nullptr; // Edit8: after the repair, saved
    QLineEdit *m_fee = nullptr; // Edit5
    QDateEdit *m_date = nullptr; // DateTimePicker1
    QPlainTextEdit *m_remark = nullptr; // Memo1
    QLineEdit *m_invoice = nullptr; // Edit11
    QLineEdit *m_profit = nullptr; // Edit12
    QTreeWidget *m_items = nullptr; // ListView1
    PaymentGroup *m_payment = nullptr; // RzRadioGroup2
    QPushButton *m_save = nullptr; // BitBtn2
    EnterChain *m_enter = nullptr;
};
