#pragma once

#include "dberror.h"
#include "money.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <optional>

// Payment state words of the ledger.
namespace PaymentState {
inline QString paid()
{
    return QStringLiteral("已付款");
}
inline QString unpaid()
{
    return QStringLiteral("未付款");
}
} // namespace PaymentState

// Text bound for a text column: empty text is stored as '' rather than NULL, so an exact
// search for the empty text finds the row.
inline QVariant storedText(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// The customer data a sale, repair, ledger row or receipt carries as its own copy.
struct CustomerCopy
{
    qint64 number = 0; // 客户编号
    QString name; // 客户名称
    QString address; // 地址
    QString phone; // 电话
    QString mobile; // 手机
    QString contact; // 身份证号, shown as "联系人"
    QString taxNumber; // 出生年, shown as "单位税号"

    // The copy as the records store it, from column `first` on: 客户编号, 客户名称, 地址, 电话,
    // 手机 and, with `withContact`, 身份证号 and 出生年. `values` is a query or a list of values.
    template<typename Values>
    static CustomerCopy read(const Values &values, int first, bool withContact)
    {
        const auto text = [&values](int i) {
            const QVariant v = values.value(i);
            return v.isNull() ? QString() : v.toString();
        };
        CustomerCopy c;
        c.number = values.value(first).toLongLong();
        c.name = text(first + 1);
        c.address = text(first + 2);
        c.phone = text(first + 3);
        c.mobile = text(first + 4);
        if (withContact) {
            c.contact = text(first + 5);
            c.taxNumber = text(first + 6);
        }
        return c;
    }
};

// One row of 帐款明细: exactly one per sale and one per repair.
struct LedgerRow
{
    QString key; // id: "订购"/"维修" + record id
    CustomerCopy customer; // contact and tax number are not kept in the ledger
    QString serial; // 主机序列号
    Money amountDue; // 应付金额
    QString payment; // 付款情况: PaymentState::paid() or unpaid()
    QString invoiceNumber; // 发票号码
    bool invoice = false; // 发票
    QString remark; // 备注
    QDate date; // 日期
    QString operatorNumber; // 经手人
};

// A listed debt changed or was settled elsewhere after it was listed.
class LedgerChanged : public DbError
{
public:
    explicit LedgerChanged(const QString &key)
        : DbError(QStringLiteral("帐款明细 %1 已被修改或已付款。").arg(key))
        , m_key(key)
    { }
    const QString &key() const { return m_key; }

private:
    QString m_key;
};

// The listed debts changed (rows added, settled or corrected) since they were listed.
class ListingChanged : public DbError
{
public:
    ListingChanged()
        : DbError(QStringLiteral("欠款列表已被修改或已付款。"))
    { }
};

// A statement listing unpaid rows, read in chunks by the debt list. Its columns are
// listFields(), in that order; the filter and the order are kept apart so settling can walk the
// same rows. The order ends in the row id, so every line has one place and the order reversed
// (each term descending) is exactly the lines from the end.
struct DebtListing
{
    QString filter; // condition after "where"; user values are bound in `values`
    QVariantList values;
    QString order; // what follows "order by": plain columns, comma-separated
};

// The table 帐款明细. Every method throws DbError on an engine failure. Single-row methods
// run inside whatever transaction the caller holds; settle() opens its own.
class LedgerStore
{
public:
    // Which column an unpaid-debt search compares.
    enum class Column { CustomerNumber, Name, Phone, Mobile, Address };

    explicit LedgerStore(QSqlDatabase db);

    static QString salesKey(qint64 saleId) { return QStringLiteral("订购%1").arg(saleId); }
    static QString repairKey(qint64 repairId) { return QStringLiteral("维修%1").arg(repairId); }

    void insert(const LedgerRow &row);
    std::optional<LedgerRow> find(const QString &key) const;
    // Rewrites the row's copy of the record; the payment state and 经手人 stay. Returns the
    // number of rows changed (0 when no row carries the key).
    int update(const LedgerRow &row);
    int remove(const QString &key);

    // Unpaid rows with a non-zero amount whose column equals `value` exactly, in the
    // engine's order. A customer number that is not a whole number matches nothing.
    QList<LedgerRow> unpaid(Column column, const QString &value) const;
    // Every unpaid row with a non-zero amount, ordered by customer name.
    QList<LedgerRow> allUnpaid() const;

    // The same rows as unpaid() and allUnpaid(), as statements a chunked list reads.
    DebtListing unpaidListing(Column column, const QString &value) const;
    DebtListing allUnpaidListing() const;
    // The row count and the sum of the amounts of a whole listing, by one aggregate.
    struct ListingTotals
    {
        qint64 rows = 0;
        Money sum;
    };
    ListingTotals totals(const DebtListing &listing) const;
    // The number of lines of a listing, or at most `limit` of them when a limit is given
    // (whether a listing is longer than a first screen is learned without counting it all).
    qint64 count(const DebtListing &listing, qint64 limit = -1) const;
    // Lines first .. first + count - 1 of a listing (fewer at its end), in listing order, each
    // as values in listFields() order. Given the listing's `total` line count, lines in its
    // second half are read from the end in reversed order, so no read steps over more than
    // half the listing.
    QList<QVariantList>
    listedRows(const DebtListing &listing, qint64 first, int count, qint64 total = -1) const;
    // Columns of a listing, left to right as the debt list shows them.
    static QStringList listFields();
    // A listing row (values in listFields() order) as a ledger row.
    static LedgerRow fromListed(const QVariantList &values);

    // Settles the listed rows in one transaction: each still-unpaid row of the listed amount
    // is set "已付款" and gets a receipt of that amount dated `day` by `operatorNumber`. The
    // customer data of the receipt is the listed one. A row no longer unpaid with that amount
    // throws LedgerChanged and nothing at all is written.
    void settle(const QList<LedgerRow> &rows, const QDate &day, const QString &operatorNumber);
    // Settles every row of the listing except the `excluded` keys, as settle() does, reading the
    // rows in chunks so memory does not grow with them. The listing was shown with
    // `listedRows` rows; unless exactly listedRows minus the excluded rows are settled and
    // their amounts add up to `total`, ListingChanged is thrown and nothing is written.
    // Listings longer than this are walked in amount order (see settleListing()).
    static constexpr qint64 LongListing = 2000;
    void settleListing(const DebtListing &listing,
                       const QSet<QString> &excluded,
                       qint64 listedRows,
                       Money total,
                       const QDate &day,
                       const QString &operatorNumber);

private:
    QSqlDatabase m_db;
};
