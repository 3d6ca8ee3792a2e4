#include "reportstore.h"

#include "dates.h"
#include "db.h"
#include "sqldialect.h"

namespace {

QString tableName(ReportStore::Table table)
{
    switch (table) {
    case ReportStore::Table::Sales:
        return QStringLiteral("dinggou");
    case ReportStore::Table::Repairs:
        return QStringLiteral("维修记录");
    case ReportStore::Table::Ledger:
        break;
    }
    return QStringLiteral("帐款明细");
}

// A customer number as typed: blanks around it are forgiven, anything else that is not a whole
// number binds NULL, which equals nothing, so it lists nothing on every engine.
QVariant numberValue(const QString &text)
{
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    return ok ? QVariant(number) : QVariant(QMetaType(QMetaType::LongLong));
}

void addInvoice(QString &where, QVariantList &values, ReportStore::Invoice invoice)
{
    if (invoice == ReportStore::Invoice::All)
        return;
    where += QStringLiteral(" and 发票 = ?");
    values << (invoice == ReportStore::Invoice::Issued ? 1 : 0);
}

void addPayment(QString &where, QVariantList &values, ReportStore::Payment payment)
{
    if (payment == ReportStore::Payment::All)
        return;
    where += where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ");
    where += QStringLiteral("付款情况 = ?");
    values << (payment == ReportStore::Payment::Paid ? QStringLiteral("已付款")
                                                     : QStringLiteral("未付款"));
}

} // namespace

ReportStore::ReportStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

QString ReportStore::column(Key key)
{
    switch (key) {
    case Key::Number:
        return QStringLiteral("客户编号");
    case Key::Name:
        return QStringLiteral("客户名称");
    case Key::Telephone:
        return QStringLiteral("电话");
    case Key::Address:
        return QStringLiteral("地址");
    case Key::Mobile:
        break;
    }
    return QStringLiteral("手机");
}

std::optional<CustomerHit> ReportStore::findCustomer(Key key, const QString &value) const
{
    const QVariant bound = key == Key::Number ? numberValue(value) : QVariant(value);
    // Several customers may share a telephone or an address: take the oldest number.
    QSqlQuery query
            = Db::exec(m_db,
                       QStringLiteral("select 客户编号, 客户名称, 地址, 电话, 手机 from 客户信息 "
                                      "where %1 = ? order by 客户编号 limit 1")
                               .arg(column(key)),
                       {bound});
    if (!query.next())
        return std::nullopt;
    return CustomerHit {Db::text(query.value(0)), Db::text(query.value(1)),
                        Db::text(query.value(2)), Db::text(query.value(3)),
                        Db::text(query.value(4))};
}

std::optional<ReportQuery>
ReportStore::historyByNumber(Table table, const QString &number, Invoice invoice) const
{
    if (number.trimmed().isEmpty())
        return std::nullopt;
    QString where = QStringLiteral(" where 客户编号 = ?");
    QVariantList values {numberValue(number)};
    addInvoice(where, values, invoice);
    const QString order = table == Table::Ledger ? QStringLiteral(" order by 付款情况, id")
                                                 : QStringLiteral(" order by id");
    return ReportQuery {QStringLiteral("select * from ") + tableName(table) + where + order,
                        values};
}

ReportQuery ReportStore::historyBy(Table table, Key key, const QString &value) const
{
    if (key == Key::Number)
        return historyByNumber(table, value, Invoice::All)
                .value_or(ReportQuery {QStringLiteral("select * from ") + tableName(table)
                                               + QStringLiteral(" where 0 = 1"),
                                       {}});
    const QString order = table == Table::Ledger ? QStringLiteral(" order by 付款情况, id")
                                                 : QStringLiteral(" order by id");
    return ReportQuery {
            QStringLiteral("select * from %1 where %2 = ?").arg(tableName(table), column(key))
                    + order,
            {value}};
}

std::optional<ReportQuery> ReportStore::receiptsByNumber(const QString &number) const
{
    if (number.trimmed().isEmpty())
        return std::nullopt;
    return receiptsBy(Key::Number, number);
}

ReportQuery ReportStore::receiptsBy(Key key, const QString &value) const
{
    // Receipts have no key of their own: the engine's row id keeps them in entry order.
    const QVariant bound = key == Key::Number ? numberValue(value) : QVariant(value);
    return ReportQuery {QStringLiteral("select * from 收款记录 where %1 = ? order by %2")
                                .arg(column(key), SqlDialect::of(m_db).rowIdColumn()),
                        {bound}};
}

ReportQuery ReportStore::allReceipts() const
{
    return ReportQuery {QStringLiteral("select * from 收款记录 order by 日期, ")
                                + SqlDialect::of(m_db).rowIdColumn(),
                        {}};
}

ReportQuery ReportStore::day(Table table, const QDate &day) const
{
    return ReportQuery {QStringLiteral("select * from ") + tableName(table)
                                + QStringLiteral(" where 日期 = ? order by id"),
                        {Dates::toText(day)}};
}

ReportQuery ReportStore::period(Table table,
                                const QDate &from,
                                const QDate &to,
                                const QString &addressPart,
                                Invoice invoice,
                                Payment payment) const
{
    // The address part is matched literally: % and _ typed by the user are plain characters.
    // A row without any address never matches, as the range query has always behaved.
    QString where
            = QStringLiteral(" where 日期 between ? and ? and 地址 ") + SqlDialect::likeClause();
    QVariantList values {Dates::toText(from), Dates::toText(to),
                         SqlDialect::containsPattern(addressPart)};
    addInvoice(where, values, invoice);
    QString order = QStringLiteral(" order by id");
    if (table == Table::Ledger) {
        addPayment(where, values, payment);
        order = QStringLiteral(" order by 付款情况, 日期, id");
    }
    return ReportQuery {QStringLiteral("select * from ") + tableName(table) + where + order,
                        values};
}

ReportQuery ReportStore::all(Table table, Payment payment) const
{
    if (table != Table::Ledger)
        return ReportQuery {QStringLiteral("select * from ") + tableName(table)
                                    + QStringLiteral(" order by id"),
                            {}};
    QString where;
    QVariantList values;
    addPayment(where, values, payment);
    return ReportQuery {QStringLiteral("select * from 帐款明细") + where
                                + QStringLiteral(" order by 付款情况, 日期, id"),
                        values};
}
