#include "chaxunfrm.h"

#include "reportgrids.h"
#include "reportoutput.h"
#include "reportsearch.h"
#include "reportwidgets.h"
#include "ui/childwindow.h"

#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace ReportWidgets;
using Key = ReportStore::Key;
using Table = ReportStore::Table;

Tchaxun::Tchaxun(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("chaxun"));
    setWindowTitle(QStringLiteral("查询客户所有资料"));
    resize(1020, 605);
    move(0, 0);

    m_search = new ReportSearch(this, CustomerSearchConfig::chaxun(), QStringLiteral("GroupBox6"));
    RadioGroup1 = new RadioGroup(
            this, QStringLiteral("RadioGroup1"), QString(),
            {QStringLiteral("发票已开"), QStringLiteral("发票未开"), QStringLiteral("显示全部")},
            3);
    auto *sales = gridGroup(this, QStringLiteral("GroupBox3"),
                            QStringLiteral("客户定购（购买）历史记录(双击表格导出到EXCEL)"),
                            &DBGridEh1, QStringLiteral("DBGridEh1"), ReportGrids::historySales(),
                            DM1()->ADOQuery7());
    auto *repairs = gridGroup(this, QStringLiteral("GroupBox4"),
                              QStringLiteral("客户维修历史记录（双击表格导出到EXCEL）"), &DBGridEh2,
                              QStringLiteral("DBGridEh2"), ReportGrids::historyRepairs(),
                              DM1()->ADOQuery6());
    auto *ledger = gridGroup(this, QStringLiteral("GroupBox2"),
                             QStringLiteral("客户帐款明细（双击表格导出到EXCEL）"), &DBGridEh3,
                             QStringLiteral("DBGridEh3"), ReportGrids::historyLedger(),
                             DM1()->ADOQuery8());
    BitBtn2 = button(this, QStringLiteral("BitBtn2"), QStringLiteral("退出"));
    SaveDialog1 = new ReportOutput(this, QStringLiteral("SaveDialog1"));

    auto *right = new QVBoxLayout;
    right->addWidget(m_search->fuzzyGroup());
    right->addWidget(RadioGroup1);
    right->addStretch();
    right->addWidget(BitBtn2, 0, Qt::AlignRight);
    auto *top = new QHBoxLayout;
    top->addWidget(m_search->lookupGroup(), 1);
    top->addLayout(right, 1);
    // Three grids and the search share 605 pixels: the search rows sit close together so
    // that each grid shows several records.
    if (auto *lookup = qobject_cast<QGridLayout *>(m_search->lookupGroup()->layout())) {
        lookup->setVerticalSpacing(2);
        lookup->setContentsMargins(8, 2, 8, 4);
    }
    right->setSpacing(4);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(sales, 1);
    layout->addWidget(repairs, 1);
    layout->addWidget(ledger, 1);

    connect(m_search, &ReportSearch::lookedUp, this, &Tchaxun::loadBy);
    connect(m_search, &ReportSearch::chosen, this, &Tchaxun::LoadHistory);
    for (DataGrid *grid : {DBGridEh1, DBGridEh2, DBGridEh3})
        connect(grid, &DataGrid::gridDoubleClicked, this, [this, grid] { exportGrid(grid); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeChild(this); });
}

void Tchaxun::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tchaxun::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_search->placeResults();
}

void Tchaxun::FormShow()
{
    m_search->clearFields();
    for (DataGrid *grid : {DBGridEh1, DBGridEh2, DBGridEh3})
        grid->resultSet()->close();
    RadioGroup1->setItemIndex(2);
}

void Tchaxun::LoadHistory()
{
    const ReportStore store(DM1()->ADOConnection1());
    const auto invoice = ReportStore::Invoice(RadioGroup1->itemIndex());
    const QString number = m_search->number();
    // No number (a choice from an empty list) lists nothing rather than a broken statement.
    const auto repairs = store.historyByNumber(Table::Repairs, number, invoice);
    if (!repairs)
        return;
    load(this,
         {{DBGridEh2->resultSet(), *repairs},
          {DBGridEh1->resultSet(), *store.historyByNumber(Table::Sales, number, invoice)},
          {DBGridEh3->resultSet(), *store.historyByNumber(Table::Ledger, number, invoice)}});
}

void Tchaxun::loadBy(Key key, const QString &value)
{
    if (key == Key::Number) {
        LoadHistory();
        return;
    }
    const ReportStore store(DM1()->ADOConnection1());
    load(this,
         {{DBGridEh2->resultSet(), store.historyBy(Table::Repairs, key, value)},
          {DBGridEh1->resultSet(), store.historyBy(Table::Sales, key, value)},
          {DBGridEh3->resultSet(), store.historyBy(Table::Ledger, key, value)}});
}

void Tchaxun::exportGrid(DataGrid *grid)
{
    SaveDialog1->exportGrid(grid, QStringLiteral("file1"), true, QStringLiteral("导出数据成功！"),
                            QStringLiteral("提示"));
}
