#include "bushoufrm.h"

#include "data/dates.h"
#include "data/session.h"
#include "data/tdm1.h"
#include "debtlistmodel.h"
#include "entryparts.h"
#include "master/customersearchpanel.h"
#include "ui/messages.h"
#include "ui/widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>

using Column = CustomerStore::Column;

namespace {
const QString Hint = QStringLiteral("提示");

using Widgets::button;

QLineEdit *edit(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}
} // namespace

Tbushou::Tbushou(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("bushou"));
    setWindowTitle(QStringLiteral("补收欠款"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1019, 605);
    move(0, 0);

    auto *conditions = new QGroupBox(QStringLiteral("检索条件"), this);
    conditions->setObjectName(QStringLiteral("GroupBox1"));
    auto *lookups = new QGridLayout(conditions);
    const struct
    {
        const char *edit, *button, *label;
    } fields[] = {{"Edit5", "BitBtn1", "客户编号"},
                  {"Edit1", "BitBtn9", "客户名称"},
                  {"Edit3", "BitBtn10", "电话"},
                  {"Edit7", "BitBtn13", "手机"},
                  {"Edit2", "BitBtn11", "地址"}};
    int row = 0;
    for (const auto &f : fields) {
        lookups->addWidget(new QLabel(QString::fromUtf8(f.label), conditions), row, 0);
        lookups->addWidget(edit(conditions, f.edit), row, 1);
        lookups->addWidget(button(conditions, f.button, QStringLiteral("确定")), row, 2);
        ++row;
    }

    const CustomerSearchConfig search = CustomerSearchConfig::bushou();
    QGroupBox *fuzzy = CustomerSearchPanel::buildFuzzyGroup(this, search);
    fuzzy->setObjectName(QStringLiteral("GroupBox4"));

    QPushButton *showAllButton = button(this, "BitBtn2", QStringLiteral("显示全部欠款"));
    QPushButton *totalButton = button(this, "BitBtn7", QStringLiteral("计算选中欠款总数"));
    QPushButton *settleButton = button(this, "BitBtn3", QStringLiteral("补收选中欠款"));
    QPushButton *exitButton = button(this, "BitBtn4", QStringLiteral("退出"));
    QPushButton *tickAllButton = button(this, "BitBtn5", QStringLiteral("全选"));
    QPushButton *untickAllButton = button(this, "BitBtn6", QStringLiteral("全清"));
    m_total = edit(this, "Edit4");
    m_total->setReadOnly(true);
    m_total->setMaximumWidth(120);

    auto *listGroup = new QGroupBox(QStringLiteral("欠款列表"), this);
    listGroup->setObjectName(QStringLiteral("GroupBox2"));
    m_rows = new DebtListModel(DM1()->ADOConnection1(), this);
    m_list = new QTreeView(listGroup);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true); // a million lines: no per-line height measuring
    m_list->setModel(m_rows);
    const int widths[] = {40, 65, 95, 190, 80, 90, 80, 64, 95, 140, 60};
    for (int c = 0; c < 11; ++c)
        m_list->setColumnWidth(c, widths[c]);
    m_list->setStyleSheet(QStringLiteral("QTreeView::item { border: 1px solid #d0d0d0; }"));
    (new QVBoxLayout(listGroup))->addWidget(m_list);

    // Top: look-ups at the left; fuzzy search, the buttons and the result list at the right.
    auto *right = new QGridLayout;
    right->addWidget(fuzzy, 0, 0, 1, 4);
    right->addWidget(showAllButton, 1, 0);
    right->addWidget(totalButton, 1, 1);
    right->addWidget(m_total, 1, 2);
    right->addWidget(new QLabel(QStringLiteral("元"), this), 1, 3);
    right->addWidget(settleButton, 2, 0);
    right->addWidget(exitButton, 2, 1);
    right->addWidget(CustomerSearchPanel::buildResultGroup(this, search), 1, 0, 3, 4);
    right->setRowStretch(3, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(conditions);
    top->addLayout(right, 1);
    auto *ticks = new QHBoxLayout;
    ticks->addWidget(tickAllButton);
    ticks->addWidget(untickAllButton);
    ticks->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(ticks);
    layout->addWidget(listGroup, 1);

    QList<QWidget *> order;
    for (const auto &f : fields)
        order << findChild<QWidget *>(QLatin1String(f.edit))
              << findChild<QWidget *>(QLatin1String(f.button));
    for (const char *name : {"ComboBox1", "Edit6", "BitBtn12"})
        order << findChild<QWidget *>(QLatin1String(name));
    order << showAllButton << totalButton << settleButton << tickAllButton << untickAllButton
          << exitButton << m_list << m_total;
    EntryParts::tabOrder(order);

    auto *panel = new CustomerSearchPanel(this, search);
    connect(panel, &CustomerSearchPanel::lookedUp, this,
            [this](Column column, const QString &value, bool) { loadFor(column, value); });
    connect(panel, &CustomerSearchPanel::customerTaken, this,
            [this](const Customer &c) { loadFor(Column::Name, c.name); });
    connect(showAllButton, &QPushButton::clicked, this, &Tbushou::showAll);
    connect(tickAllButton, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(untickAllButton, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(totalButton, &QPushButton::clicked, this, &Tbushou::total);
    connect(settleButton, &QPushButton::clicked, this, &Tbushou::settle);
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
}

void Tbushou::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tbushou::FormShow()
{
    clearFieldsAndList();
}

void Tbushou::clearFieldsAndList()
{
    for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"}) {
        if (auto *e = findChild<QLineEdit *>(QLatin1String(name)))
            e->clear();
    }
    m_rows->clear();
}

void Tbushou::loadFor(Column column, const QString &value)
{
    m_rows->clear();
    LedgerStore::Column byColumn = LedgerStore::Column::Name;
    switch (column) {
    case Column::Number:
        byColumn = LedgerStore::Column::CustomerNumber;
        break;
    case Column::Name:
        byColumn = LedgerStore::Column::Name;
        break;
    case Column::Address:
        byColumn = LedgerStore::Column::Address;
        break;
    case Column::Telephone:
        byColumn = LedgerStore::Column::Phone;
        break;
    case Column::Mobile:
        byColumn = LedgerStore::Column::Mobile;
        break;
    }
    list(LedgerStore(DM1()->ADOConnection1()).unpaidListing(byColumn, value));
}

void Tbushou::showAll()
{
    m_rows->clear();
    list(LedgerStore(DM1()->ADOConnection1()).allUnpaidListing());
}

void Tbushou::list(const DebtListing &listing)
{
    try {
        m_rows->open(listing);
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

void Tbushou::tickAll(bool ticked)
{
    m_rows->tickAll(ticked);
}

std::optional<Money> Tbushou::total()
{
    try {
        const Money sum = m_rows->tickedTotal();
        m_total->setText(sum.toString());
        return sum;
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
        return std::nullopt;
    }
}

void Tbushou::settle()
{
    const std::optional<Money> sum = total();
    if (!sum)
        return;
    if (sum->isZero()) {
        Messages::error(this, Hint, QStringLiteral("无欠款需要补交！"));
        return;
    }
    try {
        m_rows->settleTicked(QDate::currentDate(), Session::current().number);
    } catch (const LedgerChanged &e) {
        // Nothing was written; the list and the ticks stay so it can be listed again.
        Messages::error(this, Hint,
                        QStringLiteral("欠款 %1 已被修改或已补收，本次补收未执行，请重新查询！")
                                .arg(e.key()));
        return;
    } catch (const ListingChanged &) {
        Messages::error(this, Hint,
                        QStringLiteral("欠款列表已被修改或已补收，本次补收未执行，请重新查询！"));
        return;
    } catch (const DbError &e) {
        Messages::plain(this, e.text());
        return;
    }
    Messages::information(this, Hint, QStringLiteral("补收欠款成功！"));
    clearFieldsAndList();
}
