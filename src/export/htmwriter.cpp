#include "gridwriters.h"

#include <QStringEncoder>

namespace {
QByteArray encode(const QString &text)
{
    QStringEncoder gb18030("GB18030");
    return gb18030.encode(text);
}
} // namespace

void HtmWriter::begin(int, qint64)
{
    put("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb18030\">\r\n"
        "</head>\r\n<body>\r\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\r\n");
}

void HtmWriter::writeRow(const QList<ExportCell> &cells)
{
    // The first row holds the titles.
    const QString tag = m_first ? QStringLiteral("th") : QStringLiteral("td");
    m_first = false;
    QString row = QStringLiteral("<tr>");
    for (const ExportCell &cell : cells) {
        QString text = cell.text.toHtmlEscaped();
        text.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
        text.replace(u'\n', QLatin1String("<br>"));
        const bool number
                = cell.kind == ExportCell::Kind::Integer || cell.kind == ExportCell::Kind::Number;
        row += QStringLiteral("<%1%2>%3</%1>")
                       .arg(tag, number ? QStringLiteral(" align=\"right\"") : QString(),
                            text.isEmpty() ? QStringLiteral("&nbsp;") : text);
    }
    row += QStringLiteral("</tr>\r\n");
    put(encode(row));
}

void HtmWriter::end()
{
    put("</table>\r\n</body>\r\n</html>\r\n");
}
