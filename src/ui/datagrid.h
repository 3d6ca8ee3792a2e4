#pragma once

#include "data/resultset.h"
#include "gridcolumn.h"
#include "gridfind.h"
#include "gridmodel.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QVariant>
#include <QWidget>

class QTableView;
class GridFooter;
class GridHeader;

// The one grid of every screen: declared columns over a result set (or, for the pick-list
// editors, an editable table model), an optional footer row with static texts, the row count
// and column sums of the whole result, and the current row.
class DataGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setColumns(const GridColumns &columns);
    const GridColumns &columns() const { return m_model->columns(); }

    // The grid reads the result set as it is opened, reopened or closed by the screens.
    void setResultSet(ResultSet *resultSet);
    ResultSet *resultSet() const { return m_resultSet; }
    // Any table model whose horizontal header names its fields (the pick-list editors).
    void setSourceModel(QAbstractItemModel *model);
    QAbstractItemModel *sourceModel() const { return m_model->source(); }

    // Read-only by default; editable grids pass typed text to the source model.
    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    // Clicking a title sorts by that column alone, alternately ascending and descending;
    // Ctrl+click adds it as a further key (or turns its direction). A result set is re-read
    // in that order by the engine, an editable table sorts its loaded rows.
    void setSortable(bool sortable);
    bool isSortable() const { return m_sortable; }
    // The keys the rows are sorted by now (those of the result set or table shown).
    SortKeys sortKeys() const;
    // The marker drawn after a title: ▲ or ▼, with the key's rank when several sort together.
    QString sortMarker(int column) const;

    // Ctrl+F: the grid's find dialog (made on first use, kept with the grid).
    GridFindDialog *openFindDialog();
    // Moves to the next cell matching `options` from the current one; when none matches it
    // says so in a box over `messageParent` (the grid when null). A long walk shows a
    // progress dialog that can cancel it.
    GridFind::Outcome findNext(const GridFind::Options &options, QWidget *messageParent = nullptr);
    // Source column of a grid column (-1 when the source lacks the field).
    int sourceColumn(int column) const;

    int rowCount() const;
    int currentRow() const; // -1 when there is none
    void setCurrentRow(int row);
    int currentColumn() const; // 0 when there is no current cell
    void setCurrentCell(int row, int column);

    // The text the grid shows for a cell (also what exports and printing write).
    QString cellText(int row, int column) const;
    static QString formatValue(const GridColumn &column, const QVariant &value);
    // Footer texts over the whole result (empty texts for columns without a footer).
    bool hasFooter() const;
    QStringList footerTexts() const;
    static QString footerText(const GridColumn &column, qint64 rows, qint64 sum);
    // Recomputes the footer (it follows the result set by itself; other models call this).
    void refreshFooter();
    // A result set of at least this many rows gets its sums on a worker thread, so the window
    // stays responsive: the footer shows "…" in its count and sum cells until they arrive.
    static constexpr int AsyncFooterRows = 20000;
    void setAsyncFooterRows(int rows) { m_asyncFooterRows = rows; }
    // What the footer shows now ("…" while sums are on their way); footerTexts() waits for none.
    QStringList shownFooterTexts() const { return m_footerTexts; }

    QTableView *view() const { return m_view; }

signals:
    void rowDoubleClicked(int row);
    void gridDoubleClicked();
    void currentRowChanged(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyWidths();
    void rememberStatement();
    void onReloaded();
    void onTitleClicked(int section);
    QStringList sumFields() const;
    // Texts for the given totals; null totals mean they are still being computed.
    QStringList composeFooter(const ResultSet::Totals *totals) const;
    void showFooter(const QStringList &texts);
    void startFooterWorker(const QStringList &sumFields);
    void applyFooterTotals(quint64 ticket,
                           quint64 generation,
                           const ResultSet::Totals &totals,
                           const QString &error);

    QTableView *m_view = nullptr;
    GridHeader *m_header = nullptr;
    GridModel *m_model = nullptr;
    GridFooter *m_footer = nullptr;
    QPointer<ResultSet> m_resultSet;
    QStringList m_footerTexts;
    QString m_shownSql; // the statement the rows shown came from
    QVariantList m_shownValues;
    int m_asyncFooterRows = AsyncFooterRows;
    quint64 m_footerTicket = 0; // bumped on every refresh: older worker answers are dropped
    bool m_footerPending = false;
    bool m_editable = false;
    bool m_sortable = false;
    SortKeys m_modelKeys; // for a plain model that cannot tell its own order
    Qt::KeyboardModifiers m_titleModifiers;
    QPointer<GridFindDialog> m_findDialog;
};
