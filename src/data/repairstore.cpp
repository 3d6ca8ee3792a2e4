#include "repairstore.h"

#include "dates.h"
#include "db.h"
#include "receiptstore.h"
#include "transactionscope.h"

#include <QSqlQuery>

namespace {
const QString Columns
        = QStringLiteral("id, 客户编号, 客户名称, 地址, 电话, 手机, 身份证号, 出生年, 主机序列号, "
                         "维修项目, 维修费, 利润, 发票, 发票号码, 备注, 日期, 经手人");

Repair fromQuery(const QSqlQuery &q)
{
    Repair r;
    r.id = q.value(0).toLongLong();
    r.customer = CustomerCopy::read(q, 1, true);
    r.serial = Db::text(q.value(8));
    r.items = Db::text(q.value(9));
    r.fee = Money::fromUnits(q.value(10).toLongLong());
    r.profit = Money::fromUnits(q.value(11).toLongLong());
    r.invoiceNumber = Db::text(q.value(13));
    r.remark = Db::text(q.value(14));
    r.date = Dates::fromText(Db::text(q.value(15)));
    r.operatorNumber = Db::text(q.value(16));
    return r;
}

LedgerRow ledgerRowOf(const Repair &r, const QString &payment)
{
    LedgerRow row;
    row.key = LedgerStore::repairKey(r.id);
    row.customer = r.customer;
    row.serial = r.serial;
    row.amountDue = r.fee;
    row.payment = payment;
    row.invoiceNumber = r.invoiceNumber;
    row.invoice = r.invoice();
    row.remark = r.remark;
    row.date = r.date;
    row.operatorNumber = r.operatorNumber;
    return row;
}
} // namespace

QString Repair::itemsText(const QStringList &names)
{
    QString text;
    for (const QString &name : names)
        text += QStringLiteral("  ") + name;
    return text;
}

RepairStore::RepairStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

qint64 RepairStore::nextId() const
{
    return Db::scalar(m_db, QStringLiteral("select max(id) from 维修记录")).toLongLong() + 1;
}

qint64 RepairStore::record(const Repair &repair, bool paid, bool receipt)
{
    TransactionScope scope(m_db);
    Repair r = repair;
    r.id = nextId();
    Db::exec(m_db,
             QStringLiteral("insert into 维修记录 (") + Columns
                     + QStringLiteral(") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                      "?)"),
             {r.id, r.customer.number, storedText(r.customer.name), storedText(r.customer.address),
              storedText(r.customer.phone), storedText(r.customer.mobile),
              storedText(r.customer.contact), storedText(r.customer.taxNumber),
              storedText(r.serial), storedText(r.items), r.fee.units(), r.profit.units(),
              r.invoice() ? 1 : 0, storedText(r.invoiceNumber), storedText(r.remark),
              Dates::toText(r.date), storedText(r.operatorNumber)});
    LedgerStore(m_db).insert(ledgerRowOf(r, paid ? PaymentState::paid() : PaymentState::unpaid()));
    if (paid && receipt)
        ReceiptStore(m_db).insert({r.customer, r.serial, r.fee, r.date, r.operatorNumber});
    scope.commit();
    return r.id;
}

std::optional<Repair> RepairStore::find(qint64 id) const
{
    QSqlQuery q = Db::exec(m_db,
                           QStringLiteral("select ") + Columns
                                   + QStringLiteral(" from 维修记录 where id = ?"),
                           {id});
    if (!q.next())
        return std::nullopt;
    return fromQuery(q);
}

void RepairStore::update(const Repair &r)
{
    TransactionScope scope(m_db);
    const int changed
            = Db::exec(m_db,
                       QStringLiteral("update 维修记录 set 利润 = ?, 身份证号 = ?, 出生年 = ?, "
                                      "手机 = ?, 客户编号 = ?, 客户名称 = ?, 电话 = ?, 地址 = ?, "
                                      "主机序列号 = ?, 维修费 = ?, 维修项目 = ?, 备注 = ?, "
                                      "日期 = ?, 发票 = ?, 发票号码 = ? where id = ?"),
                       {r.profit.units(), storedText(r.customer.contact),
                        storedText(r.customer.taxNumber), storedText(r.customer.mobile),
                        r.customer.number, storedText(r.customer.name),
                        storedText(r.customer.phone), storedText(r.customer.address),
                        storedText(r.serial), r.fee.units(), storedText(r.items),
                        storedText(r.remark), Dates::toText(r.date), r.invoice() ? 1 : 0,
                        storedText(r.invoiceNumber), r.id})
                      .numRowsAffected();
    if (changed != 1)
        throw DbError(QStringLiteral("维修记录 %1 不存在。").arg(r.id));
    LedgerStore(m_db).update(ledgerRowOf(r, {}));
    scope.commit();
}

void RepairStore::remove(qint64 id)
{
    TransactionScope scope(m_db);
    LedgerStore(m_db).remove(LedgerStore::repairKey(id));
    Db::exec(m_db, QStringLiteral("delete from 维修记录 where id = ?"), {id});
    scope.commit();
}

ReportQuery RepairStore::correctionList() const
{
    return {QStringLiteral("select * from 维修记录 order by 客户名称, id"), {}};
}
