#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSqlDatabase>
#include <QVariant>
#include <QVariantList>

#include <functional>

// One row of a result as the engine holds it, for walks that format millions of values
// (exports): a cell is read by its type without building a QVariant, and text comes as the
// engine's UTF-8 bytes. Valid only during the visit that hands it out.
class RawRow
{
public:
    enum class Type { Null, Integer, Real, Text, Blob };

    virtual ~RawRow() = default;
    virtual int columns() const = 0;
    virtual Type type(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual double real(int column) const = 0;
    // The text in UTF-8; a number is converted to its text (ask for the type first).
    virtual QByteArrayView utf8(int column) const = 0;
    virtual QByteArrayView blob(int column) const = 0;

    // The cell as a result set shows it: NULL invalid, integers qint64, reals double, text
    // QString, blobs QByteArray.
    QVariant value(int column) const;
};

namespace RawRows {

// Runs a select with positionally bound values and visits its rows in order; the visitor
// returns false to stop. Returns false if it was stopped. On SQLite the rows are read through
// the engine's own interface on the connection's handle (no value converted before it is asked
// for); other engines go through Qt. The statement is finished before returning, so no read
// lock outlives the walk. Throws DbError.
bool forEach(const QSqlDatabase &db,
             const QString &sql,
             const QVariantList &values,
             const std::function<bool(int row, const RawRow &cells)> &visit);

// The same walk through Qt's driver whatever the engine: the way for engines without a direct
// reader, and the reference the direct reader must agree with.
bool forEachThroughDriver(const QSqlDatabase &db,
                          const QString &sql,
                          const QVariantList &values,
                          const std::function<bool(int row, const RawRow &cells)> &visit);

} // namespace RawRows
