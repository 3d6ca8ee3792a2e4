#include "huizongfrm.h"

#include "reportgrids.h"
#include "reportoutput.h"
#include "reportwidgets.h"
#include "ui/childwindow.h"

#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace ReportWidgets;
using Table = ReportStore::Table;

namespace {

const QString Captions[] = {QStringLiteral("销售情况汇总---双击表格倒出到EXCEL"),
                            QStringLiteral("维修情况汇总---双击表格倒出到EXCEL"),
                            QStringLiteral("帐款情况汇总---双击表格倒出到EXCEL")};

QString name(const char *kind, int number)
{
    return QString::fromLatin1(kind) + QString::number(number);
}

QLabel *label(QWidget *parent, int number, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name("Label", number));
    return l;
}

QDateEdit *picker(QWidget *parent, int number)
{
    auto *p = new QDateEdit(QDate::currentDate(), parent);
    p->setObjectName(name("DateTimePicker", number));
    p->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    p->setCalendarPopup(true);
    return p;
}

} // namespace

Thuizong::Thuizong(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("huizong"));
    setWindowTitle(QStringLiteral("销售、维修及帐款情况汇总"));
    resize(1020, 605);
    move(0, 0);

    auto *sales = new QGroupBox(QStringLiteral("销售情况汇总"), this);
    sales->setObjectName(QStringLiteral("GroupBox1"));
    auto *repairs = new QGroupBox(QStringLiteral("维修情况汇总"), this);
    repairs->setObjectName(QStringLiteral("GroupBox2"));
    auto *ledger = new QGroupBox(QStringLiteral("帐款情况汇总"), this);
    ledger->setObjectName(QStringLiteral("GroupBox3"));
    m_panels[0] = makePanel(sales, 1, 1, 7, 1, 2, 1, 2);
    m_panels[1] = makePanel(repairs, 3, 3, 8, 2, 4, 4, 3);
    m_panels[2] = makePanel(ledger, 5, 5, 9, 3, 3, 6, 5);
    RadioGroup1 = new RadioGroup(
            ledger, QStringLiteral("RadioGroup1"), QStringLiteral("付款情况"),
            {QStringLiteral("显示全部"), QStringLiteral("已付款"), QStringLiteral("未付款")}, 1);
    static_cast<QGridLayout *>(ledger->layout())->addWidget(RadioGroup1, 0, 3, 4, 1);
    setTabOrder(m_panels[2].query, RadioGroup1);
    setTabOrder(RadioGroup1, m_panels[2].address);

    BitBtn7 = button(this, QStringLiteral("BitBtn7"), QStringLiteral("退出"));
    SaveDialog2 = new ReportOutput(this, QStringLiteral("SaveDialog2"));

    GroupBox4 = new QGroupBox(this);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    auto *display = new QVBoxLayout(GroupBox4);
    display->setContentsMargins(2, 2, 2, 2);
    const GridColumns columns[] = {ReportGrids::periodSales(), ReportGrids::periodRepairs(),
                                   ReportGrids::periodLedger()};
    for (int i = 0; i < 3; ++i) {
        m_grids[i] = new DataGrid(GroupBox4);
        m_grids[i]->setObjectName(name("DBGridEh", i + 1));
        m_grids[i]->setColumns(columns[i]);
        m_grids[i]->setResultSet(DM1()->ADOQuery(15 + i));
        display->addWidget(m_grids[i]);
        connect(m_grids[i], &DataGrid::gridDoubleClicked, this, [this, i] { exportGrid(i); });
    }
    // Each entry prints its own panel's last result, whichever grid is shown, titled as the
    // panel is captioned.
    RzMenuButton1 = printMenu(this, {m_grids[0], m_grids[1], m_grids[2]},
                              {sales->title(), repairs->title(), ledger->title()});

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(RzMenuButton1);
    buttons->addWidget(BitBtn7);
    buttons->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(sales);
    top->addWidget(repairs);
    top->addWidget(ledger);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(GroupBox4, 1);
    setTabOrder(sales, repairs);
    setTabOrder(repairs, ledger);
    setTabOrder(ledger, BitBtn7);
    setTabOrder(BitBtn7, GroupBox4);
    setTabOrder(GroupBox4, RzMenuButton1);

    const Table tables[] = {Table::Sales, Table::Repairs, Table::Ledger};
    for (int i = 0; i < 3; ++i) {
        const Table table = tables[i];
        connect(m_panels[i].query, &QPushButton::clicked, this, [this, table] { runQuery(table); });
        connect(m_panels[i].all, &QPushButton::clicked, this, [this, table] { showAll(table); });
    }
    connect(BitBtn7, &QPushButton::clicked, this, [this] { closeChild(this); });
}

Thuizong::Panel Thuizong::makePanel(QGroupBox *group,
                                    int firstPicker,
                                    int firstLabel,
                                    int addressLabel,
                                    int edit,
                                    int invoiceGroup,
                                    int queryButton,
                                    int allButton)
{
    Panel p;
    p.from = picker(group, firstPicker);
    p.to = picker(group, firstPicker + 1);
    p.address = new QLineEdit(group);
    p.address->setObjectName(name("Edit", edit));
    p.invoice = new RadioGroup(
            group, name("RadioGroup", invoiceGroup), QString(),
            {QStringLiteral("发票已开"), QStringLiteral("发票未开"), QStringLiteral("显示全部")},
            3);
    p.query = button(group, name("BitBtn", queryButton), QStringLiteral("查询"));
    p.all = button(group, name("BitBtn", allButton), QStringLiteral("显示全部"));

    auto *grid = new QGridLayout(group);
    grid->addWidget(label(group, firstLabel, QStringLiteral("日期从")), 0, 0);
    grid->addWidget(p.from, 0, 1);
    grid->addWidget(p.query, 0, 2);
    grid->addWidget(label(group, firstLabel + 1, QStringLiteral("到")), 1, 0);
    grid->addWidget(p.to, 1, 1);
    grid->addWidget(p.all, 1, 2);
    grid->addWidget(label(group, addressLabel, QStringLiteral("模糊\n地址")), 2, 0);
    grid->addWidget(p.address, 2, 1, 1, 2);
    grid->addWidget(p.invoice, 3, 0, 1, 3);
    QWidget *first = queryButton < allButton ? p.query : p.all;
    QWidget *second = queryButton < allButton ? p.all : p.query;
    setTabOrder(p.from, p.to);
    setTabOrder(p.to, first);
    setTabOrder(first, second);
    setTabOrder(second, p.address);
    setTabOrder(p.address, p.invoice);
    return p;
}

void Thuizong::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Thuizong::FormShow()
{
    for (Panel &p : m_panels) {
        p.from->setDate(QDate::currentDate());
        p.to->setDate(QDate::currentDate());
        p.address->clear();
        p.invoice->setItemIndex(2);
    }
    RadioGroup1->setItemIndex(0);
    showGrid(Table::Sales);
    for (DataGrid *grid : m_grids)
        grid->resultSet()->close();
}

void Thuizong::runQuery(Table table)
{
    const int i = int(table);
    const Panel &p = m_panels[i];
    const auto invoice = ReportStore::Invoice(p.invoice->itemIndex());
    const auto payment = ReportStore::Payment(RadioGroup1->itemIndex());
    const ReportQuery query = ReportStore(DM1()->ADOConnection1())
                                      .period(table, p.from->date(), p.to->date(),
                                              p.address->text(), invoice, payment);
    if (load(this, {{m_grids[i]->resultSet(), query}}))
        showGrid(table);
}

void Thuizong::showAll(Table table)
{
    const int i = int(table);
    const ReportQuery query = ReportStore(DM1()->ADOConnection1())
                                      .all(table, ReportStore::Payment(RadioGroup1->itemIndex()));
    if (load(this, {{m_grids[i]->resultSet(), query}}))
        showGrid(table);
}

void Thuizong::showGrid(Table table)
{
    for (int i = 0; i < 3; ++i)
        m_grids[i]->setVisible(i == int(table));
    GroupBox4->setTitle(Captions[int(table)]);
}

void Thuizong::exportGrid(int grid)
{
    // Empty results are exported too; a panel that never queried has nothing to export.
    SaveDialog2->exportGrid(m_grids[grid], QStringLiteral("file%1").arg(grid + 1), false,
                            QStringLiteral("倒出数据成功！"), QStringLiteral("提示！"));
}
