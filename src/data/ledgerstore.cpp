#include "ledgerstore.h"

#include "dates.h"
#include "db.h"
#include "receiptstore.h"
#include "sqldialect.h"
#include "transactionscope.h"

#include <QSqlQuery>

#include <algorithm>
#include <limits>

namespace {
const QString Columns = QStringLiteral(
        "id, 客户编号, 客户名称, 地址, 电话, 手机, 主机序列号, 应付金额, 付款情况, 发票, 发票号码, "
        "备注, 日期, 经手人");

LedgerRow fromQuery(const QSqlQuery &q)
{
    LedgerRow row;
    row.key = Db::text(q.value(0));
    row.customer = CustomerCopy::read(q, 1, false);
    row.serial = Db::text(q.value(6));
    row.amountDue = Money::fromUnits(q.value(7).toLongLong());
    row.payment = Db::text(q.value(8));
    row.invoice = q.value(9).toInt() != 0;
    row.invoiceNumber = Db::text(q.value(10));
    row.remark = Db::text(q.value(11));
    row.date = Dates::fromText(Db::text(q.value(12)));
    row.operatorNumber = Db::text(q.value(13));
    return row;
}

const QString ListColumns = QStringLiteral(
        "id, 客户编号, 客户名称, 地址, 电话, 手机, 主机序列号, 应付金额, 日期, 备注, 经手人");

QList<LedgerRow> readAll(QSqlQuery query)
{
    QList<LedgerRow> rows;
    while (query.next())
        rows.append(fromQuery(query));
    return rows;
}
} // namespace

LedgerStore::LedgerStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

void LedgerStore::insert(const LedgerRow &r)
{
    Db::exec(m_db,
             QStringLiteral("insert into 帐款明细 (") + Columns
                     + QStringLiteral(") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {storedText(r.key), r.customer.number, storedText(r.customer.name),
              storedText(r.customer.address), storedText(r.customer.phone),
              storedText(r.customer.mobile), storedText(r.serial), r.amountDue.units(),
              storedText(r.payment), r.invoice ? 1 : 0, storedText(r.invoiceNumber),
              storedText(r.remark), Dates::toText(r.date), storedText(r.operatorNumber)});
}

std::optional<LedgerRow> LedgerStore::find(const QString &key) const
{
    QSqlQuery q = Db::exec(m_db,
                           QStringLiteral("select ") + Columns
                                   + QStringLiteral(" from 帐款明细 where id = ?"),
                           {key});
    if (!q.next())
        return std::nullopt;
    return fromQuery(q);
}

int LedgerStore::update(const LedgerRow &r)
{
    return Db::exec(
                   m_db,
                   QStringLiteral("update 帐款明细 set 日期 = ?, 手机 = ?, 客户名称 = ?, 电话 = ?, "
                                  "地址 = ?, 主机序列号 = ?, 应付金额 = ?, 备注 = ?, 客户编号 = ?, "
                                  "发票号码 = ?, 发票 = ? where id = ?"),
                   {Dates::toText(r.date), storedText(r.customer.mobile),
                    storedText(r.customer.name), storedText(r.customer.phone),
                    storedText(r.customer.address), storedText(r.serial), r.amountDue.units(),
                    storedText(r.remark), r.customer.number, storedText(r.invoiceNumber),
                    r.invoice ? 1 : 0, r.key})
            .numRowsAffected();
}

int LedgerStore::remove(const QString &key)
{
    return Db::exec(m_db, QStringLiteral("delete from 帐款明细 where id = ?"), {key})
            .numRowsAffected();
}

QStringList LedgerStore::listFields()
{
    QStringList fields = ListColumns.split(QStringLiteral(", "));
    return fields;
}

LedgerRow LedgerStore::fromListed(const QVariantList &v)
{
    LedgerRow row;
    row.key = Db::text(v.value(0));
    row.customer = CustomerCopy::read(v, 1, false);
    row.serial = Db::text(v.value(6));
    row.amountDue = Money::fromUnits(v.value(7).toLongLong());
    row.payment = PaymentState::unpaid();
    row.date = Dates::fromText(Db::text(v.value(8)));
    row.remark = Db::text(v.value(9));
    row.operatorNumber = Db::text(v.value(10));
    return row;
}

DebtListing LedgerStore::unpaidListing(Column column, const QString &value) const
{
    DebtListing listing;
    listing.filter = QStringLiteral("付款情况 = ? and 应付金额 <> 0 and ");
    // The order rows were written in, as a listing of one customer shows them.
    listing.order = SqlDialect::of(m_db).rowIdColumn();
    if (column == Column::CustomerNumber) {
        bool ok = false;
        const qint64 number = value.trimmed().toLongLong(&ok);
        // A number that is not a whole number matches nothing: NULL equals no row.
        listing.filter += QStringLiteral("客户编号 = ?");
        listing.values = {PaymentState::unpaid(), ok ? QVariant(number) : QVariant()};
        return listing;
    }
    QString name;
    switch (column) {
    case Column::Name:
        name = QStringLiteral("客户名称");
        break;
    case Column::Phone:
        name = QStringLiteral("电话");
        break;
    case Column::Mobile:
        name = QStringLiteral("手机");
        break;
    case Column::Address:
    case Column::CustomerNumber:
        name = QStringLiteral("地址");
        break;
    }
    listing.filter += name + QStringLiteral(" = ?");
    listing.values = {PaymentState::unpaid(), storedText(value)};
    return listing;
}

LedgerStore::ListingTotals LedgerStore::totals(const DebtListing &listing) const
{
    QSqlQuery q = Db::exec(m_db,
                           QStringLiteral("select count(*), coalesce(sum(应付金额), 0) from "
                                          "帐款明细 where ")
                                   + listing.filter,
                           listing.values);
    ListingTotals totals;
    if (q.next()) {
        totals.rows = q.value(0).toLongLong();
        totals.sum = Money::fromUnits(q.value(1).toLongLong());
    }
    return totals;
}

qint64 LedgerStore::count(const DebtListing &listing, qint64 limit) const
{
    if (limit < 0)
        return Db::scalar(m_db,
                          QStringLiteral("select count(*) from 帐款明细 where ") + listing.filter,
                          listing.values)
                .toLongLong();
    QVariantList values = listing.values;
    values << limit;
    return Db::scalar(m_db,
                      QStringLiteral("select count(*) from (select 1 from 帐款明细 where ")
                              + listing.filter + QStringLiteral(" limit ?) as listed"),
                      values)
            .toLongLong();
}

QList<QVariantList>
LedgerStore::listedRows(const DebtListing &listing, qint64 first, int count, qint64 total) const
{
    if (first < 0 || count <= 0 || (total >= 0 && first >= total))
        return {};
    QString order = listing.order;
    qint64 offset = first;
    // Skipping lines costs a step over each; from the end the tail is as near as the head.
    const bool fromEnd = total >= 0 && first > total / 2;
    if (fromEnd) {
        QStringList terms = listing.order.split(u',');
        for (QString &term : terms)
            term = term.trimmed() + QStringLiteral(" desc");
        order = terms.join(QStringLiteral(", "));
        offset = total - first - count;
        if (offset < 0) {
            count += int(offset);
            offset = 0;
        }
    }
    QVariantList values = listing.values;
    values << count << offset;
    QSqlQuery query = Db::exec(m_db,
                               QStringLiteral("select ") + ListColumns
                                       + QStringLiteral(" from 帐款明细 where ") + listing.filter
                                       + QStringLiteral(" order by ") + order
                                       + QStringLiteral(" limit ? offset ?"),
                               values);
    QList<QVariantList> rows = Db::readRows(query);
    if (fromEnd)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

DebtListing LedgerStore::allUnpaidListing() const
{
    return {QStringLiteral("付款情况 = ? and 应付金额 <> 0"),
            {PaymentState::unpaid()},
            QStringLiteral("客户名称, ") + SqlDialect::of(m_db).rowIdColumn()};
}

namespace {
// The listed rows with every column of the ledger.
QList<LedgerRow> readListing(const QSqlDatabase &db, const DebtListing &listing)
{
    return readAll(Db::exec(db,
                            QStringLiteral("select ") + Columns
                                    + QStringLiteral(" from 帐款明细 where ") + listing.filter
                                    + QStringLiteral(" order by ") + listing.order,
                            listing.values));
}
} // namespace

QList<LedgerRow> LedgerStore::unpaid(Column column, const QString &value) const
{
    return readListing(m_db, unpaidListing(column, value));
}

QList<LedgerRow> LedgerStore::allUnpaid() const
{
    return readListing(m_db, allUnpaidListing());
}

void LedgerStore::settle(const QList<LedgerRow> &rows,
                         const QDate &day,
                         const QString &operatorNumber)
{
    TransactionScope scope(m_db);
    ReceiptStore receipts(m_db);
    for (const LedgerRow &row : rows) {
        // Only a row still unpaid with the listed amount is settled: a row corrected or
        // collected elsewhere meanwhile must not be paid twice or for the wrong amount.
        const int changed = Db::exec(m_db,
                                     QStringLiteral("update 帐款明细 set 付款情况 = ? where id = ? "
                                                    "and 付款情况 = ? and 应付金额 = ?"),
                                     {PaymentState::paid(), row.key, PaymentState::unpaid(),
                                      row.amountDue.units()})
                                    .numRowsAffected();
        if (changed != 1)
            throw LedgerChanged(row.key);
        receipts.insert({row.customer, row.serial, row.amountDue, day, operatorNumber});
    }
    scope.commit();
}

void LedgerStore::settleListing(const DebtListing &listing,
                                const QSet<QString> &excluded,
                                qint64 listedRows,
                                Money total,
                                const QDate &day,
                                const QString &operatorNumber)
{
    // Chunks after the last row read, each read finished before its rows are written: a read
    // left open while the same rows change is undefined in SQLite, and an offset would shift as
    // rows settle. A short listing goes by key. A long one goes in the order of the amount
    // index (amount, then row), which hands out each chunk without sorting: by key, every
    // chunk of a million unpaid rows sorted them all again (seconds a chunk).
    constexpr int Chunk = 500;
    const bool byAmount = listedRows > LongListing;
    const QString rowId = SqlDialect::of(m_db).rowIdColumn();
    const QString chunkSql = byAmount
            ? QStringLiteral("select ") + ListColumns + QStringLiteral(", ") + rowId
                    + QStringLiteral(" from 帐款明细 where (") + listing.filter
                    + QStringLiteral(") and (应付金额, %1) > (?, ?) order by 应付金额, %1 limit ?")
                              .arg(rowId)
            : QStringLiteral("select ") + ListColumns + QStringLiteral(" from 帐款明细 where (")
                    + listing.filter + QStringLiteral(") and id > ? order by id limit ?");
    TransactionScope scope(m_db);
    ReceiptStore receipts(m_db);
    qint64 settled = 0;
    Money sum;
    QString after = QStringLiteral(""); // below every key; a null text would bind NULL
    qint64 afterAmount = std::numeric_limits<qint64>::min();
    qint64 afterRow = std::numeric_limits<qint64>::min();
    for (;;) {
        QList<LedgerRow> rows;
        {
            QVariantList values = listing.values;
            if (byAmount)
                values << afterAmount << afterRow;
            else
                values << after;
            values << Chunk;
            QSqlQuery query = Db::exec(m_db, chunkSql, values);
            while (query.next()) {
                QVariantList v;
                for (int c = 0; c < 11; ++c)
                    v << query.value(c);
                rows << fromListed(v);
                if (byAmount)
                    afterRow = query.value(11).toLongLong();
            }
            query.finish();
        }
        for (const LedgerRow &row : std::as_const(rows)) {
            if (excluded.contains(row.key))
                continue;
            const int changed = Db::exec(m_db,
                                         QStringLiteral("update 帐款明细 set 付款情况 = ? where "
                                                        "id = ? and 付款情况 = ? and 应付金额 = ?"),
                                         {PaymentState::paid(), row.key, PaymentState::unpaid(),
                                          row.amountDue.units()})
                                        .numRowsAffected();
            if (changed != 1)
                throw LedgerChanged(row.key);
            receipts.insert({row.customer, row.serial, row.amountDue, day, operatorNumber});
            ++settled;
            sum += row.amountDue;
        }
        if (rows.size() < Chunk)
            break;
        after = rows.last().key;
        afterAmount = rows.last().amountDue.units();
    }
    if (settled != listedRows - excluded.size() || sum != total)
        throw ListingChanged();
    scope.commit();
}
