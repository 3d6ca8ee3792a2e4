#include "gridprinter.h"

#include "printsettingsdialog.h"

#include "data/resultset.h"
#include "ui/datagrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QToolBar>

namespace {

QFont titleFont()
{
    QFont font(QStringLiteral("华文新魏"));
    font.setPointSizeF(14);
    return font;
}

// 宋体 at 13 screen pixels, as points so it keeps its size on a printer.
QFont headerFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(13 * 72.0 / 96.0);
    return font;
}

qreal textWidth(const QFontMetricsF &metrics, const QString &text)
{
    qreal widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

int alignmentFlags(Qt::Alignment alignment, bool wrap)
{
    return int(alignment) | (wrap ? Qt::TextWordWrap : 0);
}

// The font measurements every row of one layout shares, made once per layout and device.
struct RowMeasure
{
    RowMeasure(const PrintSettings &settings, QPaintDevice *device)
        : metrics(settings.font, device)
        , pad(metrics.height() * 0.3)
        , line(metrics.height() + pad)
        , stretch(settings.stretchRows)
    { }

    qreal height(const QStringList &cells, const QList<qreal> &widths) const
    {
        if (!stretch)
            return line;
        qreal tallest = line;
        for (int c = 0; c < widths.size(); ++c) {
            const QRectF box(0, 0, widths.at(c) - 2 * pad, 1e9);
            tallest = qMax(tallest,
                           metrics.boundingRect(box, Qt::TextWordWrap, cells.value(c)).height()
                                   + pad);
        }
        return tallest;
    }

    QFontMetricsF metrics;
    qreal pad;
    qreal line;
    bool stretch;
};

qreal headerHeight(QPaintDevice *device)
{
    return QFontMetricsF(headerFont(), device).height() * 1.5;
}

qreal titleHeight(QPaintDevice *device)
{
    return QFontMetricsF(titleFont(), device).height() * 1.6;
}

bool widthsFollowText(const PrintSettings &settings, const GridColumns &columns)
{
    if (settings.optimalWidths)
        return true;
    for (const GridColumn &column : columns) {
        if (column.width <= 0)
            return true;
    }
    return false;
}

// Rows walked between two progress reports (each report may process events).
constexpr int ReportEvery = 64;

// Fills pages row by row, as the heights come.
struct Paginator
{
    std::function<qreal(bool title)> available;
    QList<PrintLayout::Page> pages;
    PrintLayout::Page page {0, 0, true, false};
    qreal used = 0;
    int row = 0;

    void add(qreal height)
    {
        if (used + height > available(page.title) && page.rowCount > 0) {
            pages << page;
            page = PrintLayout::Page {row, 0, false, false};
            used = 0;
        }
        used += height;
        ++page.rowCount;
        ++row;
    }
    void finish(bool hasFooter, qreal footer)
    {
        if (!hasFooter) {
            pages << page;
        } else if (used + footer <= available(page.title) || page.rowCount == 0) {
            page.footer = true;
            pages << page;
        } else {
            pages << page << PrintLayout::Page {row, 0, false, true};
        }
    }
};

} // namespace

PrintRows PrintRows::of(const PrintContent &content)
{
    PrintRows rows;
    rows.columns = content.columns;
    rows.footer = content.footer;
    rows.expected = int(content.rows.size());
    rows.walk = [&content](const Visitor &visit) {
        for (const QStringList &row : content.rows) {
            if (!visit(row))
                return false;
        }
        return true;
    };
    return rows;
}

int PrintLayout::countingWalks(const PrintSettings &settings, const GridColumns &columns)
{
    // Stretched rows are measured in their own walk once the widths are known; otherwise one
    // walk counts the rows (and measures the widths when they follow the text).
    if (!settings.stretchRows)
        return 1;
    return widthsFollowText(settings, columns) ? 2 : 1;
}

qreal PrintLayout::rowHeight(const PrintSettings &settings,
                             const QStringList &cells,
                             QPaintDevice *device) const
{
    return RowMeasure(settings, device).height(cells, columnWidths);
}

PrintLayout PrintLayout::compute(const PrintSettings &settings,
                                 const PrintRows &rows,
                                 QPainter &painter,
                                 const QRectF &pageRect,
                                 const Progress &progress)
{
    PrintLayout layout;
    QPaintDevice *device = painter.device();
    const RowMeasure measure(settings, device);
    const qreal pad = measure.pad;
    const qreal dpi = device->logicalDpiX();
    const int columns = int(rows.columns.size());
    const bool measureWidths = widthsFollowText(settings, rows.columns);

    int walked = 0;
    bool stopped = false;
    auto tick = [&] {
        ++walked;
        if (progress && walked % ReportEvery == 0 && !progress(walked))
            stopped = true;
        return !stopped;
    };

    // Walk 1: the widest text of each column and the number of rows. Not needed when the
    // widths are the grid's and the stretched rows' walk below counts them anyway.
    QList<qreal> widest(columns, 0);
    for (int c = 0; c < columns; ++c)
        widest[c] = qMax(textWidth(measure.metrics, rows.columns.at(c).title),
                         textWidth(measure.metrics, rows.footer.value(c)));
    int rowCount = 0;
    if (countingWalks(settings, rows.columns) == 2 || !settings.stretchRows) {
        rows.walk([&](const QStringList &cells) {
            if (measureWidths) {
                for (int c = 0; c < columns; ++c)
                    widest[c] = qMax(widest[c], textWidth(measure.metrics, cells.value(c)));
            }
            ++rowCount;
            return tick();
        });
    }

    for (int c = 0; c < columns; ++c) {
        const GridColumn &column = rows.columns.at(c);
        const qreal width = measureWidths || column.width <= 0 ? widest.at(c) + 2 * pad
                                                               : column.width * dpi / 96.0;
        layout.columnWidths << qMax(width, 2 * pad);
    }
    qreal tableWidth = 0;
    for (qreal w : std::as_const(layout.columnWidths))
        tableWidth += w;
    if (tableWidth > pageRect.width() && tableWidth > 0) {
        if (settings.fit == PrintSettings::Fit::Scale) {
            layout.scale = pageRect.width() / tableWidth;
        } else {
            for (qreal &w : layout.columnWidths)
                w *= pageRect.width() / tableWidth;
        }
    }

    const qreal header = headerHeight(device);
    const qreal title = titleHeight(device);
    const qreal titleRow = measure.line; // column titles, repeated on every page
    Paginator pager;
    pager.available = [&](bool first) {
        return (pageRect.height() - header - (first ? title : 0)) / layout.scale - titleRow;
    };

    bool complete = !stopped;
    if (!settings.stretchRows) {
        // Every row is one line high: the count alone places them. A stopped count still
        // fills the first page; drawing ends early if the rows do.
        if (complete) {
            for (int r = 0; r < rowCount; ++r)
                pager.add(measure.line);
        } else {
            while (pager.pages.isEmpty())
                pager.add(measure.line);
        }
    } else {
        // Walk 2 (or the only one): each row's height with the final widths. After a stop
        // it goes on only until the first page is whole.
        complete = rows.walk([&](const QStringList &cells) {
            pager.add(measure.height(cells, layout.columnWidths));
            if (!stopped)
                tick();
            return !stopped || pager.pages.isEmpty();
        });
        // Stopped during walk 1 but the rows all fitted on the first page: still whole.
        complete = complete && (!stopped || pager.pages.isEmpty());
    }

    if (complete) {
        const bool hasFooter = !rows.footer.isEmpty();
        pager.finish(hasFooter, hasFooter ? measure.height(rows.footer, layout.columnWidths) : 0);
        layout.pages = pager.pages;
    } else {
        if (pager.pages.isEmpty())
            pager.pages << pager.page;
        layout.pages = {pager.pages.first()};
        layout.counted = false;
    }
    return layout;
}

GridPrinter::GridPrinter(DataGrid *grid, const QString &title, QObject *parent)
    : QObject(parent)
    , m_grid(grid)
{
    m_settings.title = title;
    if (grid)
        m_settings.font = grid->font();
}

QString GridPrinter::headerLeft(const QDateTime &when)
{
    const QLocale locale;
    return QStringLiteral("打印日期时间:%1 %2")
            .arg(locale.toString(when.date(), QLocale::ShortFormat),
                 locale.toString(when.time(), QLocale::ShortFormat));
}

QString GridPrinter::headerRight(int page, int pages)
{
    return QStringLiteral("第%1页 共%2页")
            .arg(page)
            .arg(pages > 0 ? QString::number(pages) : QStringLiteral("?"));
}

PrintRows GridPrinter::rows() const
{
    PrintRows rows;
    if (!m_grid)
        return rows;
    rows.columns = m_grid->columns();
    if (m_grid->hasFooter())
        rows.footer = m_grid->footerTexts();
    rows.expected = m_grid->rowCount();
    QPointer<DataGrid> grid = m_grid;
    const GridColumns columns = rows.columns;
    rows.walk = [grid, columns](const PrintRows::Visitor &visit) {
        if (!grid)
            return true;
        QStringList cells(columns.size()); // reused row after row
        if (ResultSet *rs = grid->resultSet()) {
            // One forward read through the engine: the rows pass through, none is kept.
            QList<int> fields;
            for (const GridColumn &column : columns)
                fields << rs->fieldIndex(column.field);
            return rs->forEachRow([&](int, const QVariantList &values) {
                for (int c = 0; c < columns.size(); ++c)
                    cells[c] = DataGrid::formatValue(columns.at(c),
                                                     fields.at(c) >= 0 ? values.value(fields.at(c))
                                                                       : QVariant());
                return visit(cells);
            });
        }
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < columns.size(); ++c)
                cells[c] = grid->cellText(r, c);
            if (!visit(cells))
                return false;
        }
        return true;
    };
    return rows;
}

PrintContent GridPrinter::content() const
{
    const PrintRows walk = rows();
    PrintContent content;
    content.columns = walk.columns;
    content.footer = walk.footer;
    if (walk.walk) {
        walk.walk([&](const QStringList &cells) {
            content.rows << cells;
            return true;
        });
    }
    return content;
}

int GridPrinter::print(QPrinter *printer)
{
    const QMarginsF &cm = m_settings.marginsCm;
    printer->setPageMargins(
            QMarginsF(cm.left() * 10, cm.top() * 10, cm.right() * 10, cm.bottom() * 10),
            QPageLayout::Millimeter);
    printer->setDocName(QStringLiteral("表格信息"));
    m_drawnHeaders.clear();
    m_stopRequested = false;
    m_stopped = false;
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    const int pages = build(printer, painter, QRectF(0, 0, printer->width(), printer->height()));
    painter.end();
    return pages;
}

int GridPrinter::build(QPrinter *printer, QPainter &painter, const QRectF &pageRect)
{
    const PrintRows data = rows();
    if (!data.walk)
        return 0;
    // A stopped preview's pages are printed as it showed them, unless the paper changed.
    const bool reuse = m_kept && m_kept->pageRect == pageRect;
    const int counting = reuse ? 0 : PrintLayout::countingWalks(m_settings, data.columns);

    QWidget *parent = QApplication::activeModalWidget();
    if (!parent && m_grid)
        parent = m_grid->window();
    QProgressDialog progress(QStringLiteral("正在生成打印页面……"), QStringLiteral("停止"), 0,
                             qMax(1, data.expected * (counting + 1)), parent);
    progress.setObjectName(QStringLiteral("printProgress"));
    progress.setWindowTitle(QStringLiteral("打印"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(ProgressDelayMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    connect(&progress, &QProgressDialog::canceled, this, &GridPrinter::stop);
    progress.setValue(0);
    // The dialog repaints and takes events on each new value: a few times a second is enough.
    QElapsedTimer sinceValue;
    sinceValue.start();
    auto report = [&](Phase phase, int done, int base) {
        emit building(phase, done);
        if (!m_stopRequested && sinceValue.elapsed() >= 40) {
            progress.setValue(qMin(progress.maximum(), base + done));
            sinceValue.restart();
        }
        return !m_stopRequested;
    };

    PrintLayout layout;
    int pageLimit = 0;
    if (reuse) {
        layout = m_kept->layout;
        pageLimit = m_kept->pages;
    } else {
        layout = PrintLayout::compute(m_settings, data, painter, pageRect,
                                      [&](int done) { return report(Phase::Count, done, 0); });
        pageLimit = int(layout.pages.size());
    }
    const int pages = layout.counted ? int(layout.pages.size()) : 0; // 0: not known
    const int drawBase = counting * data.expected;

    const QDateTime now = QDateTime::currentDateTime();
    const RowMeasure measure(m_settings, painter.device());
    const qreal pad = measure.pad;
    const QPen pen(Qt::black, 0);
    const qreal header = headerHeight(painter.device());
    const qreal title = titleHeight(painter.device());

    auto drawRow = [&](int page, RowKind kind, qreal y, qreal height, const QStringList &cells) {
        const QColor fill = kind == RowKind::Titles ? QColor(230, 230, 230)
                : kind == RowKind::Footer           ? QColor(255, 255, 200)
                                                    : QColor();
        qreal x = 0;
        for (int c = 0; c < data.columns.size(); ++c) {
            const QRectF cell(x, y, layout.columnWidths.at(c), height);
            if (m_settings.colour && fill.isValid())
                painter.fillRect(cell, fill);
            painter.setPen(pen);
            painter.drawRect(cell);
            const GridColumn &column = data.columns.at(c);
            const Qt::Alignment align = kind == RowKind::Titles ? column.titleAlignment
                    : kind == RowKind::Footer                   ? Qt::Alignment(Qt::AlignCenter)
                                                                : column.alignment;
            painter.save();
            painter.setClipRect(cell);
            painter.drawText(cell.adjusted(pad, 0, -pad, 0),
                             alignmentFlags(align, m_settings.stretchRows), cells.value(c));
            painter.restore();
            x += layout.columnWidths.at(c);
        }
        if (m_observer)
            m_observer(page + 1, kind, cells);
    };

    QStringList titles;
    for (const GridColumn &column : std::as_const(data.columns))
        titles << column.title;
    // The pages the print dialog asked for (all of them unless a range was chosen); the
    // headers keep the true page numbers.
    int first = 0;
    int last = pageLimit - 1;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = printer->fromPage() - 1;
        if (printer->toPage() > 0)
            last = qMin(last, printer->toPage() - 1);
    }
    if (first > last)
        return pageLimit;
    const int drawRows = layout.pages.at(last).firstRow + layout.pages.at(last).rowCount;
    progress.setMaximum(qMax(1, drawBase + drawRows));

    int open = first - 1; // the page being drawn
    qreal ty = 0; // where its next row goes, below the column titles
    auto startPage = [&](int p) {
        if (p > first)
            printer->newPage();
        const PrintLayout::Page &page = layout.pages.at(p);
        painter.setFont(headerFont());
        const QRectF headerBox(0, 0, pageRect.width(), header);
        painter.setPen(pen);
        painter.drawText(headerBox, Qt::AlignLeft | Qt::AlignTop, headerLeft(now));
        painter.drawText(headerBox, Qt::AlignRight | Qt::AlignTop, headerRight(p + 1, pages));
        m_drawnHeaders << headerRight(p + 1, pages);
        qreal y = header;
        if (page.title) {
            painter.setFont(titleFont());
            painter.drawText(QRectF(0, y, pageRect.width(), title), Qt::AlignCenter,
                             m_settings.title);
            y += title;
        }
        painter.save();
        painter.translate(0, y);
        painter.scale(layout.scale, layout.scale);
        painter.setFont(m_settings.font);
        drawRow(p, RowKind::Titles, 0, measure.line, titles);
        ty = measure.line;
    };
    auto finishPage = [&](int p) {
        if (layout.pages.at(p).footer)
            drawRow(p, RowKind::Footer, ty, measure.height(data.footer, layout.columnWidths),
                    data.footer);
        painter.restore();
    };
    auto reach = [&](int p) {
        while (open < p) {
            if (open >= first)
                finishPage(open);
            startPage(++open);
        }
    };

    // Walk the rows again and draw them where the count placed them; nothing is kept but
    // the page being drawn.
    int row = 0;
    int pageOfRow = 0;
    bool stoppedEarly = false;
    data.walk([&](const QStringList &cells) {
        while (pageOfRow <= last
               && row >= layout.pages.at(pageOfRow).firstRow + layout.pages.at(pageOfRow).rowCount)
            ++pageOfRow;
        if (pageOfRow > last)
            return false;
        if (pageOfRow >= first) {
            reach(pageOfRow);
            const qreal height = measure.height(cells, layout.columnWidths);
            drawRow(pageOfRow, RowKind::Row, ty, height, cells);
            ty += height;
        }
        ++row;
        if (row % ReportEvery == 0)
            report(Phase::Draw, row, drawBase);
        // A stop ends the walk once the page being drawn is whole.
        const PrintLayout::Page &page = layout.pages.at(pageOfRow);
        if (m_stopRequested && pageOfRow >= first && pageOfRow < last
            && row == page.firstRow + page.rowCount) {
            stoppedEarly = true;
            return false;
        }
        return true;
    });
    // Pages still to come hold no rows (the footer's own page) or lost theirs since the
    // count; they are drawn all the same, so the count in the headers stays true.
    if (!stoppedEarly)
        reach(last);
    finishPage(open);
    progress.close();

    m_stopped = stoppedEarly || !layout.counted;
    m_last = Built {layout, pageRect, open + 1};
    if (stoppedEarly)
        return open + 1;
    return pageLimit;
}

void GridPrinter::preview(QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("表格信息"));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    int pages = 0;
    m_kept.reset();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this, &pages](QPrinter *target) {
        // The preview records its pages as pictures; any other engine is the printer, which
        // gets the pages the preview showed.
        const bool toPreview
                = target->paintEngine() && target->paintEngine()->type() == QPaintEngine::Picture;
        if (toPreview)
            m_kept.reset();
        pages = print(target);
        if (toPreview && m_stopped)
            m_kept = m_last;
        // The print dialog offers the range 1 to the page count.
        if (pages > 0 && target->printRange() == QPrinter::AllPages)
            target->setFromTo(1, pages);
    });
    if (auto *bar = dialog.findChild<QToolBar *>()) {
        bar->addSeparator();
        QAction *settings = bar->addAction(QStringLiteral("打印设置"));
        settings->setObjectName(QStringLiteral("printSettings"));
        connect(settings, &QAction::triggered, &dialog, [this, &dialog, &printer] {
            PrintSettingsDialog edit(m_settings, &printer, &dialog);
            if (edit.exec() != QDialog::Accepted)
                return;
            m_settings = edit.settings();
            if (auto *view = dialog.findChild<QPrintPreviewWidget *>())
                view->updatePreview();
        });
    }
    dialog.exec();
    m_kept.reset();
}
