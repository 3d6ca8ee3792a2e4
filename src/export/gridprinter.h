#pragma once

#include "ui/gridcolumn.h"

#include <QDateTime>
#include <QFont>
#include <QMarginsF>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <optional>

class DataGrid;
class QPaintDevice;
class QPainter;
class QPrinter;

// The settings of one print definition; a screen's definitions start from these values and
// keep changes made in the settings dialog until the screen closes.
struct PrintSettings
{
    enum class Fit { Scale, ColumnWidths };

    QString title;
    QMarginsF marginsCm {2.0, 2.0, 2.0, 2.0}; // left, top, right, bottom
    QFont font; // the grid's own font unless changed
    bool stretchRows = false; // long text wraps and makes its row taller
    bool colour = false;
    Fit fit = Fit::Scale;
    bool optimalWidths = true; // each column as wide as its widest text
};

// What a printed grid shows, all at once: for checks on small grids. Printing itself never
// holds this; it walks the rows through PrintRows.
struct PrintContent
{
    GridColumns columns;
    QList<QStringList> rows;
    QStringList footer; // empty when the grid has no footer
};

// The rows of a printed grid as a walk that reads them again each time it runs, so a year's
// rows are never all in memory: the layout walks them to count the pages, the drawing walks
// them again to paint.
struct PrintRows
{
    using Visitor = std::function<bool(const QStringList &cells)>;

    GridColumns columns;
    QStringList footer; // empty when the grid has no footer
    int expected = 0; // rows the walk is expected to give (for progress only)
    // Visits each row's cell texts in order (one list, reused); the visitor returns false to
    // stop. Returns false when it was stopped.
    std::function<bool(const Visitor &)> walk;

    // A walk over `content`, which must outlive the result.
    static PrintRows of(const PrintContent &content);
};

// Where the rows fall on the pages: found by walking the rows without painting, so the page
// count is known before the first page's header is drawn. Holds one entry per page, never one
// per row.
struct PrintLayout
{
    struct Page
    {
        int firstRow = 0;
        int rowCount = 0;
        bool title = false; // the title line (first page)
        bool footer = false; // the footer row (last page)
    };
    QList<Page> pages;
    QList<qreal> columnWidths; // device pixels, before scaling
    qreal scale = 1.0;
    // False when counting was stopped: `pages` then holds the first page only and the number
    // of pages is not known.
    bool counted = true;

    // Called as rows are walked (rows so far over all walks); returning false stops counting.
    using Progress = std::function<bool(int rows)>;

    static PrintLayout compute(const PrintSettings &settings,
                               const PrintRows &rows,
                               QPainter &painter,
                               const QRectF &pageRect,
                               const Progress &progress = {});
    static PrintLayout compute(const PrintSettings &settings,
                               const PrintContent &content,
                               QPainter &painter,
                               const QRectF &pageRect)
    {
        return compute(settings, PrintRows::of(content), painter, pageRect);
    }
    // How many times compute() walks the rows: column widths that follow the widest text must
    // be known before stretched rows can be measured.
    static int countingWalks(const PrintSettings &settings, const GridColumns &columns);

    // The height of one row with these column widths (taller when long text wraps and the
    // settings stretch rows).
    qreal
    rowHeight(const PrintSettings &settings, const QStringList &cells, QPaintDevice *device) const;
};

// One print definition of a grid (PrintDBGridEh1 …): preview, page layout and painting.
class GridPrinter : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Count, Draw };
    Q_ENUM(Phase)
    enum class RowKind { Titles, Row, Footer };

    GridPrinter(DataGrid *grid, const QString &title, QObject *parent = nullptr);

    PrintSettings &settings() { return m_settings; }
    const PrintSettings &settings() const { return m_settings; }

    // Shows the preview, maximised, captioned "打印预览"; the job is "表格信息". Printing from
    // a preview whose building was stopped prints the pages it showed.
    void preview(QWidget *parent);

    // Builds the pages onto `printer` (margins applied here): counts them, then draws those in
    // the printer's page range. A build that takes a while shows a modal progress dialog
    // ("printProgress") whose "停止" ends it: stopped while counting, the document is the
    // first page, headed "共?页"; stopped while drawing, it ends after the page being drawn
    // and the headers keep the counted total. Returns the number of the last page the
    // document can hold (the page count when nothing was stopped).
    int print(QPrinter *printer);
    // Whether the last print() was stopped.
    bool stopped() const { return m_stopped; }
    // The page header texts of a page ("第2页 共5页" on the right; "共?页" when `pages` is
    // unknown, below 1).
    static QString headerLeft(const QDateTime &when);
    static QString headerRight(int page, int pages);

    // How long a build runs before its progress dialog shows.
    static constexpr int ProgressDelayMs = 500;

    // The grid's rows as printing walks them.
    PrintRows rows() const;
    // Every row at once (see PrintContent).
    PrintContent content() const;
    // The right-hand page headers drawn by the last print, one per page.
    const QStringList &drawnHeaders() const { return m_drawnHeaders; }
    // Told every row drawn, with its page number, as it is drawn (for checks).
    using DrawObserver = std::function<void(int page, RowKind kind, const QStringList &cells)>;
    void setDrawObserver(DrawObserver observer) { m_observer = std::move(observer); }

public slots:
    // Ends the build in progress (what "停止" does).
    void stop() { m_stopRequested = true; }

signals:
    // A build's progress: rows walked so far in this phase.
    void building(GridPrinter::Phase phase, int rows);

private:
    // What a stopped preview built, so printing from it prints the same pages.
    struct Built
    {
        PrintLayout layout;
        QRectF pageRect;
        int pages = 0;
    };
    int build(QPrinter *printer, QPainter &painter, const QRectF &pageRect);

    QStringList m_drawnHeaders;
    QPointer<DataGrid> m_grid;
    PrintSettings m_settings;
    DrawObserver m_observer;
    bool m_stopRequested = false;
    bool m_stopped = false;
    std::optional<Built> m_kept; // set while a stopped preview is open
    Built m_last;
};
