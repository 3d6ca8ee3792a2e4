#include "gridwriters.h"

#include <QStringEncoder>
#include <QtEndian>

#include <cstring>

namespace {

QByteArray u16(quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    return QByteArray(bytes, 2);
}

// Row, column and the three attribute bytes every BIFF2 cell record starts with.
QByteArray cellHead(int row, int column)
{
    return u16(quint16(row)) + u16(quint16(column)) + QByteArray(3, '\0');
}

} // namespace

QByteArray XlsWriter::labelBytes(const QString &text)
{
    QByteArray out;
    // Code page 936 as spreadsheet programs read it; GB18030's one- and two-byte part is the
    // fallback where the converter lacks GBK (it differs only in a few rare characters).
    QStringEncoder gbk("GBK");
    const bool haveGbk = gbk.isValid();
    QStringEncoder gb18030("GB18030");
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView character = QStringView(text).mid(i, length);
        i += length;
        QByteArray bytes = haveGbk ? QByteArray(gbk.encode(character))
                                   : QByteArray(gb18030.encode(character));
        // The converter puts a substitute for a character it cannot map.
        const bool substituted = (bytes == "?" && character != u"?") || bytes == "\x1a";
        if (substituted || bytes.isEmpty() || bytes.size() > 2)
            bytes = "?";
        if (out.size() + bytes.size() > 255)
            break;
        out += bytes;
    }
    return out;
}

void XlsWriter::record(quint16 type, const QByteArray &data)
{
    put(u16(type) + u16(quint16(data.size())) + data);
}

void XlsWriter::begin(int columns, qint64 rows)
{
    if (rows > MaxRows) {
        fail(QStringLiteral("XLS 工作表最多 %1 行，这里有 %2 行；请改用文本或 CSV 格式。")
                     .arg(MaxRows)
                     .arg(rows));
        return;
    }
    if (columns > MaxColumns) {
        fail(QStringLiteral("XLS 工作表最多 %1 列。").arg(MaxColumns));
        return;
    }
    record(0x0009, u16(0x0002) + u16(0x0010)); // BOF: BIFF2 worksheet
    record(0x0042, u16(936)); // CODEPAGE: GBK
    record(0x0000, u16(0) + u16(quint16(qMax<qint64>(rows, 0))) + u16(0) + u16(quint16(columns)));
}

void XlsWriter::writeRow(const QList<ExportCell> &cells)
{
    if (m_failed)
        return;
    for (int c = 0; c < cells.size(); ++c) {
        const ExportCell &cell = cells.at(c);
        switch (cell.kind) {
        case ExportCell::Kind::Blank:
            record(0x0001, cellHead(m_row, c));
            break;
        case ExportCell::Kind::Label: {
            const QByteArray bytes = labelBytes(cell.text);
            record(0x0004, cellHead(m_row, c) + char(quint8(bytes.size())) + bytes);
            break;
        }
        case ExportCell::Kind::Integer:
            if (cell.number >= 0 && cell.number <= 65535 && cell.number == qint64(cell.number)) {
                record(0x0002, cellHead(m_row, c) + u16(quint16(cell.number)));
                break;
            }
            [[fallthrough]];
        case ExportCell::Kind::Number: {
            char bytes[8];
            quint64 bits;
            std::memcpy(&bits, &cell.number, 8);
            qToLittleEndian(bits, bytes);
            record(0x0003, cellHead(m_row, c) + QByteArray(bytes, 8));
            break;
        }
        }
    }
    ++m_row;
}

void XlsWriter::end()
{
    record(0x000A, {});
}
