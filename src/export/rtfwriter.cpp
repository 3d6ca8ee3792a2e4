#include "gridwriters.h"

QByteArray RtfWriter::escape(const QString &text)
{
    QByteArray out;
    const QString unified = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QChar c : unified) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u < 0x20) {
            continue;
        } else {
            // \uN takes a signed 16-bit number; a surrogate pair is written as two escapes.
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

void RtfWriter::begin(int columns, qint64)
{
    m_columns = columns;
    put("{\\rtf1\\ansi\\ansicpg936\\deff0\r\n"
        "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n"
        "\\uc1\\pard\\f0\\fs20\r\n");
}

void RtfWriter::writeRow(const QList<ExportCell> &cells)
{
    QByteArray row = "\\trowd\\trgaph60\\trleft0";
    const int width = 1800; // twips per column
    for (int i = 0; i < cells.size(); ++i)
        row += "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx"
                + QByteArray::number((i + 1) * width);
    row += "\r\n";
    for (const ExportCell &cell : cells) {
        const bool number
                = cell.kind == ExportCell::Kind::Integer || cell.kind == ExportCell::Kind::Number;
        row += number ? "\\pard\\intbl\\qr " : "\\pard\\intbl\\ql ";
        row += escape(cell.text) + "\\cell\r\n";
    }
    row += "\\row\r\n";
    put(row);
}

void RtfWriter::end()
{
    put("\\pard\\par\r\n}\r\n");
}
