#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <optional>

// One select of a report grid: the text and its bound values, ready for a shared result set.
struct ReportQuery
{
    QString sql;
    QVariantList values;
};

// The customer fields the history and payment screens fill after a look-up.
struct CustomerHit
{
    QString number;
    QString name;
    QString address;
    QString telephone;
    QString mobile;
};

// Every statement of the customer history, payment records, daily overview and period
// summary screens. The screens hand the queries to the data module's result sets; only
// the customer look-up runs here.
class ReportStore
{
public:
    // The columns a customer is looked up by; records carry their own copy of each.
    enum class Key { Number, Name, Telephone, Address, Mobile };
    // Items of the invoice radio groups, in their order: 发票已开, 发票未开, 显示全部.
    enum class Invoice { Issued, NotIssued, All };
    // Items of the payment state radio group, in their order: 显示全部, 已付款, 未付款.
    enum class Payment { All, Paid, Unpaid };
    enum class Table { Sales, Repairs, Ledger };

    explicit ReportStore(QSqlDatabase db);

    static QString column(Key key);

    // The customer whose column equals `value` (the first by number when several do).
    // An empty or non-numeric number finds nobody. Throws DbError.
    std::optional<CustomerHit> findCustomer(Key key, const QString &value) const;

    // Customer history by customer number through the invoice filter. No query for an
    // empty number: there is nothing sensible to list.
    std::optional<ReportQuery>
    historyByNumber(Table table, const QString &number, Invoice invoice) const;
    // Customer history by the record's own copy of a column, without the invoice filter.
    ReportQuery historyBy(Table table, Key key, const QString &value) const;

    // Receipts of one customer (nothing for an empty number), by a column, or all by date.
    std::optional<ReportQuery> receiptsByNumber(const QString &number) const;
    ReportQuery receiptsBy(Key key, const QString &value) const;
    ReportQuery allReceipts() const;

    // Every row of one table dated `day`.
    ReportQuery day(Table table, const QDate &day) const;

    // Rows from `from` to `to` (both included) whose address contains `addressPart`
    // literally; the payment filter applies to the ledger only.
    ReportQuery period(Table table,
                       const QDate &from,
                       const QDate &to,
                       const QString &addressPart,
                       Invoice invoice,
                       Payment payment = Payment::All) const;
    // Every row of one table; the ledger keeps its payment filter.
    ReportQuery all(Table table, Payment payment = Payment::All) const;

private:
    QSqlDatabase m_db;
};
