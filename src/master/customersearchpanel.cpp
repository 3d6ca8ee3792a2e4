#include "customersearchpanel.h"

#include "data/dberror.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "mastertexts.h"
#include "ui/datagrid.h"
#include "ui/enterchain.h"
#include "ui/messages.h"
#include "xinzengkehufrm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using Column = CustomerStore::Column;

namespace {

CustomerSearchConfig
entry(const QString &number, const QString &mobile, const QString &telephoneHint)
{
    CustomerSearchConfig c;
    c.variant = CustomerSearchConfig::Variant::Entry;
    c.numberEdit = number;
    c.nameEdit = QStringLiteral("Edit1");
    c.telephoneEdit = QStringLiteral("Edit3");
    c.mobileEdit = mobile;
    c.addressEdit = QStringLiteral("Edit2");
    c.numberHint = QStringLiteral("输入客户编号后请回车");
    c.nameHint = QStringLiteral("输入客户名称后请回车");
    c.telephoneHint = telephoneHint;
    c.mobileHint = QStringLiteral("输入手机号后请回车");
    c.contactEdit = QStringLiteral("Edit9");
    c.taxEdit = QStringLiteral("Edit10");
    c.fuzzyNameButton = QStringLiteral("BitBtn1");
    c.fuzzyTelephoneButton = QStringLiteral("BitBtn7");
    c.fuzzyMobileButton = QStringLiteral("BitBtn8");
    c.saveButton = QStringLiteral("BitBtn2");
    c.nextFocus = QStringLiteral("Edit4");
    c.newCustomerButtons = {QStringLiteral("BitBtn6"), QStringLiteral("BitBtn5")};
    c.resultGroup = QStringLiteral("GroupBox2");
    c.resultGrid = QStringLiteral("DBGridEh2");
    c.hideButton = QStringLiteral("BitBtn4");
    return c;
}

// The query screens differ only in the names of their controls.
CustomerSearchConfig query(const QStringList &names)
{
    CustomerSearchConfig c;
    c.variant = CustomerSearchConfig::Variant::Query;
    c.numberEdit = names[0];
    c.numberButton = names[1];
    c.nameEdit = names[2];
    c.nameButton = names[3];
    c.telephoneEdit = names[4];
    c.telephoneButton = names[5];
    c.mobileEdit = names[6];
    c.mobileButton = names[7];
    c.addressEdit = names[8];
    c.addressButton = names[9];
    c.fuzzyColumnCombo = names[10];
    c.fuzzyTextEdit = names[11];
    c.fuzzyButton = names[12];
    c.resultGroup = names[13];
    c.resultGrid = names[14];
    c.hideButton = names[15];
    c.nameHint = QStringLiteral("输入客户名称后请回车");
    c.notFoundTitle = QStringLiteral("提示");
    c.notFoundText = QStringLiteral("此客户档案信息不存在！");
    return c;
}

const QString ResultCaption = QStringLiteral("符合查找条件的客户列表，请双击要选中的客户");

} // namespace

CustomerSearchConfig CustomerSearchConfig::dinggou()
{
    CustomerSearchConfig c = entry(QStringLiteral("Edit7"), QStringLiteral("Edit8"),
                                   QStringLiteral("输入客户电话后请回车"));
    c.notFoundTitle = QStringLiteral("提示");
    c.notFoundText = QStringLiteral("此客户不存在！");
    c.alsoClearedOnNotFound = {QStringLiteral("Edit4"), QStringLiteral("Edit11")};
    c.alsoClearedOnNameNotFound = {QStringLiteral("Edit12")};
    return c;
}

CustomerSearchConfig CustomerSearchConfig::weixiu()
{
    CustomerSearchConfig c = entry(QStringLiteral("Edit6"), QStringLiteral("Edit7"),
                                   QStringLiteral("输入电话后请回车"));
    c.notFoundTitle = QStringLiteral("提示！");
    c.notFoundText = QStringLiteral("此客户不存在!");
    c.alsoClearedOnNotFound = {QStringLiteral("Edit4"), QStringLiteral("Edit8")};
    return c;
}

CustomerSearchConfig CustomerSearchConfig::bushou()
{
    CustomerSearchConfig c = query({"Edit5", "BitBtn1", "Edit1", "BitBtn9", "Edit3", "BitBtn10",
                                    "Edit7", "BitBtn13", "Edit2", "BitBtn11", "ComboBox1", "Edit6",
                                    "BitBtn12", "GroupBox3", "DBGridEh2", "BitBtn8"});
    c.emptyLookupText = QStringLiteral("请输入检索信息后再回车！");
    c.mobileEnterLooksUp = false;
    return c;
}

CustomerSearchConfig CustomerSearchConfig::chaxun()
{
    CustomerSearchConfig c = query({"Edit4", "BitBtn1", "Edit1", "BitBtn3", "Edit3", "BitBtn4",
                                    "Edit6", "BitBtn6", "Edit2", "BitBtn5", "ComboBox1", "Edit5",
                                    "BitBtn7", "GroupBox5", "DBGridEh4", "BitBtn8"});
    c.numberHint = QStringLiteral("输入客户编号后请回车");
    c.telephoneHint = QStringLiteral("输入电话后请回车");
    c.alsoClearedOnNotFound = {QStringLiteral("Edit5")};
    return c;
}

CustomerSearchConfig CustomerSearchConfig::jiaokuanjilu()
{
    CustomerSearchConfig c = query({"Edit4", "BitBtn1", "Edit1", "BitBtn4", "Edit3", "BitBtn5",
                                    "Edit6", "BitBtn9", "Edit2", "BitBtn6", "ComboBox1", "Edit5",
                                    "BitBtn7", "GroupBox5", "DBGridEh4", "BitBtn8"});
    c.numberHint = QStringLiteral("输入客户编号后请回车");
    c.telephoneHint = QStringLiteral("输入电话后请回车");
    c.alsoClearedOnNotFound = {QStringLiteral("Edit5")};
    return c;
}

CustomerSearchConfig CustomerSearchConfig::dingxiugai()
{
    return query({"Edit4", "BitBtn5", "Edit1", "BitBtn6", "Edit3", "BitBtn7", "Edit6", "BitBtn11",
                  "Edit2", "BitBtn9", "ComboBox1", "Edit5", "BitBtn1", "GroupBox5", "DBGridEh4",
                  "BitBtn8"});
}

CustomerSearchConfig CustomerSearchConfig::weixiugai()
{
    return query({"Edit4", "BitBtn1", "Edit1", "BitBtn3", "Edit3", "BitBtn5", "Edit6", "BitBtn11",
                  "Edit2", "BitBtn6", "ComboBox1", "Edit5", "BitBtn7", "GroupBox5", "DBGridEh4",
                  "BitBtn8"});
}

QGroupBox *CustomerSearchPanel::buildResultGroup(QWidget *parent,
                                                 const CustomerSearchConfig &config)
{
    auto *group = new QGroupBox(ResultCaption, parent);
    group->setObjectName(config.resultGroup);
    auto *grid = new DataGrid(group);
    grid->setObjectName(config.resultGrid);
    GridColumns columns;
    for (const Column c : {Column::Name, Column::Address, Column::Telephone, Column::Mobile}) {
        GridColumn column;
        column.field = CustomerStore::columnName(c);
        column.title = column.field;
        column.alignment = Qt::AlignCenter;
        columns << column;
    }
    grid->setColumns(columns);
    grid->setResultSet(DM1()->ADOQuery5());
    const bool entry = config.variant == CustomerSearchConfig::Variant::Entry;
    auto *hide = new QPushButton(entry ? QStringLiteral("关闭") : QStringLiteral("隐藏"), group);
    hide->setObjectName(config.hideButton);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(hide);
    if (entry && config.newCustomerButtons.size() > 1) {
        auto *add = new QPushButton(QStringLiteral("新增客户"), group);
        add->setObjectName(config.newCustomerButtons.at(1));
        buttons->addWidget(add);
    }
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    group->hide();
    return group;
}

QGroupBox *CustomerSearchPanel::buildFuzzyGroup(QWidget *parent, const CustomerSearchConfig &config)
{
    auto *group = new QGroupBox(QStringLiteral("模糊查找"), parent);
    auto *columns = new QComboBox(group);
    columns->setObjectName(config.fuzzyColumnCombo);
    columns->setEditable(true);
    columns->setInsertPolicy(QComboBox::NoInsert);
    auto *text = new QLineEdit(group);
    text->setObjectName(config.fuzzyTextEdit);
    auto *find = new QPushButton(QStringLiteral("查找"), group);
    find->setObjectName(config.fuzzyButton);
    auto *layout = new QHBoxLayout(group);
    layout->addWidget(columns);
    layout->addWidget(new QLabel(QStringLiteral("包含"), group));
    layout->addWidget(text, 1);
    layout->addWidget(find);
    return group;
}

CustomerSearchPanel::CustomerSearchPanel(QWidget *host, const CustomerSearchConfig &config)
    : QObject(host)
    , m_host(host)
    , m_config(config)
    , m_enter(new EnterChain(this))
{
    const bool entry = config.variant == CustomerSearchConfig::Variant::Entry;
    const std::pair<Column, QString> hints[] = {{Column::Number, config.numberHint},
                                                {Column::Name, config.nameHint},
                                                {Column::Telephone, config.telephoneHint},
                                                {Column::Mobile, config.mobileHint}};
    for (const auto &[column, hint] : hints) {
        if (QLineEdit *e = field(column); e && !hint.isEmpty())
            e->setToolTip(hint);
    }

    const std::pair<Column, QString> buttons[] = {{Column::Number, config.numberButton},
                                                  {Column::Name, config.nameButton},
                                                  {Column::Telephone, config.telephoneButton},
                                                  {Column::Mobile, config.mobileButton},
                                                  {Column::Address, config.addressButton}};
    for (const auto &[column, button] : buttons) {
        QLineEdit *e = field(column);
        if (!e || (entry && column == Column::Address))
            continue;
        const Column c = column;
        bindButton(button, [this, c] { lookUp(c); });
        if (!entry && c == Column::Mobile && !config.mobileEnterLooksUp)
            continue;
        m_enter->onEnter(e, [this, c, e] {
            // Enter in an empty number field does nothing, on every screen.
            if (c == Column::Number && e->text().isEmpty())
                return;
            lookUp(c);
        });
    }
    if (QLineEdit *text = edit(config.fuzzyTextEdit))
        m_enter->onEnter(text, [] {}); // Enter in the fuzzy text does nothing

    bindButton(config.fuzzyNameButton, [this] { fuzzy(Column::Name); });
    bindButton(config.fuzzyTelephoneButton, [this] { fuzzy(Column::Telephone); });
    bindButton(config.fuzzyMobileButton, [this] { fuzzy(Column::Mobile); });
    bindButton(config.fuzzyButton, [this] { fuzzyFromList(); });
    for (const QString &name : config.newCustomerButtons)
        bindButton(name, [] { xinzengkehu()->exec(); });
    bindButton(config.hideButton, [this] {
        if (auto *group = m_host->findChild<QGroupBox *>(m_config.resultGroup))
            group->hide();
    });
    if (auto *grid = m_host->findChild<DataGrid *>(config.resultGrid))
        connect(grid, &DataGrid::gridDoubleClicked, this, &CustomerSearchPanel::take);
    host->installEventFilter(this);
}

void CustomerSearchPanel::bindButton(const QString &name, const std::function<void()> &action)
{
    if (name.isEmpty())
        return;
    if (auto *button = m_host->findChild<QAbstractButton *>(name))
        connect(button, &QAbstractButton::clicked, this, action);
}

QLineEdit *CustomerSearchPanel::edit(const QString &name) const
{
    return name.isEmpty() || !m_host ? nullptr : m_host->findChild<QLineEdit *>(name);
}

QLineEdit *CustomerSearchPanel::field(Column column) const
{
    switch (column) {
    case Column::Number:
        return edit(m_config.numberEdit);
    case Column::Name:
        return edit(m_config.nameEdit);
    case Column::Address:
        return edit(m_config.addressEdit);
    case Column::Telephone:
        return edit(m_config.telephoneEdit);
    case Column::Mobile:
        return edit(m_config.mobileEdit);
    }
    return nullptr;
}

bool CustomerSearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host && event->type() == QEvent::Show)
        hostShown();
    return QObject::eventFilter(watched, event);
}

void CustomerSearchPanel::hostShown()
{
    if (auto *group = m_host->findChild<QGroupBox *>(m_config.resultGroup))
        group->hide();
    if (m_config.variant == CustomerSearchConfig::Variant::Entry) {
        setSaveEnabled(false);
        return;
    }
    if (auto *columns = m_host->findChild<QComboBox *>(m_config.fuzzyColumnCombo)) {
        columns->clear();
        for (const Column c : CustomerStore::querySearchColumns())
            columns->addItem(CustomerStore::columnName(c));
        columns->setCurrentIndex(0);
    }
}

void CustomerSearchPanel::setSaveEnabled(bool enabled)
{
    if (auto *save = m_host->findChild<QAbstractButton *>(m_config.saveButton))
        save->setEnabled(enabled);
}

void CustomerSearchPanel::lookUp(Column column)
{
    QLineEdit *searched = field(column);
    if (!searched)
        return;
    const bool entry = m_config.variant == CustomerSearchConfig::Variant::Entry;
    const QString value = searched->text();
    if (value.isEmpty()) {
        if (!entry && !m_config.emptyLookupText.isEmpty()) {
            Messages::error(m_host, QStringLiteral("提示"), m_config.emptyLookupText);
            return;
        }
        if (column == Column::Number)
            return;
    }
    if (column == Column::Number && !CustomerStore::parseNumber(value)) {
        Messages::error(m_host, QStringLiteral("提示"), MasterTexts::numberNotANumber());
        return;
    }
    std::optional<Customer> found;
    try {
        found = CustomerStore(DM1()->ADOConnection1()).findFirst(column, value);
    } catch (const DbError &e) {
        Messages::generalError(m_host, e.text());
        return;
    }
    if (!found) {
        Messages::error(m_host, m_config.notFoundTitle, m_config.notFoundText);
        if (entry) {
            setSaveEnabled(false);
            clear({m_config.numberEdit, m_config.nameEdit, m_config.telephoneEdit,
                   m_config.mobileEdit, m_config.addressEdit, m_config.contactEdit,
                   m_config.taxEdit},
                  nullptr);
            clear(m_config.alsoClearedOnNotFound, nullptr);
            if (column == Column::Name)
                clear(m_config.alsoClearedOnNameNotFound, nullptr);
            searched->setFocus();
        } else {
            clear({m_config.numberEdit, m_config.nameEdit, m_config.telephoneEdit,
                   m_config.mobileEdit, m_config.addressEdit},
                  searched);
            clear(m_config.alsoClearedOnNotFound, searched);
            emit lookedUp(column, value, false);
        }
        return;
    }
    // The searched field keeps the text as typed; the number is always the row's.
    fill(*found, column == Column::Number ? nullptr : searched);
    if (entry) {
        setSaveEnabled(true);
        if (QWidget *next = m_host->findChild<QWidget *>(m_config.nextFocus))
            next->setFocus();
        emit customerTaken(*found);
    } else {
        emit lookedUp(column, value, true);
    }
}

void CustomerSearchPanel::fill(const Customer &c, QLineEdit *keep)
{
    const std::pair<QString, QString> values[] = {{m_config.numberEdit, QString::number(c.number)},
                                                  {m_config.nameEdit, c.name},
                                                  {m_config.telephoneEdit, c.telephone},
                                                  {m_config.mobileEdit, c.mobile},
                                                  {m_config.addressEdit, c.address},
                                                  {m_config.contactEdit, c.contact},
                                                  {m_config.taxEdit, c.taxNumber}};
    for (const auto &[name, value] : values) {
        if (QLineEdit *e = edit(name); e && e != keep)
            e->setText(value);
    }
}

void CustomerSearchPanel::clear(const QStringList &names, QLineEdit *keep)
{
    for (const QString &name : names) {
        if (QLineEdit *e = edit(name); e && e != keep)
            e->clear();
    }
}

void CustomerSearchPanel::fuzzy(Column column)
{
    QLineEdit *text = field(column);
    // The entry variant lists by name.
    openResults(CustomerStore::selectContaining(column, text ? text->text() : QString(), true));
}

void CustomerSearchPanel::fuzzyFromList()
{
    auto *columns = m_host->findChild<QComboBox *>(m_config.fuzzyColumnCombo);
    const std::optional<Column> column = CustomerStore::offeredColumn(
            columns ? columns->currentText() : QString(), CustomerStore::querySearchColumns());
    if (!column) {
        Messages::error(m_host, QStringLiteral("提示"), MasterTexts::chooseSearchColumn());
        return;
    }
    QLineEdit *text = edit(m_config.fuzzyTextEdit);
    openResults(CustomerStore::selectContaining(*column, text ? text->text() : QString()));
}

void CustomerSearchPanel::openResults(const CustomerSelect &select)
{
    try {
        DM1()->ADOQuery5()->open(select.sql, select.values);
    } catch (const DbError &e) {
        Messages::generalError(m_host, e.text());
        return;
    }
    if (auto *group = m_host->findChild<QGroupBox *>(m_config.resultGroup)) {
        group->show();
        group->raise();
    }
    if (auto *grid = m_host->findChild<DataGrid *>(m_config.resultGrid))
        grid->view()->setFocus();
}

void CustomerSearchPanel::take()
{
    auto *grid = m_host->findChild<DataGrid *>(m_config.resultGrid);
    ResultSet *results = DM1()->ADOQuery5();
    const int row = grid ? grid->currentRow() : -1;
    const bool hasRow = results->isOpen() && row >= 0 && row < results->rowCount();
    std::optional<Customer> customer;
    if (hasRow)
        customer = CustomerStore::fromValues(
                [results, row](const QString &f) { return results->value(row, f); });
    auto *group = m_host->findChild<QGroupBox *>(m_config.resultGroup);

    if (m_config.variant == CustomerSearchConfig::Variant::Query) {
        // Nothing to take from an empty list.
        if (!customer)
            return;
        fill(*customer, nullptr);
        if (group)
            group->hide();
        emit customerTaken(*customer);
        return;
    }
    setSaveEnabled(customer.has_value());
    if (customer)
        fill(*customer, nullptr);
    else
        clear({m_config.numberEdit, m_config.nameEdit, m_config.telephoneEdit, m_config.mobileEdit,
               m_config.addressEdit, m_config.contactEdit, m_config.taxEdit},
              nullptr);
    if (QWidget *next = m_host->findChild<QWidget *>(m_config.nextFocus))
        next->setFocus();
    if (group)
        group->hide();
    if (customer)
        emit customerTaken(*customer);
}
