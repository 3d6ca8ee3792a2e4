#include "gridwriters.h"

#include <QStringEncoder>

void CsvWriter::writeRow(const QList<ExportCell> &cells)
{
    QString line = m_first ? QString() : QStringLiteral("\r\n");
    m_first = false;
    for (int i = 0; i < cells.size(); ++i) {
        if (i)
            line += u';';
        QString text = cells.at(i).text;
        text.replace(u'"', QLatin1String("\"\""));
        line += u'"' + text + u'"';
    }
    QStringEncoder gb18030("GB18030");
    put(gb18030.encode(line));
}
