#include "datagrid.h"

#include "data/dates.h"
#include "data/dberror.h"
#include "data/editabletable.h"
#include "data/money.h"
#include "data/resultset.h"
#include "messages.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressDialog>
#include <QScrollBar>
#include <QShortcut>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QThreadPool>
#include <QVBoxLayout>

#include <memory>

// ---- Footer ----

// The yellow footer row under the grid, drawn in the columns of the grid's header.
class GridFooter : public QWidget
{
public:
    GridFooter(QTableView *view, QWidget *parent)
        : QWidget(parent)
        , m_view(view)
    {
        setObjectName(QStringLiteral("footer"));
        setFixedHeight(fontMetrics().height() + 8);
    }
    void setTexts(const QStringList &texts)
    {
        m_texts = texts;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(255, 255, 200));
        const QHeaderView *header = m_view->horizontalHeader();
        // Both live in the grid widget: map through it.
        const int offset = m_view->viewport()->mapTo(parentWidget(), QPoint(0, 0)).x() - x();
        painter.setPen(palette().color(QPalette::Mid));
        for (int i = 0; i < m_texts.size() && i < header->count(); ++i) {
            const QRect cell(offset + header->sectionViewportPosition(i), 0, header->sectionSize(i),
                             height());
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.save();
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(cell.adjusted(2, 0, -2, 0), Qt::AlignCenter, m_texts.at(i));
            painter.restore();
        }
    }

private:
    QTableView *m_view;
    QStringList m_texts;
};

// ---- Header ----

// The titles with the grid's sort markers drawn after them; the titles themselves (the model's
// header data, which exports and printing read) stay as declared.
class GridHeader : public QHeaderView
{
public:
    GridHeader(const DataGrid *grid, QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
        , m_grid(grid)
    { }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const QString marker = m_grid->sortMarker(logicalIndex);
        if (!marker.isEmpty())
            option->text += u' ' + marker;
    }

private:
    const DataGrid *m_grid;
};

// ---- DataGrid ----

DataGrid::DataGrid(QWidget *parent)
    : QWidget(parent)
    , m_view(new QTableView(this))
    , m_model(new GridModel(this))
{
    m_view->setObjectName(QStringLiteral("view"));
    m_header = new GridHeader(this, m_view);
    m_header->setSectionsClickable(true);
    m_view->setHorizontalHeader(m_header);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(true);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_footer = new GridFooter(m_view, this);
    m_footer->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_footer);
    setFocusProxy(m_view);

    QHeaderView *header = m_view->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, m_footer, qOverload<>(&QWidget::update));
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer,
            qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionClicked, this, &DataGrid::onTitleClicked);
    connect(m_view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { emit rowDoubleClicked(index.row()); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { emit currentRowChanged(current.row()); });
    // A double-click anywhere in the grid's area (rows or the empty part below) is "the grid".
    m_view->viewport()->installEventFilter(this);
    // A title click carries no modifiers in its signal: the header's mouse events tell them.
    header->viewport()->installEventFilter(this);

    auto *find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, &DataGrid::openFindDialog);
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonDblClick)
        emit gridDoubleClicked();
    // The footer's cells sit under the columns: when the row numbers widen (rows arrive, or
    // more digits) the columns move right and the footer must follow.
    if (watched == m_view->viewport()
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        m_footer->update();
    if (watched == m_header->viewport()
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonRelease))
        m_titleModifiers = static_cast<QMouseEvent *>(event)->modifiers();
    return QWidget::eventFilter(watched, event);
}

void DataGrid::setColumns(const GridColumns &columns)
{
    m_model->setColumns(columns);
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    applyWidths();
    refreshFooter();
}

void DataGrid::applyWidths()
{
    QHeaderView *header = m_view->horizontalHeader();
    const GridColumns &cols = columns();
    bool anyFitted = false;
    for (int i = 0; i < cols.size(); ++i) {
        if (cols.at(i).width > 0) {
            header->setSectionResizeMode(i, QHeaderView::Interactive);
            header->resizeSection(i, cols.at(i).width);
        } else {
            header->setSectionResizeMode(i, QHeaderView::Stretch);
            anyFitted = true;
        }
    }
    header->setStretchLastSection(false);
    Q_UNUSED(anyFitted);
}

void DataGrid::setResultSet(ResultSet *resultSet)
{
    if (m_resultSet)
        disconnect(m_resultSet, nullptr, this, nullptr);
    m_resultSet = resultSet;
    m_model->setSource(resultSet);
    if (resultSet)
        connect(resultSet, &ResultSet::reloaded, this, &DataGrid::onReloaded);
    rememberStatement();
    applyWidths();
    refreshFooter();
}

void DataGrid::setSourceModel(QAbstractItemModel *model)
{
    if (m_resultSet)
        disconnect(m_resultSet, nullptr, this, nullptr);
    m_resultSet = qobject_cast<ResultSet *>(model);
    m_model->setSource(model);
    if (m_resultSet)
        connect(m_resultSet, &ResultSet::reloaded, this, &DataGrid::onReloaded);
    rememberStatement();
    applyWidths();
    refreshFooter();
}

void DataGrid::rememberStatement()
{
    m_shownSql = m_resultSet ? m_resultSet->statement() : QString();
    m_shownValues = m_resultSet ? m_resultSet->values() : QVariantList();
}

void DataGrid::onReloaded()
{
    // A view keeps its scroll position across a reset: rows of another customer or period
    // would open in the middle. The same statement run again (a refresh after a save) keeps
    // the place the user scrolled to.
    if (m_resultSet
        && (m_resultSet->statement() != m_shownSql || m_resultSet->values() != m_shownValues)) {
        rememberStatement();
        m_view->scrollToTop();
    }
    refreshFooter();
}

void DataGrid::setEditable(bool editable)
{
    m_editable = editable;
    m_model->setEditable(editable);
    m_view->setEditTriggers(
            editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                     : QAbstractItemView::NoEditTriggers);
}

void DataGrid::setSortable(bool sortable)
{
    m_sortable = sortable;
    m_view->horizontalHeader()->setSectionsClickable(true);
}

SortKeys DataGrid::sortKeys() const
{
    if (m_resultSet)
        return m_resultSet->sortKeys();
    if (auto *table = qobject_cast<EditableTable *>(m_model->source()))
        return table->sortKeys();
    return m_modelKeys;
}

QString DataGrid::sortMarker(int column) const
{
    if (column < 0 || column >= columns().size())
        return {};
    const SortKeys keys = sortKeys();
    for (int k = 0; k < keys.size(); ++k) {
        if (keys.at(k).field != columns().at(column).field)
            continue;
        const QString arrow = keys.at(k).order == Qt::AscendingOrder ? QStringLiteral("▲")
                                                                     : QStringLiteral("▼");
        return keys.size() > 1 ? arrow + QString::number(k + 1) : arrow;
    }
    return {};
}

void DataGrid::onTitleClicked(int section)
{
    if (!m_sortable || section < 0 || section >= columns().size())
        return;
    const QString field = columns().at(section).field;
    SortKeys keys = sortKeys();
    const auto key = std::find_if(keys.begin(), keys.end(),
                                  [&field](const SortKey &k) { return k.field == field; });
    const bool sorted = key != keys.end();
    const Qt::SortOrder turned
            = sorted && key->order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (!(m_titleModifiers & Qt::ControlModifier))
        keys = {{field, turned}};
    else if (sorted)
        key->order = turned;
    else
        keys << SortKey {field, Qt::AscendingOrder};

    const int keep = currentRow();
    try {
        if (m_resultSet) {
            m_resultSet->setSortKeys(keys);
        } else if (auto *table = qobject_cast<EditableTable *>(m_model->source())) {
            table->sortBy(keys);
        } else if (QAbstractItemModel *source = m_model->source()) {
            // A plain model sorts by one column only.
            const int sourceColumn = m_model->sourceColumn(section);
            if (sourceColumn >= 0) {
                source->sort(sourceColumn, keys.last().order);
                m_modelKeys = {keys.last()};
            }
        }
    } catch (const DbError &e) {
        // The row being edited could not be written first: it stays in editing, unsorted.
        Messages::generalError(this, e.text());
        return;
    }
    m_header->viewport()->update();
    if (keep >= 0)
        setCurrentRow(0);
}

int DataGrid::sourceColumn(int column) const
{
    return m_model->sourceColumn(column);
}

GridFindDialog *DataGrid::openFindDialog()
{
    if (!m_findDialog)
        m_findDialog = new GridFindDialog(this);
    m_findDialog->present();
    return m_findDialog;
}

GridFind::Outcome DataGrid::findNext(const GridFind::Options &options, QWidget *messageParent)
{
    if (!messageParent)
        messageParent = this;
    // Shown only when the walk takes long; a modal one keeps the rows from changing under it.
    QProgressDialog progress(QStringLiteral("正在查找“%1”…").arg(options.text),
                             QStringLiteral("取消"), 0, qMax(1, rowCount()), messageParent);
    progress.setWindowTitle(QStringLiteral("查找"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    GridFind::Cell found;
    GridFind::Outcome outcome = GridFind::Outcome::NotFound;
    try {
        outcome = GridFind::next(*this, options, {currentRow(), currentColumn()}, &found,
                                 [&progress](int rows) {
                                     progress.setValue(rows);
                                     return !progress.wasCanceled();
                                 });
    } catch (const DbError &e) {
        progress.close();
        Messages::generalError(messageParent, e.text());
        return GridFind::Outcome::NotFound;
    }
    progress.close();
    if (outcome == GridFind::Outcome::Found)
        setCurrentCell(found.row, found.column);
    else if (outcome == GridFind::Outcome::NotFound)
        Messages::information(messageParent, QStringLiteral("提示"),
                              QStringLiteral("找不到“%1”。").arg(options.text));
    return outcome;
}

int DataGrid::rowCount() const
{
    return m_model->rowCount();
}

int DataGrid::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void DataGrid::setCurrentRow(int row)
{
    setCurrentCell(row, currentColumn());
}

int DataGrid::currentColumn() const
{
    return qMax(0, m_view->currentIndex().column());
}

void DataGrid::setCurrentCell(int row, int column)
{
    if (row < 0 || row >= rowCount()) {
        m_view->setCurrentIndex({});
        return;
    }
    const QModelIndex index = m_model->index(row, qBound(0, column, m_model->columnCount() - 1));
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index);
}

QString DataGrid::cellText(int row, int column) const
{
    return m_model->index(row, column).data().toString();
}

QString DataGrid::formatValue(const GridColumn &column, const QVariant &value)
{
    if (column.kind == GridColumn::Kind::Flag)
        return value.isValid() && !value.isNull() && value.toLongLong() != 0 ? QStringLiteral("是")
                                                                             : QStringLiteral("否");
    if (!value.isValid() || value.isNull())
        return {};
    switch (column.kind) {
    case GridColumn::Kind::Money: {
        bool ok = false;
        const qint64 units = value.toLongLong(&ok);
        return ok ? Money::fromUnits(units).toString() : value.toString();
    }
    case GridColumn::Kind::Date: {
        const QDate date = value.typeId() == QMetaType::QDate ? value.toDate()
                                                              : Dates::fromText(value.toString());
        return date.isValid() ? Dates::toText(date) : value.toString();
    }
    default:
        return value.toString();
    }
}

bool DataGrid::hasFooter() const
{
    for (const GridColumn &column : columns()) {
        if (column.footer != GridColumn::Footer::None)
            return true;
    }
    return false;
}

QString DataGrid::footerText(const GridColumn &column, qint64 rows, qint64 sum)
{
    switch (column.footer) {
    case GridColumn::Footer::Text:
        return column.footerText;
    case GridColumn::Footer::Count:
        return QString::number(rows);
    case GridColumn::Footer::Sum:
        return column.kind == GridColumn::Kind::Money ? Money::fromUnits(sum).toString()
                                                      : QString::number(sum);
    case GridColumn::Footer::None:
        break;
    }
    return {};
}

QStringList DataGrid::footerTexts() const
{
    // Printing needs the real figures: while a worker still computes them, compute here.
    if (m_footerPending && m_resultSet) {
        try {
            const ResultSet::Totals totals = m_resultSet->totals(sumFields());
            return composeFooter(&totals);
        } catch (const DbError &) {
            // The worker's answer reports the error; until then the shown texts stand.
        }
    }
    return m_footerTexts;
}

QStringList DataGrid::sumFields() const
{
    QStringList fields;
    for (const GridColumn &column : columns()) {
        if (column.footer == GridColumn::Footer::Sum)
            fields << column.field;
    }
    return fields;
}

QStringList DataGrid::composeFooter(const ResultSet::Totals *totals) const
{
    QStringList texts;
    int s = 0;
    for (const GridColumn &column : columns()) {
        const bool figure = column.footer == GridColumn::Footer::Count
                || column.footer == GridColumn::Footer::Sum;
        if (!totals && figure) {
            texts << QStringLiteral("…");
            continue;
        }
        const qint64 rows = totals ? totals->rows : 0;
        const qint64 sum = column.footer == GridColumn::Footer::Sum ? totals->sums.at(s++) : 0;
        texts << footerText(column, rows, sum);
    }
    return texts;
}

void DataGrid::showFooter(const QStringList &texts)
{
    m_footerTexts = texts;
    m_footer->setTexts(texts);
    m_footer->setVisible(hasFooter());
}

void DataGrid::refreshFooter()
{
    ++m_footerTicket;
    m_footerPending = false;
    if (!hasFooter()) {
        showFooter({});
        return;
    }
    const GridColumns &cols = columns();
    const QStringList fields = sumFields();
    ResultSet::Totals totals;
    totals.sums.fill(0, fields.size());
    if (m_resultSet) {
        const QString file = m_resultSet->database().databaseName();
        // A count alone is known already; an in-memory database has no file a worker could open.
        if (!fields.isEmpty() && m_resultSet->isOpen()
            && m_resultSet->rowCount() >= m_asyncFooterRows && !file.isEmpty()
            && file != QStringLiteral(":memory:")) {
            startFooterWorker(fields);
            return;
        }
        try {
            totals = m_resultSet->totals(fields);
        } catch (const DbError &e) {
            Messages::generalError(this, e.text());
        }
    } else if (QAbstractItemModel *source = m_model->source()) {
        // Small in-memory models (the pick lists): their rows are all loaded anyway.
        totals.rows = source->rowCount();
        for (int s = 0; s < fields.size(); ++s) {
            int column = -1;
            for (int c = 0; c < cols.size(); ++c) {
                if (cols.at(c).field == fields.at(s))
                    column = m_model->sourceColumn(c);
            }
            for (int r = 0; column >= 0 && r < totals.rows; ++r)
                totals.sums[s] += source->index(r, column).data().toLongLong();
        }
    }
    showFooter(composeFooter(&totals));
}

void DataGrid::startFooterWorker(const QStringList &fields)
{
    m_footerPending = true;
    showFooter(composeFooter(nullptr));
    const ResultSet::TotalsRequest request = m_resultSet->totalsRequest(fields);
    const quint64 ticket = m_footerTicket;
    const int sumCount = int(fields.size());
    // The worker never touches the grid: it carries the guard back to the UI thread, which
    // alone reads it (the grid may be gone by then).
    auto guard = std::make_shared<QPointer<DataGrid>>(this);
    QThreadPool::globalInstance()->start([request, ticket, sumCount, guard] {
        ResultSet::Totals totals;
        totals.sums.fill(0, sumCount);
        QString error;
        try {
            totals = ResultSet::computeTotals(request, sumCount);
        } catch (const DbError &e) {
            error = e.text();
        }
        QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [guard, ticket, generation = request.generation, totals, error] {
                    if (DataGrid *grid = guard->data())
                        grid->applyFooterTotals(ticket, generation, totals, error);
                },
                Qt::QueuedConnection);
    });
}

void DataGrid::applyFooterTotals(quint64 ticket,
                                 quint64 generation,
                                 const ResultSet::Totals &totals,
                                 const QString &error)
{
    // Answers for a statement or values shown before are dropped; a newer worker is on its way.
    if (ticket != m_footerTicket || !m_resultSet || m_resultSet->generation() != generation)
        return;
    m_footerPending = false;
    if (!error.isEmpty())
        Messages::generalError(this, error);
    showFooter(composeFooter(&totals));
}
