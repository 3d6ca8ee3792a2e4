#pragma once

#include <QPointer>
#include <QWidget>

class DataGrid;
class EditableTable;
class QToolButton;

// The record navigator of the in-place editors: insert, delete, edit, post and cancel on the
// grid's current row. Only the buttons that make sense are enabled (post and cancel only while
// a row is being edited or inserted). Moving the grid off the edited row posts it; database
// errors go to the general error display and leave the row in editing.
class DataNavigator : public QWidget
{
    Q_OBJECT
public:
    explicit DataNavigator(QWidget *parent = nullptr);

    // The grid must show `table` (set as its source model and made editable here).
    void attach(DataGrid *grid, EditableTable *table);

    QToolButton *insertButton() const { return m_insert; }
    QToolButton *deleteButton() const { return m_delete; }
    QToolButton *editButton() const { return m_edit; }
    QToolButton *postButton() const { return m_post; }
    QToolButton *cancelButton() const { return m_cancel; }

    void insertRecord();
    void deleteRecord();
    void editRecord();
    // Returns false when the database refused the row (it stays in editing).
    bool postRecord();
    void cancelRecord();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateButtons();
    void commitEditor();
    QToolButton *addButton(const char *name, const QString &caption, int icon);

    QPointer<DataGrid> m_grid;
    QPointer<EditableTable> m_table;
    QToolButton *m_insert = nullptr;
    QToolButton *m_delete = nullptr;
    QToolButton *m_edit = nullptr;
    QToolButton *m_post = nullptr;
    QToolButton *m_cancel = nullptr;
    bool m_moving = false;
};
