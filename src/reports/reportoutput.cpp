#include "reportoutput.h"

#include "data/resultset.h"
#include "export/gridexport.h"
#include "ui/datagrid.h"

ReportOutput::ReportOutput(QWidget *screen, const QString &name)
    : QObject(screen)
    , m_screen(screen)
    , m_exporter(new GridExporter(name, this))
{
    setObjectName(name);
}

void ReportOutput::exportGrid(DataGrid *grid,
                              const QString &defaultName,
                              bool refuseEmpty,
                              const QString &text,
                              const QString &title)
{
    // A panel that never ran its query has nothing to export: no dialog, and no confirmation
    // of an export that did not happen.
    if (!grid->resultSet() || !grid->resultSet()->isOpen())
        return;
    ExportOptions options;
    options.defaultFileName = defaultName;
    options.refuseEmpty = refuseEmpty;
    options.confirmText = text;
    options.confirmTitle = title;
    m_exporter->exportGrid(m_screen, grid, options);
}
