#include "ledgerstore.h"

#include "dates.h"
#include "db.h"
#include "receiptstore.h"
#include "sqldialect.h"
#include "transactionscope.h"

#include <QSqlQuery>

namespace {
const QString Columns = QStringLiteral(
        "id, 客户编号, 客户名称, 地址, 电话, 手机, 主机序列号, 应付金额, 付款情况, 发票, 发票号码, "
        "备注, 日期, 经手人");

LedgerRow fromQuery(const QSqlQuery &q)
{
    LedgerRow row;
    row.key = Db::text(q.value(0));
    row.customer.number = q.value(1).toLongLong();
    row.customer.name = Db::text(q.value(2));
    row.customer.address = Db::text(q.value(3));
    row.customer.phone = Db::text(q.value(4));
    row.customer.mobile = Db::text(q.value(5));
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

QList<LedgerRow> LedgerStore::unpaid(Column column, const QString &value) const
{
    const QString base = QStringLiteral("select ") + Columns
            + QStringLiteral(" from 帐款明细 where 付款情况 = ? and 应付金额 <> 0 and ");
    // The order rows were written in, as a listing of one customer shows them.
    const QString order = QStringLiteral(" order by ") + SqlDialect::of(m_db).rowIdColumn();
    if (column == Column::CustomerNumber) {
        bool ok = false;
        const qint64 number = value.trimmed().toLongLong(&ok);
        if (!ok)
            return {};
        return readAll(Db::exec(m_db, base + QStringLiteral("客户编号 = ?") + order,
                                {PaymentState::unpaid(), number}));
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
    return readAll(Db::exec(m_db, base + name + QStringLiteral(" = ?") + order,
                            {PaymentState::unpaid(), storedText(value)}));
}

QList<LedgerRow> LedgerStore::allUnpaid() const
{
    return readAll(Db::exec(m_db,
                            QStringLiteral("select ") + Columns
                                    + QStringLiteral(" from 帐款明细 where 付款情况 = ? and "
                                                     "应付金额 <> 0 order by 客户名称, ")
                                    + SqlDialect::of(m_db).rowIdColumn(),
                            {PaymentState::unpaid()}));
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
