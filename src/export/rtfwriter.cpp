#include "gridwriters.h"

#include <cstring>

namespace {

// The escape of every character beyond ASCII, made once: "\uN?" takes a signed 16-bit number
// (a surrogate pair is written as two escapes), and working out the digits per character costs
// more than the rest of a cell.
struct UnicodeEscapes
{
    struct Entry
    {
        quint8 size;
        char bytes[9];
    };
    Entry entries[0x10000 - 0x80];
    UnicodeEscapes()
    {
        for (int u = 0x80; u < 0x10000; ++u) {
            const QByteArray text = "\\u" + QByteArray::number(qint16(u)) + '?';
            Entry &entry = entries[u - 0x80];
            entry.size = quint8(text.size());
            std::memcpy(entry.bytes, text.constData(), size_t(text.size()));
        }
    }
};

} // namespace

void RtfWriter::appendEscaped(ExportBuffer &out, QStringView text)
{
    static const UnicodeEscapes escapes;
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
            const UnicodeEscapes::Entry &entry = escapes.entries[u - 0x80];
            std::memcpy(to, entry.bytes, sizeof entry.bytes);
            to += entry.size;
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

QByteArray RtfWriter::rowHead(qsizetype cells, bool top)
{
    // Every row needs its own definition. A cell draws its right and bottom edges, the first
    // column its left edge too and the title row its top edge: the same grid as four edges
    // on every cell, at half the bytes (a million-row export is mostly these heads). The title
    // row repeats at the top of every page, so each page's grid is closed at the top.
    QByteArray head = top ? "\\trowd\\trhdr\\trgaph60" : "\\trowd\\trgaph60";
    const int width = 1800; // twips per column
    for (qsizetype i = 0; i < cells; ++i) {
        if (top)
            head += "\\clbrdrt\\brdrs";
        if (i == 0)
            head += "\\clbrdrl\\brdrs";
        head += "\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx" + QByteArray::number((i + 1) * width);
    }
    return head + "\r\n\\pard\\intbl";
}

void RtfWriter::writeRow(const QList<ExportCell> &cells)
{
    if (m_first) {
        put(rowHead(cells.size(), true));
        m_first = false;
    } else {
        if (m_rowHeadCells != cells.size()) {
            m_rowHeadCells = cells.size();
            m_rowHead = rowHead(cells.size(), false);
        }
        put(m_rowHead);
    }
    // Paragraph properties hold until changed: the alignment is written where it changes.
    int aligned = -1;
    for (const ExportCell &cell : cells) {
        const int right
                = cell.kind == ExportCell::Kind::Integer || cell.kind == ExportCell::Kind::Number;
        if (right != aligned)
            put(right ? "\\qr " : "\\ql ");
        aligned = right;
        appendEscaped(m_buffer, cell.text);
        put("\\cell ");
    }
    put("\\row\r\n");
    rowDone();
}

void RtfWriter::end()
{
    put("\\pard\\par\r\n}\r\n");
    flush();
}
