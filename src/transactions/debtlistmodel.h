#pragma once

#include "data/ledgerstore.h"
#include "data/rowcache.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>

#include <optional>

// The debt list: unpaid ledger rows read in chunks, with a tick box on the first column. It opens
// on a window of lines; only when the view scrolls past it is the whole listing counted (once, in
// its index), since counting a million unpaid rows before showing the first would delay every
// opening. Lines are read in chunks around what is shown and a few chunks are kept. Ticks
// are kept by ledger key, not by line, so they survive the cache letting chunks go: either the
// ticked rows themselves, or "all ticked except" a few keys, which makes ticking a million lines
// one step.
class DebtListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DebtListModel(QSqlDatabase db, QObject *parent = nullptr);

    // Lists the rows of a listing, all unticked. Throws DbError; the list is empty then.
    void open(const DebtListing &listing);
    void clear();

    // Lists up to this long are ticked line by line by tickAll().
    static constexpr int ExplicitTickLimit = 256;
    void tickAll(bool ticked);
    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);

    // The sum of the ticked amounts, exact: from the remembered amounts, or for "all but"
    // from an aggregate over the listing (taken once after ticking all) less the unticked
    // amounts. Throws DbError.
    Money tickedTotal() const;
    // Settles the ticked rows in one transaction (LedgerStore rules). Throws DbError.
    void settleTicked(const QDate &day, const QString &operatorNumber);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant
    headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    static constexpr int ChunkRows = RowCache::ChunkRows;
    static constexpr int FirstWindow = 4 * ChunkRows;
    static constexpr int SecondWindow = 4 * FirstWindow;
    const QVariantList *listed(int row) const;
    QString keyAt(int row) const;
    LedgerRow rowAt(int row) const;

    QSqlDatabase m_db;
    DebtListing m_listing;
    int m_shown = 0; // rows the view knows of
    bool m_complete = true; // m_shown is the whole listing
    mutable RowCache m_cache;
    bool m_allTicked = false;
    struct Ticked
    {
        int line; // where it was listed: settling goes from the top down
        LedgerRow row; // as listed when ticked
    };
    QHash<QString, Ticked> m_ticked; // explicit ticks
    QHash<QString, Money> m_excluded; // with m_allTicked: unticked keys and their amounts
    // With m_allTicked: the sum of the whole listing when the total was first read. Settling
    // must collect exactly the total the operator was shown.
    mutable std::optional<LedgerStore::ListingTotals> m_allTotal;
};
