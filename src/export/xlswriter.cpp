#include "gridwriters.h"

#include <QtEndian>

#include <cstring>

namespace {

QByteArray u16(quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    return QByteArray(bytes, 2);
}

} // namespace

QByteArray XlsWriter::labelBytes(const QString &text)
{
    ExportBuffer out;
    ExportEncoder(ExportEncoder::Target::GbkLabel).appendLabel(out, text, 255);
    return out.view().toByteArray();
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

void XlsWriter::cellHead(quint16 type, quint16 length, int column)
{
    // Record type and length, then row, column and the three attribute bytes.
    char head[11] = {};
    qToLittleEndian(type, head);
    qToLittleEndian(length, head + 2);
    qToLittleEndian(quint16(m_row), head + 4);
    qToLittleEndian(quint16(column), head + 6);
    put(QByteArrayView(head, sizeof head));
}

void XlsWriter::writeRow(const QList<ExportCell> &cells)
{
    if (m_failed)
        return;
    for (int c = 0; c < cells.size(); ++c) {
        const ExportCell &cell = cells.at(c);
        switch (cell.kind) {
        case ExportCell::Kind::Blank:
            cellHead(0x0001, 7, c);
            break;
        case ExportCell::Kind::Label: {
            // The lengths are known once the label is encoded in place.
            cellHead(0x0004, 0, c);
            const qsizetype at = m_buffer.size();
            put('\0');
            const qsizetype size = m_encoder.appendLabel(m_buffer, cell.text, 255);
            *m_buffer.at(at) = char(quint8(size));
            qToLittleEndian(quint16(7 + 1 + size), m_buffer.at(at - 9));
            break;
        }
        case ExportCell::Kind::Integer:
            if (cell.number >= 0 && cell.number <= 65535 && cell.number == qint64(cell.number)) {
                cellHead(0x0002, 9, c);
                char bytes[2];
                qToLittleEndian(quint16(cell.number), bytes);
                put(QByteArrayView(bytes, 2));
                break;
            }
            [[fallthrough]];
        case ExportCell::Kind::Number: {
            cellHead(0x0003, 15, c);
            char bytes[8];
            quint64 bits;
            std::memcpy(&bits, &cell.number, 8);
            qToLittleEndian(bits, bytes);
            put(QByteArrayView(bytes, 8));
            break;
        }
        }
    }
    ++m_row;
    rowDone();
}

void XlsWriter::end()
{
    record(0x000A, {});
    flush();
}
