#include "reportprint.h"

#include "data/resultset.h"
#include "ui/datagrid.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {
constexpr double MarginMm = 20.0;
constexpr int CellPadding = 4; // points of air left and right of a cell's text
} // namespace

ReportPrint::ReportPrint(const DataGrid *grid, const QString &title)
    : m_title(title)
{
    const GridColumns &columns = grid->columns();
    QStringList titles;
    for (const GridColumn &column : columns)
        titles << column.title;
    m_rows << titles;
    if (const ResultSet *rows = grid->resultSet(); rows && rows->isOpen()) {
        QList<int> fields;
        for (const GridColumn &column : columns)
            fields << rows->fieldIndex(column.field);
        rows->forEachRow([&](int, const QVariantList &values) {
            QStringList cells;
            for (int c = 0; c < columns.size(); ++c)
                cells << (fields[c] < 0 ? QString()
                                        : DataGrid::formatValue(columns[c], values.at(fields[c])));
            m_rows << cells;
            return true;
        });
    }
    m_hasFooter = grid->hasFooter();
    if (m_hasFooter)
        m_rows << grid->footerTexts();
}

QString ReportPrint::headerLeft()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QStringLiteral("打印日期时间:") + now.date().toString(QStringLiteral("yyyy-MM-dd"))
            + u' ' + now.time().toString(QStringLiteral("HH:mm:ss"));
}

QString ReportPrint::headerRight(int page, int pages)
{
    return QStringLiteral("第%1页 共%2页").arg(page).arg(pages);
}

int ReportPrint::paint(QPrinter *printer) const
{
    printer->setDocName(QStringLiteral("表格信息"));
    printer->setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                            QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution());
    const double dpi = printer->resolution();

    QFont headerFont(QStringLiteral("宋体"));
    headerFont.setPixelSize(qRound(13 * dpi / 96.0));
    QFont titleFont(QStringLiteral("华文新魏"));
    titleFont.setPointSizeF(14);
    QFont cellFont(QStringLiteral("宋体"));
    cellFont.setPointSizeF(9);

    // Each column as wide as its widest text, then the whole grid scaled to the page width.
    const QFontMetricsF cells(cellFont, printer);
    const int columnCount = m_rows.isEmpty() ? 0 : int(m_rows.first().size());
    QList<double> widths(columnCount, 0.0);
    for (const QStringList &row : m_rows)
        for (int c = 0; c < columnCount && c < row.size(); ++c)
            widths[c]
                    = qMax(widths[c], cells.horizontalAdvance(row[c]) + 2 * CellPadding * dpi / 72);
    double total = 0;
    for (double w : widths)
        total += w;
    const double scale = total > page.width() ? page.width() / total : 1.0;
    const double rowHeight = cells.height() * 1.4;

    const double headerHeight = QFontMetricsF(headerFont, printer).height() * 1.5;
    const double titleHeight = QFontMetricsF(titleFont, printer).height() * 1.5;
    // Page 1 carries the title; every page repeats the column titles under the header.
    const double firstRows = (page.height() - headerHeight - titleHeight) / (rowHeight * scale) - 1;
    const double otherRows = (page.height() - headerHeight) / (rowHeight * scale) - 1;
    const int bodyRows = int(m_rows.size()) - 1;
    const int perFirst = qMax(1, int(firstRows));
    const int perOther = qMax(1, int(otherRows));
    const int pages
            = bodyRows <= perFirst ? 1 : 1 + (bodyRows - perFirst + perOther - 1) / perOther;

    const QString left = headerLeft();
    int next = 1; // first row after the titles still to print
    for (int p = 1; p <= pages; ++p) {
        if (p > 1)
            printer->newPage();
        painter.setFont(headerFont);
        const QRectF header(0, 0, page.width(), headerHeight);
        painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, left);
        painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, headerRight(p, pages));
        double y = headerHeight;
        if (p == 1) {
            painter.setFont(titleFont);
            painter.drawText(QRectF(0, y, page.width(), titleHeight), Qt::AlignCenter, m_title);
            y += titleHeight;
        }
        painter.save();
        painter.translate(0, y);
        painter.scale(scale, scale);
        painter.setFont(cellFont);
        const auto drawRow = [&](const QStringList &row, double top) {
            double x = 0;
            for (int c = 0; c < columnCount; ++c) {
                const QRectF cell(x, top, widths[c], rowHeight);
                painter.drawRect(cell);
                painter.drawText(cell, Qt::AlignCenter, c < row.size() ? row[c] : QString());
                x += widths[c];
            }
        };
        drawRow(m_rows.first(), 0);
        const int count = p == 1 ? perFirst : perOther;
        for (int i = 0; i < count && next < m_rows.size(); ++i, ++next)
            drawRow(m_rows.at(next), (i + 1) * rowHeight);
        painter.restore();
    }
    painter.end();
    return pages;
}

void ReportPrint::preview(QWidget *parent) const
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    dialog.setWindowState(Qt::WindowMaximized);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter *target) { paint(target); });
    dialog.exec();
}
