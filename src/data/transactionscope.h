#pragma once

#include <QSqlDatabase>

// Begins a transaction; rolls it back on destruction unless commit() succeeded.
// Multi-row writes go through one of these so a failure part-way leaves nothing behind.
class TransactionScope
{
public:
    explicit TransactionScope(QSqlDatabase db); // throws DbError when no transaction can begin
    ~TransactionScope();
    TransactionScope(const TransactionScope &) = delete;
    TransactionScope &operator=(const TransactionScope &) = delete;

    void commit(); // throws DbError; the transaction is rolled back then

private:
    QSqlDatabase m_db;
    bool m_open = false;
};
