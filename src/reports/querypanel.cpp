#include "querypanel.h"

#include "reportwidgets.h"

#include "data/customerstore.h"
#include "data/db.h"
#include "data/dberror.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"
#include "ui/enterchain.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Key = ReportStore::Key;

namespace {

// In the order of ReportStore::Key: field, label, caption, hint.
struct FieldSpec
{
    const char *edit;
    const char *label;
    const char *caption;
    const char *hint;
};
const FieldSpec Fields[] = {
        {"Edit4", "Label4", "客户编号", "输入客户编号后请回车"},
        {"Edit1", "Label1", "客户名称", "输入客户名称后请回车"},
        {"Edit3", "Label3", "电话", "输入电话后请回车"},
        {"Edit2", "Label2", "地址", ""},
        {"Edit6", "Label6", "手机", ""},
};

GridColumn listColumn(const char *field)
{
    GridColumn c;
    c.field = QString::fromUtf8(field);
    c.title = c.field;
    c.alignment = Qt::AlignCenter;
    return c;
}

} // namespace

QueryPanel::QueryPanel(QWidget *screen, const Names &names)
    : QObject(screen)
    , m_screen(screen)
    , m_enter(new EnterChain(this))
{
    m_lookup = new QGroupBox(QStringLiteral("客户基本信息"), screen);
    m_lookup->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(m_lookup);
    const QString buttons[] = {names.numberButton, names.nameButton, names.telephoneButton,
                               names.addressButton, names.mobileButton};
    // Laid out number, name, telephone, mobile, address, as the shop's screens always were.
    const Key order[] = {Key::Number, Key::Name, Key::Telephone, Key::Mobile, Key::Address};
    for (int row = 0; row < 5; ++row) {
        const Key key = order[row];
        const FieldSpec &spec = Fields[int(key)];
        auto *label = new QLabel(QString::fromUtf8(spec.caption), m_lookup);
        label->setObjectName(QString::fromLatin1(spec.label));
        auto *edit = new QLineEdit(m_lookup);
        edit->setObjectName(QString::fromLatin1(spec.edit));
        edit->setToolTip(QString::fromUtf8(spec.hint));
        m_fields[int(key)] = edit;
        QPushButton *ok
                = ReportWidgets::button(m_lookup, buttons[int(key)], QStringLiteral("确定"));
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(ok, row, 2);
        connect(ok, &QPushButton::clicked, this, [this, key] { lookUp(key); });
        m_enter->onEnter(edit, [ok] { ok->click(); });
    }

    m_fuzzy = new QGroupBox(QStringLiteral("模糊查找"), screen);
    m_fuzzy->setObjectName(names.fuzzyGroup);
    m_columns = new QComboBox(m_fuzzy);
    m_columns->setObjectName(QStringLiteral("ComboBox1"));
    auto *contains = new QLabel(QStringLiteral("包含"), m_fuzzy);
    contains->setObjectName(QStringLiteral("Label5"));
    m_text = new QLineEdit(m_fuzzy);
    m_text->setObjectName(QStringLiteral("Edit5"));
    QPushButton *find
            = ReportWidgets::button(m_fuzzy, QStringLiteral("BitBtn7"), QStringLiteral("查找"));
    auto *fuzzyLayout = new QHBoxLayout(m_fuzzy);
    fuzzyLayout->addWidget(m_columns);
    fuzzyLayout->addWidget(contains);
    fuzzyLayout->addWidget(m_text, 1);
    fuzzyLayout->addWidget(find);
    connect(find, &QPushButton::clicked, this, &QueryPanel::search);

    m_result = new QGroupBox(QStringLiteral("符合查找条件的客户列表，请双击要选中的客户"), screen);
    m_result->setObjectName(QStringLiteral("GroupBox5"));
    m_list = new DataGrid(m_result);
    m_list->setObjectName(QStringLiteral("DBGridEh4"));
    m_list->setColumns(
            {listColumn("客户名称"), listColumn("地址"), listColumn("电话"), listColumn("手机")});
    m_list->setResultSet(DM1()->ADOQuery5());
    QPushButton *hide
            = ReportWidgets::button(m_result, QStringLiteral("BitBtn8"), QStringLiteral("隐藏"));
    auto *resultLayout = new QVBoxLayout(m_result);
    resultLayout->addWidget(m_list);
    resultLayout->addWidget(hide, 0, Qt::AlignCenter);
    m_result->setAutoFillBackground(true);
    m_result->hide();
    connect(hide, &QPushButton::clicked, m_result, &QWidget::hide);
    connect(m_list, &DataGrid::gridDoubleClicked, this, &QueryPanel::take);
}

QLineEdit *QueryPanel::field(Key key) const
{
    return m_fields[int(key)];
}

QString QueryPanel::number() const
{
    return field(Key::Number)->text();
}

void QueryPanel::reset()
{
    clearFields();
    m_result->hide();
    m_columns->clear();
    for (const CustomerStore::Column column : CustomerStore::querySearchColumns())
        m_columns->addItem(CustomerStore::columnName(column));
    m_columns->setCurrentIndex(0);
}

void QueryPanel::clearFields()
{
    for (QLineEdit *edit : m_fields)
        edit->clear();
    m_text->clear();
}

void QueryPanel::lookUp(Key key)
{
    const QString value = field(key)->text();
    if (key == Key::Number && value.isEmpty())
        return;
    std::optional<CustomerHit> hit;
    try {
        hit = ReportStore(DM1()->ADOConnection1()).findCustomer(key, value);
    } catch (const DbError &e) {
        Messages::generalError(m_screen, e.text());
        return;
    }
    if (!hit) {
        Messages::error(m_screen, QStringLiteral("提示"), QStringLiteral("此客户档案信息不存在！"));
        for (QLineEdit *edit : m_fields)
            if (edit != field(key))
                edit->clear();
        m_text->clear();
    } else {
        const QString values[]
                = {hit->number, hit->name, hit->telephone, hit->address, hit->mobile};
        for (int k = 0; k < 5; ++k)
            if (Key(k) != key)
                m_fields[k]->setText(values[k]);
    }
    emit lookedUp(key, value);
}

void QueryPanel::search()
{
    // Only the offered column names are ever searched; the list offers nothing else.
    const auto column = CustomerStore::offeredColumn(m_columns->currentText(),
                                                     CustomerStore::querySearchColumns());
    if (!column)
        return;
    const CustomerSelect select = CustomerStore::selectContaining(*column, m_text->text());
    if (!ReportWidgets::load(m_screen, {{DM1()->ADOQuery5(), {select.sql, select.values}}}))
        return;
    m_result->show();
    m_result->raise();
    m_list->setFocus();
}

void QueryPanel::take()
{
    ResultSet *rows = DM1()->ADOQuery5();
    m_result->hide();
    // An empty list gives no customer: the fields are emptied and nothing is loaded.
    if (!rows->isOpen() || rows->isEmpty()) {
        for (QLineEdit *edit : m_fields)
            edit->clear();
        return;
    }
    const int row = qMax(0, m_list->currentRow());
    const char *const columns[] = {"客户编号", "客户名称", "电话", "地址", "手机"};
    for (int k = 0; k < 5; ++k)
        m_fields[k]->setText(Db::text(rows->value(row, QString::fromUtf8(columns[k]))));
    emit chosen();
}
