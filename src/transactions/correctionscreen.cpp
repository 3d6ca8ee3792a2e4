#include "correctionscreen.h"

#include "correctiondialog.h"
#include "data/dberror.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/childwindow.h"
#include "ui/datagrid.h"
#include "ui/messages.h"
#include "ui/widgets.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
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

using Widgets::button;

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
    right->addWidget(CustomerSearchPanel::buildFuzzyGroup(this, layout.search));
    right->addLayout(buttons);
    right->addStretch();

    auto *main = new QGridLayout(this);
    main->addWidget(buildLookupGroup(), 0, 0);
    main->addLayout(right, 0, 1);
    main->addWidget(listGroup, 1, 0, 1, 2);
    main->setColumnStretch(1, 1);
    main->setRowStretch(1, 1);
    // The fuzzy search's result list lies over the right-hand part while it is shown.
    QGroupBox *results = CustomerSearchPanel::buildResultGroup(this, layout.search);
    results->setAutoFillBackground(true); // hides what lies under it
    main->addWidget(results, 0, 1, 2, 1);
    m_search = new CustomerSearchPanel(this, layout.search);
    connect(m_search, &CustomerSearchPanel::lookedUp, this,
            [this](CustomerStore::Column column, const QString &value) { loadBy(column, value); });
    // A customer taken from the result list: its records by the name just filled in.
    connect(m_search, &CustomerSearchPanel::customerTaken, this, [this] {
        loadBy(CustomerStore::Column::Name,
               findChild<QLineEdit *>(m_layout.search.nameEdit)->text());
    });

    connect(all, &QPushButton::clicked, this, &CorrectionScreen::showAll);
    connect(refresh, &QPushButton::clicked, all, &QPushButton::click);
    connect(remove, &QPushButton::clicked, this, &CorrectionScreen::remove);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_grid, &DataGrid::rowDoubleClicked, this, &CorrectionScreen::edit);
}

QGroupBox *CorrectionScreen::buildLookupGroup()
{
    const CustomerSearchConfig &c = m_layout.search;
    auto *group = new QGroupBox(QStringLiteral("输入检索条件"), this);
    auto *form = new QFormLayout(group);
    const std::pair<const char *, std::pair<QString, QString>> rows[]
            = {{"客户编号", {c.numberEdit, c.numberButton}},
               {"客户名称", {c.nameEdit, c.nameButton}},
               {"电话", {c.telephoneEdit, c.telephoneButton}},
               {"手机", {c.mobileEdit, c.mobileButton}},
               {"地址", {c.addressEdit, c.addressButton}}};
    for (const auto &[label, names] : rows) {
        auto *edit = new QLineEdit(group);
        edit->setObjectName(names.first);
        auto *row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(button(group, names.second, QStringLiteral("确定")));
        form->addRow(QString::fromUtf8(label), row);
    }
    return group;
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
    const CustomerSearchConfig &c = m_layout.search;
    for (const QString &name :
         {c.numberEdit, c.nameEdit, c.telephoneEdit, c.mobileEdit, c.addressEdit, c.fuzzyTextEdit})
        findChild<QLineEdit *>(name)->clear();
    m_list->close();
    showAll();
}

void CorrectionScreen::showAll()
{
    open(allRecords());
}

void CorrectionScreen::loadBy(CustomerStore::Column column, const QString &value)
{
    ReportStore::Key key = ReportStore::Key::Number;
    switch (column) {
    case CustomerStore::Column::Number:
        if (value.isEmpty())
            return;
        break;
    case CustomerStore::Column::Name:
        key = ReportStore::Key::Name;
        break;
    case CustomerStore::Column::Telephone:
        key = ReportStore::Key::Telephone;
        break;
    case CustomerStore::Column::Mobile:
        key = ReportStore::Key::Mobile;
        break;
    case CustomerStore::Column::Address:
        key = ReportStore::Key::Address;
        break;
    }
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
