#include "gridexport.h"

#include "data/dberror.h"
#include "data/money.h"
#include "data/resultset.h"
#include "ui/datagrid.h"
#include "ui/messages.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>

#include <memory>

namespace GridExport {

QList<ExportCell> titleCells(const GridColumns &columns)
{
    QList<ExportCell> cells;
    for (const GridColumn &column : columns)
        cells << ExportCell::label(column.title);
    return cells;
}

QList<ExportCell>
rowCells(const GridColumns &columns, const QList<int> &fieldIndexes, const QVariantList &values)
{
    QList<ExportCell> cells;
    cells.reserve(columns.size());
    for (int c = 0; c < columns.size(); ++c) {
        const GridColumn &column = columns.at(c);
        const int field = fieldIndexes.value(c, -1);
        const QVariant value = field >= 0 && field < values.size() ? values.at(field) : QVariant();
        const QString text = DataGrid::formatValue(column, value);
        if (text.isEmpty()) {
            cells << ExportCell {};
            continue;
        }
        bool ok = false;
        switch (column.kind) {
        case GridColumn::Kind::Integer: {
            const qint64 number = value.toLongLong(&ok);
            cells << (ok ? ExportCell::integer(number) : ExportCell::label(text));
            break;
        }
        case GridColumn::Kind::Money: {
            const qint64 units = value.toLongLong(&ok);
            cells << (ok ? ExportCell::numeric(Money::fromUnits(units).toDouble(), text)
                         : ExportCell::label(text));
            break;
        }
        default:
            cells << ExportCell::label(text);
        }
    }
    return cells;
}

Outcome write(GridWriter &writer,
              const ResultSet &resultSet,
              const GridColumns &columns,
              const Progress &progress,
              QString *error)
{
    QList<int> fieldIndexes;
    for (const GridColumn &column : columns)
        fieldIndexes << resultSet.fieldIndex(column.field);
    QList<qint64> sums(columns.size(), 0);
    qint64 rows = 0;
    const qint64 total = resultSet.rowCount();
    bool cancelled = false;
    try {
        writer.begin(int(columns.size()), total + 2);
        writer.writeRow(titleCells(columns));
        resultSet.forEachRow([&](int, const QVariantList &values) {
            writer.writeRow(rowCells(columns, fieldIndexes, values));
            for (int c = 0; c < columns.size(); ++c) {
                if (columns.at(c).footer == GridColumn::Footer::Sum && fieldIndexes.at(c) >= 0)
                    sums[c] += values.value(fieldIndexes.at(c)).toLongLong();
            }
            ++rows;
            if (writer.failed())
                return false;
            if (progress && rows % 500 == 0 && !progress(rows, total)) {
                cancelled = true;
                return false;
            }
            return true;
        });
    } catch (const DbError &e) {
        if (error)
            *error = e.text();
        return Outcome::Failed;
    }
    if (cancelled)
        return Outcome::Cancelled;
    QList<ExportCell> footer;
    for (int c = 0; c < columns.size(); ++c) {
        const GridColumn &column = columns.at(c);
        const QString text = DataGrid::footerText(column, rows, sums.at(c));
        switch (column.footer) {
        case GridColumn::Footer::Count:
            footer << ExportCell::numeric(double(rows), text);
            break;
        case GridColumn::Footer::Sum:
            footer << ExportCell::numeric(column.kind == GridColumn::Kind::Money
                                                  ? Money::fromUnits(sums.at(c)).toDouble()
                                                  : double(sums.at(c)),
                                          text);
            break;
        default:
            footer << ExportCell::label(text);
        }
    }
    writer.writeRow(footer);
    writer.end();
    if (writer.failed()) {
        if (error)
            *error = writer.errorString();
        return Outcome::Failed;
    }
    return Outcome::Written;
}

Outcome writeFile(const QString &path,
                  GridWriter::Type type,
                  const ResultSet &resultSet,
                  const GridColumns &columns,
                  const Progress &progress,
                  QString *error)
{
    // QSaveFile writes beside the target and renames at the end: a cancelled or failed
    // export leaves no partial file (and an existing file untouched).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return Outcome::Failed;
    }
    std::unique_ptr<GridWriter> writer(GridWriter::create(type, &file));
    const Outcome outcome = write(*writer, resultSet, columns, progress, error);
    if (outcome != Outcome::Written) {
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return Outcome::Failed;
    }
    return Outcome::Written;
}

QString completeFileName(const QString &name, GridWriter::Type type)
{
    const QString extension = GridWriter::extension(type);
    if (name.right(3).compare(extension, Qt::CaseInsensitive) == 0)
        return name;
    return name + u'.' + extension;
}

QStringList nameFilters()
{
    return {QStringLiteral("文本 (*.TXT)"), QStringLiteral("CSV (*.CSV)"),
            QStringLiteral("HTLM (*.HTM)"), QStringLiteral("RTF (*.RTF)"),
            QStringLiteral("XLS (*.XLS)")};
}

} // namespace GridExport

GridExporter::GridExporter(const QString &dialogName, QObject *parent)
    : QObject(parent)
    , m_dialogName(dialogName)
{ }

void GridExporter::exportGrid(QWidget *parent, DataGrid *grid, const ExportOptions &options)
{
    ResultSet *resultSet = grid ? grid->resultSet() : nullptr;
    if (!resultSet || !resultSet->isOpen())
        return;
    if (options.refuseEmpty && resultSet->isEmpty())
        return;

    QFileDialog dialog(parent);
    dialog.setObjectName(m_dialogName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = GridExport::nameFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.at(int(m_type)));
    if (!m_directory.isEmpty())
        dialog.setDirectory(m_directory);
    dialog.selectFile(options.defaultFileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const int chosen = int(filters.indexOf(dialog.selectedNameFilter()));
    if (chosen >= 0)
        m_type = GridWriter::Type(chosen);
    m_directory = dialog.directory().absolutePath();

    const QString entered = dialog.selectedFiles().constFirst();
    const QString path = GridExport::completeFileName(entered, m_type);
    // The dialog only asked about the name as entered.
    if (path != entered && QFileInfo::exists(path)
        && !Messages::question(
                parent, QStringLiteral("确认另存为"),
                QStringLiteral("%1 已存在。\n要替换它吗？").arg(QFileInfo(path).fileName())))
        return;

    QProgressDialog progress(QStringLiteral("正在导出数据……"), QStringLiteral("取消"), 0,
                             qMax(1, resultSet->rowCount()), parent);
    progress.setObjectName(QStringLiteral("exportProgress"));
    progress.setWindowTitle(QStringLiteral("导出"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(800);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QString error;
    const GridExport::Outcome outcome = GridExport::writeFile(
            path, m_type, *resultSet, grid->columns(),
            [&progress](qint64 done, qint64) {
                progress.setValue(int(done));
                return !progress.wasCanceled();
            },
            &error);
    progress.close();
    switch (outcome) {
    case GridExport::Outcome::Written:
        Messages::information(parent, options.confirmTitle, options.confirmText);
        break;
    case GridExport::Outcome::Failed:
        Messages::generalError(parent, QStringLiteral("无法写入文件 %1：%2").arg(path, error));
        break;
    case GridExport::Outcome::Cancelled:
        break;
    }
}
