#include "salesstore.h"

#include "dates.h"
#include "db.h"
#include "receiptstore.h"
#include "transactionscope.h"

#include <QSqlQuery>

namespace {
const QString Columns
        = QStringLiteral("id, 客户编号, 客户名称, 地址, 电话, 手机, 身份证号, 出生年, 订购型号, "
                         "主机序列号, 价格, 利润, 客服人员, 发票, 发票号码, 备注, 日期, 经手人");

Sale fromQuery(const QSqlQuery &q)
{
    Sale s;
    s.id = q.value(0).toLongLong();
    s.customer = CustomerCopy::read(q, 1, true);
    s.model = Db::text(q.value(8));
    s.serial = Db::text(q.value(9));
    s.price = Money::fromUnits(q.value(10).toLongLong());
    s.profit = Money::fromUnits(q.value(11).toLongLong());
    s.serviceStaff = Db::text(q.value(12));
    s.invoiceNumber = Db::text(q.value(14));
    s.remark = Db::text(q.value(15));
    s.date = Dates::fromText(Db::text(q.value(16)));
    s.operatorNumber = Db::text(q.value(17));
    return s;
}

LedgerRow ledgerRowOf(const Sale &s, const QString &payment)
{
    LedgerRow row;
    row.key = LedgerStore::salesKey(s.id);
    row.customer = s.customer;
    row.serial = s.serial;
    row.amountDue = s.price;
    row.payment = payment;
    row.invoiceNumber = s.invoiceNumber;
    row.invoice = s.invoice();
    row.remark = s.remark;
    row.date = s.date;
    row.operatorNumber = s.operatorNumber;
    return row;
}
} // namespace

SalesStore::SalesStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

qint64 SalesStore::nextId() const
{
    return Db::scalar(m_db, QStringLiteral("select max(id) from dinggou")).toLongLong() + 1;
}

qint64 SalesStore::record(const Sale &sale, bool paid)
{
    TransactionScope scope(m_db);
    Sale s = sale;
    s.id = nextId();
    Db::exec(m_db,
             QStringLiteral("insert into dinggou (") + Columns
                     + QStringLiteral(") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                      "?, ?)"),
             {s.id, s.customer.number, storedText(s.customer.name), storedText(s.customer.address),
              storedText(s.customer.phone), storedText(s.customer.mobile),
              storedText(s.customer.contact), storedText(s.customer.taxNumber), storedText(s.model),
              storedText(s.serial), s.price.units(), s.profit.units(), storedText(s.serviceStaff),
              s.invoice() ? 1 : 0, storedText(s.invoiceNumber), storedText(s.remark),
              Dates::toText(s.date), storedText(s.operatorNumber)});
    LedgerStore(m_db).insert(ledgerRowOf(s, paid ? PaymentState::paid() : PaymentState::unpaid()));
    if (paid)
        ReceiptStore(m_db).insert({s.customer, s.serial, s.price, s.date, s.operatorNumber});
    scope.commit();
    return s.id;
}

std::optional<Sale> SalesStore::find(qint64 id) const
{
    QSqlQuery q = Db::exec(m_db,
                           QStringLiteral("select ") + Columns
                                   + QStringLiteral(" from dinggou where id = ?"),
                           {id});
    if (!q.next())
        return std::nullopt;
    return fromQuery(q);
}

QString SalesStore::firstSerialOf(qint64 customerNumber) const
{
    return Db::text(Db::scalar(m_db,
                               QStringLiteral("select 主机序列号 from dinggou where 客户编号 = ? "
                                              "order by id limit 1"),
                               {customerNumber}));
}

void SalesStore::update(const Sale &s)
{
    TransactionScope scope(m_db);
    const int changed
            = Db::exec(m_db,
                       QStringLiteral("update dinggou set 利润 = ?, 日期 = ?, 身份证号 = ?, "
                                      "出生年 = ?, 手机 = ?, 客户名称 = ?, 电话 = ?, 地址 = ?, "
                                      "订购型号 = ?, 主机序列号 = ?, 价格 = ?, 备注 = ?, "
                                      "客户编号 = ?, 发票号码 = ?, 发票 = ? where id = ?"),
                       {s.profit.units(), Dates::toText(s.date), storedText(s.customer.contact),
                        storedText(s.customer.taxNumber), storedText(s.customer.mobile),
                        storedText(s.customer.name), storedText(s.customer.phone),
                        storedText(s.customer.address), storedText(s.model), storedText(s.serial),
                        s.price.units(), storedText(s.remark), s.customer.number,
                        storedText(s.invoiceNumber), s.invoice() ? 1 : 0, s.id})
                      .numRowsAffected();
    if (changed != 1)
        throw DbError(QStringLiteral("订购记录 %1 不存在。").arg(s.id));
    LedgerStore(m_db).update(ledgerRowOf(s, {}));
    scope.commit();
}

void SalesStore::remove(qint64 id)
{
    TransactionScope scope(m_db);
    LedgerStore(m_db).remove(LedgerStore::salesKey(id));
    Db::exec(m_db, QStringLiteral("delete from dinggou where id = ?"), {id});
    scope.commit();
}

ReportQuery SalesStore::correctionList() const
{
    return {QStringLiteral("select * from dinggou order by 客户名称, id"), {}};
}
