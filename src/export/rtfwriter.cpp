#include "gridwriters.h"

#include <cstring>

void RtfWriter::appendEscaped(ExportBuffer &out, QStringView text)
{
    // Written through a pointer into room for the longest escape ("\u-32768?", nine bytes).
    char *to = out.room(9 * text.size());
    // A CR is dropped either way: before LF (CRLF is one line break) and alone (a control).
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x80) {
            if (u == '\\' || u == '{' || u == '}')
                *to++ = '\\';
            *to++ = char(u);
        } else if (u == '\n') {
            std::memcpy(to, "\\line ", 6);
            to += 6;
        } else if (u == '\t') {
            std::memcpy(to, "\\tab ", 5);
            to += 5;
        } else if (u >= 0x80) {
            // \uN takes a signed 16-bit number; a surrogate pair is written as two escapes.
            char digits[8];
            char *p = digits + sizeof digits;
            const int value = qint16(u);
            unsigned magnitude = unsigned(value < 0 ? -value : value);
            do {
                *--p = char('0' + magnitude % 10);
                magnitude /= 10;
            } while (magnitude);
            if (value < 0)
                *--p = '-';
            *to++ = '\\';
            *to++ = 'u';
            const size_t length = size_t(digits + sizeof digits - p);
            std::memcpy(to, p, length);
            to += length;
            *to++ = '?';
        }
    }
    out.setEnd(to);
}

QByteArray RtfWriter::escape(const QString &text)
{
    ExportBuffer out;
    appendEscaped(out, text);
    return out.view().toByteArray();
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
    if (m_rowHeadCells != cells.size()) {
        m_rowHeadCells = cells.size();
        m_rowHead = "\\trowd\\trgaph60\\trleft0";
        const int width = 1800; // twips per column
        for (int i = 0; i < cells.size(); ++i)
            m_rowHead += "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx"
                    + QByteArray::number((i + 1) * width);
        m_rowHead += "\r\n";
    }
    put(m_rowHead);
    for (const ExportCell &cell : cells) {
        const bool number
                = cell.kind == ExportCell::Kind::Integer || cell.kind == ExportCell::Kind::Number;
        put(number ? "\\pard\\intbl\\qr " : "\\pard\\intbl\\ql ");
        appendEscaped(m_buffer, cell.text);
        put("\\cell\r\n");
    }
    put("\\row\r\n");
    rowDone();
}

void RtfWriter::end()
{
    put("\\pard\\par\r\n}\r\n");
    flush();
}
