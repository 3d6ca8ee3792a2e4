#include "gridwriters.h"

#include <QIODevice>

GridWriter *GridWriter::create(Type type, QIODevice *out)
{
    switch (type) {
    case Type::Txt:
        return new TxtWriter(out);
    case Type::Csv:
        return new CsvWriter(out);
    case Type::Htm:
        return new HtmWriter(out);
    case Type::Rtf:
        return new RtfWriter(out);
    case Type::Xls:
        return new XlsWriter(out);
    }
    return nullptr;
}

QString GridWriter::extension(Type type)
{
    static const char *const names[] = {"txt", "csv", "htm", "rtf", "xls"};
    return QLatin1String(names[int(type)]);
}

void GridWriter::put(const QByteArray &bytes)
{
    if (m_failed)
        return;
    if (m_out->write(bytes) != bytes.size())
        fail(m_out->errorString());
}

void GridWriter::fail(const QString &error)
{
    if (!m_failed) {
        m_failed = true;
        m_error = error;
    }
}
