#include "reportwidgets.h"

#include "data/dberror.h"
#include "data/resultset.h"
#include "export/gridprinter.h"
#include "ui/datagrid.h"
#include "ui/messages.h"

#include <QAction>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(QWidget *parent,
                       const QString &name,
                       const QString &caption,
                       const QStringList &items,
                       int columns)
    : QGroupBox(caption, parent)
    , m_buttons(new QButtonGroup(this))
{
    setObjectName(name);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    for (int i = 0; i < items.size(); ++i) {
        auto *item = new QRadioButton(items.at(i), this);
        item->setObjectName(name + QStringLiteral("_%1").arg(i));
        m_buttons->addButton(item, i);
        layout->addWidget(item, i / columns, i % columns);
    }
}

int RadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *item = m_buttons->button(index))
        item->setChecked(true);
}

namespace ReportWidgets {

QGroupBox *gridGroup(QWidget *parent,
                     const QString &groupName,
                     const QString &caption,
                     DataGrid **grid,
                     const QString &gridName,
                     const GridColumns &columns,
                     ResultSet *resultSet)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(groupName);
    *grid = new DataGrid(group);
    (*grid)->setObjectName(gridName);
    (*grid)->setColumns(columns);
    (*grid)->setResultSet(resultSet);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(*grid);
    return group;
}

bool load(QWidget *screen, const QList<std::pair<ResultSet *, ReportQuery>> &queries)
{
    for (const auto &[resultSet, query] : queries) {
        try {
            resultSet->open(query.sql, query.values);
        } catch (const DbError &e) {
            Messages::generalError(screen, e.text());
            return false;
        }
    }
    return true;
}

QToolButton *printMenu(QWidget *screen, const QList<DataGrid *> &grids, const QStringList &titles)
{
    auto *b = new QToolButton(screen);
    b->setObjectName(QStringLiteral("RzMenuButton1"));
    b->setText(QStringLiteral("打印"));
    b->setPopupMode(QToolButton::InstantPopup);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto *menu = new QMenu(b);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    for (int i = 0; i < grids.size(); ++i) {
        DataGrid *grid = grids.at(i);
        auto *definition = new GridPrinter(grid, titles.at(i), screen);
        definition->setObjectName(QStringLiteral("PrintDBGridEh%1").arg(i + 1));
        QAction *entry = menu->addAction(QStringLiteral("打印") + titles.at(i));
        entry->setObjectName(QStringLiteral("N%1").arg(i + 1));
        QObject::connect(entry, &QAction::triggered, definition, [screen, grid, definition] {
            // Not an empty page for a panel that never ran its query: nothing at all.
            if (grid->resultSet() && grid->resultSet()->isOpen())
                definition->preview(screen);
        });
    }
    b->setMenu(menu);
    return b;
}

} // namespace ReportWidgets
