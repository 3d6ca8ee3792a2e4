#pragma once

#include <QObject>
#include <QString>

class DataGrid;
class GridExporter;
class QWidget;

// The save dialog of a report screen (SaveDialog1 or SaveDialog2): the file type chosen last
// stays chosen while the screen is open.
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

private:
    QWidget *m_screen;
    GridExporter *m_exporter;
};
