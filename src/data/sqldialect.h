#pragma once

#include <QSqlDatabase>
#include <QString>

// What differs between the embedded engine (SQLite) and a server engine (PostgreSQL).
class SqlDialect
{
public:
    enum class Engine { SQLite, PostgreSQL };

    explicit SqlDialect(Engine engine)
        : m_engine(engine)
    { }
    static SqlDialect of(const QSqlDatabase &db);

    Engine engine() const { return m_engine; }

    // Double-quoted identifier; needed for the flag columns "1" … "17".
    static QString quote(const QString &identifier);

    // Escapes % _ and \ so a user's text is matched literally by `like ? escape '\'`.
    static QString escapeLike(const QString &text);
    // "%text%" escaped, for a contains-search bound to likeClause().
    static QString containsPattern(const QString &text) { return u'%' + escapeLike(text) + u'%'; }
    // The comparison to use with a bound pattern, e.g. "客户名称 " + likeClause().
    static QString likeClause() { return QStringLiteral("like ? escape '\\'"); }

    // A column that identifies a row of a table without a key.
    QString rowIdColumn() const;

private:
    Engine m_engine;
};
