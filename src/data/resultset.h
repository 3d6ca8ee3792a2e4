#pragma once

#include "sortkey.h"

#include "rowcache.h"

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

class RawRow;

// A named, shared result set of the data module (ADOQuery3 … ADOQuery18): a select statement
// with bound values, shown by grids as a table model. Rows are read in chunks around what is
// asked for (a row count statement plus chunked reads and a bounded row cache), so a result of a
// million rows opens as fast as one of ten and memory does not grow with it. No statement stays
// open between chunks. Screens that share one result set see each other's latest statement.
class ResultSet : public QAbstractTableModel
{
    Q_OBJECT
public:
    ResultSet(const QString &name, QSqlDatabase db, QObject *parent = nullptr);
    ~ResultSet() override;

    // Rebinds to a connection (after the data module reopened its file); closes first.
    void setDatabase(QSqlDatabase db);
    QSqlDatabase database() const { return m_db; }

    const QString &name() const { return m_name; }

    // Replaces the statement and opens it: counts the rows and learns the column names.
    // `sql` is a complete select (with its own order by); user values go in `values` only.
    // Throws DbError when the engine refuses it; the result set is closed then.
    void open(const QString &sql, const QVariantList &values = {});
    // Runs the current statement again (a refresh); keeps it closed when it was closed.
    void reopen();
    void close();
    bool isOpen() const { return m_open; }
    bool isEmpty() const { return m_rowCount == 0; }

    // Orders the rows by several columns of the result without changing the statement: the
    // engine sorts (so a large result sorts as a whole), then the rows are read again. Keys
    // naming no field of the result are dropped, as is a repeated field. An empty list
    // restores the statement's own order. open() clears the keys; reopen() keeps them.
    void setSortKeys(const SortKeys &keys);
    const SortKeys &sortKeys() const { return m_sortKeys; }
    // One key alone (an empty field restores the statement's order).
    void setSortColumn(const QString &field, Qt::SortOrder order = Qt::AscendingOrder);

    // Row cache limits: rows per chunk and how many chunks are kept (least recently used go).
    static constexpr int ChunkRows = RowCache::ChunkRows;
    static constexpr int MaxChunks = RowCache::MaxChunks;
    int cachedChunks() const;

    const QString &statement() const { return m_sql; }
    const QVariantList &values() const { return m_values; }

    // Column names of the open result, in statement order.
    const QStringList &fields() const { return m_fields; }
    int fieldIndex(const QString &field) const { return int(m_fields.indexOf(field)); }

    // The raw value of a cell (NULL as an invalid QVariant); reads its chunk when needed.
    QVariant value(int row, int column) const;
    QVariant value(int row, const QString &field) const;

    // Aggregates over the whole result, computed by the engine over the same statement:
    // the row count and the sum of each named column (integers, so money stays exact).
    struct Totals
    {
        qint64 rows = 0;
        QList<qint64> sums; // one per requested column
    };
    Totals totals(const QStringList &sumFields) const;

    // A totals computation detached from this object, so it can run on another thread: the
    // sums of a year's rows take long enough to freeze a window. It reads through its own
    // read-only connection to the same file (the main one belongs to the UI thread).
    struct TotalsRequest
    {
        QString databaseFile;
        QString sql;
        QVariantList values;
        quint64 generation = 0;
    };
    TotalsRequest totalsRequest(const QStringList &sumFields) const;
    // Throws DbError. Safe on any thread; the connection is removed before returning.
    static Totals computeTotals(const TotalsRequest &request, int sumCount);

    // Changes on every open, reopen and close: a late answer for an older statement is stale.
    quint64 generation() const { return m_generation; }

    // Visits every row of the whole result in order, reading it in chunks (for exports).
    // The visitor returns false to stop early. Returns false if it was stopped.
    bool forEachRow(const std::function<bool(int row, const QVariantList &values)> &visit) const;
    // The same walk with the cells as the engine holds them (see RawRow): for exports, which
    // format every value of a million rows.
    bool forEachRawRow(const std::function<bool(int row, const RawRow &cells)> &visit) const;

    // QAbstractTableModel: raw values as DisplayRole/EditRole; titles are the field names.
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant
    headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The statement changed or was run again (grids re-read their footers).
    void reloaded();

private:
    QString wrapped() const; // the statement with the current sort order
    QList<QVariantList> readRows(int offset, int count) const;
    const QVariantList *cachedRow(int row) const;

    QString m_name;
    QSqlDatabase m_db;
    QString m_sql;
    QVariantList m_values;
    QStringList m_fields;
    int m_rowCount = 0;
    bool m_open = false;
    quint64 m_generation = 0;
    SortKeys m_sortKeys;
    struct Cache;
    std::shared_ptr<Cache> m_cache;
};
