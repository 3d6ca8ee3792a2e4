#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

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
    { }
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
    virtual void end() { }

    bool failed() const { return m_failed; }
    const QString &errorString() const { return m_error; }

protected:
    void put(const QByteArray &bytes);
    void fail(const QString &error);

    QIODevice *m_out;
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
};

// Every cell double-quoted (inner quotes doubled), ";" between cells, GB18030.
class CsvWriter : public GridWriter
{
public:
    using GridWriter::GridWriter;
    void writeRow(const QList<ExportCell> &cells) override;

private:
    bool m_first = true;
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

private:
    int m_columns = 0;
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
    int m_row = 0;
};
