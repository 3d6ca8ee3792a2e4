#include "debtlistmodel.h"

#include "data/db.h"

#include <algorithm>

namespace {
constexpr int Columns = 11;
constexpr int AmountColumn = 7;
} // namespace

DebtListModel::DebtListModel(QSqlDatabase db, QObject *parent)
    : QAbstractTableModel(parent)
    , m_db(db)
{ }

void DebtListModel::open(const DebtListing &listing)
{
    beginResetModel();
    m_listing = listing;
    m_allTicked = false;
    m_ticked.clear();
    m_excluded.clear();
    m_allTotal.reset();
    m_cache.clear();
    try {
        m_shown = int(LedgerStore(m_db).count(listing, FirstWindow));
    } catch (const DbError &) {
        m_listing = {};
        m_shown = 0;
        m_complete = true;
        endResetModel();
        throw;
    }
    m_complete = m_shown < FirstWindow;
    endResetModel();
}

void DebtListModel::clear()
{
    beginResetModel();
    m_listing = {};
    m_allTicked = false;
    m_ticked.clear();
    m_excluded.clear();
    m_allTotal.reset();
    m_cache.clear();
    m_shown = 0;
    m_complete = true;
    endResetModel();
}

bool DebtListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_complete;
}

void DebtListModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    // A tree view asks for more once while laying itself out, before anyone scrolled: that
    // only widens the window. Asked again, the view was scrolled past it, and the whole listing
    // is counted once in its index rather than grown by windows each counted again.
    const bool widen = m_shown < SecondWindow;
    qint64 rows = 0;
    try {
        rows = LedgerStore(m_db).count(m_listing, widen ? SecondWindow : -1);
    } catch (const DbError &) {
        // A view cannot show an error while scrolling; the lines listed so far stay.
        m_complete = true;
        return;
    }
    m_complete = !widen || rows < SecondWindow;
    if (rows > m_shown) {
        beginInsertRows({}, m_shown, int(rows) - 1);
        m_shown = int(rows);
        endInsertRows();
    }
}

const QVariantList *DebtListModel::listed(int row) const
{
    if (row < 0 || row >= m_shown)
        return nullptr;
    try {
        return m_cache.row(row, [this](int first) {
            // Until the listing is counted its end is unknown, so reads go from the top.
            return LedgerStore(m_db).listedRows(m_listing, first, ChunkRows,
                                                m_complete ? m_shown : -1);
        });
    } catch (const DbError &) {
        // A view cannot show an error while painting; the line stays empty and is read
        // again when next shown.
        return nullptr;
    }
}

void DebtListModel::tickAll(bool ticked)
{
    const int rows = m_shown;
    m_ticked.clear();
    m_excluded.clear();
    m_allTotal.reset();
    // A short list is ticked line by line, as if clicked: each line is settled as listed and a
    // changed one is named. Only a long list is "all but", where memory must not grow.
    m_allTicked = ticked && rows > ExplicitTickLimit;
    if (ticked && !m_allTicked) {
        for (int row = 0; row < rows; ++row) {
            if (listed(row))
                m_ticked.insert(keyAt(row), {row, rowAt(row)});
        }
    }
    if (m_shown > 0)
        emit dataChanged(index(0, 0), index(m_shown - 1, 0), {Qt::CheckStateRole});
}

QString DebtListModel::keyAt(int row) const
{
    const QVariantList *values = listed(row);
    return values ? Db::text(values->value(0)) : QString();
}

LedgerRow DebtListModel::rowAt(int row) const
{
    const QVariantList *values = listed(row);
    return LedgerStore::fromListed(values ? *values : QVariantList());
}

bool DebtListModel::isTicked(int row) const
{
    const QString key = keyAt(row);
    return m_allTicked ? !m_excluded.contains(key) : m_ticked.contains(key);
}

void DebtListModel::setTicked(int row, bool ticked)
{
    if (!listed(row)) // out of range, or its line could not be read
        return;
    const LedgerRow line = rowAt(row);
    if (m_allTicked) {
        if (ticked)
            m_excluded.remove(line.key);
        else
            m_excluded.insert(line.key, line.amountDue);
    } else if (ticked) {
        m_ticked.insert(line.key, {row, line});
    } else {
        m_ticked.remove(line.key);
    }
    emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

Money DebtListModel::tickedTotal() const
{
    Money sum;
    if (m_allTicked) {
        // The whole listing, not only the lines fetched so far.
        if (!m_allTotal)
            m_allTotal = LedgerStore(m_db).totals(m_listing);
        sum = m_allTotal->sum;
        for (const Money &amount : m_excluded)
            sum -= amount;
    } else {
        for (const Ticked &t : m_ticked)
            sum += t.row.amountDue;
    }
    return sum;
}

void DebtListModel::settleTicked(const QDate &day, const QString &operatorNumber)
{
    LedgerStore store(m_db);
    if (m_allTicked) {
        const Money total = tickedTotal();
        const QSet<QString> excluded(m_excluded.keyBegin(), m_excluded.keyEnd());
        store.settleListing(m_listing, excluded, m_allTotal->rows, total, day, operatorNumber);
        return;
    }
    // From the top of the list down, as they were listed when ticked.
    QList<Ticked> ticked = m_ticked.values();
    std::sort(ticked.begin(), ticked.end(),
              [](const Ticked &a, const Ticked &b) { return a.line < b.line; });
    QList<LedgerRow> rows;
    for (const Ticked &t : std::as_const(ticked))
        rows << t.row;
    store.settle(rows, day, operatorNumber);
}

int DebtListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int DebtListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant DebtListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QVariantList *values = listed(index.row());
        if (!values)
            return {};
        const QVariant value = values->value(index.column());
        if (index.column() == AmountColumn)
            return Money::fromUnits(value.toLongLong()).toString();
        return Db::text(value);
    }
    case Qt::CheckStateRole:
        if (index.column() != 0)
            return {};
        return isTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? QVariant() : QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

bool DebtListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != 0
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags DebtListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant DebtListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList titles {
            QStringLiteral("ID"),         QStringLiteral("客户编号"), QStringLiteral("客户名称"),
            QStringLiteral("地址"),       QStringLiteral("电话"),     QStringLiteral("手机"),
            QStringLiteral("主机序列号"), QStringLiteral("应付金额"), QStringLiteral("日期"),
            QStringLiteral("备注"),       QStringLiteral("经手人")};
    if (orientation != Qt::Horizontal || section < 0 || section >= Columns)
        return {};
    if (role == Qt::DisplayRole)
        return titles.at(section);
    if (role == Qt::TextAlignmentRole && section > 0)
        return QVariant(Qt::AlignCenter);
    return {};
}
