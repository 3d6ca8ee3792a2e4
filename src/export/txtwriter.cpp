#include "gridwriters.h"

void TxtWriter::writeRow(const QList<ExportCell> &cells)
{
    if (!m_first)
        put("\r\n");
    m_first = false;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i)
            put('\t');
        m_encoder.append(m_buffer, cells.at(i).text);
    }
    rowDone();
}
