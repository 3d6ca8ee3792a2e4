#include "datanavigator.h"

#include "data/dberror.h"
#include "data/editabletable.h"
#include "datagrid.h"
#include "messages.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

DataNavigator::DataNavigator(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_insert = addButton("nbInsert", QStringLiteral("新增"), QStyle::SP_FileDialogNewFolder);
    m_delete = addButton("nbDelete", QStringLiteral("删除"), QStyle::SP_TrashIcon);
    m_edit = addButton("nbEdit", QStringLiteral("修改"), QStyle::SP_FileDialogDetailedView);
    m_post = addButton("nbPost", QStringLiteral("保存"), QStyle::SP_DialogSaveButton);
    m_cancel = addButton("nbCancel", QStringLiteral("取消"), QStyle::SP_DialogCancelButton);
    layout->addStretch();
    connect(m_insert, &QToolButton::clicked, this, &DataNavigator::insertRecord);
    connect(m_delete, &QToolButton::clicked, this, &DataNavigator::deleteRecord);
    connect(m_edit, &QToolButton::clicked, this, &DataNavigator::editRecord);
    connect(m_post, &QToolButton::clicked, this, &DataNavigator::postRecord);
    connect(m_cancel, &QToolButton::clicked, this, &DataNavigator::cancelRecord);
    updateButtons();
}

QToolButton *DataNavigator::addButton(const char *name, const QString &caption, int icon)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(caption);
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    layout()->addWidget(button);
    return button;
}

void DataNavigator::attach(DataGrid *grid, EditableTable *table)
{
    m_grid = grid;
    m_table = table;
    grid->setSourceModel(table);
    grid->setEditable(true);
    connect(table, &EditableTable::stateChanged, this, &DataNavigator::updateButtons);
    connect(table, &QAbstractItemModel::modelReset, this, &DataNavigator::updateButtons);
    connect(table, &QAbstractItemModel::rowsRemoved, this, &DataNavigator::updateButtons);
    connect(table, &QAbstractItemModel::rowsInserted, this, &DataNavigator::updateButtons);
    connect(grid, &DataGrid::currentRowChanged, this, [this](int row) {
        // Moving off the row being edited writes it.
        if (m_moving || !m_table || m_table->state() == EditableTable::State::Browse
            || m_table->editingRow() == row)
            return;
        const int editing = m_table->editingRow();
        if (!postRecord()) {
            m_moving = true;
            m_grid->setCurrentRow(editing);
            m_moving = false;
        }
        updateButtons();
    });
    grid->view()->installEventFilter(this);
    updateButtons();
}

bool DataNavigator::eventFilter(QObject *watched, QEvent *event)
{
    // Esc outside a cell editor drops the row's changes, as the cancel button does.
    if (m_grid && watched == m_grid->view() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && m_table
        && m_table->state() != EditableTable::State::Browse) {
        cancelRecord();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DataNavigator::commitEditor()
{
    if (!m_grid)
        return;
    QTableView *view = m_grid->view();
    if (QWidget *editor = view->indexWidget(view->currentIndex())) {
        // commitData and closeEditor are the view's protected slots.
        QMetaObject::invokeMethod(view, "commitData", Q_ARG(QWidget *, editor));
        QMetaObject::invokeMethod(
                view, "closeEditor", Q_ARG(QWidget *, editor),
                Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
}

void DataNavigator::insertRecord()
{
    if (!m_table)
        return;
    commitEditor();
    if (m_table->state() != EditableTable::State::Browse && !postRecord())
        return;
    m_moving = true;
    const int row = m_table->insertAt(qMax(0, m_grid->currentRow()));
    m_grid->setCurrentRow(row);
    m_moving = false;
    m_grid->view()->edit(m_grid->view()->currentIndex());
    updateButtons();
}

void DataNavigator::deleteRecord()
{
    if (!m_table)
        return;
    const int row = m_grid->currentRow();
    if (row < 0)
        return;
    if (!Messages::question(this, QStringLiteral("确认"), QStringLiteral("删除记录吗？")))
        return;
    commitEditor();
    m_moving = true;
    try {
        m_table->deleteRow(row);
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
    m_moving = false;
    updateButtons();
}

void DataNavigator::editRecord()
{
    if (!m_table || m_grid->currentRow() < 0)
        return;
    try {
        m_table->edit(m_grid->currentRow());
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
    m_grid->view()->edit(m_grid->view()->currentIndex());
    updateButtons();
}

bool DataNavigator::postRecord()
{
    if (!m_table)
        return false;
    commitEditor();
    try {
        m_table->post();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
        updateButtons();
        return false;
    }
    updateButtons();
    return true;
}

void DataNavigator::cancelRecord()
{
    if (!m_table)
        return;
    QTableView *view = m_grid->view();
    if (QWidget *editor = view->indexWidget(view->currentIndex()))
        QMetaObject::invokeMethod(
                view, "closeEditor", Q_ARG(QWidget *, editor),
                Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::RevertModelCache));
    m_moving = true;
    m_table->cancel();
    m_moving = false;
    updateButtons();
}

void DataNavigator::updateButtons()
{
    const bool attached = m_table && m_grid;
    const bool editing = attached && m_table->state() != EditableTable::State::Browse;
    const bool hasRow = attached && m_table->rowCount() > 0;
    m_insert->setEnabled(attached);
    m_delete->setEnabled(hasRow);
    m_edit->setEnabled(hasRow && !editing);
    m_post->setEnabled(editing);
    m_cancel->setEnabled(editing);
}
