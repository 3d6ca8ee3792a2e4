#include "transactionscope.h"

#include "dberror.h"

#include <QSqlError>

TransactionScope::TransactionScope(QSqlDatabase db)
    : m_db(std::move(db))
{
    if (!m_db.transaction())
        throw DbError(m_db.lastError());
    m_open = true;
}

TransactionScope::~TransactionScope()
{
    if (m_open)
        m_db.rollback();
}

void TransactionScope::commit()
{
    if (!m_db.commit()) {
        const QSqlError error = m_db.lastError();
        m_db.rollback();
        m_open = false;
        throw DbError(error);
    }
    m_open = false;
}
