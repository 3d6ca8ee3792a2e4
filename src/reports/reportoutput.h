#pragma once

#include <QObject>
#include <QString>

class DataGrid;
class GridExporter;
class QWidget;

// The save dialog of a report screen (SaveDialog1 or SaveDialog2) and its print entries: the
// file type chosen last stays chosen while the screen is open, each grid's print settings too.
class ReportOutput : public QObject
{
    Q_OBJECT
public:
    ReportOutput(QWidget *screen, const QString &name);

    // Exports the whole result behind `grid` to a file the user names, then confirms with
    // `text` titled `title`. Nothing at all happens when the grid's result set is closed (its
    // query never ran), nor, with `refuseEmpty`, when it holds no rows.
    void exportGrid(DataGrid *grid,
                    const QString &defaultName,
                    bool refuseEmpty,
                    const QString &text,
                    const QString &title);

    // Opens the print preview of `grid` under `title`; nothing when its result set is closed.
    void print(DataGrid *grid, const QString &title);

private:
    QWidget *m_screen;
    GridExporter *m_exporter;
};
