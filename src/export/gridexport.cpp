#include "gridexport.h"

#include "data/dberror.h"
#include "data/money.h"
#include "data/rawrows.h"
#include "data/resultset.h"
#include "ui/datagrid.h"
#include "ui/messages.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QStringDecoder>

#include <memory>

namespace GridExport {

QList<ExportCell> titleCells(const GridColumns &columns)
{
    QList<ExportCell> cells;
    for (const GridColumn &column : columns)
        cells << ExportCell::label(column.title);
    return cells;
}

namespace {

// Cells are filled in place, row after row: their texts keep their storage, so a million rows
// cost no allocation per value.
void setText(ExportCell &cell, ExportCell::Kind kind, const char *text, qsizetype length)
{
    cell.kind = kind;
    cell.text.resize(length);
    QChar *to = cell.text.data();
    for (qsizetype i = 0; i < length; ++i)
        to[i] = QLatin1Char(text[i]);
}

void setBlank(ExportCell &cell)
{
    cell.kind = ExportCell::Kind::Blank;
    cell.text.resize(0);
    cell.number = 0;
}

void setUtf8(ExportCell &cell, QByteArrayView utf8)
{
    if (utf8.isEmpty())
        return setBlank(cell);
    static thread_local QStringDecoder decoder(QStringDecoder::Utf8,
                                               QStringDecoder::Flag::Stateless);
    cell.kind = ExportCell::Kind::Label;
    // UTF-16 never takes more units than UTF-8 takes bytes.
    cell.text.resize(utf8.size());
    const QChar *end = decoder.appendToBuffer(cell.text.data(), utf8);
    cell.text.resize(end - cell.text.constData());
}

// Digits of a whole number, written backwards from `end`; returns where they start.
char *writeInteger(char *end, qint64 value)
{
    char *p = end;
    const bool negative = value < 0;
    quint64 magnitude = negative ? quint64(-(value + 1)) + 1 : quint64(value);
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative)
        *--p = '-';
    return p;
}

// Shortest decimal text of a money amount, as Money::toString writes it, written backwards.
char *writeMoney(char *end, qint64 units)
{
    char *p = end;
    const bool negative = units < 0;
    quint64 magnitude = negative ? quint64(-(units + 1)) + 1 : quint64(units);
    quint64 fraction = magnitude % Money::UnitsPerYuan;
    magnitude /= Money::UnitsPerYuan;
    if (fraction) {
        int places = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        for (; places > 0; --places, fraction /= 10)
            *--p = char('0' + fraction % 10);
        *--p = '.';
    }
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative)
        *--p = '-';
    return p;
}

// A stored date already in the shown form (yyyy-MM-dd) is shown as it is, whether or not it is
// a real day: a valid one reads back the same and an invalid one is shown as its text.
bool isShownDate(QByteArrayView text)
{
    if (text.size() != 10 || text.at(4) != '-' || text.at(7) != '-')
        return false;
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text.at(i) < '0' || text.at(i) > '9')
            return false;
    }
    return true;
}

// Any value the short ways below do not cover: the grid's own formatting.
ExportCell slowCell(const GridColumn &column, const QVariant &value)
{
    const QString text = DataGrid::formatValue(column, value);
    if (text.isEmpty())
        return {};
    bool ok = false;
    switch (column.kind) {
    case GridColumn::Kind::Integer: {
        const qint64 number = value.toLongLong(&ok);
        return ok ? ExportCell::integer(number) : ExportCell::label(text);
    }
    case GridColumn::Kind::Money: {
        const qint64 units = value.toLongLong(&ok);
        return ok ? ExportCell::numeric(Money::fromUnits(units).toDouble(), text)
                  : ExportCell::label(text);
    }
    default:
        return ExportCell::label(text);
    }
}

// The cell of one value, the same as slowCell gives; the kinds of values an SQLite result
// holds most (integers, plain text, stored dates, NULL) take a short way.
void fillCell(ExportCell &cell, const GridColumn &column, const RawRow &row, int field)
{
    static const QString yes = QStringLiteral("是");
    static const QString no = QStringLiteral("否");
    const RawRow::Type type = field >= 0 ? row.type(field) : RawRow::Type::Null;
    char digits[32];
    char *const end = digits + sizeof digits;
    if (column.kind == GridColumn::Kind::Flag && type != RawRow::Type::Integer
        && type != RawRow::Type::Null) {
        cell = slowCell(column, row.value(field));
        return;
    }
    switch (type) {
    case RawRow::Type::Null:
        if (column.kind == GridColumn::Kind::Flag) {
            cell.kind = ExportCell::Kind::Label;
            cell.text = no;
        } else {
            setBlank(cell);
        }
        return;
    case RawRow::Type::Integer: {
        const qint64 number = row.integer(field);
        switch (column.kind) {
        case GridColumn::Kind::Flag:
            cell.kind = ExportCell::Kind::Label;
            cell.text = number != 0 ? yes : no;
            return;
        case GridColumn::Kind::Integer: {
            const char *start = writeInteger(end, number);
            setText(cell, ExportCell::Kind::Integer, start, end - start);
            cell.number = double(number);
            return;
        }
        case GridColumn::Kind::Money: {
            const char *start = writeMoney(end, number);
            setText(cell, ExportCell::Kind::Number, start, end - start);
            cell.number = Money::fromUnits(number).toDouble();
            return;
        }
        case GridColumn::Kind::Text: {
            const char *start = writeInteger(end, number);
            setText(cell, ExportCell::Kind::Label, start, end - start);
            return;
        }
        default:
            break;
        }
        break;
    }
    case RawRow::Type::Text: {
        const QByteArrayView text = row.utf8(field);
        if (column.kind == GridColumn::Kind::Text
            || (column.kind == GridColumn::Kind::Date && isShownDate(text)))
            return setUtf8(cell, text);
        break;
    }
    default:
        break;
    }
    cell = slowCell(column, row.value(field));
}

} // namespace

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
    QList<int> sumIndexes; // per summed column its field, others -1
    for (int c = 0; c < columns.size(); ++c)
        sumIndexes << (columns.at(c).footer == GridColumn::Footer::Sum ? fieldIndexes.at(c) : -1);
    QList<ExportCell> cells; // reused: its strings are replaced row by row
    qint64 rows = 0;
    const qint64 total = resultSet.rowCount();
    bool cancelled = false;
    try {
        writer.begin(int(columns.size()), total + 2);
        writer.writeRow(titleCells(columns));
        cells.resize(columns.size());
        resultSet.forEachRawRow([&](int, const RawRow &values) {
            for (int c = 0; c < columns.size(); ++c)
                fillCell(cells[c], columns.at(c), values, fieldIndexes.at(c));
            writer.writeRow(cells);
            for (int c = 0; c < columns.size(); ++c) {
                const int field = sumIndexes.at(c);
                if (field < 0)
                    continue;
                sums[c] += values.type(field) == RawRow::Type::Integer
                        ? values.integer(field)
                        : values.value(field).toLongLong();
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
