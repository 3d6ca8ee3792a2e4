#pragma once

#include "ledgerstore.h"
#include "money.h"
#include "reportstore.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// One row of dinggou: a sale ("定购").
struct Sale
{
    qint64 id = 0; // given by record()
    CustomerCopy customer;
    QString model; // 订购型号
    QString serial; // 主机序列号
    Money price; // 价格
    Money profit; // 利润
    QString serviceStaff; // 客服人员
    QString invoiceNumber; // 发票号码; 发票 is set exactly when this is filled in
    QString remark; // 备注
    QDate date; // 日期
    QString operatorNumber; // 经手人

    bool invoice() const { return !invoiceNumber.isEmpty(); }
};

// The table dinggou together with each sale's ledger row (and receipt when paid at once).
// Every method throws DbError; a failed multi-row write leaves no row behind.
class SalesStore
{
public:
    explicit SalesStore(QSqlDatabase db);

    // Largest id plus one (1 for none).
    qint64 nextId() const;

    // Writes the sale under the next id, its ledger row "订购<id>" (paid or unpaid) and,
    // when paid, a receipt for the price, in one transaction. Returns the id.
    qint64 record(const Sale &sale, bool paid);

    std::optional<Sale> find(qint64 id) const;
    // The serial of the customer's first sale in the order sales were recorded; empty when
    // the customer bought nothing.
    QString firstSerialOf(qint64 customerNumber) const;

    // Rewrites a corrected sale and its ledger row in one transaction. The ledger row keeps
    // its payment state and 经手人, the sale its 经手人 and 客服人员; receipts are not touched.
    void update(const Sale &sale);
    // Deletes the sale and its ledger row in one transaction; its receipt stays.
    void remove(qint64 id);

    // The correction list: every sale by customer name, equal names in the order recorded.
    ReportQuery correctionList() const;

private:
    QSqlDatabase m_db;
};
