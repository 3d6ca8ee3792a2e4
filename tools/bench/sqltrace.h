#pragma once

#include <QSqlDatabase>
#include <QStringList>

// Records every statement our connection runs, with its bound values written in, so the
// sqlite3 tool can run exactly the same text on the same file.
class SqlTrace
{
public:
    explicit SqlTrace(const QSqlDatabase &db);
    ~SqlTrace();
    SqlTrace(const SqlTrace &) = delete;
    SqlTrace &operator=(const SqlTrace &) = delete;

    void start(); // forgets what was recorded before
    QStringList stop();

private:
    void *m_handle = nullptr;
    QStringList m_statements;
    bool m_recording = false;
    friend int traceCallback(unsigned, void *, void *, void *);
};
