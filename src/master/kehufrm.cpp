#include "kehufrm.h"

#include "data/customerstore.h"
#include "data/dberror.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "export/gridexport.h"
#include "mastertexts.h"
#include "ui/datagrid.h"
#include "ui/messages.h"
#include "xinzengkehufrm.h"
#include "xiugaikehufrm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

GridColumns customerColumns()
{
    GridColumns columns;
    const std::pair<const char *, const char *> shown[]
            = {{"客户编号", "客户编号"}, {"客户名称", "客户名称"}, {"身份证号", "联系人"},
               {"电话", "电话"},         {"手机", "手机"},         {"地址", "地址"},
               {"出生年", "单位税号"},   {"备注", "备注"},         {"起用日期", "起用日期"}};
    for (const auto &[field, title] : shown) {
        GridColumn column;
        column.field = QString::fromUtf8(field);
        column.title = QString::fromUtf8(title);
        column.alignment = Qt::AlignCenter;
        columns << column;
    }
    columns[0].kind = GridColumn::Kind::Integer;
    columns[8].kind = GridColumn::Kind::Date;
    return columns;
}

QToolButton *
toolButton(QWidget *parent, const char *name, const QString &caption, QStyle::StandardPixmap icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

} // namespace

Tkehu::Tkehu(QWidget *parent)
    : QWidget(parent)
    , m_customers(DM1()->ADOQuery3())
{
    setObjectName(QStringLiteral("kehu"));
    setWindowTitle(QStringLiteral("客户档案"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1020, 604);
    move(0, 0);

    auto *navigation = new QGroupBox(QStringLiteral("操作导航"), this);
    auto *tools = new QHBoxLayout(navigation);
    QToolButton *add = toolButton(navigation, "BtnNew", QStringLiteral("新增"),
                                  QStyle::SP_FileDialogNewFolder);
    QToolButton *edit = toolButton(navigation, "BtnEdit", QStringLiteral("修改"),
                                   QStyle::SP_FileDialogDetailedView);
    QToolButton *remove
            = toolButton(navigation, "BtnDelete", QStringLiteral("删除"), QStyle::SP_TrashIcon);
    QToolButton *refresh = toolButton(navigation, "BtnRefresh", QStringLiteral("刷新"),
                                      QStyle::SP_BrowserReload);
    QToolButton *exit = toolButton(navigation, "BtnExit", QStringLiteral("退出"),
                                   QStyle::SP_DialogCloseButton);
    for (QToolButton *button : {add, edit, remove, refresh, exit})
        tools->addWidget(button);

    auto *search = new QGroupBox(QStringLiteral("模糊查找"), this);
    m_column = new QComboBox(search);
    m_column->setObjectName(QStringLiteral("ComboBox1"));
    m_column->setEditable(true);
    m_column->setInsertPolicy(QComboBox::NoInsert);
    m_text = new QLineEdit(search);
    m_text->setObjectName(QStringLiteral("Edit1"));
    auto *find = new QPushButton(QStringLiteral("查找"), search);
    find->setObjectName(QStringLiteral("BitBtn1"));
    auto *searchLayout = new QHBoxLayout(search);
    searchLayout->addWidget(m_column);
    searchLayout->addWidget(new QLabel(QStringLiteral("包含"), search));
    searchLayout->addWidget(m_text, 1);
    searchLayout->addWidget(find);

    auto *exportButton = new QPushButton(QStringLiteral("客户资料导出"), this);
    exportButton->setObjectName(QStringLiteral("BitBtn2"));

    auto *list = new QGroupBox(QStringLiteral("客户档案列表"), this);
    m_grid = new DataGrid(list);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setToolTip(QStringLiteral("单击列头可实现排序"));
    m_grid->setColumns(customerColumns());
    m_grid->setSortable(true);
    m_grid->setResultSet(m_customers);
    auto *listLayout = new QVBoxLayout(list);
    listLayout->addWidget(m_grid);

    auto *top = new QHBoxLayout;
    top->addWidget(navigation);
    top->addWidget(search, 1);
    top->addWidget(exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);

    m_exporter = new GridExporter(QStringLiteral("SaveDialog1"), this);

    connect(add, &QToolButton::clicked, this, &Tkehu::BtnNewClick);
    connect(edit, &QToolButton::clicked, this, &Tkehu::BtnEditClick);
    connect(remove, &QToolButton::clicked, this, &Tkehu::BtnDeleteClick);
    connect(refresh, &QToolButton::clicked, this, &Tkehu::BtnRefreshClick);
    connect(exit, &QToolButton::clicked, this, &QWidget::close);
    connect(find, &QPushButton::clicked, this, &Tkehu::BitBtn1Click);
    connect(exportButton, &QPushButton::clicked, this, &Tkehu::BitBtn2Click);
}

void Tkehu::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tkehu::FormShow()
{
    openAll();
    m_column->clear();
    for (const CustomerStore::Column column : CustomerStore::listSearchColumns())
        m_column->addItem(CustomerStore::columnName(column));
    m_column->setCurrentIndex(0);
    m_text->clear();
}

void Tkehu::openAll()
{
    const CustomerSelect all = CustomerStore::selectAll();
    try {
        m_customers->open(all.sql, all.values);
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

void Tkehu::BtnNewClick()
{
    // The list is a snapshot: a customer added there appears after "刷新".
    xinzengkehu()->exec();
}

void Tkehu::BtnEditClick()
{
    const int row = m_grid->currentRow();
    if (!m_customers->isOpen() || row < 0 || row >= m_customers->rowCount())
        return;
    const Customer customer = CustomerStore::fromValues(
            [this, row](const QString &field) { return m_customers->value(row, field); });
    if (!customer.since.isValid()) {
        Messages::generalError(this,
                               QStringLiteral("“%1”不是有效的日期。").arg(customer.sinceText));
        return;
    }
    xiugaikehu()->edit(customer);
    xiugaikehu()->exec();
}

void Tkehu::BtnDeleteClick()
{
    if (!Messages::question(this, QStringLiteral("系统提示"),
                            QStringLiteral("确实要删除该客户档案吗？注意：该操作不可恢复！")))
        return;
    const int row = m_grid->currentRow();
    // On an empty list there is nothing to delete.
    if (!m_customers->isOpen() || row < 0 || row >= m_customers->rowCount())
        return;
    try {
        CustomerStore(DM1()->ADOConnection1())
                .remove(m_customers->value(row, QStringLiteral("客户编号")).toLongLong());
        m_customers->reopen();
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
        return;
    }
    m_grid->setCurrentRow(qMin(row, m_customers->rowCount() - 1));
}

void Tkehu::BtnRefreshClick()
{
    openAll();
}

void Tkehu::BitBtn1Click()
{
    const std::optional<CustomerStore::Column> column = CustomerStore::offeredColumn(
            m_column->currentText(), CustomerStore::listSearchColumns());
    if (!column) {
        Messages::error(this, QStringLiteral("提示"), MasterTexts::chooseSearchColumn());
        return;
    }
    const CustomerSelect found = CustomerStore::selectContaining(*column, m_text->text());
    try {
        m_customers->open(found.sql, found.values);
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

void Tkehu::BitBtn2Click()
{
    ExportOptions options;
    options.refuseEmpty = true;
    m_exporter->exportGrid(this, m_grid, options);
}
