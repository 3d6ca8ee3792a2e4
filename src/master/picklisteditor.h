#pragma once

#include "ui/gridcolumn.h"

#include <QWidget>

class DataGrid;
class DataNavigator;
class EditableTable;

// The two pick-list editors are one design: a grid edited in place over a small table and a
// record navigator with five buttons. Every change goes straight into the table.
class PickListEditor : public QWidget
{
    Q_OBJECT
public:
    struct Design
    {
        QString objectName;
        QString caption;
        QString groupTitle;
        QString table;
        GridColumns columns; // the fields edited, in the table's own column names
        QString orderBy; // fixed column list, empty for the table's own order
    };

    DataGrid *grid() const { return m_grid; }
    DataNavigator *navigator() const { return m_navigator; }
    EditableTable *table() const { return m_table; }

protected:
    // A column shown under its own name, cells and title centred.
    static GridColumn centred(const QString &field);

    explicit PickListEditor(const Design &design, QWidget *parent = nullptr);
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();

    DataGrid *m_grid = nullptr;
    DataNavigator *m_navigator = nullptr;
    EditableTable *m_table = nullptr;
};
