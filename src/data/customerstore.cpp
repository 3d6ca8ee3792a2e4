#include "customerstore.h"

#include "dates.h"
#include "db.h"
#include "schemaupgrade.h"
#include "sqldialect.h"

#include <QSqlQuery>

namespace {

const QString Columns
        = QStringLiteral("客户编号, 客户名称, 地址, 电话, 手机, 身份证号, 出生年, 起用日期, 备注");

QString selectFrom()
{
    return QStringLiteral("select ") + Columns + QStringLiteral(" from 客户信息");
}

Customer read(const QSqlQuery &query)
{
    return CustomerStore::fromValues([&query](const QString &field) { return query.value(field); });
}

QList<Customer> readAll(QSqlQuery &query)
{
    QList<Customer> result;
    while (query.next())
        result.append(read(query));
    return result;
}

// The date goes in as the stored text form; an unset date is stored as no value.
QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(Dates::toText(date)) : QVariant(QMetaType(QMetaType::QString));
}

} // namespace

CustomerStore::CustomerStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

QString CustomerStore::columnName(Column column)
{
    switch (column) {
    case Column::Number:
        return QStringLiteral("客户编号");
    case Column::Name:
        return QStringLiteral("客户名称");
    case Column::Address:
        return QStringLiteral("地址");
    case Column::Telephone:
        return QStringLiteral("电话");
    case Column::Mobile:
        return QStringLiteral("手机");
    }
    return {};
}

std::optional<CustomerStore::Column> CustomerStore::offeredColumn(const QString &name,
                                                                  const QList<Column> &offered)
{
    for (const Column column : offered) {
        if (columnName(column) == name)
            return column;
    }
    return std::nullopt;
}

QList<CustomerStore::Column> CustomerStore::listSearchColumns()
{
    return {Column::Name, Column::Address, Column::Telephone, Column::Mobile};
}

QList<CustomerStore::Column> CustomerStore::querySearchColumns()
{
    return {Column::Name, Column::Address, Column::Telephone, Column::Mobile, Column::Number};
}

std::optional<qint64> CustomerStore::parseNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Digits only (an optional sign aside): "1e3", "0x10" or "١٢" are no customer numbers.
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        const bool sign = i == 0 && (c == u'-' || c == u'+') && trimmed.size() > 1;
        if (!sign && (c < u'0' || c > u'9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

qint64 CustomerStore::nextNumber() const
{
    const QVariant largest
            = Db::scalar(m_db, QStringLiteral("select max(客户编号) as 最大编号 from 客户信息"));
    return (largest.isNull() ? 0 : largest.toLongLong()) + 1;
}

void CustomerStore::insert(const Customer &c)
{
    Db::exec(m_db,
             QStringLiteral("insert into 客户信息 (") + Columns
                     + QStringLiteral(") values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {c.number, c.name, c.address, c.telephone, c.mobile, c.contact, c.taxNumber,
              dateValue(c.since), c.remark});
}

void CustomerStore::update(qint64 number, const Customer &c)
{
    const int changed = Db::execCount(
            m_db,
            QStringLiteral("update 客户信息 set 客户名称 = ?, 地址 = ?, 电话 = ?, 手机 = ?, "
                           "身份证号 = ?, 出生年 = ?, 起用日期 = ?, 备注 = ? where 客户编号 = ?"),
            {c.name, c.address, c.telephone, c.mobile, c.contact, c.taxNumber, dateValue(c.since),
             c.remark, number});
    // A customer deleted meanwhile must not be reported as saved.
    if (changed != 1)
        throw DbError(QStringLiteral("客户编号为 %1 的客户档案不存在。").arg(number));
}

bool CustomerStore::remove(qint64 number)
{
    return Db::execCount(m_db, QStringLiteral("delete from 客户信息 where 客户编号 = ?"), {number})
            > 0;
}

std::optional<Customer> CustomerStore::find(qint64 number) const
{
    QSqlQuery query
            = Db::exec(m_db, selectFrom() + QStringLiteral(" where 客户编号 = ?"), {number});
    if (!query.next())
        return std::nullopt;
    return read(query);
}

std::optional<Customer> CustomerStore::findFirst(Column column, const QString &value) const
{
    if (column == Column::Number) {
        const std::optional<qint64> number = parseNumber(value);
        return number ? find(*number) : std::nullopt;
    }
    QSqlQuery query = Db::exec(m_db,
                               selectFrom() + QStringLiteral(" where ") + columnName(column)
                                       + QStringLiteral(" = ? order by 客户编号 limit 1"),
                               {value});
    if (!query.next())
        return std::nullopt;
    return read(query);
}

QList<Customer> CustomerStore::findAll(Column column, const QString &value) const
{
    if (column == Column::Number) {
        const std::optional<Customer> one = findFirst(column, value);
        return one ? QList<Customer> {*one} : QList<Customer> {};
    }
    QSqlQuery query = Db::exec(m_db,
                               selectFrom() + QStringLiteral(" where ") + columnName(column)
                                       + QStringLiteral(" = ? order by 客户编号"),
                               {value});
    return readAll(query);
}

CustomerSelect CustomerStore::selectAll()
{
    return {selectFrom() + QStringLiteral(" order by 客户编号"), {}};
}

CustomerSelect CustomerStore::selectContaining(Column column, const QString &text, bool byName)
{
    // The number is a whole number column; it is searched by its decimal text.
    const QString searched = column == Column::Number ? QStringLiteral("cast(客户编号 as text)")
                                                      : columnName(column);
    QString where = QStringLiteral(" where ") + searched + u' ' + SqlDialect::likeClause();
    QVariantList values {SqlDialect::containsPattern(text)};
    // A text of three characters or more is first looked up in the trigram index, which
    // narrows a million rows to the few that can match; the like above still decides, so
    // the rows are exactly those of the plain scan (the index folds more letter cases than
    // like does). A name searched by two characters (most Chinese names have two or three) is
    // looked up in the table of two-character pieces the same way; other short texts are
    // scanned.
    const qsizetype length = text.toUcs4().size();
    if (column == Column::Name && length == 2) {
        where += QStringLiteral(" and 客户编号 in (select 客户编号 from %1 where 片 = lower(?))")
                         .arg(SchemaUpgrade::nameIndexTable());
        values << text;
    } else if (column != Column::Number && length >= 3) {
        where += QStringLiteral(" and 客户编号 in (select rowid from %1 where %2 match ?)")
                         .arg(SchemaUpgrade::customerIndexTable(), columnName(column));
        // One phrase: every character literal, a double quote doubled.
        values << u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
    }
    return {selectFrom() + where
                    + (byName ? QStringLiteral(" order by 客户名称, 客户编号")
                              : QStringLiteral(" order by 客户编号")),
            values};
}

Customer CustomerStore::fromValues(const std::function<QVariant(const QString &field)> &value)
{
    Customer c;
    c.number = value(QStringLiteral("客户编号")).toLongLong();
    c.name = Db::text(value(QStringLiteral("客户名称")));
    c.address = Db::text(value(QStringLiteral("地址")));
    c.telephone = Db::text(value(QStringLiteral("电话")));
    c.mobile = Db::text(value(QStringLiteral("手机")));
    c.contact = Db::text(value(QStringLiteral("身份证号")));
    c.taxNumber = Db::text(value(QStringLiteral("出生年")));
    c.sinceText = Db::text(value(QStringLiteral("起用日期")));
    c.since = Dates::fromText(c.sinceText);
    c.remark = Db::text(value(QStringLiteral("备注")));
    return c;
}
