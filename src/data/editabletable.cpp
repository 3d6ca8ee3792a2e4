#include "editabletable.h"

#include "db.h"
#include "sqldialect.h"

#include <algorithm>
#include <numeric>

EditableTable::EditableTable(QSqlDatabase db,
                             const QString &table,
                             const QStringList &fields,
                             const QString &orderBy,
                             QObject *parent)
    : QAbstractTableModel(parent)
    , m_db(db)
    , m_table(table)
    , m_fields(fields)
    , m_orderBy(orderBy)
{ }

void EditableTable::reload()
{
    const SqlDialect dialect = SqlDialect::of(m_db);
    QStringList columns {dialect.rowIdColumn()};
    for (const QString &field : std::as_const(m_fields))
        columns << SqlDialect::quote(field);
    QString sql = QStringLiteral("select %1 from %2")
                          .arg(columns.join(QStringLiteral(", ")), SqlDialect::quote(m_table));
    if (!m_orderBy.isEmpty())
        sql += QStringLiteral(" order by ") + SqlDialect::quote(m_orderBy);
    QList<Row> rows;
    {
        QSqlQuery query = Db::exec(m_db, sql);
        while (query.next()) {
            Row row;
            row.rowId = query.value(0);
            for (int c = 0; c < m_fields.size(); ++c)
                row.values << query.value(c + 1);
            rows << row;
        }
    }
    beginResetModel();
    m_rows = rows;
    m_sortKeys.clear();
    m_state = State::Browse;
    m_editRow = -1;
    endResetModel();
    emit stateChanged(m_state);
}

void EditableTable::setState(State state, int row)
{
    m_state = state;
    m_editRow = row;
    emit stateChanged(state);
}

int EditableTable::insertAt(int row)
{
    if (m_state != State::Browse)
        post();
    if (row < 0 || row > m_rows.size())
        row = int(m_rows.size());
    beginInsertRows({}, row, row);
    Row fresh;
    for (int c = 0; c < m_fields.size(); ++c)
        fresh.values << QVariant();
    m_rows.insert(row, fresh);
    endInsertRows();
    m_original.clear();
    setState(State::Insert, row);
    return row;
}

void EditableTable::edit(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    if (m_state != State::Browse) {
        if (m_editRow == row)
            return;
        post();
    }
    m_original = m_rows.at(row).values;
    setState(State::Edit, row);
}

void EditableTable::post()
{
    if (m_state == State::Browse)
        return;
    Row &row = m_rows[m_editRow];
    QStringList names;
    for (const QString &field : std::as_const(m_fields))
        names << SqlDialect::quote(field);
    if (m_state == State::Insert) {
        QStringList marks;
        for (int i = 0; i < m_fields.size(); ++i)
            marks << QStringLiteral("?");
        QSqlQuery query = Db::exec(m_db,
                                   QStringLiteral("insert into %1 (%2) values (%3)")
                                           .arg(SqlDialect::quote(m_table),
                                                names.join(QStringLiteral(", ")),
                                                marks.join(QStringLiteral(", "))),
                                   row.values);
        row.rowId = query.lastInsertId();
    } else {
        QStringList sets;
        for (const QString &name : std::as_const(names))
            sets << name + QStringLiteral(" = ?");
        QVariantList values = row.values;
        values << row.rowId;
        Db::exec(m_db,
                 QStringLiteral("update %1 set %2 where %3 = ?")
                         .arg(SqlDialect::quote(m_table), sets.join(QStringLiteral(", ")),
                              SqlDialect::of(m_db).rowIdColumn()),
                 values);
    }
    m_original.clear();
    setState(State::Browse, -1);
}

void EditableTable::cancel()
{
    if (m_state == State::Browse)
        return;
    // Browse first: views react to the removal (moving their current row) and must not see
    // a row still being inserted.
    const State was = m_state;
    const int row = m_editRow;
    m_state = State::Browse;
    m_editRow = -1;
    if (was == State::Insert) {
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    } else {
        m_rows[row].values = m_original;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    m_original.clear();
    emit stateChanged(m_state);
}

void EditableTable::deleteRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    if (m_state == State::Insert && row == m_editRow) {
        cancel();
        return;
    }
    if (m_state == State::Edit && row == m_editRow)
        cancel();
    Db::exec(m_db,
             QStringLiteral("delete from %1 where %2 = ?")
                     .arg(SqlDialect::quote(m_table), SqlDialect::of(m_db).rowIdColumn()),
             {m_rows.at(row).rowId});
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    if (m_state != State::Browse && m_editRow > row)
        --m_editRow;
}

int EditableTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int EditableTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant EditableTable::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const QVariant &value = m_rows.at(index.row()).values.at(index.column());
    return value.isNull() ? QVariant() : value;
}

bool EditableTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    if (m_state == State::Browse || m_editRow != index.row())
        edit(index.row());
    m_rows[index.row()].values[index.column()] = value;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags EditableTable::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index)
            | (index.isValid() ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

QVariant EditableTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < m_fields.size())
        return m_fields.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void EditableTable::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_fields.size())
        return;
    sortBy({{m_fields.at(column), order}});
}

void EditableTable::sortBy(const SortKeys &keys)
{
    QList<QPair<int, Qt::SortOrder>> by;
    SortKeys kept;
    for (const SortKey &key : keys) {
        const int column = int(m_fields.indexOf(key.field));
        if (column < 0 || std::any_of(by.cbegin(), by.cend(), [column](const auto &b) {
                return b.first == column;
            }))
            continue;
        by.append({column, key.order});
        kept << key;
    }
    if (by.isEmpty())
        return;
    if (m_state != State::Browse)
        post();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const QList<Row> old = m_rows;
    QList<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (const auto &[column, direction] : std::as_const(by)) {
            const int c = QString::localeAwareCompare(old.at(a).values.at(column).toString(),
                                                      old.at(b).values.at(column).toString());
            if (c != 0)
                return direction == Qt::AscendingOrder ? c < 0 : c > 0;
        }
        return false;
    });
    QList<int> newPos(m_rows.size());
    for (int i = 0; i < order.size(); ++i) {
        m_rows[i] = old.at(order.at(i));
        newPos[order.at(i)] = i;
    }
    QModelIndexList after;
    for (const QModelIndex &idx : before)
        after << index(newPos.at(idx.row()), idx.column());
    changePersistentIndexList(before, after);
    m_sortKeys = kept;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
