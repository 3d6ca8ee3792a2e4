#include "resultset.h"

#include "db.h"
#include "dberror.h"
#include "rawrows.h"
#include "rowcache.h"
#include "sqldialect.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

struct ResultSet::Cache : RowCache
{
};

namespace {

// The statement as a sub-select: trailing blanks and a final semicolon would break it.
QString subSelect(const QString &sql)
{
    QString body = sql.trimmed();
    while (body.endsWith(u';'))
        body = body.chopped(1).trimmed();
    return QStringLiteral("(\n") + body + QStringLiteral("\n) as merrow_rows");
}

// The statement without its final top-level "order by": counts and sums do not depend on the
// order, and an ordered count makes the engine walk an index and fetch every row. A statement
// with a top-level limit keeps its order, which decides the rows counted.
QString withoutFinalOrder(const QString &sql)
{
    QString body = sql.trimmed();
    while (body.endsWith(u';'))
        body = body.chopped(1).trimmed();
    const QString lower = body.toLower();
    int depth = 0;
    QChar quote;
    qsizetype order = -1;
    for (qsizetype i = 0; i < lower.size(); ++i) {
        const QChar c = lower.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && c.isSpace()) {
            const QStringView rest = QStringView(lower).mid(i + 1);
            if (rest.startsWith(u"order") && rest.size() > 5 && rest.at(5).isSpace()
                && rest.mid(5).trimmed().startsWith(u"by"))
                order = i;
            else if (order >= 0 && (rest.startsWith(u"limit") || rest.startsWith(u"offset")))
                return body;
        }
    }
    // A value bound in the order (none of ours) must keep its place among the values.
    if (order < 0 || QStringView(body).mid(order).contains(u'?'))
        return body;
    return body.left(order);
}

QString totalsStatement(const QString &sql, const QStringList &sumFields)
{
    QString totals = QStringLiteral("select count(*)");
    for (const QString &field : sumFields)
        totals += QStringLiteral(", coalesce(sum(%1), 0)").arg(SqlDialect::quote(field));
    return totals + QStringLiteral(" from ") + subSelect(withoutFinalOrder(sql));
}

void readTotals(QSqlQuery &query, ResultSet::Totals &totals)
{
    if (query.next()) {
        totals.rows = query.value(0).toLongLong();
        for (int i = 0; i < totals.sums.size(); ++i)
            totals.sums[i] = query.value(i + 1).toLongLong();
    }
    query.finish();
}

} // namespace

ResultSet::ResultSet(const QString &name, QSqlDatabase db, QObject *parent)
    : QAbstractTableModel(parent)
    , m_name(name)
    , m_db(db)
    , m_cache(std::make_shared<Cache>())
{
    setObjectName(name);
}

ResultSet::~ResultSet() = default;

void ResultSet::setDatabase(QSqlDatabase db)
{
    close();
    m_db = db;
}

QString ResultSet::wrapped() const
{
    QString sql = QStringLiteral("select * from ") + subSelect(m_sql);
    QStringList terms;
    for (const SortKey &key : m_sortKeys)
        terms << SqlDialect::quote(key.field)
                        + (key.order == Qt::AscendingOrder ? QStringLiteral(" asc")
                                                           : QStringLiteral(" desc"));
    if (!terms.isEmpty())
        sql += QStringLiteral(" order by ") + terms.join(QStringLiteral(", "));
    return sql;
}

void ResultSet::open(const QString &sql, const QVariantList &values)
{
    beginResetModel();
    ++m_generation;
    m_sql = sql;
    m_values = values;
    m_sortKeys.clear();
    m_open = false;
    m_rowCount = 0;
    m_fields.clear();
    m_cache = std::make_shared<Cache>();
    try {
        {
            // Learn the column names without reading any row.
            QSqlQuery names = Db::exec(m_db, wrapped() + QStringLiteral(" limit 0"), m_values);
            const QSqlRecord record = names.record();
            for (int i = 0; i < record.count(); ++i)
                m_fields << record.fieldName(i);
        }
        const QVariant count = Db::scalar(
                m_db, QStringLiteral("select count(*) from ") + subSelect(withoutFinalOrder(m_sql)),
                m_values);
        m_rowCount = count.toInt();
        m_open = true;
    } catch (const DbError &) {
        m_fields.clear();
        m_rowCount = 0;
        endResetModel();
        emit reloaded();
        throw;
    }
    endResetModel();
    emit reloaded();
}

void ResultSet::reopen()
{
    if (!m_open)
        return;
    const SortKeys keys = m_sortKeys;
    open(m_sql, m_values);
    if (!keys.isEmpty())
        setSortKeys(keys); // fields the statement no longer has are dropped there
}

void ResultSet::close()
{
    if (!m_open && m_fields.isEmpty())
        return;
    beginResetModel();
    ++m_generation;
    m_open = false;
    m_rowCount = 0;
    m_fields.clear();
    m_cache = std::make_shared<Cache>();
    endResetModel();
    emit reloaded();
}

void ResultSet::setSortKeys(const SortKeys &keys)
{
    if (!m_open)
        return;
    SortKeys kept;
    QStringList seen;
    for (const SortKey &key : keys) {
        if (!m_fields.contains(key.field) || seen.contains(key.field))
            continue;
        seen << key.field;
        kept << key;
    }
    beginResetModel();
    m_sortKeys = kept;
    m_cache = std::make_shared<Cache>();
    endResetModel();
}

void ResultSet::setSortColumn(const QString &field, Qt::SortOrder order)
{
    setSortKeys(field.isEmpty() ? SortKeys() : SortKeys {{field, order}});
}

int ResultSet::cachedChunks() const
{
    return m_cache->chunks();
}

QList<QVariantList> ResultSet::readRows(int offset, int count) const
{
    QVariantList values = m_values;
    values << count << offset;
    QSqlQuery query = Db::exec(m_db, wrapped() + QStringLiteral(" limit ? offset ?"), values);
    return Db::readRows(query);
}

const QVariantList *ResultSet::cachedRow(int row) const
{
    if (!m_open || row < 0 || row >= m_rowCount)
        return nullptr;
    return m_cache->row(row, [this](int first) { return readRows(first, ChunkRows); });
}

QVariant ResultSet::value(int row, int column) const
{
    const QVariantList *values = cachedRow(row);
    if (!values || column < 0 || column >= values->size())
        return {};
    return values->at(column);
}

QVariant ResultSet::value(int row, const QString &field) const
{
    return value(row, fieldIndex(field));
}

ResultSet::Totals ResultSet::totals(const QStringList &sumFields) const
{
    Totals totals;
    totals.sums.fill(0, sumFields.size());
    if (!m_open)
        return totals;
    // A count alone is the one taken when the result was opened (it is a snapshot until
    // reopened): counting a million rows again would double the time a grid takes to open.
    if (sumFields.isEmpty()) {
        totals.rows = m_rowCount;
        return totals;
    }
    QSqlQuery query = Db::exec(m_db, totalsStatement(m_sql, sumFields), m_values);
    readTotals(query, totals);
    return totals;
}

ResultSet::TotalsRequest ResultSet::totalsRequest(const QStringList &sumFields) const
{
    return {m_db.databaseName(), totalsStatement(m_sql, sumFields), m_values, m_generation};
}

ResultSet::Totals ResultSet::computeTotals(const TotalsRequest &request, int sumCount)
{
    static std::atomic<quint64> serial {0};
    const QString name = QStringLiteral("merrow-totals-%1").arg(++serial);
    Totals totals;
    totals.sums.fill(0, sumCount);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(request.databaseFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        try {
            if (!db.open())
                throw DbError(db.lastError());
            QSqlQuery query = Db::exec(db, request.sql, request.values);
            readTotals(query, totals);
        } catch (const DbError &) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return totals;
}

bool ResultSet::forEachRow(const std::function<bool(int, const QVariantList &)> &visit) const
{
    // One list for all rows: the visitor gets it by reference, so its storage is reused.
    QVariantList values;
    return forEachRawRow([&](int row, const RawRow &cells) {
        values.resize(cells.columns());
        for (int c = 0; c < cells.columns(); ++c)
            values[c] = cells.value(c);
        return visit(row, values);
    });
}

bool ResultSet::forEachRawRow(const std::function<bool(int, const RawRow &)> &visit) const
{
    if (!m_open)
        return true;
    // One forward-only read from start to end: pages by offset would make the engine step
    // over every earlier row again for each page, which dominates a large export. The
    // statement is finished before returning, so no lock outlives the walk.
    return RawRows::forEach(m_db, wrapped(), m_values, visit);
}

int ResultSet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ResultSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant ResultSet::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    try {
        return value(index.row(), index.column());
    } catch (const DbError &) {
        // A view cannot show an error while painting; the cell stays empty.
        return {};
    }
}

QVariant ResultSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_fields.size() ? QVariant(m_fields.at(section))
                                                         : QVariant();
    return section + 1;
}
