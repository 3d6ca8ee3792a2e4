#include "picklisteditor.h"

#include "data/dberror.h"
#include "data/editabletable.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"
#include "ui/datanavigator.h"
#include "ui/messages.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

GridColumn PickListEditor::centred(const QString &field)
{
    GridColumn column;
    column.field = field;
    column.title = field;
    column.alignment = Qt::AlignCenter;
    return column;
}

PickListEditor::PickListEditor(const Design &design, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(design.objectName);
    setWindowTitle(design.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(315, 600);
    move(350, 0);

    QStringList fields;
    for (const GridColumn &column : design.columns)
        fields << column.field;
    m_table = new EditableTable(DM1()->ADOConnection1(), design.table, fields, design.orderBy,
                                this);

    auto *tools = new QGroupBox(QStringLiteral("操作导航"), this);
    m_navigator = new DataNavigator(tools);
    m_navigator->setObjectName(QStringLiteral("DBAdvNavigator1"));
    auto *exit = new QToolButton(tools);
    exit->setObjectName(QStringLiteral("Button1"));
    exit->setText(QStringLiteral("退出"));
    exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    exit->setIconSize(QSize(32, 32));
    exit->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto *toolsLayout = new QHBoxLayout(tools);
    toolsLayout->addWidget(m_navigator);
    toolsLayout->addWidget(exit);

    auto *list = new QGroupBox(design.groupTitle, this);
    m_grid = new DataGrid(list);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setToolTip(QStringLiteral("单击列头可实现排序"));
    m_grid->setColumns(design.columns);
    m_grid->setSortable(true);
    auto *listLayout = new QVBoxLayout(list);
    listLayout->addWidget(m_grid);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(list, 1);

    m_navigator->attach(m_grid, m_table);
    connect(exit, &QToolButton::clicked, this, &QWidget::close);
}

void PickListEditor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void PickListEditor::FormShow()
{
    try {
        m_table->reload();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

void PickListEditor::closeEvent(QCloseEvent *event)
{
    // A row still being typed is written rather than lost; when the table refuses it the
    // window stays open so it can be corrected or cancelled.
    if (m_table->state() != EditableTable::State::Browse && !m_navigator->postRecord()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
