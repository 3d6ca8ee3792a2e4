#pragma once

#include "sortkey.h"

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

// All rows of a small table without a key column (the pick lists 乡镇 and 维修项目), edited in
// place with the semantics of a record navigator: one row at a time is being edited or
// inserted; post writes it, cancel drops its changes. Rows are identified by the engine's row
// id. Loaded rows can be sorted without reading the table again.
class EditableTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    // `orderBy` is a fixed column list of the caller (never user text), e.g. "乡镇".
    EditableTable(QSqlDatabase db,
                  const QString &table,
                  const QStringList &fields,
                  const QString &orderBy = {},
                  QObject *parent = nullptr);

    // Reads every row again; drops a row being edited. Throws DbError.
    void reload();

    State state() const { return m_state; }
    int editingRow() const { return m_state == State::Browse ? -1 : m_editRow; }

    // Inserts an empty row at `row` (appends when out of range) and starts inserting it.
    // A row being edited is posted first. Returns the new row's number.
    int insertAt(int row);
    // Starts editing `row` (posting another row being edited first).
    void edit(int row);
    // Writes the row being edited or inserted; on error (DbError) it stays in editing.
    void post();
    // Drops the changes of the row being edited, or the row being inserted.
    void cancel();
    // Deletes a row from the table at once (a row being inserted is only dropped).
    void deleteRow(int row);

    const QStringList &fields() const { return m_fields; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Typing into a row starts editing it (posting another row first).
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant
    headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Sorts the loaded rows by several fields (stable: rows equal in every key keep their
    // order); unknown fields are dropped. A row being edited or inserted is posted first, and
    // when the table refuses it (DbError) nothing is sorted. reload() forgets the keys.
    void sortBy(const SortKeys &keys);
    const SortKeys &sortKeys() const { return m_sortKeys; }

signals:
    void stateChanged(EditableTable::State state);

private:
    struct Row
    {
        QVariant rowId; // invalid for a row not yet written
        QVariantList values;
    };
    void setState(State state, int row);

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_fields;
    QString m_orderBy;
    QList<Row> m_rows;
    State m_state = State::Browse;
    int m_editRow = -1;
    QVariantList m_original; // values of the edited row before editing
    SortKeys m_sortKeys;
};
