#pragma once

// A shop's few months of business for the report tests: customers, sales, repairs, their
// ledger rows and the receipts of what was paid, inserted with plain bound statements. The
// same records stay in memory so tests compute what a report must list on their own.

#include "data/db.h"
#include "data/money.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <algorithm>
#include <functional>

namespace ReportFixture {

struct Customer
{
    int number;
    QString name, address, telephone, mobile;
};

enum class Kind { Sale, Repair };

struct Record
{
    Kind kind;
    int id;
    int customer;
    QString date;
    QString amount; // yuan as typed
    QString profit;
    bool invoice;
    bool paid;
    // The record's own copy of the customer, when it differs from the customer row today.
    QString name = {}, telephone = {};
    bool noAddress = false;
};

struct Receipt
{
    int customer;
    QString serial;
    QString amount;
    QString date;
};

inline const QList<Customer> &customers()
{
    static const QList<Customer> list {
            {1, "张三", "城关镇东村", "111", "1391"},   {2, "李四", "城关镇西村", "222", "1392"},
            {3, "王五", "河口乡100%村", "111", "1393"}, // shares a telephone with 张三
            {4, "赵六", "南街'3号", "444", "1394"},     {5, "钱七", "河口乡_村", "555", "1395"},
            {6, "孙八", "北山村", "666", "1396"}, // never bought or repaired anything
    };
    return list;
}

inline const QList<Record> &records()
{
    static const QList<Record> list {
            {Kind::Sale, 1, 1, "2024-01-05", "3500.5", "300", true, true},
            {Kind::Sale, 2, 1, "2024-02-10", "1200", "100", false, false},
            {Kind::Sale, 3, 2, "2024-02-10", "899.99", "50", true, false},
            {Kind::Sale, 4, 3, "2024-03-01", "4200", "400", false, true},
            {Kind::Sale, 5, 4, "2024-03-31", "150.25", "20", false, true},
            {Kind::Sale, 6, 5, "2024-04-01", "60", "5", true, false},
            // Written before 张三 changed his telephone.
            {Kind::Sale, 7, 1, "2024-04-15", "0.0001", "0", false, true, {}, "999"},
            {Kind::Sale, 8, 2, "2024-01-05", "10", "1", false, false, {}, {}, true},
            {Kind::Repair, 1, 1, "2024-01-05", "80", "30", false, true},
            {Kind::Repair, 2, 2, "2024-02-10", "120.5", "60", true, false},
            {Kind::Repair, 3, 3, "2024-02-29", "45", "10", false, false},
            {Kind::Repair, 4, 4, "2024-03-31", "200", "90", true, true},
            // Entered under a name that no customer row carries.
            {Kind::Repair, 5, 1, "2024-04-15", "35", "15", false, false, "张三丰"},
            {Kind::Repair, 6, 5, "2024-03-01", "0", "0", false, true},
    };
    return list;
}

inline const Customer &customer(int number)
{
    return *std::find_if(customers().begin(), customers().end(),
                         [&](const Customer &c) { return c.number == number; });
}

inline QString ledgerKey(const Record &r)
{
    return (r.kind == Kind::Sale ? QStringLiteral("订购") : QStringLiteral("维修"))
            + QString::number(r.id);
}
inline QString serial(const Record &r)
{
    return QStringLiteral("SN-") + ledgerKey(r);
}
inline QString nameOf(const Record &r)
{
    return r.name.isEmpty() ? customer(r.customer).name : r.name;
}
inline QString telephoneOf(const Record &r)
{
    return r.telephone.isEmpty() ? customer(r.customer).telephone : r.telephone;
}
inline qint64 units(const QString &yuan)
{
    return Money::parse(yuan)->units();
}

// Paid records were paid on their day; 李四 also paid 100 on account in May.
inline QList<Receipt> receipts()
{
    QList<Receipt> list;
    for (const Record &r : records())
        if (r.paid)
            list << Receipt {r.customer, serial(r), r.amount, r.date};
    list << Receipt {2, "SN-X", "100", "2024-05-02"};
    return list;
}

inline void insert(const QSqlDatabase &db)
{
    for (const Customer &c : customers())
        Db::exec(db,
                 "insert into 客户信息 (客户编号, 客户名称, 地址, 电话, 手机, 身份证号, 出生年, "
                 "起用日期) values (?, ?, ?, ?, ?, ?, ?, ?)",
                 {c.number, c.name, c.address, c.telephone, c.mobile, "联系人" + c.name,
                  "税号" + QString::number(c.number), "2023-12-01"});
    for (const Record &r : records()) {
        const Customer &c = customer(r.customer);
        const QVariant address
                = r.noAddress ? QVariant(QMetaType(QMetaType::QString)) : QVariant(c.address);
        const QVariantList copy {r.customer, nameOf(r), address, telephoneOf(r), c.mobile};
        if (r.kind == Kind::Sale)
            Db::exec(db,
                     "insert into dinggou (id, 客户编号, 客户名称, 地址, 电话, 手机, 身份证号, "
                     "出生年, 订购型号, 主机序列号, 价格, 利润, 客服人员, 发票, 发票号码, 备注, "
                     "日期, 经手人) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                     QVariantList {r.id} + copy
                             + QVariantList {"联系人", "税号", "型号" + QString::number(r.id),
                                             serial(r), units(r.amount), units(r.profit), "小王",
                                             r.invoice ? 1 : 0,
                                             r.invoice ? "FP" + QString::number(r.id) : "", "",
                                             r.date, "0001"});
        else
            Db::exec(db,
                     "insert into 维修记录 (id, 客户编号, 客户名称, 地址, 电话, 手机, 身份证号, "
                     "出生年, 主机序列号, 维修项目, 维修费, 利润, 发票, 发票号码, 备注, 日期, "
                     "经手人) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                     QVariantList {r.id} + copy
                             + QVariantList {"联系人", "税号", serial(r), "  主机", units(r.amount),
                                             units(r.profit), r.invoice ? 1 : 0,
                                             r.invoice ? "FW" + QString::number(r.id) : "", "",
                                             r.date, "0001"});
        Db::exec(db,
                 "insert into 帐款明细 (id, 客户编号, 客户名称, 地址, 电话, 手机, 主机序列号, "
                 "应付金额, 付款情况, 发票, 发票号码, 备注, 日期, 经手人) "
                 "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 QVariantList {ledgerKey(r)} + copy
                         + QVariantList {serial(r), units(r.amount), r.paid ? "已付款" : "未付款",
                                         r.invoice ? 1 : 0, "", "", r.date, "0001"});
    }
    for (const Receipt &p : receipts()) {
        const Customer &c = customer(p.customer);
        Db::exec(db,
                 "insert into 收款记录 (客户编号, 客户名称, 地址, 电话, 手机, 主机序列号, 金额, "
                 "日期, 经手人) values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 {c.number, c.name, c.address, c.telephone, c.mobile, p.serial, units(p.amount),
                  p.date, "0001"});
    }
}

// The records a report must list, each named by its ledger key, in fixture order.
inline QStringList keys(const std::function<bool(const Record &)> &keep)
{
    QStringList list;
    for (const Record &r : records())
        if (keep(r))
            list << ledgerKey(r);
    return list;
}

} // namespace ReportFixture
