#include "gridwriters.h"

#include <QIODevice>

#include <cstring>

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

void GridWriter::flush()
{
    const QByteArrayView bytes = m_buffer.view();
    if (!m_failed && !bytes.isEmpty() && m_out->write(bytes.data(), bytes.size()) != bytes.size())
        fail(m_out->errorString());
    m_buffer.clear();
}

void GridWriter::fail(const QString &error)
{
    if (!m_failed) {
        m_failed = true;
        m_error = error;
    }
}

ExportEncoder::ExportEncoder(Target target)
    : m_target(target)
    , m_encoder(target == Target::Gb18030 ? "GB18030" : "GBK")
    , m_table(0x10000)
{
    // Code page 936 as spreadsheet programs read it; GB18030's one- and two-byte part is the
    // fallback where the converter lacks GBK (it differs only in a few rare characters).
    m_haveGbk = target == Target::GbkLabel && m_encoder.isValid();
    if (target == Target::GbkLabel && !m_haveGbk)
        m_encoder = QStringEncoder("GB18030");
}

QByteArray ExportEncoder::encodeRare(QStringView character)
{
    // A fresh converter: a lone surrogate must not leave state behind for the next character.
    QStringEncoder encoder(m_target == Target::Gb18030 || !m_haveGbk ? "GB18030" : "GBK");
    return encoder.encode(character);
}

const ExportEncoder::Entry &ExportEncoder::lookUp(char16_t unit)
{
    Entry &entry = m_table[unit];
    if (entry.known)
        return entry;
    const QChar character(unit);
    QByteArray bytes = m_encoder.encode(QStringView(&character, 1));
    if (m_target == Target::GbkLabel) {
        // The converter puts a substitute for a character it cannot map.
        const bool substituted = (bytes == "?" && unit != u'?') || bytes == "\x1a";
        if (substituted || bytes.isEmpty() || bytes.size() > 2)
            bytes = "?";
    }
    if (bytes.size() > 4)
        bytes = "?";
    entry.known = true;
    entry.size = quint8(bytes.size());
    std::memcpy(entry.bytes, bytes.constData(), size_t(bytes.size()));
    return entry;
}

void ExportEncoder::append(ExportBuffer &out, QStringView text)
{
    // Written through a pointer into room for the longest encoding (four bytes a unit), then
    // cut to what was written: appending byte by byte costs more than the encoding.
    char *to = out.room(4 * text.size());
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p < end) {
        const char16_t unit = *p;
        if (unit < 0x80) {
            *to++ = char(unit);
            ++p;
        } else if (QChar::isSurrogate(unit)) {
            const qsizetype length
                    = QChar::isHighSurrogate(unit) && p + 1 < end && QChar::isLowSurrogate(p[1])
                    ? 2
                    : 1;
            const QByteArray bytes = encodeRare(QStringView(p, length)).left(4 * length);
            std::memcpy(to, bytes.constData(), size_t(bytes.size()));
            to += bytes.size();
            p += length;
        } else {
            const Entry &entry = lookUp(unit);
            std::memcpy(to, entry.bytes, 4);
            to += entry.size;
            ++p;
        }
    }
    out.setEnd(to);
}

qsizetype ExportEncoder::appendLabel(ExportBuffer &out, QStringView text, qsizetype limit)
{
    const qsizetype start = out.size();
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p < end) {
        const char16_t unit = *p;
        const char *bytes;
        qsizetype size;
        if (QChar::isSurrogate(unit)) {
            // Nothing beyond the basic plane is in GBK.
            p += QChar::isHighSurrogate(unit) && p + 1 < end && QChar::isLowSurrogate(p[1]) ? 2 : 1;
            bytes = "?";
            size = 1;
        } else {
            const Entry &entry = lookUp(unit);
            ++p;
            bytes = entry.bytes;
            size = entry.size;
        }
        if (out.size() - start + size > limit)
            break;
        out.append(QByteArrayView(bytes, size));
    }
    return out.size() - start;
}
