#pragma once

#include "data/customerstore.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// What the new-customer and modify-customer dialogs share: the customer fields with their
// labels and Enter chain, and the township / village pick lists that help type the address.
class CustomerDialog : public QDialog
{
    Q_OBJECT
public:
    // The values the fields hold now (the number as read from Edit1, 0 when it is none).
    Customer customer() const;
    // Puts a customer's values into the fields.
    void setCustomer(const Customer &customer);

protected:
    explicit CustomerDialog(const QString &objectName,
                            const QString &caption,
                            QWidget *parent = nullptr);

    // Empties every field and sets the date to today.
    void clearFields();
    // Refills both pick lists from the table, the first entry of each selected.
    void fillPickLists();
    // "信息不完整！" when the number or the name is empty; true when both are there.
    bool checkComplete();
    QPushButton *addButton(const QString &objectName, const QString &caption);

    QLineEdit *m_number = nullptr; // Edit1
    QLineEdit *m_name = nullptr; // Edit2
    QLineEdit *m_address = nullptr; // Edit3
    QLineEdit *m_telephone = nullptr; // Edit4
    QLineEdit *m_mobile = nullptr; // Edit5
    QLineEdit *m_contact = nullptr; // Edit6
    QLineEdit *m_taxNumber = nullptr; // Edit7
    QComboBox *m_townships = nullptr; // ComboBox1
    QComboBox *m_villages = nullptr; // ComboBox2
    QDateEdit *m_since = nullptr; // DateTimePicker1
    QPlainTextEdit *m_remark = nullptr; // Memo1

private:
    void fillVillages();
    void townshipChosen();
    void villageChosen();

    QHBoxLayout *m_buttons = nullptr;
};
