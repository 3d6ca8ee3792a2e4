#pragma once

#include "ui/gridcolumn.h"

#include <QDateTime>
#include <QDialog>
#include <QFont>
#include <QMarginsF>
#include <QObject>
#include <QPointer>
#include <QStringList>

class DataGrid;
class QPainter;
class QPrinter;
class QCheckBox;
class QDoubleSpinBox;
class QFontComboBox;
class QRadioButton;
class QSpinBox;

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

// What a printed grid shows: titles, every row's cell texts and the footer texts.
struct PrintContent
{
    GridColumns columns;
    QList<QStringList> rows;
    QStringList footer; // empty when the grid has no footer
};

// Where the rows fall on the pages: computed without painting, so the page count is known
// before the first page's header is drawn.
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
    QList<qreal> rowHeights; // device pixels, before scaling
    qreal scale = 1.0;

    static PrintLayout compute(const PrintSettings &settings,
                               const PrintContent &content,
                               QPainter &painter,
                               const QRectF &pageRect);
};

// One print definition of a grid (PrintDBGridEh1 …): preview, page layout and painting.
class GridPrinter : public QObject
{
    Q_OBJECT
public:
    GridPrinter(DataGrid *grid, const QString &title, QObject *parent = nullptr);

    PrintSettings &settings() { return m_settings; }
    const PrintSettings &settings() const { return m_settings; }

    // Shows the preview, maximised, captioned "打印预览"; the job is "表格信息".
    void preview(QWidget *parent);

    // Prints every page onto `printer` (margins applied here); returns the page count.
    int print(QPrinter *printer);
    // The page header texts of a page ("第2页 共5页" on the right).
    static QString headerLeft(const QDateTime &when);
    static QString headerRight(int page, int pages);

    PrintContent content() const;
    // The right-hand page headers drawn by the last print, one per page.
    const QStringList &drawnHeaders() const { return m_drawnHeaders; }

private:
    QStringList m_drawnHeaders;
    QPointer<DataGrid> m_grid;
    PrintSettings m_settings;
};

// Changes one print definition's settings; the caller applies them only when accepted.
class PrintSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    PrintSettingsDialog(const PrintSettings &settings,
                        QPrinter *printer,
                        QWidget *parent = nullptr);
    PrintSettings settings() const;

private:
    PrintSettings m_base;
    QDoubleSpinBox *m_margins[4] {};
    QFontComboBox *m_font = nullptr;
    QSpinBox *m_size = nullptr;
    QCheckBox *m_stretch = nullptr;
    QCheckBox *m_colour = nullptr;
    QCheckBox *m_optimal = nullptr;
    QRadioButton *m_scale = nullptr;
    QRadioButton *m_widths = nullptr;
};
