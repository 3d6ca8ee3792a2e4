#include "sqldialect.h"

SqlDialect SqlDialect::of(const QSqlDatabase &db)
{
    return SqlDialect(db.driverName() == QLatin1String("QPSQL") ? Engine::PostgreSQL
                                                                : Engine::SQLite);
}

QString SqlDialect::quote(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(u'"', QLatin1String("\"\""));
    return u'"' + escaped + u'"';
}

QString SqlDialect::escapeLike(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QString SqlDialect::rowIdColumn() const
{
    return m_engine == Engine::PostgreSQL ? QStringLiteral("ctid") : QStringLiteral("rowid");
}
