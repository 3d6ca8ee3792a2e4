#pragma once

#include "ledgerstore.h"
#include "money.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// One row of 收款记录: a payment received.
struct Receipt
{
    CustomerCopy customer; // contact and tax number are not kept in receipts
    QString serial; // 主机序列号
    Money amount; // 金额
    QDate date; // 日期
    QString operatorNumber; // 经手人
};

// The table 收款记录 (no key). Throws DbError; runs inside the caller's transaction.
class ReceiptStore
{
public:
    explicit ReceiptStore(QSqlDatabase db);

    void insert(const Receipt &receipt);

private:
    QSqlDatabase m_db;
};
