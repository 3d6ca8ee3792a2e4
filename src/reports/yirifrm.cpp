#include "yirifrm.h"

#include "reportgrids.h"
#include "reportoutput.h"
#include "reportwidgets.h"
#include "ui/childwindow.h"

#include "data/reportstore.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace ReportWidgets;
using Table = ReportStore::Table;

Tyiri::Tyiri(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("yiri"));
    setWindowTitle(QStringLiteral("一日销售、维修情况一览"));
    resize(1018, 604);
    move(0, 0);

    auto *sales = gridGroup(
            this, QStringLiteral("GroupBox1"), QStringLiteral("销售情况----双击表格倒出到EXCEL"),
            &DBGridEh1, QStringLiteral("DBGridEh1"), ReportGrids::daySales(), DM1()->ADOQuery12());
    auto *repairs = gridGroup(this, QStringLiteral("GroupBox2"),
                              QStringLiteral("维修情况----双击表格倒出到EXCEL"), &DBGridEh2,
                              QStringLiteral("DBGridEh2"), ReportGrids::dayRepairs(),
                              DM1()->ADOQuery13());
    auto *ledger = gridGroup(
            this, QStringLiteral("GroupBox3"), QStringLiteral("帐款情况----双击表格倒出到EXCEL"),
            &DBGridEh3, QStringLiteral("DBGridEh3"), ReportGrids::dayLedger(), DM1()->ADOQuery14());

    auto *condition = new QGroupBox(QStringLiteral("查询条件"), this);
    condition->setObjectName(QStringLiteral("GroupBox4"));
    auto *label = new QLabel(QStringLiteral("日期"), condition);
    label->setObjectName(QStringLiteral("Label1"));
    DateTimePicker1 = new QDateEdit(QDate::currentDate(), condition);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DateTimePicker1->setCalendarPopup(true);
    BitBtn1 = button(condition, QStringLiteral("BitBtn1"), QStringLiteral("查询"));
    BitBtn2 = button(condition, QStringLiteral("BitBtn2"), QStringLiteral("退出"));
    auto *conditionLayout = new QHBoxLayout(condition);
    conditionLayout->addWidget(label);
    conditionLayout->addWidget(DateTimePicker1);
    conditionLayout->addWidget(BitBtn1);
    conditionLayout->addWidget(BitBtn2);

    RzMenuButton1
            = printMenu(this, {DBGridEh1, DBGridEh2, DBGridEh3},
                        {QStringLiteral("一日销售情况汇总"), QStringLiteral("一日维修情况汇总"),
                         QStringLiteral("一日帐款情况汇总")});
    SaveDialog2 = new ReportOutput(this, QStringLiteral("SaveDialog2"));

    auto *top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(condition);
    top->addWidget(RzMenuButton1);
    top->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(sales, 1);
    layout->addWidget(repairs, 1);
    layout->addWidget(ledger, 1);
    setTabOrder(DBGridEh1, DBGridEh2);
    setTabOrder(DBGridEh2, DBGridEh3);
    setTabOrder(DBGridEh3, DateTimePicker1);
    setTabOrder(DateTimePicker1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, RzMenuButton1);

    connect(BitBtn1, &QPushButton::clicked, this, &Tyiri::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeChild(this); });
    const QList<DataGrid *> grids {DBGridEh1, DBGridEh2, DBGridEh3};
    for (int i = 0; i < grids.size(); ++i)
        connect(grids[i], &DataGrid::gridDoubleClicked, this, [this, i] { exportGrid(i); });
}

void Tyiri::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tyiri::FormShow()
{
    DateTimePicker1->setDate(QDate::currentDate());
    for (DataGrid *grid : {DBGridEh1, DBGridEh2, DBGridEh3})
        grid->resultSet()->close();
}

void Tyiri::BitBtn1Click()
{
    const ReportStore store(DM1()->ADOConnection1());
    const QDate day = DateTimePicker1->date();
    load(this,
         {{DBGridEh1->resultSet(), store.day(Table::Sales, day)},
          {DBGridEh2->resultSet(), store.day(Table::Repairs, day)},
          {DBGridEh3->resultSet(), store.day(Table::Ledger, day)}});
}

void Tyiri::exportGrid(int grid)
{
    DataGrid *grids[] = {DBGridEh1, DBGridEh2, DBGridEh3};
    // Empty results are exported too (titles and a footer of zeros); a grid that never ran
    // its query since the screen was shown has nothing to export.
    SaveDialog2->exportGrid(grids[grid], QStringLiteral("file%1").arg(grid + 1), false,
                            QStringLiteral("倒出数据成功！"), QStringLiteral("提示！"));
}
