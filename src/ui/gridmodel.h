#pragma once

#include "gridcolumn.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

// Shows a model's rows through a list of declared columns: maps each column to its field of
// the source (by the source's horizontal header, which is the field name) and formats the
// value as the grid shows it. Edits (for the editable pick lists) go to the source unchanged.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject *parent = nullptr);

    void setSource(QAbstractItemModel *source);
    QAbstractItemModel *source() const { return m_source; }
    void setColumns(const GridColumns &columns);
    const GridColumns &columns() const { return m_columns; }
    // Source column of a grid column (-1 when the source lacks the field).
    int sourceColumn(int column) const;
    void setEditable(bool editable) { m_editable = editable; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant
    headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void remap();

    QPointer<QAbstractItemModel> m_source;
    GridColumns m_columns;
    QList<int> m_map;
    bool m_editable = false;
    QList<QMetaObject::Connection> m_connections;
};
