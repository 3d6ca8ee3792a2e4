#include "gridwriters.h"

void CsvWriter::writeRow(const QList<ExportCell> &cells)
{
    if (!m_first)
        put("\r\n");
    m_first = false;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i)
            put(';');
        put('"');
        QStringView rest = cells.at(i).text;
        // Quotes inside are doubled.
        for (qsizetype quote; (quote = rest.indexOf(u'"')) >= 0; rest = rest.mid(quote + 1)) {
            m_encoder.append(m_buffer, rest.left(quote));
            put("\"\"");
        }
        m_encoder.append(m_buffer, rest);
        put('"');
    }
    rowDone();
}
