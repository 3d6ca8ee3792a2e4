#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

// One row of 客户信息. 身份证号 holds the contact person and 出生年 the company tax number;
// the columns keep their old names, every screen labels them "联系人" and "单位税号".
struct Customer
{
    qint64 number = 0; // 客户编号
    QString name; // 客户名称
    QString address; // 地址
    QString telephone; // 电话
    QString mobile; // 手机
    QString contact; // 身份证号
    QString taxNumber; // 出生年
    QDate since; // 起用日期; invalid when the stored value is empty or no date
    QString sinceText; // 起用日期 as stored, for showing what could not be read
    QString remark; // 备注

    bool operator==(const Customer &) const = default;
};

// A select statement with its bound values, for a shared result set to open.
struct CustomerSelect
{
    QString sql;
    QVariantList values;
};

// The table 客户信息. Every method throws DbError on an engine failure.
class CustomerStore
{
public:
    // The columns a look-up or contains-search may name.
    enum class Column { Number, Name, Address, Telephone, Mobile };

    explicit CustomerStore(QSqlDatabase db);

    static QString columnName(Column column);
    // The column whose name is exactly `name` among `offered`, if any: text a user typed
    // into a field list is only ever used when it names one of the columns offered there.
    static std::optional<Column> offeredColumn(const QString &name, const QList<Column> &offered);
    // The columns the customer list searches ("客户名称", "地址", "电话", "手机").
    static QList<Column> listSearchColumns();
    // The columns the query screens' fuzzy search offers (the four above and "客户编号").
    static QList<Column> querySearchColumns();

    // A customer number typed by a user: a whole number (blanks around it allowed).
    static std::optional<qint64> parseNumber(const QString &text);

    // The largest customer number plus one; 1 on an empty table.
    qint64 nextNumber() const;
    // Inserts `customer` under its own number; fails when the number is taken.
    void insert(const Customer &customer);
    // Writes every field but the number into the row of `number`; fails when there is none.
    void update(qint64 number, const Customer &customer);
    // Deletes the row of `number`; returns false when there was none. Rows that copy the
    // customer (sales, repairs, ledger, receipts) stay as they are.
    bool remove(qint64 number);

    std::optional<Customer> find(qint64 number) const;
    // The first customer (lowest number) whose column equals `value` exactly, as typed.
    std::optional<Customer> findFirst(Column column, const QString &value) const;
    // Every customer whose column equals `value` exactly, lowest number first.
    QList<Customer> findAll(Column column, const QString &value) const;

    // Statements for the customer grids; the rows come as the columns of 客户信息.
    static CustomerSelect selectAll();
    // Customers whose column contains `text` literally (% and _ match themselves); a row whose
    // column holds no value is not listed. Ordered by name when `byName`, else by number.
    static CustomerSelect selectContaining(Column column, const QString &text, bool byName = false);

    // Reads a customer from a row that carries the columns of 客户信息 by name.
    static Customer fromValues(const std::function<QVariant(const QString &field)> &value);

private:
    QSqlDatabase m_db;
};
