#include "receiptstore.h"

#include "dates.h"
#include "db.h"

ReceiptStore::ReceiptStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

void ReceiptStore::insert(const Receipt &r)
{
    Db::exec(m_db,
             QStringLiteral(
                     "insert into 收款记录 (客户编号, 客户名称, 地址, 电话, 手机, 主机序列号, "
                     "金额, 日期, 经手人) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {r.customer.number, storedText(r.customer.name), storedText(r.customer.address),
              storedText(r.customer.phone), storedText(r.customer.mobile), storedText(r.serial),
              r.amount.units(), Dates::toText(r.date), storedText(r.operatorNumber)});
}
