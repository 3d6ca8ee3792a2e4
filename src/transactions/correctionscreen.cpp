#include "correctionscreen.h"

#include "access/childplacement.h"
#include "correctiondialog.h"
#include "data/dberror.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"
#include "ui/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

GridColumn::Kind kindOf(const QString &field)
{
    if (field == QStringLiteral("客户编号"))
        return GridColumn::Kind::Integer;
    if (field == QStringLiteral("日期"))
        return GridColumn::Kind::Date;
    if (field == QStringLiteral("价格") || field == QStringLiteral("维修费")
        || field == QStringLiteral("利润"))
        return GridColumn::Kind::Money;
    return GridColumn::Kind::Text;
}

GridColumns gridColumns(const QList<std::pair<QString, QString>> &shown)
{
    GridColumns columns;
    for (const auto &[field, title] : shown) {
        GridColumn column;
        column.field = field;
        column.title = title.isEmpty() ? field : title;
        column.kind = kindOf(field);
        column.alignment = Qt::AlignCenter;
        columns << column;
    }
    return columns;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

CorrectionScreen::CorrectionScreen(const Layout &layout, QWidget *parent)
    : QWidget(parent)
    , m_layout(layout)
    , m_list(DM1()->ADOQuery(layout.resultSet))
{
    setObjectName(layout.objectName);
    setWindowTitle(layout.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(layout.size);

    QPushButton *all = button(this, QStringLiteral("BitBtn4"), layout.showAllCaption);
    QPushButton *refresh = button(this, QStringLiteral("BitBtn10"), QStringLiteral("刷新"));
    QPushButton *remove = button(this, layout.deleteButton, QStringLiteral("删除记录"));
    QPushButton *exit = button(this, QStringLiteral("BitBtn2"), QStringLiteral("退出"));

    auto *listGroup = new QGroupBox(layout.listCaption, this);
    m_grid = new DataGrid(listGroup);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setToolTip(QStringLiteral("请双击需要修改的记录"));
    m_grid->setColumns(gridColumns(layout.columns));
    m_grid->setResultSet(m_list);
    (new QVBoxLayout(listGroup))->addWidget(m_grid);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {all, refresh, remove, exit})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *right = new QVBoxLayout;
    m_fuzzyArea = new QVBoxLayout;
    right->addLayout(m_fuzzyArea);
    right->addLayout(buttons);
    right->addStretch();
    m_lookupArea = new QVBoxLayout;
    auto *top = new QHBoxLayout;
    top->addLayout(m_lookupArea);
    top->addLayout(right, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(listGroup, 1);

    connect(all, &QPushButton::clicked, this, &CorrectionScreen::showAll);
    connect(refresh, &QPushButton::clicked, all, &QPushButton::click);
    connect(remove, &QPushButton::clicked, this, &CorrectionScreen::remove);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &CorrectionScreen::edit);
}

void CorrectionScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_placed) {
        placeAsChild(this, 50, 0);
        m_placed = true;
    }
    FormShow();
}

void CorrectionScreen::FormShow()
{
    m_list->close();
    showAll();
}

void CorrectionScreen::showAll()
{
    open(allRecords());
}

void CorrectionScreen::loadBy(ReportStore::Key key, const QString &value)
{
    if (key == ReportStore::Key::Number && value.isEmpty())
        return;
    open(ReportStore(DM1()->ADOConnection1()).historyBy(m_layout.table, key, value));
}

void CorrectionScreen::open(const ReportQuery &query)
{
    try {
        m_list->open(query.sql, query.values);
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

qint64 CorrectionScreen::idAt(int row) const
{
    return m_list->value(row, QStringLiteral("id")).toLongLong();
}

void CorrectionScreen::edit(int row)
{
    if (!m_list->isOpen() || row < 0 || row >= m_list->rowCount())
        return;
    const int result = dialog()->editRecord(idAt(row));
    // After a save (or a record found gone) the list must not offer the old values again.
    if (result != QDialog::Rejected)
        reread(row);
}

void CorrectionScreen::remove()
{
    const int row = m_grid->currentRow();
    if (!m_list->isOpen() || row < 0 || row >= m_list->rowCount())
        return;
    if (!Messages::question(this, QStringLiteral("系统提示"),
                            QStringLiteral("确实要删除该记录吗？注意：该操作不可恢复！")))
        return;
    try {
        removeRecord(idAt(row));
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
        return;
    }
    reread(row);
}

void CorrectionScreen::reread(int row)
{
    try {
        m_list->reopen();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
        return;
    }
    m_grid->setCurrentRow(qMin(row, m_list->rowCount() - 1));
}
