#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringEncoder>

#include <cstring>
#include <vector>

class QIODevice;

// The bytes of an export on their way to the file: a block written through a pointer, so that
// the millions of small appends of a large export cost a copy each and no call.
class ExportBuffer
{
public:
    // Room for at least `bytes` more; write there, then hand the end to setEnd().
    char *room(qsizetype bytes)
    {
        if (m_used + bytes > m_bytes.size() || !m_data)
            grow(bytes);
        return m_data + m_used;
    }
    void setEnd(const char *end) { m_used = end - m_data; }
    void append(QByteArrayView bytes)
    {
        std::memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
        m_used += bytes.size();
    }
    void append(char byte)
    {
        *room(1) = byte;
        ++m_used;
    }
    qsizetype size() const { return m_used; }
    char *at(qsizetype offset) { return m_data + offset; }
    QByteArrayView view() const { return QByteArrayView(m_data, m_used); }
    void clear() { m_used = 0; }

private:
    void grow(qsizetype bytes)
    {
        m_bytes.resize(qMax(2 * m_bytes.size(), m_used + bytes + 4096));
        m_data = m_bytes.data();
    }
    QByteArray m_bytes;
    char *m_data = nullptr;
    qsizetype m_used = 0;
};

// Chinese text to the bytes of the export files, a character at a time through a table filled
// on first sight of each character: a converter call per cell costs more than everything else
// an export does. GB18030 for the text formats; for XLS labels GBK as spreadsheet programs read
// code page 936, where a character GBK lacks becomes "?".
class ExportEncoder
{
public:
    enum class Target { Gb18030, GbkLabel };
    explicit ExportEncoder(Target target);

    void append(ExportBuffer &out, QStringView text);
    // At most `limit` bytes, cut between characters; returns the bytes appended.
    qsizetype appendLabel(ExportBuffer &out, QStringView text, qsizetype limit);

private:
    struct Entry
    {
        bool known = false;
        quint8 size = 0;
        char bytes[4];
    };
    const Entry &lookUp(char16_t unit);
    QByteArray encodeRare(QStringView character);

    Target m_target;
    QStringEncoder m_encoder;
    bool m_haveGbk = false;
    std::vector<Entry> m_table;
};

// One cell of an exported row: the text the grid shows, and what kind of value it is (the XLS
// worksheet stores numbers as numbers; the text formats only use the text).
struct ExportCell
{
    enum class Kind {
        Blank, // no value
        Label, // text, dates, titles, flag words, footer texts
        Integer, // a whole-number column
        Number, // money, counts and sums
    };
    Kind kind = Kind::Blank;
    QString text;
    double number = 0;

    static ExportCell label(const QString &text)
    {
        return text.isEmpty() ? ExportCell {} : ExportCell {Kind::Label, text, 0};
    }
    static ExportCell integer(qint64 value)
    {
        return {Kind::Integer, QString::number(value), double(value)};
    }
    static ExportCell numeric(double value, const QString &text)
    {
        return {Kind::Number, text, value};
    }
};

// Writes the rows of an exported grid to a device in one file format. Rows come in order: the
// title row, the data rows, the footer row. Failures are remembered, not thrown, so a
// caller streaming a million rows checks once per row.
class GridWriter
{
public:
    enum class Type { Txt, Csv, Htm, Rtf, Xls };

    explicit GridWriter(QIODevice *out)
        : m_out(out)
    {
        m_buffer.room(BlockSize + BlockSize / 4);
    }
    virtual ~GridWriter() = default;

    static GridWriter *create(Type type, QIODevice *out);
    static QString extension(Type type); // lower case, without the point

    // `rows` counts every row to come, titles and footer included.
    virtual void begin(int columns, qint64 rows)
    {
        Q_UNUSED(columns);
        Q_UNUSED(rows);
    }
    virtual void writeRow(const QList<ExportCell> &cells) = 0;
    virtual void end() { flush(); }

    bool failed() const { return m_failed; }
    const QString &errorString() const { return m_error; }

protected:
    // Output is gathered in large blocks; end() writes what is left.
    static constexpr qsizetype BlockSize = 1 << 20;
    void put(QByteArrayView bytes) { m_buffer.append(bytes); }
    void put(char byte) { m_buffer.append(byte); }
    void rowDone()
    {
        if (m_buffer.size() >= BlockSize)
            flush();
    }
    void flush();
    void fail(const QString &error);

    QIODevice *m_out;
    ExportBuffer m_buffer;
    bool m_failed = false;
    QString m_error;
};

// Tab-separated text in GB18030, CRLF between rows and none after the last.
class TxtWriter : public GridWriter
{
public:
    using GridWriter::GridWriter;
    void writeRow(const QList<ExportCell> &cells) override;

private:
    bool m_first = true;
    ExportEncoder m_encoder {ExportEncoder::Target::Gb18030};
};

// Every cell double-quoted (inner quotes doubled), ";" between cells, GB18030.
class CsvWriter : public GridWriter
{
public:
    using GridWriter::GridWriter;
    void writeRow(const QList<ExportCell> &cells) override;

private:
    bool m_first = true;
    ExportEncoder m_encoder {ExportEncoder::Target::Gb18030};
};

// An HTML document with one table, GB18030.
class HtmWriter : public GridWriter
{
public:
    using GridWriter::GridWriter;
    void begin(int columns, qint64 rows) override;
    void writeRow(const QList<ExportCell> &cells) override;
    void end() override;

private:
    bool m_first = true;
    ExportEncoder m_encoder {ExportEncoder::Target::Gb18030};
};

// An RTF document with one table; Chinese as \uN? escapes.
class RtfWriter : public GridWriter
{
public:
    using GridWriter::GridWriter;
    void begin(int columns, qint64 rows) override;
    void writeRow(const QList<ExportCell> &cells) override;
    void end() override;
    static QByteArray escape(const QString &text);
    static void appendEscaped(ExportBuffer &out, QStringView text);

private:
    static QByteArray rowHead(qsizetype cells, bool top);
    int m_columns = 0;
    bool m_first = true;
    QByteArray m_rowHead; // the row and cell definitions, the same for every row but the first
    qsizetype m_rowHeadCells = -1;
};

// A BIFF2 worksheet (readable by every spreadsheet program): BOF, CODEPAGE 936, DIMENSIONS,
// one record per cell, EOF. Labels are GBK, at most 255 bytes.
class XlsWriter : public GridWriter
{
public:
    using GridWriter::GridWriter;
    static constexpr qint64 MaxRows = 65536; // row numbers are 16 bits
    static constexpr int MaxColumns = 256;

    void begin(int columns, qint64 rows) override;
    void writeRow(const QList<ExportCell> &cells) override;
    void end() override;
    // GBK bytes of a label: characters GBK lacks become "?", cut to 255 bytes between characters.
    static QByteArray labelBytes(const QString &text);

private:
    void record(quint16 type, const QByteArray &data);
    void cellHead(quint16 type, quint16 length, int column);
    int m_row = 0;
    ExportEncoder m_encoder {ExportEncoder::Target::GbkLabel};
};
