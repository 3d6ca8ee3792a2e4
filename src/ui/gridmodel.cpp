#include "gridmodel.h"

#include "datagrid.h"

GridModel::GridModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

void GridModel::setSource(QAbstractItemModel *source)
{
    beginResetModel();
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_source = source;
    if (source) {
        // Structure changes of the source come through as they are, rows map one to one.
        m_connections << connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
                                 [this] { beginResetModel(); });
        m_connections << connect(source, &QAbstractItemModel::modelReset, this, [this] {
            remap();
            endResetModel();
        });
        m_connections << connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                                 [this] { emit layoutAboutToBeChanged(); });
        m_connections << connect(source, &QAbstractItemModel::layoutChanged, this,
                                 [this] { emit layoutChanged(); });
        m_connections << connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                                 [this](const QModelIndex &, int first, int last) {
                                     beginInsertRows({}, first, last);
                                 });
        m_connections << connect(source, &QAbstractItemModel::rowsInserted, this,
                                 [this] { endInsertRows(); });
        m_connections << connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                                 [this](const QModelIndex &, int first, int last) {
                                     beginRemoveRows({}, first, last);
                                 });
        m_connections << connect(source, &QAbstractItemModel::rowsRemoved, this,
                                 [this] { endRemoveRows(); });
        m_connections << connect(source, &QAbstractItemModel::dataChanged, this,
                                 [this](const QModelIndex &from, const QModelIndex &to) {
                                     if (m_columns.isEmpty())
                                         return;
                                     emit dataChanged(index(from.row(), 0),
                                                      index(to.row(), int(m_columns.size()) - 1));
                                 });
    }
    remap();
    endResetModel();
}

void GridModel::setColumns(const GridColumns &columns)
{
    beginResetModel();
    m_columns = columns;
    remap();
    endResetModel();
}

void GridModel::remap()
{
    m_map.clear();
    for (const GridColumn &column : std::as_const(m_columns)) {
        int found = -1;
        if (m_source) {
            for (int c = 0; c < m_source->columnCount(); ++c) {
                if (m_source->headerData(c, Qt::Horizontal).toString() == column.field) {
                    found = c;
                    break;
                }
            }
        }
        m_map << found;
    }
}

int GridModel::sourceColumn(int column) const
{
    return column >= 0 && column < m_map.size() ? m_map.at(column) : -1;
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_source ? 0 : m_source->rowCount();
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)
        || !m_source)
        return {};
    const GridColumn &column = m_columns.at(index.column());
    const int source = m_map.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return source < 0
                ? QString()
                : DataGrid::formatValue(column, m_source->index(index.row(), source).data());
    case Qt::EditRole:
        return source < 0 ? QVariant() : m_source->index(index.row(), source).data(Qt::EditRole);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment);
    default:
        return {};
    }
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_editable || role != Qt::EditRole || !m_source || !index.isValid())
        return false;
    const int source = m_map.at(index.column());
    return source >= 0 && m_source->setData(m_source->index(index.row(), source), value, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid())
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns.at(section).title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns.at(section).titleAlignment);
    return {};
}
