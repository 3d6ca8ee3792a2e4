#include "jiaokuanjilufrm.h"

#include "reportgrids.h"
#include "reportoutput.h"
#include "reportsearch.h"
#include "reportwidgets.h"
#include "ui/childwindow.h"

#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace ReportWidgets;
using Key = ReportStore::Key;

Tjiaokuanjilu::Tjiaokuanjilu(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("jiaokuanjilu"));
    setWindowTitle(QStringLiteral("查询客户交款记录"));
    resize(907, 605);
    move(60, 0);

    m_search = new ReportSearch(this, CustomerSearchConfig::jiaokuanjilu(),
                                QStringLiteral("GroupBox4"));
    BitBtn3 = button(this, QStringLiteral("BitBtn3"), QStringLiteral("显示全部交款记录"));
    BitBtn2 = button(this, QStringLiteral("BitBtn2"), QStringLiteral("退出"));
    auto *receipts = gridGroup(
            this, QStringLiteral("GroupBox2"), QStringLiteral("交款记录（双击表格导出到EXCEL）"),
            &DBGridEh1, QStringLiteral("DBGridEh1"), ReportGrids::receipts(), DM1()->ADOQuery9());
    SaveDialog1 = new ReportOutput(this, QStringLiteral("SaveDialog1"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn2);
    auto *right = new QVBoxLayout;
    right->addWidget(m_search->fuzzyGroup());
    right->addStretch();
    right->addLayout(buttons);
    auto *top = new QHBoxLayout;
    top->addWidget(m_search->lookupGroup(), 1);
    top->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(receipts, 1);

    connect(m_search, &ReportSearch::lookedUp, this, &Tjiaokuanjilu::loadBy);
    connect(m_search, &ReportSearch::chosen, this, &Tjiaokuanjilu::LoadReceipts);
    connect(BitBtn3, &QPushButton::clicked, this, &Tjiaokuanjilu::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeChild(this); });
    connect(DBGridEh1, &DataGrid::gridDoubleClicked, this, [this] {
        SaveDialog1->exportGrid(DBGridEh1, QStringLiteral("file1"), true,
                                QStringLiteral("导出数据成功！"), QStringLiteral("提示"));
    });
}

void Tjiaokuanjilu::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tjiaokuanjilu::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_search->placeResults();
}

void Tjiaokuanjilu::FormShow()
{
    DBGridEh1->resultSet()->close();
    m_search->clearFields();
}

void Tjiaokuanjilu::LoadReceipts()
{
    const auto query = ReportStore(DM1()->ADOConnection1()).receiptsByNumber(m_search->number());
    if (query)
        load(this, {{DBGridEh1->resultSet(), *query}});
}

void Tjiaokuanjilu::loadBy(Key key, const QString &value)
{
    if (key == Key::Number) {
        LoadReceipts();
        return;
    }
    load(this,
         {{DBGridEh1->resultSet(), ReportStore(DM1()->ADOConnection1()).receiptsBy(key, value)}});
}

void Tjiaokuanjilu::BitBtn3Click()
{
    if (!load(this, {{DBGridEh1->resultSet(), ReportStore(DM1()->ADOConnection1()).allReceipts()}}))
        return;
    // The mobile field keeps its text, as it always has.
    m_search->clearFields(m_search->field(Key::Mobile));
    m_search->hideResults();
}
