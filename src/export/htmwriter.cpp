#include "gridwriters.h"

void HtmWriter::begin(int, qint64)
{
    put("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb18030\">\r\n"
        "</head>\r\n<body>\r\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\r\n");
}

void HtmWriter::writeRow(const QList<ExportCell> &cells)
{
    // The first row holds the titles.
    const char *const tag = m_first ? "th" : "td";
    m_first = false;
    put("<tr>");
    for (const ExportCell &cell : cells) {
        const bool number
                = cell.kind == ExportCell::Kind::Integer || cell.kind == ExportCell::Kind::Number;
        put("<");
        put(tag);
        put(number ? " align=\"right\">" : ">");
        const QStringView text = cell.text;
        if (text.isEmpty())
            put("&nbsp;");
        // Markup characters escaped, line breaks (CRLF or LF) as <br>; plain runs encoded whole.
        qsizetype run = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char *escaped;
            qsizetype skip = 0;
            switch (text[i].unicode()) {
            case u'&':
                escaped = "&amp;";
                break;
            case u'<':
                escaped = "&lt;";
                break;
            case u'>':
                escaped = "&gt;";
                break;
            case u'"':
                escaped = "&quot;";
                break;
            case u'\n':
                escaped = "<br>";
                break;
            case u'\r':
                if (i + 1 < text.size() && text[i + 1] == u'\n') {
                    escaped = "<br>";
                    skip = 1;
                    break;
                }
                continue;
            default:
                continue;
            }
            m_encoder.append(m_buffer, text.mid(run, i - run));
            put(escaped);
            i += skip;
            run = i + 1;
        }
        m_encoder.append(m_buffer, text.mid(run));
        put("</");
        put(tag);
        put(">");
    }
    put("</tr>\r\n");
    rowDone();
}

void HtmWriter::end()
{
    put("</table>\r\n</body>\r\n</html>\r\n");
    flush();
}
