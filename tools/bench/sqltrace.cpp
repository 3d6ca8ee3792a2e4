#include "sqltrace.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

int traceCallback(unsigned type, void *context, void *statement, void *text)
{
    auto *trace = static_cast<SqlTrace *>(context);
    if (type != SQLITE_TRACE_STMT || !trace->m_recording)
        return 0;
    // Trigger bodies are reported as "-- name"; the statement that fired them is recorded.
    if (qstrncmp(static_cast<const char *>(text), "--", 2) == 0)
        return 0;
    char *expanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement));
    if (expanded) {
        trace->m_statements << QString::fromUtf8(expanded);
        sqlite3_free(expanded);
    }
    return 0;
}

SqlTrace::SqlTrace(const QSqlDatabase &db)
{
    // The QSQLITE driver hands out its sqlite3 handle; Debian's Qt links the system library,
    // the same one this tool links, so the hook lands in the engine our stores use.
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(handle.data());
    if (m_handle)
        sqlite3_trace_v2(static_cast<sqlite3 *>(m_handle), SQLITE_TRACE_STMT, traceCallback, this);
}

SqlTrace::~SqlTrace()
{
    if (m_handle)
        sqlite3_trace_v2(static_cast<sqlite3 *>(m_handle), 0, nullptr, nullptr);
}

void SqlTrace::start()
{
    m_statements.clear();
    m_recording = true;
}

QStringList SqlTrace::stop()
{
    m_recording = false;
    return std::exchange(m_statements, {});
}
