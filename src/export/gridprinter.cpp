#include "gridprinter.h"

#include "data/resultset.h"
#include "ui/datagrid.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

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

} // namespace

PrintLayout PrintLayout::compute(const PrintSettings &settings,
                                 const PrintContent &content,
                                 QPainter &painter,
                                 const QRectF &pageRect)
{
    PrintLayout layout;
    const QFontMetricsF metrics(settings.font, painter.device());
    const qreal pad = metrics.height() * 0.3;
    const qreal dpi = painter.device()->logicalDpiX();
    const int columns = int(content.columns.size());

    // Column widths: widest text, or the grid's own widths (screen pixels).
    for (int c = 0; c < columns; ++c) {
        const GridColumn &column = content.columns.at(c);
        qreal width = 0;
        if (settings.optimalWidths || column.width <= 0) {
            width = textWidth(metrics, column.title);
            for (const QStringList &row : content.rows)
                width = qMax(width, textWidth(metrics, row.value(c)));
            width = qMax(width, textWidth(metrics, content.footer.value(c)));
            width += 2 * pad;
        } else {
            width = column.width * dpi / 96.0;
        }
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

    const qreal line = metrics.height() + pad;
    auto heightOf = [&](const QStringList &cells) {
        if (!settings.stretchRows)
            return line;
        qreal tallest = line;
        for (int c = 0; c < columns; ++c) {
            const QRectF box(0, 0, layout.columnWidths.at(c) - 2 * pad, 1e9);
            tallest = qMax(tallest,
                           metrics.boundingRect(box, Qt::TextWordWrap, cells.value(c)).height()
                                   + pad);
        }
        return tallest;
    };
    for (const QStringList &row : content.rows)
        layout.rowHeights << heightOf(row);

    const qreal header = QFontMetricsF(headerFont(), painter.device()).height() * 1.5;
    const qreal title = QFontMetricsF(titleFont(), painter.device()).height() * 1.6;
    const qreal titleRow = line; // column titles, repeated on every page
    const qreal footer = content.footer.isEmpty() ? 0 : heightOf(content.footer);

    int row = 0;
    const int rows = int(content.rows.size());
    bool footerPlaced = content.footer.isEmpty();
    while (layout.pages.isEmpty() || row < rows || !footerPlaced) {
        Page page;
        page.firstRow = row;
        page.title = layout.pages.isEmpty();
        const qreal available
                = (pageRect.height() - header - (page.title ? title : 0)) / layout.scale - titleRow;
        qreal used = 0;
        while (row < rows
               && (used + layout.rowHeights.at(row) <= available || page.rowCount == 0)) {
            used += layout.rowHeights.at(row);
            ++row;
            ++page.rowCount;
        }
        if (row == rows && !footerPlaced && (used + footer <= available || page.rowCount == 0)) {
            page.footer = true;
            footerPlaced = true;
        }
        layout.pages << page;
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
    return QStringLiteral("第%1页 共%2页").arg(page).arg(pages);
}

PrintContent GridPrinter::content() const
{
    PrintContent content;
    if (!m_grid)
        return content;
    content.columns = m_grid->columns();
    if (ResultSet *rs = m_grid->resultSet()) {
        QList<int> fields;
        for (const GridColumn &column : std::as_const(content.columns))
            fields << rs->fieldIndex(column.field);
        rs->forEachRow([&](int, const QVariantList &values) {
            QStringList cells;
            for (int c = 0; c < content.columns.size(); ++c)
                cells << DataGrid::formatValue(content.columns.at(c),
                                               fields.at(c) >= 0 ? values.value(fields.at(c))
                                                                 : QVariant());
            content.rows << cells;
            return true;
        });
    } else {
        for (int r = 0; r < m_grid->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < content.columns.size(); ++c)
                cells << m_grid->cellText(r, c);
            content.rows << cells;
        }
    }
    if (m_grid->hasFooter())
        content.footer = m_grid->footerTexts();
    return content;
}

int GridPrinter::print(QPrinter *printer)
{
    const QMarginsF &cm = m_settings.marginsCm;
    printer->setPageMargins(
            QMarginsF(cm.left() * 10, cm.top() * 10, cm.right() * 10, cm.bottom() * 10),
            QPageLayout::Millimeter);
    printer->setDocName(QStringLiteral("表格信息"));
    const PrintContent data = content();
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    const QRectF pageRect(0, 0, printer->width(), printer->height());
    const PrintLayout layout = PrintLayout::compute(m_settings, data, painter, pageRect);
    const int pages = int(layout.pages.size());
    const QDateTime now = QDateTime::currentDateTime();
    const QFontMetricsF metrics(m_settings.font, painter.device());
    const qreal pad = metrics.height() * 0.3;
    const qreal line = metrics.height() + pad;
    const QPen pen(Qt::black, 0);

    auto drawRow = [&](qreal y, qreal height, const QStringList &cells, bool titles,
                       const QColor &fill) {
        qreal x = 0;
        for (int c = 0; c < data.columns.size(); ++c) {
            const QRectF cell(x, y, layout.columnWidths.at(c), height);
            if (m_settings.colour && fill.isValid())
                painter.fillRect(cell, fill);
            painter.setPen(pen);
            painter.drawRect(cell);
            const GridColumn &column = data.columns.at(c);
            const Qt::Alignment align = titles ? column.titleAlignment
                    : fill.isValid()           ? Qt::Alignment(Qt::AlignCenter)
                                               : column.alignment;
            painter.save();
            painter.setClipRect(cell);
            painter.drawText(cell.adjusted(pad, 0, -pad, 0),
                             alignmentFlags(align, m_settings.stretchRows), cells.value(c));
            painter.restore();
            x += layout.columnWidths.at(c);
        }
    };

    QStringList titles;
    for (const GridColumn &column : std::as_const(data.columns))
        titles << column.title;
    // The pages the print dialog asked for (all of them unless a range was chosen); the
    // headers keep the true page numbers.
    int first = 0;
    int last = pages - 1;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = printer->fromPage() - 1;
        if (printer->toPage() > 0)
            last = qMin(last, printer->toPage() - 1);
    }
    m_drawnHeaders.clear();
    for (int p = first; p <= last; ++p) {
        if (p > first)
            printer->newPage();
        const PrintLayout::Page &page = layout.pages.at(p);
        painter.setFont(headerFont());
        const qreal headerHeight = QFontMetricsF(headerFont(), painter.device()).height() * 1.5;
        const QRectF headerBox(0, 0, pageRect.width(), headerHeight);
        painter.setPen(pen);
        painter.drawText(headerBox, Qt::AlignLeft | Qt::AlignTop, headerLeft(now));
        painter.drawText(headerBox, Qt::AlignRight | Qt::AlignTop, headerRight(p + 1, pages));
        m_drawnHeaders << headerRight(p + 1, pages);
        qreal y = headerHeight;
        if (page.title) {
            painter.setFont(titleFont());
            const qreal height = QFontMetricsF(titleFont(), painter.device()).height() * 1.6;
            painter.drawText(QRectF(0, y, pageRect.width(), height), Qt::AlignCenter,
                             m_settings.title);
            y += height;
        }
        painter.save();
        painter.translate(0, y);
        painter.scale(layout.scale, layout.scale);
        painter.setFont(m_settings.font);
        qreal ty = 0;
        drawRow(ty, line, titles, true, QColor(230, 230, 230));
        ty += line;
        for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r) {
            drawRow(ty, layout.rowHeights.at(r), data.rows.at(r), false, QColor());
            ty += layout.rowHeights.at(r);
        }
        if (page.footer)
            drawRow(ty, line, data.footer, false, QColor(255, 255, 200));
        painter.restore();
    }
    painter.end();
    return pages;
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
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this, &pages](QPrinter *target) {
        pages = print(target);
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
}

PrintSettingsDialog::PrintSettingsDialog(const PrintSettings &settings,
                                         QPrinter *printer,
                                         QWidget *parent)
    : QDialog(parent)
    , m_base(settings)
{
    setObjectName(QStringLiteral("PrintSettingsDialog"));
    setWindowTitle(QStringLiteral("打印设置"));
    auto *form = new QFormLayout;
    static const char *const names[4] = {"leftMargin", "topMargin", "rightMargin", "bottomMargin"};
    static const char *const labels[4]
            = {"左边距(厘米)", "上边距(厘米)", "右边距(厘米)", "下边距(厘米)"};
    const qreal values[4] = {settings.marginsCm.left(), settings.marginsCm.top(),
                             settings.marginsCm.right(), settings.marginsCm.bottom()};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = new QDoubleSpinBox(this);
        m_margins[i]->setObjectName(QLatin1String(names[i]));
        m_margins[i]->setRange(0, 10);
        m_margins[i]->setDecimals(1);
        m_margins[i]->setSingleStep(0.1);
        m_margins[i]->setValue(values[i]);
        form->addRow(QString::fromUtf8(labels[i]), m_margins[i]);
    }
    m_font = new QFontComboBox(this);
    m_font->setObjectName(QStringLiteral("fontFamily"));
    m_font->setCurrentFont(settings.font);
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("fontSize"));
    m_size->setRange(4, 72);
    // A font sized in pixels has no point size; offer the usual 9 points then.
    const qreal points = settings.font.pointSizeF();
    m_size->setValue(points > 0 ? qMax(4, qRound(points)) : 9);
    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(m_size);
    form->addRow(QStringLiteral("打印字体"), fontRow);
    m_stretch = new QCheckBox(QStringLiteral("长文本自动加高行"), this);
    m_stretch->setObjectName(QStringLiteral("stretchRows"));
    m_stretch->setChecked(settings.stretchRows);
    m_colour = new QCheckBox(QStringLiteral("彩色打印"), this);
    m_colour->setObjectName(QStringLiteral("colour"));
    m_colour->setChecked(settings.colour);
    m_optimal = new QCheckBox(QStringLiteral("最佳列宽"), this);
    m_optimal->setObjectName(QStringLiteral("optimalWidths"));
    m_optimal->setChecked(settings.optimalWidths);
    form->addRow(m_stretch);
    form->addRow(m_colour);
    form->addRow(m_optimal);
    auto *fitBox = new QGroupBox(QStringLiteral("适合页宽"), this);
    m_scale = new QRadioButton(QStringLiteral("缩放整个表格"), fitBox);
    m_scale->setObjectName(QStringLiteral("fitScale"));
    m_widths = new QRadioButton(QStringLiteral("调整列宽"), fitBox);
    m_widths->setObjectName(QStringLiteral("fitWidths"));
    (settings.fit == PrintSettings::Fit::Scale ? m_scale : m_widths)->setChecked(true);
    auto *fitLayout = new QVBoxLayout(fitBox);
    fitLayout->addWidget(m_scale);
    fitLayout->addWidget(m_widths);
    form->addRow(fitBox);
    auto *setup = new QPushButton(QStringLiteral("打印机设置…"), this);
    setup->setObjectName(QStringLiteral("printerSetup"));
    connect(setup, &QPushButton::clicked, this, [this, printer] {
        QPageSetupDialog dialog(printer, this);
        dialog.exec();
    });
    form->addRow(setup);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PrintSettings PrintSettingsDialog::settings() const
{
    PrintSettings s = m_base;
    s.marginsCm = QMarginsF(m_margins[0]->value(), m_margins[1]->value(), m_margins[2]->value(),
                            m_margins[3]->value());
    QFont font = m_font->currentFont();
    font.setPointSize(m_size->value());
    s.font = font;
    s.stretchRows = m_stretch->isChecked();
    s.colour = m_colour->isChecked();
    s.optimalWidths = m_optimal->isChecked();
    s.fit = m_scale->isChecked() ? PrintSettings::Fit::Scale : PrintSettings::Fit::ColumnWidths;
    return s;
}
