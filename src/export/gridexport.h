#pragma once

#include "gridwriters.h"
#include "ui/gridcolumn.h"

#include <QObject>
#include <QString>

#include <functional>

class DataGrid;
class QWidget;
class ResultSet;

// What differs between the screens' export handlers.
struct ExportOptions
{
    QString defaultFileName = QStringLiteral("file1");
    bool refuseEmpty = false; // a result without rows is ignored: no dialog, no message
    QString confirmText = QStringLiteral("导出数据成功！");
    QString confirmTitle = QStringLiteral("提示");
};

// Writing a grid's whole result without any dialog (also used by the benchmarks).
namespace GridExport {

enum class Outcome { Written, Cancelled, Failed };

// Progress during a write: rows done of the total; returning false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

QList<ExportCell> titleCells(const GridColumns &columns);

// Title row, every row of the result in order, then the footer with counts and sums over the
// rows written. The writer's device must be open.
Outcome write(GridWriter &writer,
              const ResultSet &resultSet,
              const GridColumns &columns,
              const Progress &progress = {},
              QString *error = nullptr);
// The same into a file; nothing appears under `path` unless the whole file was written.
Outcome writeFile(const QString &path,
                  GridWriter::Type type,
                  const ResultSet &resultSet,
                  const GridColumns &columns,
                  const Progress &progress = {},
                  QString *error = nullptr);

// Appends "." and the type's extension unless the name's last three characters already are
// the extension (letter case ignored): "abc" -> "abc.xls", "abcXLS" stays.
QString completeFileName(const QString &name, GridWriter::Type type);

// The save dialog's five filters, in the order of GridWriter::Type.
QStringList nameFilters();

} // namespace GridExport

// The export handler of one screen: owns the screen's save dialog state (the type chosen
// last, XLS at first; the folder) and exports any of the screen's grids.
class GridExporter : public QObject
{
    Q_OBJECT
public:
    // `dialogName` is the save dialog's object name, e.g. "SaveDialog1".
    explicit GridExporter(const QString &dialogName, QObject *parent = nullptr);

    // Asks for a file and type, writes the grid's whole result and confirms. A result set that
    // was never opened is ignored, as is an empty one when the options say so. Write failures
    // are shown by the general error display; a cancelled export leaves no file.
    void exportGrid(QWidget *parent, DataGrid *grid, const ExportOptions &options);

    GridWriter::Type selectedType() const { return m_type; }
    const QString &dialogName() const { return m_dialogName; }

private:
    QString m_dialogName;
    GridWriter::Type m_type = GridWriter::Type::Xls;
    QString m_directory;
};
