#pragma once

#include <QString>
#include <QStringList>

class DataGrid;
class QPrinter;
class QWidget;

// A report grid on paper: the title line, a page header with the print time and "第n页 共m页",
// the column titles, every row of the grid's result and its footer, scaled to the page width.
class ReportPrint
{
public:
    ReportPrint(const DataGrid *grid, const QString &title);

    // Lays the pages out for `printer` (counting them) and paints them; returns the page count.
    int paint(QPrinter *printer) const;

    // The print preview, maximised, from which the user prints.
    void preview(QWidget *parent) const;

    // The header's left text for a moment: "打印日期时间:" followed by date and time.
    static QString headerLeft();
    static QString headerRight(int page, int pages);

private:
    QString m_title;
    QList<QStringList> m_rows; // titles, data rows, footer
    bool m_hasFooter = false;
};
