#include "gridwriters.h"

#include <QStringEncoder>

void TxtWriter::writeRow(const QList<ExportCell> &cells)
{
    QString line = m_first ? QString() : QStringLiteral("\r\n");
    m_first = false;
    for (int i = 0; i < cells.size(); ++i) {
        if (i)
            line += u'\t';
        line += cells.at(i).text;
    }
    QStringEncoder gb18030("GB18030");
    put(gb18030.encode(line));
}
