#pragma once

#include "data/money.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct CustomerCopy;

// What the sales and repair correction dialogs share: fourteen fields with the same object
// names in both, the Enter chain along them, the checks before writing and the save flow.
// The two dialogs differ only in labels, which fields are required, defaulted or amounts, and
// which store writes the record; they hand those over as data.
class CorrectionDialog : public QDialog
{
    Q_OBJECT
public:
    // exec() result when the record was deleted by someone else while the dialog was open.
    static constexpr int Gone = 2;

    // One text field: object name, label, hint, whether it takes amounts only (key filter)
    // and shows "元" after it.
    struct Field
    {
        QString name;
        QString label;
        QString hint = {};
        bool moneyKeys = false;
        bool yuan = false;
    };

    struct Layout
    {
        QString objectName;
        QString caption;
        QString successText;
        // Edit7 … Edit6 in visual order; the date picker, Memo1, Edit11 and Edit12 follow.
        QList<Field> fields;
        QString dateLabel;
        Field profit; // Edit12
        QStringList required; // "信息不完整！" when one of these is empty
        QStringList zeroWhenEmpty; // filled with "0" before writing
        QStringList amounts; // must read as amounts; the label names the field in the message
    };

    // Fills the dialog from the stored record `id` and shows it modally. Returns Gone (after
    // saying so) when the record no longer exists, Rejected when it cannot be shown.
    int editRecord(qint64 id);
    // Fills the dialog from the stored record; false when there is no such record.
    virtual bool load(qint64 id) = 0;

    // The id of the record the dialog was filled for; saving writes exactly that row.
    qint64 recordId() const { return m_recordId; }

protected:
    CorrectionDialog(const Layout &layout, QWidget *parent = nullptr);

    QString text(const QString &field) const;
    void setText(const QString &field, const QString &text);
    // The amount a field holds, checked by save() before write() runs.
    Money amount(const QString &field) const;
    QDate date() const;
    QString remark() const;
    QString invoiceNumber() const { return text(QStringLiteral("Edit11")); }

    // Puts the record's id and its customer copy, date, remark, invoice number and profit in;
    // the subclass fills the fields that differ (load()).
    void fillCommon(qint64 id,
                    const CustomerCopy &customer,
                    const QDate &date,
                    const QString &remark,
                    const QString &invoiceNumber,
                    Money profit);
    // The customer copy the fields hold now; the number is checked by save().
    CustomerCopy customer() const;

    // Whether the record still exists; false ends the save with "该记录已不存在！".
    virtual bool exists() const = 0;
    // Writes the record and its ledger row in one transaction (throws DbError).
    virtual void write() = 0;

private:
    void save(); // BitBtn1 "保存"
    void refuse(const QString &field, const QString &text);
    QString label(const QString &field) const;

    Layout m_layout;
    qint64 m_recordId = 0;
    bool m_dateValid = true;
    QHash<QString, QLineEdit *> m_edits;
    QDateEdit *m_date = nullptr; // DateTimePicker1
    QPlainTextEdit *m_remark = nullptr; // Memo1
    QPushButton *m_save = nullptr; // BitBtn1
};
