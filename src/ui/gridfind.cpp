#include "gridfind.h"

#include "data/rawrows.h"
#include "data/resultset.h"
#include "datagrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace GridFind {

namespace {

// Rows walked between two progress reports: often enough for a responsive window, rarely
// enough not to cost the walk anything.
constexpr int ProgressRows = 2048;

bool before(const Cell &a, const Cell &b)
{
    return a.row < b.row || (a.row == b.row && a.column < b.column);
}

bool valid(const Cell &cell)
{
    return cell.row >= 0;
}

// Collects the matches of one forward walk over the rows and decides, as early as it can,
// which one is next after `from` in either direction.
class Walk
{
public:
    Walk(const Options &options, Cell from)
        : m_up(options.up)
        , m_from(from)
    { }

    // Going down, rows before the start matter only until the first match (the wrap's target).
    bool wants(int row) const { return m_up || !valid(m_wrap) || row >= m_from.row; }
    // Takes a matching cell; returns false when the answer is known and the walk can stop.
    bool take(Cell cell)
    {
        if (!m_up) {
            if (before(m_from, cell)) {
                m_found = cell;
                return false;
            }
            if (!valid(m_wrap))
                m_wrap = cell;
            return true;
        }
        if (before(cell, m_from))
            m_found = cell; // the last one before the start wins
        else
            m_wrap = cell; // the last one of all, for the wrap
        return true;
    }
    // Going up, rows after the start row cannot win once a match lies before the start.
    bool done(int row) const { return m_up && row > m_from.row && valid(m_found); }
    Cell result() const { return valid(m_found) ? m_found : m_wrap; }

private:
    bool m_up;
    Cell m_from;
    Cell m_found;
    Cell m_wrap;
};

QString shownRaw(const GridColumn &column, const RawRow &cells, int source)
{
    if (source < 0 || source >= cells.columns())
        return {};
    // Plain text shows as it is stored: skip the QVariant on the way.
    if (column.kind == GridColumn::Kind::Text && cells.type(source) == RawRow::Type::Text)
        return QString::fromUtf8(cells.utf8(source));
    return DataGrid::formatValue(column, cells.value(source));
}

} // namespace

bool matches(const QString &shown, const Options &options)
{
    switch (options.match) {
    case Match::WholeField:
        return shown.compare(options.text, options.caseSensitivity) == 0;
    case Match::Beginning:
        return shown.startsWith(options.text, options.caseSensitivity);
    case Match::AnyPart:
        break;
    }
    return shown.contains(options.text, options.caseSensitivity);
}

Outcome next(const DataGrid &grid,
             const Options &options,
             Cell from,
             Cell *found,
             const std::function<bool(int)> &progress)
{
    const GridColumns &columns = grid.columns();
    const int rows = grid.rowCount();
    *found = {};
    if (columns.isEmpty() || rows == 0)
        return Outcome::NotFound;
    const int current = qBound(0, from.column, int(columns.size()) - 1);
    QList<int> searched;
    if (options.scope == Scope::AllColumns) {
        for (int c = 0; c < columns.size(); ++c)
            searched << c;
    } else {
        searched << current;
    }
    if (from.row < 0 || from.row >= rows) {
        // No current row: everything lies ahead in the direction of the search.
        from = options.up ? Cell {rows, 0} : Cell {-1, int(columns.size())};
    } else if (options.scope == Scope::CurrentColumn) {
        from.column = current;
    }

    Walk walk(options, from);
    bool cancelled = false;
    // One row's searched cells; false stops the walk.
    const auto visitRow = [&](int row, const std::function<QString(int column)> &shown) {
        if (progress && row > 0 && row % ProgressRows == 0 && !progress(row)) {
            cancelled = true;
            return false;
        }
        if (row >= rows || walk.done(row))
            return false;
        if (!walk.wants(row))
            return true;
        for (int c : std::as_const(searched)) {
            if (matches(shown(c), options) && !walk.take({row, c}))
                return false;
        }
        return true;
    };

    if (ResultSet *rs = grid.resultSet(); rs && rs->isOpen()) {
        // The rows in the grid's order, read once from the first: a million rows are never
        // all in memory, and no page is read twice.
        QList<int> sources;
        for (int c = 0; c < columns.size(); ++c)
            sources << grid.sourceColumn(c);
        rs->forEachRawRow([&](int row, const RawRow &cells) {
            return visitRow(row,
                            [&](int c) { return shownRaw(columns.at(c), cells, sources.at(c)); });
        });
    } else {
        for (int row = 0; row < rows; ++row) {
            if (!visitRow(row, [&](int c) { return grid.cellText(row, c); }))
                break;
        }
    }
    if (cancelled)
        return Outcome::Cancelled;
    *found = walk.result();
    return found->row >= 0 ? Outcome::Found : Outcome::NotFound;
}

} // namespace GridFind

// ---- GridFindDialog ----

GridFindDialog::GridFindDialog(DataGrid *grid)
    : QDialog(grid)
    , m_grid(grid)
    , m_text(new QLineEdit(this))
    , m_scope(new QComboBox(this))
    , m_match(new QComboBox(this))
    , m_case(new QCheckBox(QStringLiteral("区分大小写"), this))
    , m_up(new QRadioButton(QStringLiteral("向上"), this))
{
    setObjectName(QStringLiteral("gridFindDialog"));
    setWindowTitle(QStringLiteral("查找"));
    setModal(false);
    m_text->setObjectName(QStringLiteral("findText"));
    m_scope->setObjectName(QStringLiteral("findScope"));
    m_scope->addItems({QStringLiteral("当前列"), QStringLiteral("所有列")});
    // Someone looking for a name or a number rarely knows or cares which column holds it.
    m_scope->setCurrentIndex(1);
    m_match->setObjectName(QStringLiteral("findMatch"));
    m_match->addItems({QStringLiteral("字段任意部分"), QStringLiteral("整个字段"),
                       QStringLiteral("字段开头")});
    m_case->setObjectName(QStringLiteral("findCase"));
    m_up->setObjectName(QStringLiteral("findUp"));
    auto *down = new QRadioButton(QStringLiteral("向下"), this);
    down->setObjectName(QStringLiteral("findDown"));
    down->setChecked(true);

    auto *direction = new QGroupBox(QStringLiteral("方向"), this);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(down);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("查找内容："), m_text);
    form->addRow(QStringLiteral("范围："), m_scope);
    form->addRow(QStringLiteral("匹配："), m_match);

    auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
    auto *next = buttons->addButton(QStringLiteral("查找下一个"), QDialogButtonBox::ActionRole);
    next->setObjectName(QStringLiteral("findNext"));
    next->setDefault(true); // Enter anywhere in the dialog finds the next match
    auto *close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("findClose"));
    close->setAutoDefault(false);

    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(m_case);
    left->addWidget(direction);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);

    connect(next, &QPushButton::clicked, this, &GridFindDialog::findNext);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

GridFind::Options GridFindDialog::options() const
{
    GridFind::Options options;
    options.text = m_text->text();
    options.scope = m_scope->currentIndex() == 1 ? GridFind::Scope::AllColumns
                                                 : GridFind::Scope::CurrentColumn;
    options.match = m_match->currentIndex() == 1 ? GridFind::Match::WholeField
            : m_match->currentIndex() == 2       ? GridFind::Match::Beginning
                                                 : GridFind::Match::AnyPart;
    options.caseSensitivity = m_case->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    options.up = m_up->isChecked();
    return options;
}

void GridFindDialog::present()
{
    show();
    raise();
    activateWindow();
    m_text->setFocus();
    m_text->selectAll();
}

void GridFindDialog::findNext()
{
    m_grid->findNext(options(), this);
}
