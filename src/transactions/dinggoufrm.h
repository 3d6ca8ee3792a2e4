#pragma once

#include <QWidget>

class EnterChain;
class PaymentGroup;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "定购录入": records one sale to a known customer, with its ledger row and, when paid at
// once, its receipt.
class Tdinggou : public QWidget
{
    Q_OBJECT
public:
    explicit Tdinggou(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void save(); // BitBtn2 "保存"
    void clearFields();

    // Customer fields.
    QLineEdit *m_number = nullptr; // Edit7
    QLineEdit *m_name = nullptr; // Edit1
    QLineEdit *m_telephone = nullptr; // Edit3
    QLineEdit *m_mobile = nullptr; // Edit8
    QLineEdit *m_address = nullptr; // Edit2
    QLineEdit *m_contact = nullptr; // Edit9
    QLineEdit *m_taxNumber = nullptr; // Edit10
    // The sale.
    QLineEdit *m_model = nullptr; // Edit4
    QLineEdit *m_serial = nullptr; // Edit5
    QLineEdit *m_price = nullptr; // Edit6
    QDateEdit *m_date = nullptr; // DateTimePicker1
    QLineEdit *m_staff = nullptr; // Edit11
    QPlainTextEdit *m_remark = nullptr; // Memo1
    QLineEdit *m_invoice = nullptr; // Edit12
    QLineEdit *m_profit = nullptr; // Edit13
    PaymentGroup *m_payment = nullptr; // RzRadioGroup2
    QPushButton *m_newCustomer = nullptr; // BitBtn6
    QPushButton *m_save = nullptr; // BitBtn2
    QPushButton *m_exit = nullptr; // BitBtn3
    EnterChain *m_enter = nullptr;
};
