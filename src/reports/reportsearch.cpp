#include "reportsearch.h"

#include "reportwidgets.h"

#include "data/resultset.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using Key = ReportStore::Key;
using Column = CustomerStore::Column;

namespace {

Key keyOf(Column column)
{
    switch (column) {
    case Column::Number:
        return Key::Number;
    case Column::Name:
        return Key::Name;
    case Column::Address:
        return Key::Address;
    case Column::Telephone:
        return Key::Telephone;
    case Column::Mobile:
        return Key::Mobile;
    }
    return Key::Number;
}

// The look-up rows, top to bottom: label, caption, field and button of the config.
struct Row
{
    Key key;
    const char *label;
    const char *caption;
    QString CustomerSearchConfig::*edit;
    QString CustomerSearchConfig::*button;
};
const Row Rows[] = {
        {Key::Number, "Label4", "客户编号", &CustomerSearchConfig::numberEdit,
         &CustomerSearchConfig::numberButton},
        {Key::Name, "Label1", "客户名称", &CustomerSearchConfig::nameEdit,
         &CustomerSearchConfig::nameButton},
        {Key::Telephone, "Label3", "电话", &CustomerSearchConfig::telephoneEdit,
         &CustomerSearchConfig::telephoneButton},
        {Key::Mobile, "Label6", "手机", &CustomerSearchConfig::mobileEdit,
         &CustomerSearchConfig::mobileButton},
        {Key::Address, "Label2", "地址", &CustomerSearchConfig::addressEdit,
         &CustomerSearchConfig::addressButton},
};

} // namespace

ReportSearch::ReportSearch(QWidget *screen,
                           const CustomerSearchConfig &config,
                           const QString &fuzzyName)
    : QObject(screen)
    , m_screen(screen)
    , m_config(config)
{
    m_lookup = new QGroupBox(QStringLiteral("客户基本信息"), screen);
    m_lookup->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(m_lookup);
    for (int r = 0; r < int(std::size(Rows)); ++r) {
        const Row &row = Rows[r];
        auto *label = new QLabel(QString::fromUtf8(row.caption), m_lookup);
        label->setObjectName(QString::fromLatin1(row.label));
        auto *edit = new QLineEdit(m_lookup);
        edit->setObjectName(config.*row.edit);
        grid->addWidget(label, r, 0);
        grid->addWidget(edit, r, 1);
        grid->addWidget(ReportWidgets::button(m_lookup, config.*row.button, QStringLiteral("确定")),
                        r, 2);
    }

    m_fuzzy = CustomerSearchPanel::buildFuzzyGroup(screen, config);
    m_fuzzy->setObjectName(fuzzyName);
    if (auto *contains = m_fuzzy->findChild<QLabel *>())
        contains->setObjectName(QStringLiteral("Label5"));
    // Not in any layout: it is drawn over the screen while shown.
    m_results = CustomerSearchPanel::buildResultGroup(screen, config);
    m_results->setAutoFillBackground(true);

    auto *panel = new CustomerSearchPanel(screen, config);
    connect(panel, &CustomerSearchPanel::lookedUp, this,
            [this](Column column, const QString &value) { emit lookedUp(keyOf(column), value); });
    connect(panel, &CustomerSearchPanel::customerTaken, this, &ReportSearch::chosen);
    if (auto *list = screen->findChild<DataGrid *>(config.resultGrid))
        connect(list, &DataGrid::gridDoubleClicked, this, &ReportSearch::takeFromEmptyList);
}

QLineEdit *ReportSearch::field(Key key) const
{
    for (const Row &row : Rows)
        if (row.key == key)
            return m_lookup->findChild<QLineEdit *>(m_config.*row.edit);
    return nullptr;
}

QString ReportSearch::number() const
{
    return field(Key::Number)->text();
}

void ReportSearch::clearFields(const QLineEdit *keep)
{
    for (const Row &row : Rows)
        if (QLineEdit *edit = field(row.key); edit != keep)
            edit->clear();
    if (auto *text = m_fuzzy->findChild<QLineEdit *>(m_config.fuzzyTextEdit); text != keep)
        text->clear();
}

void ReportSearch::hideResults()
{
    m_results->hide();
}

void ReportSearch::placeResults()
{
    m_results->setGeometry(m_screen->width() / 2, 0, m_screen->width() / 2, m_screen->height() / 2);
}

void ReportSearch::takeFromEmptyList()
{
    // The shared panel takes nothing from an empty list; here such a choice still empties
    // the look-up fields and closes the list, and loads nothing (no number to load by).
    const ResultSet *results = DM1()->ADOQuery5();
    if (results->isOpen() && results->rowCount() > 0)
        return;
    for (const Row &row : Rows)
        field(row.key)->clear();
    hideResults();
}
