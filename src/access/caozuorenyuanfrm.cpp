#include "caozuorenyuanfrm.h"

#include "permissionboxes.h"
#include "ui/childwindow.h"
#include "xinzengcaozuorenyuanfrm.h"
#include "xiugaicaozuoyuanfrm.h"

#include "data/dberror.h"
#include "data/operatorstore.h"
#include "data/tdm1.h"
#include "ui/messages.h"
#include "ui/shell.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString Administrator = QStringLiteral("0001");

using Widgets::button;
} // namespace

Tcaozuorenyuan::Tcaozuorenyuan(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("caozuorenyuan"));
    setWindowTitle(QStringLiteral("操作人员管理"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(605, 379);

    auto *listBox = new QGroupBox(QStringLiteral("操作人员列表"), this);
    listBox->setObjectName(QStringLiteral("GroupBox1"));
    m_grid = new QTableWidget(0, 2, listBox);
    m_grid->setObjectName(QStringLiteral("AdvStringGrid1"));
    m_grid->setToolTip(QStringLiteral("双击编号即在右边显示该操作人员的权限！"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("编号"), QStringLiteral("姓名")});
    m_grid->horizontalHeader()->setFixedHeight(20);
    m_grid->setColumnWidth(0, 88);
    m_grid->setColumnWidth(1, 88);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    (new QVBoxLayout(listBox))->addWidget(m_grid);

    m_flags = new PermissionBoxes(PermissionBoxes::Toggle::None, this);

    auto *add = button(this, "BitBtn1", QStringLiteral("新增"));
    auto *modify = button(this, "BitBtn2", QStringLiteral("修改"));
    auto *remove = button(this, "BitBtn3", QStringLiteral("删除"));
    auto *exit = button(this, "BitBtn4", QStringLiteral("退出"));

    auto *top = new QHBoxLayout;
    top->addWidget(listBox, 1);
    top->addWidget(m_flags, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {add, modify, remove, exit})
        buttons->addWidget(b);
    auto *all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);

    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &Tcaozuorenyuan::showFlags);
    connect(add, &QPushButton::clicked, this, &Tcaozuorenyuan::addOperator);
    connect(modify, &QPushButton::clicked, this, &Tcaozuorenyuan::modifyOperator);
    connect(remove, &QPushButton::clicked, this, &Tcaozuorenyuan::deleteOperator);
    connect(exit, &QPushButton::clicked, this, [this] { closeChild(this); });
}

void Tcaozuorenyuan::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        placeAsChild(this, 250, 0);
        // Coming back to the list (it was covered) shows the table as it is now.
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            connect(frame, &QMdiSubWindow::aboutToActivate, this, &Tcaozuorenyuan::loadList);
    }
    loadList();
}

void Tcaozuorenyuan::loadList()
{
    QList<Operator> operators;
    try {
        operators = OperatorStore(DM1()->ADOConnection1()).all();
    } catch (const DbError &error) {
        Messages::generalError(this, error.text());
        return;
    }
    m_grid->setRowCount(0);
    m_grid->setRowCount(int(operators.size()));
    for (int row = 0; row < operators.size(); ++row) {
        const Operator &op = operators[row];
        for (int column = 0; column < 2; ++column) {
            auto *item = new QTableWidgetItem(column == 0 ? op.number : op.name);
            item->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(row, column, item);
        }
    }
    if (m_grid->rowCount() > 0)
        m_grid->selectRow(0);
    showFlags();
}

QString Tcaozuorenyuan::cell(int column) const
{
    const QTableWidgetItem *item = m_grid->item(m_grid->currentRow(), column);
    return item ? item->text() : QString();
}

void Tcaozuorenyuan::showFlags()
{
    m_flags->clear();
    if (m_grid->currentRow() < 0)
        return;
    try {
        if (const auto op = OperatorStore(DM1()->ADOConnection1()).find(cell(0)))
            m_flags->setFlags(op->flags);
    } catch (const DbError &error) {
        Messages::generalError(this, error.text());
    }
}

void Tcaozuorenyuan::addOperator()
{
    const QString caption = QStringLiteral("新增操作人员");
    const auto create = [] { return new Txinzengcaozuorenyuan; };
    // In the main window's work area, found again by its caption; on its own only when the
    // list was opened outside one.
    if (Shell *main = shell()) {
        main->openChild(caption, create);
        return;
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == caption) {
            window->activateWindow();
            return;
        }
    }
    create()->show();
}

void Tcaozuorenyuan::modifyOperator()
{
    if (m_grid->currentRow() < 0)
        return;
    const QString number = cell(0);
    xiugaicaozuoyuan()->setTargetOperator(number);
    if (number == Administrator) {
        Messages::error(this, QStringLiteral("提示"),
                        QStringLiteral("对不起！系统管理员的信息不能修改！如要修改密码，请点击“"
                                       "密码修改”！"));
        return;
    }
    xiugaicaozuoyuan()->exec();
    loadList();
}

void Tcaozuorenyuan::deleteOperator()
{
    if (m_grid->currentRow() < 0)
        return;
    const QString number = cell(0);
    if (number == Administrator && cell(1) == QStringLiteral("系统管理员")) {
        Messages::error(this, QStringLiteral("提示"),
                        QStringLiteral("对不起！系统管理员不能删除！"));
        return;
    }
    if (!Messages::question(this, QStringLiteral("删除记录"),
                            QStringLiteral("确实删除记录？该操作不可恢复！")))
        return;
    try {
        OperatorStore(DM1()->ADOConnection1()).remove(number); // committed before the message
    } catch (const DbError &error) {
        Messages::plain(this, error.text());
        return;
    }
    Messages::information(this, QStringLiteral("提示"), QStringLiteral("删除操作人员成功！"));
    loadList();
}
