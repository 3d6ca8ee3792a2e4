#pragma once

#include "ledgerstore.h"
#include "money.h"
#include "reportstore.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// One row of 维修记录: a repair job.
struct Repair
{
    qint64 id = 0; // given by record()
    CustomerCopy customer;
    QString serial; // 主机序列号: the machine's serial after the repair
    QString items; // 维修项目: each item name preceded by two blanks
    Money fee; // 维修费
    Money profit; // 利润
    QString invoiceNumber; // 发票号码; 发票 is set exactly when this is filled in
    QString remark; // 备注
    QDate date; // 日期
    QString operatorNumber; // 经手人

    bool invoice() const { return !invoiceNumber.isEmpty(); }

    // The stored form of the chosen items, in the given order.
    static QString itemsText(const QStringList &names);
};

// The table 维修记录 together with each repair's ledger row (and receipt when paid).
// Every method throws DbError; a failed multi-row write leaves no row behind.
class RepairStore
{
public:
    explicit RepairStore(QSqlDatabase db);

    qint64 nextId() const;

    // Writes the repair under the next id and its ledger row "维修<id>" (paid or unpaid) in
    // one transaction, plus a receipt for the fee when `paid` and `receipt` are both set.
    // Returns the id.
    qint64 record(const Repair &repair, bool paid, bool receipt);

    std::optional<Repair> find(qint64 id) const;

    // As SalesStore::update / remove, for repairs and their "维修<id>" ledger rows.
    void update(const Repair &repair);
    void remove(qint64 id);

    // The correction list: every repair by customer name, equal names in the order recorded.
    ReportQuery correctionList() const;

private:
    QSqlDatabase m_db;
};
