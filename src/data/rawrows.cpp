#include "rawrows.h"

#include "db.h"
#include "dberror.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>
#include <optional>
#include <vector>

#include <sqlite3.h>

QVariant RawRow::value(int column) const
{
    switch (type(column)) {
    case Type::Null:
        return {};
    case Type::Integer:
        return QVariant(integer(column));
    case Type::Real:
        return QVariant(real(column));
    case Type::Text:
        return QVariant(QString::fromUtf8(utf8(column)));
    case Type::Blob:
        return QVariant(blob(column).toByteArray());
    }
    return {};
}

namespace {

// The engine's handle behind a QSQLITE connection. Debian's Qt links the system library, the
// one this program links, so the handle can be used directly.
sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

class SqliteRow : public RawRow
{
public:
    explicit SqliteRow(sqlite3_stmt *statement)
        : m_statement(statement)
        , m_columns(sqlite3_column_count(statement))
    { }
    int columns() const override { return m_columns; }
    Type type(int column) const override
    {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            return Type::Integer;
        case SQLITE_FLOAT:
            return Type::Real;
        case SQLITE_TEXT:
            return Type::Text;
        case SQLITE_BLOB:
            return Type::Blob;
        default:
            return Type::Null;
        }
    }
    qint64 integer(int column) const override { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const override { return sqlite3_column_double(m_statement, column); }
    // The bytes first, then their length: the order the engine documents.
    QByteArrayView utf8(int column) const override
    {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
    }
    QByteArrayView blob(int column) const override
    {
        const void *bytes = sqlite3_column_blob(m_statement, column);
        return QByteArrayView(static_cast<const char *>(bytes),
                              sqlite3_column_bytes(m_statement, column));
    }

private:
    sqlite3_stmt *m_statement;
    int m_columns;
};

// Binds as Qt's SQLite driver does: null values (also null texts) as NULL, whole numbers as
// integers, texts as UTF-8, anything else as its text.
int bind(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::Long:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return sqlite3_bind_int64(statement, index, qint64(value.toULongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        if (bytes.isNull())
            return sqlite3_bind_null(statement, index);
        return sqlite3_bind_blob64(statement, index, bytes.constData(),
                                   sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
    }
    default: {
        const QString text = value.toString();
        if (text.isNull())
            return sqlite3_bind_null(statement, index);
        const QByteArray bytes = text.toUtf8();
        return sqlite3_bind_text64(statement, index, bytes.constData(),
                                   sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

bool forEachSqlite(sqlite3 *handle,
                   const QString &sql,
                   const QVariantList &values,
                   const std::function<bool(int, const RawRow &)> &visit)
{
    const auto fail = [handle] { throw DbError(QString::fromUtf8(sqlite3_errmsg(handle))); };
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *prepared = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &prepared, nullptr)
        != SQLITE_OK)
        fail();
    // Finalized on every way out, a thrown visitor included.
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> statement(prepared,
                                                                           sqlite3_finalize);
    if (!statement)
        throw DbError(QStringLiteral("空的查询语句"));
    if (sqlite3_bind_parameter_count(prepared) != values.size())
        throw DbError(QStringLiteral("参数个数不符"));
    for (int i = 0; i < values.size(); ++i) {
        if (bind(prepared, i + 1, values.at(i)) != SQLITE_OK)
            fail();
    }
    const SqliteRow row(prepared);
    int number = 0;
    int step;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        if (!visit(number++, row))
            return false;
    }
    if (step != SQLITE_DONE)
        fail();
    return true;
}

// Any other engine: the values Qt read, converted when asked for.
class VariantRow : public RawRow
{
public:
    explicit VariantRow(int columns)
        : m_values(size_t(columns))
        , m_utf8(size_t(columns))
    { }
    void set(const QSqlQuery &query)
    {
        for (size_t c = 0; c < m_values.size(); ++c) {
            m_values[c] = query.value(int(c));
            m_utf8[c].reset();
        }
    }
    int columns() const override { return int(m_values.size()); }
    Type type(int column) const override
    {
        const QVariant &v = m_values.at(size_t(column));
        if (!v.isValid() || v.isNull())
            return Type::Null;
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
            return Type::Integer;
        case QMetaType::Double:
        case QMetaType::Float:
            return Type::Real;
        case QMetaType::QByteArray:
            return Type::Blob;
        default:
            return Type::Text;
        }
    }
    qint64 integer(int column) const override { return m_values.at(size_t(column)).toLongLong(); }
    double real(int column) const override { return m_values.at(size_t(column)).toDouble(); }
    QByteArrayView utf8(int column) const override
    {
        std::optional<QByteArray> &bytes = m_utf8.at(size_t(column));
        if (!bytes)
            bytes = m_values.at(size_t(column)).toString().toUtf8();
        return *bytes;
    }
    QByteArrayView blob(int column) const override
    {
        std::optional<QByteArray> &bytes = m_utf8.at(size_t(column));
        if (!bytes)
            bytes = m_values.at(size_t(column)).toByteArray();
        return *bytes;
    }

private:
    std::vector<QVariant> m_values;
    mutable std::vector<std::optional<QByteArray>> m_utf8;
};

} // namespace

namespace RawRows {

bool forEachThroughDriver(const QSqlDatabase &db,
                          const QString &sql,
                          const QVariantList &values,
                          const std::function<bool(int, const RawRow &)> &visit)
{
    QSqlQuery query = Db::exec(db, sql, values);
    VariantRow row(query.record().count());
    int number = 0;
    while (query.next()) {
        row.set(query);
        if (!visit(number++, row)) {
            query.finish();
            return false;
        }
    }
    if (query.lastError().isValid())
        throw DbError(query.lastError());
    query.finish();
    return true;
}

bool forEach(const QSqlDatabase &db,
             const QString &sql,
             const QVariantList &values,
             const std::function<bool(int, const RawRow &)> &visit)
{
    if (sqlite3 *handle = sqliteHandle(db))
        return forEachSqlite(handle, sql, values, visit);
    return forEachThroughDriver(db, sql, values, visit);
}

} // namespace RawRows
