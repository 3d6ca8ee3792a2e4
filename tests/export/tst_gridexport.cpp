// Grid export: the five writers read back with real readers, the file name rule, and the
// export handler with its save dialog, confirmations, refusals and failures.
#include "data/db.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "export/gridexport.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"
#include "ui/datagrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QStringDecoder>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

const QString Name1 = QStringLiteral("张三 \"老张\"");
const QString Name2 = QStringLiteral("a;b\nline2");
const QString Name3 = QStringLiteral("· and 😀 中"); // the emoji is not in GBK

GridColumns columns()
{
    GridColumns c;
    c << GridColumn {"客户编号",
                     "编号",
                     60,
                     GridColumn::Kind::Integer,
                     Qt::AlignRight | Qt::AlignVCenter,
                     Qt::AlignCenter,
                     GridColumn::Footer::Text,
                     "合计"};
    c << GridColumn {"客户名称",
                     "名称",
                     0,
                     GridColumn::Kind::Text,
                     Qt::AlignLeft | Qt::AlignVCenter,
                     Qt::AlignCenter,
                     GridColumn::Footer::Count,
                     {}};
    c << GridColumn {"金额",
                     "金额",
                     80,
                     GridColumn::Kind::Money,
                     Qt::AlignRight | Qt::AlignVCenter,
                     Qt::AlignCenter,
                     GridColumn::Footer::Sum,
                     {}};
    c << GridColumn {"日期",
                     "日期",
                     80,
                     GridColumn::Kind::Date,
                     Qt::AlignCenter,
                     Qt::AlignCenter,
                     GridColumn::Footer::None,
                     {}};
    c << GridColumn {"发票",
                     "发票",
                     40,
                     GridColumn::Kind::Flag,
                     Qt::AlignCenter,
                     Qt::AlignCenter,
                     GridColumn::Footer::None,
                     {}};
    return c;
}

const char *Statement = "select 客户编号, 客户名称, 金额, 日期, 经手人 = '1' as 发票 "
                        "from 收款记录 where 客户编号 >= ? order by 客户编号";

void fill(const QSqlDatabase &db)
{
    const QString sql = "insert into 收款记录 (客户编号, 客户名称, 金额, 日期, 经手人) "
                        "values (?, ?, ?, ?, ?)";
    Db::exec(db, sql, {1, Name1, 35005000, "2024-03-01", "1"});
    Db::exec(db, sql, {2, Name2, -3000, QVariant(), "0"});
    Db::exec(db, sql, {70000, Name3, 0, "2024-12-31", QVariant()});
}

// Rows that take every path of the cell formatting and of each format's escaping.
void fillAwkward(const QSqlDatabase &db)
{
    const QString sql = "insert into 收款记录 (客户编号, 客户名称, 地址, 手机, 金额, 日期, 经手人) "
                        "values (?, ?, ?, ?, ?, ?, ?)";
    Db::exec(db, sql,
             {3, "tab\there\r\nCRLF {x}\\y <b>&amp; 'q'", QVariant(), "-5", 12345678, "2024-2-30",
              "1"});
    Db::exec(db, sql,
             {4, QString(300, QChar(0x4E2D)), "x\"y", "65536", "abc", "2024-05-06 10:00:00", "7"});
    Db::exec(db, sql, {5, "", "", "12.5", 1, "", ""});
    Db::exec(db, sql, {65535, "😀😀 ab€é", "地址\n二", "0", 2.5, "2025-01-31", "0"});
    Db::exec(db, sql,
             {65536, "\xE2\x80\x94", QVariant(), QVariant(), Q_INT64_C(100000000000), QVariant(),
              QVariant()});
}

GridColumns awkwardColumns()
{
    GridColumns c = columns();
    GridColumn address = c.at(1);
    address.field = address.title = "地址";
    address.footer = GridColumn::Footer::None;
    GridColumn mobile = c.at(0);
    mobile.field = mobile.title = "手机";
    mobile.footer = GridColumn::Footer::Sum;
    c.insert(2, address);
    c << mobile;
    return c;
}

const char *AwkwardStatement = "select 客户编号, 客户名称, 地址, 金额, 日期, 经手人 = '1' as 发票, "
                               "手机 from 收款记录 order by 客户编号";

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs a Python reader over a file; it prints JSON.
QJsonArray python(const QString &script, const QString &path)
{
    QProcess p;
    // The system's Python carries the xlrd package; a PATH shim may not.
    const QString exe = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    p.start(exe, {"-c", script, path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning() << p.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
}

// BIFF records as (type, row) pairs, to check which record each cell became.
QList<std::pair<int, int>> records(const QByteArray &xls)
{
    QList<std::pair<int, int>> out;
    for (int at = 0; at + 4 <= xls.size();) {
        const int type = qFromLittleEndian<quint16>(xls.constData() + at);
        const int length = qFromLittleEndian<quint16>(xls.constData() + at + 2);
        const int row = length >= 2 ? qFromLittleEndian<quint16>(xls.constData() + at + 4) : -1;
        out << std::pair {type, row};
        at += 4 + length;
    }
    return out;
}

// Answers the save dialog with a chosen type, then the message boxes that follow (OK).
struct SaveAnswer : QObject
{
    QString filter, path;
    QStringList boxes; // "title|text" of the message boxes seen
    QTimer timer;
    QPointer<QWidget> handled;
    SaveAnswer(const QString &f, const QString &p)
        : filter(f)
        , path(p)
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == handled)
                return;
            handled = modal;
            if (auto *d = qobject_cast<QFileDialog *>(modal)) {
                d->selectNameFilter(filter);
                if (auto *name = d->findChild<QLineEdit *>("fileNameEdit"))
                    name->setText(path); // typed, as a user would
                d->selectFile(path);
                QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                boxes << box->windowTitle() + '|' + box->text();
                QMetaObject::invokeMethod(box->button(QMessageBox::Ok), "click",
                                          Qt::QueuedConnection);
            }
        });
        timer.start(20);
    }
};

} // namespace

class TestGridExport : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
        fill(m_folder->dm()->ADOConnection1());
        m_rs = m_folder->dm()->ADOQuery(9);
        m_rs->open(Statement, {0});
        m_out.reset(new QTemporaryDir);
    }
    void cleanup()
    {
        m_rs = nullptr;
        m_folder.reset();
    }

    void textAndCsvReadBack()
    {
        const QString txt = m_out->filePath("a.txt");
        QCOMPARE(GridExport::writeFile(txt, GridWriter::Type::Txt, *m_rs, columns()),
                 GridExport::Outcome::Written);
        const QString expected = "编号\t名称\t金额\t日期\t发票\r\n"
                                 "1\t"
                + Name1 + "\t3500.5\t2024-03-01\t是\r\n2\t" + Name2 + "\t-0.3\t\t否\r\n70000\t"
                + Name3 + "\t0\t2024-12-31\t否\r\n合计\t3\t3500.2\t\t";
        QCOMPARE(QStringDecoder("GB18030")(readFile(txt)), expected);

        const QString csv = m_out->filePath("a.csv");
        QCOMPARE(GridExport::writeFile(csv, GridWriter::Type::Csv, *m_rs, columns()),
                 GridExport::Outcome::Written);
        QVERIFY(readFile(csv).startsWith("\"")); // quoted titles, not UTF-8 with a BOM
        const QJsonArray rows = python("import csv,json,sys\n"
                                       "f=open(sys.argv[1],encoding='gb18030',newline='')\n"
                                       "print(json.dumps(list(csv.reader(f,delimiter=';'))))",
                                       csv);
        const QJsonArray expectedRows
                = QJsonDocument::fromJson(
                          QJsonDocument(
                                  QJsonArray {QJsonArray {"编号", "名称", "金额", "日期", "发票"},
                                              QJsonArray {"1", Name1, "3500.5", "2024-03-01", "是"},
                                              QJsonArray {"2", Name2, "-0.3", "", "否"},
                                              QJsonArray {"70000", Name3, "0", "2024-12-31", "否"},
                                              QJsonArray {"合计", "3", "3500.2", "", ""}})
                                  .toJson())
                          .array();
        QCOMPARE(rows, expectedRows);
    }

    void xlsReadBackWithXlrd()
    {
        const QString xls = m_out->filePath("a.xls");
        QCOMPARE(GridExport::writeFile(xls, GridWriter::Type::Xls, *m_rs, columns()),
                 GridExport::Outcome::Written);
        const QJsonArray rows = python("import xlrd,json,sys\n"
                                       "s=xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                       "print(json.dumps([[[c.ctype,c.value] for c in s.row(r)] "
                                       "for r in range(s.nrows)]))",
                                       xls);
        QCOMPARE(rows.size(), 5);
        auto cell = [&](int r, int c) { return rows.at(r).toArray().at(c).toArray(); };
        const int Text = 1, Number = 2;
        QCOMPARE(cell(0, 1), (QJsonArray {Text, "名称"}));
        QCOMPARE(cell(1, 0), (QJsonArray {Number, 1.0}));
        QCOMPARE(cell(1, 1), (QJsonArray {Text, Name1}));
        QCOMPARE(cell(1, 2), (QJsonArray {Number, 3500.5}));
        QCOMPARE(cell(1, 3), (QJsonArray {Text, "2024-03-01"}));
        QCOMPARE(cell(1, 4), (QJsonArray {Text, "是"}));
        QCOMPARE(cell(2, 1), (QJsonArray {Text, Name2}));
        QCOMPARE(cell(2, 2), (QJsonArray {Number, -0.3}));
        QVERIFY(cell(2, 3).at(0).toInt() != Text); // blank
        QCOMPARE(cell(3, 0), (QJsonArray {Number, 70000.0}));
        QCOMPARE(cell(3, 1), (QJsonArray {Text, "· and ? 中"}));
        QCOMPARE(cell(4, 0), (QJsonArray {Text, "合计"}));
        QCOMPARE(cell(4, 1), (QJsonArray {Number, 3.0}));
        QCOMPARE(cell(4, 2), (QJsonArray {Number, 3500.2}));

        // INTEGER only for whole numbers 0..65535; counts and money are NUMBER records.
        const auto recs = records(readFile(xls));
        QCOMPARE(recs.first().first, 0x0009);
        QCOMPARE(recs.at(1).first, 0x0042);
        QCOMPARE(recs.last().first, 0x000A);
        QList<int> row1, row3, footer;
        for (const auto &[type, row] : recs) {
            if (type >= 1 && type <= 4 && row == 1)
                row1 << type;
            if (type >= 1 && type <= 4 && row == 3)
                row3 << type;
            if (type >= 1 && type <= 4 && row == 4)
                footer << type;
        }
        QCOMPARE(row1, (QList<int> {2, 4, 3, 4, 4}));
        QCOMPARE(row3, (QList<int> {3, 4, 3, 4, 4}));
        QCOMPARE(footer, (QList<int> {4, 3, 3, 1, 1}));
    }

    void xlsLabelsAreGbkCutOnCharacters()
    {
        QCOMPARE(XlsWriter::labelBytes(QString(300, QChar(0x4E2D))).size(), 254);
        QCOMPARE(XlsWriter::labelBytes("a" + QString(200, QChar(0x4E2D))).size(), 255);
        QCOMPARE(XlsWriter::labelBytes(QStringLiteral("x😀y")), QByteArray("x?y"));
        QCOMPARE(XlsWriter::labelBytes(QStringLiteral("中")), QByteArray("\xD6\xD0"));
    }

    void htmAndRtfHoldOneTable()
    {
        const QString htm = m_out->filePath("a.htm");
        QCOMPARE(GridExport::writeFile(htm, GridWriter::Type::Htm, *m_rs, columns()),
                 GridExport::Outcome::Written);
        const QString html = QStringDecoder("GB18030")(readFile(htm));
        QCOMPARE(html.count("<table"), 1);
        QCOMPARE(html.count("<tr>"), 5);
        QVERIFY(html.contains("<th>名称</th>"));
        QVERIFY(html.contains("张三 &quot;老张&quot;"));
        QVERIFY(html.contains("a;b<br>line2"));
        QVERIFY(html.contains("charset=gb18030"));

        const QString rtf = m_out->filePath("a.rtf");
        QCOMPARE(GridExport::writeFile(rtf, GridWriter::Type::Rtf, *m_rs, columns()),
                 GridExport::Outcome::Written);
        const QByteArray bytes = readFile(rtf);
        QVERIFY(bytes.startsWith("{\\rtf1\\ansi\\ansicpg936"));
        QVERIFY(bytes.contains("\\fcharset134"));
        QCOMPARE(bytes.count("\\trowd"), 5);
        QCOMPARE(bytes.count("\\row\r\n"), 5);
        QCOMPARE(bytes.count("\\cell "), 25);
        // The grid's edges: right and bottom on every cell, left on the first column, top on
        // the title row, which repeats on every page.
        QCOMPARE(bytes.count("\\clbrdrr\\brdrs"), 25);
        QCOMPARE(bytes.count("\\clbrdrb\\brdrs"), 25);
        QCOMPARE(bytes.count("\\clbrdrl\\brdrs"), 5);
        QCOMPARE(bytes.count("\\clbrdrt\\brdrs"), 5);
        QCOMPARE(bytes.count("\\trhdr"), 1);
        QVERIFY(bytes.contains("\\u24352?\\u19977? \"\\u-32767?\\u24352?\"")); // 张三 "老张"
        QVERIFY(bytes.contains("a;b\\line line2"));
        for (const char c : bytes)
            QVERIFY(uchar(c) < 0x80); // 7-bit clean
        QCOMPARE(RtfWriter::escape("{a\\b}"), QByteArray("\\{a\\\\b\\}"));
    }

    // Every format against bytes kept in tests/export/golden, so a faster writer is proven to
    // write the very same file. MERROW_WRITE_GOLDEN=1 rewrites them (check the diff by eye).
    void goldenBytes_data()
    {
        QTest::addColumn<int>("type");
        for (int t = 0; t <= int(GridWriter::Type::Xls); ++t)
            QTest::newRow(qPrintable(GridWriter::extension(GridWriter::Type(t)))) << t;
    }
    void goldenBytes()
    {
        QFETCH(int, type);
        fillAwkward(m_folder->dm()->ADOConnection1());
        m_rs->open(AwkwardStatement);
        const QString extension = GridWriter::extension(GridWriter::Type(type));
        const QString path = m_out->filePath("g." + extension);
        QCOMPARE(GridExport::writeFile(path, GridWriter::Type(type), *m_rs, awkwardColumns()),
                 GridExport::Outcome::Written);
        const QByteArray written = readFile(path);
        const QString golden
                = QFileInfo(QStringLiteral(__FILE__)).dir().filePath("golden/grid." + extension);
        if (qEnvironmentVariableIntValue("MERROW_WRITE_GOLDEN")) {
            QFile out(golden);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(written);
        }
        const QByteArray expected = readFile(golden);
        QVERIFY2(!expected.isEmpty(), qPrintable(golden));
        for (qsizetype i = 0; i < qMin(written.size(), expected.size()); ++i)
            QVERIFY2(
                    written.at(i) == expected.at(i),
                    qPrintable(QStringLiteral("first difference at byte %1: ...%2")
                                       .arg(i)
                                       .arg(QString::fromLatin1(written.mid(i - 20, 40).toHex()))));
        QCOMPARE(written.size(), expected.size());
    }

    // The walk reuses one row list: a visitor's copy must keep its row, and a NULL must not
    // show the value the row before had.
    void walkedRowsStayTheirOwn()
    {
        QList<QVariantList> kept;
        QVERIFY(m_rs->forEachRow([&](int, const QVariantList &values) {
            kept << values;
            return true;
        }));
        QCOMPARE(kept.size(), 3);
        const int date = m_rs->fieldIndex("日期");
        QCOMPARE(kept.at(0).at(date).toString(), QStringLiteral("2024-03-01"));
        QVERIFY(!kept.at(1).at(date).isValid());
        QCOMPARE(kept.at(2).at(date).toString(), QStringLiteral("2024-12-31"));
        QCOMPARE(kept.at(1).at(m_rs->fieldIndex("客户名称")).toString(), Name2);
    }

    // Output is gathered in blocks: a device that refuses the bytes must still fail the export,
    // for every format, not report it written.
    void refusedWritesFailTheExport_data() { goldenBytes_data(); }
    void refusedWritesFailTheExport()
    {
        QFETCH(int, type);
        QBuffer readOnly;
        QVERIFY(readOnly.open(QIODevice::ReadOnly));
        std::unique_ptr<GridWriter> writer(GridWriter::create(GridWriter::Type(type), &readOnly));
        QString error;
        QCOMPARE(GridExport::write(*writer, *m_rs, columns(), {}, &error),
                 GridExport::Outcome::Failed);
        QVERIFY(!error.isEmpty());
    }

    void emptyResultGivesTitlesAndZeroFooter()
    {
        m_rs->open(Statement, {999999});
        const QString csv = m_out->filePath("e.csv");
        QCOMPARE(GridExport::writeFile(csv, GridWriter::Type::Csv, *m_rs, columns()),
                 GridExport::Outcome::Written);
        QCOMPARE(QStringDecoder("GB18030")(readFile(csv)),
                 QStringLiteral("\"编号\";\"名称\";\"金额\";\"日期\";\"发票\"\r\n"
                                "\"合计\";\"0\";\"0\";\"\";\"\""));
    }

    void fileNameCompletion_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("saved");
        QTest::newRow("xls appended") << "abc" << int(GridWriter::Type::Xls) << "abc.xls";
        QTest::newRow("upper case kept")
                << "report.XLS" << int(GridWriter::Type::Xls) << "report.XLS";
        QTest::newRow("last three only")
                << "reportxls" << int(GridWriter::Type::Xls) << "reportxls";
        QTest::newRow("txt kept") << "abc.txt" << int(GridWriter::Type::Txt) << "abc.txt";
        QTest::newRow("other ext") << "abc.xls" << int(GridWriter::Type::Txt) << "abc.xls.txt";
        QTest::newRow("mixed case") << "a.Csv" << int(GridWriter::Type::Csv) << "a.Csv";
        QTest::newRow("htm") << "a.html" << int(GridWriter::Type::Htm) << "a.html.htm";
        QTest::newRow("short name") << "tf" << int(GridWriter::Type::Rtf) << "tf.rtf";
    }
    void fileNameCompletion()
    {
        QFETCH(QString, entered);
        QFETCH(int, type);
        QFETCH(QString, saved);
        QCOMPARE(GridExport::completeFileName(entered, GridWriter::Type(type)), saved);
    }

    void cancelledOrFailedWriteLeavesNoFile()
    {
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 金额) with recursive n(i) as "
                 "(select 100 union all select i + 1 from n where i < 3000) select i, 1 from n");
        m_rs->reopen();
        const QString path = m_out->filePath("c.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        qint64 seen = 0;
        QCOMPARE(GridExport::writeFile(path, GridWriter::Type::Txt, *m_rs, columns(),
                                       [&](qint64 done, qint64) {
                                           seen = done;
                                           return done < 1000;
                                       }),
                 GridExport::Outcome::Cancelled);
        QCOMPARE(seen, 1000);
        QCOMPARE(readFile(path), QByteArray("old")); // untouched
        QCOMPARE(QDir(m_out->path()).entryList(QDir::Files), QStringList {"c.txt"});

        QString error;
        QCOMPARE(GridExport::writeFile(m_out->filePath("no/such/dir/x.csv"), GridWriter::Type::Csv,
                                       *m_rs, columns(), {}, &error),
                 GridExport::Outcome::Failed);
        QVERIFY(!error.isEmpty());
    }

    void xlsRefusesMoreRowsThanASheetHolds()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        XlsWriter writer(&buffer);
        writer.begin(3, XlsWriter::MaxRows + 1);
        QVERIFY(writer.failed());
        QVERIFY(writer.errorString().contains("65536"));
    }

    // The handler: dialog set-up, XLS first, completion, confirmation; current row untouched.
    void exportThroughTheDialog()
    {
        DataGrid grid;
        grid.setColumns(columns());
        grid.setResultSet(m_rs);
        grid.resize(500, 300);
        grid.show();
        grid.setCurrentRow(2);
        GridExporter exporter("SaveDialog1");
        {
            ModalAnswerer answers;
            answers.file(m_out->filePath("abc")).button(QMessageBox::Ok);
            exporter.exportGrid(&grid, &grid, ExportOptions {});
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().size(), 2);
            QCOMPARE(answers.seen().at(0).objectName, QStringLiteral("SaveDialog1"));
            QCOMPARE(answers.seen().at(0).nameFilters, GridExport::nameFilters());
            QCOMPARE(answers.seen().at(1).title, QStringLiteral("提示"));
            QCOMPARE(answers.seen().at(1).text, QStringLiteral("导出数据成功！"));
            QCOMPARE(answers.seen().at(1).icon, QMessageBox::Information);
        }
        QVERIFY(readFile(m_out->filePath("abc.xls")).startsWith("\x09\x00\x04\x00"));
        QCOMPARE(grid.currentRow(), 2);

        // Choosing 文本 is remembered for the next export of the same screen.
        {
            SaveAnswer answer("文本 (*.TXT)", m_out->filePath("new.xls"));
            exporter.exportGrid(&grid, &grid,
                                ExportOptions {"file2", false, "倒出数据成功！", "提示！"});
            QCOMPARE(answer.boxes, QStringList {"提示！|倒出数据成功！"});
        }
        QVERIFY2(QFile::exists(m_out->filePath("new.xls.txt")),
                 qPrintable(QDir(m_out->path()).entryList().join(',')));
        QCOMPARE(exporter.selectedType(), GridWriter::Type::Txt);

        // The completed name exists: asked again; Cancel keeps the file.
        QFile keep(m_out->filePath("abc.txt"));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("keep");
        keep.close();
        ModalAnswerer again;
        again.file(m_out->filePath("abc")).button(QMessageBox::Cancel);
        exporter.exportGrid(&grid, &grid, ExportOptions {});
        QVERIFY(again.waitDone());
        QCOMPARE(again.seen().size(), 2);
        QCOMPARE(again.seen().at(1).icon, QMessageBox::Question);
        QCOMPARE(readFile(m_out->filePath("abc.txt")), QByteArray("keep"));
    }

    void exportsThatDoNothingOrFail()
    {
        DataGrid grid;
        grid.setColumns(columns());
        GridExporter exporter("SaveDialog2");
        auto answers = std::make_unique<ModalAnswerer>();
        answers->strict();
        // Never opened (closed): nothing at all, whatever the options.
        grid.setResultSet(m_folder->dm()->ADOQuery(15));
        exporter.exportGrid(&grid, &grid, ExportOptions {});
        // Empty and refused.
        m_rs->open(Statement, {999999});
        grid.setResultSet(m_rs);
        exporter.exportGrid(&grid, &grid, ExportOptions {"file1", true, "导出数据成功！", "提示"});
        QTest::qWait(100);
        QVERIFY(answers->seen().isEmpty());

        // Cancelling the dialog: no file, no message. (One answerer per dialog: a new dialog
        // may be made at the address of the one answered before.)
        answers = std::make_unique<ModalAnswerer>();
        answers->cancelFile();
        exporter.exportGrid(&grid, &grid, ExportOptions {});
        QVERIFY(answers->waitDone());
        QCOMPARE(answers->seen().size(), 1);
        QVERIFY(QDir(m_out->path()).isEmpty());

        // A name that cannot be written (a folder holds it): the reason, and no confirmation.
        QVERIFY(QDir(m_out->path()).mkdir("sub.xls"));
        answers = std::make_unique<ModalAnswerer>();
        answers->file(m_out->filePath("sub")).button(QMessageBox::Ok).button(QMessageBox::Ok);
        exporter.exportGrid(&grid, &grid, ExportOptions {});
        QVERIFY(answers->waitDone());
        QCOMPARE(answers->seen().size(), 3);
        QCOMPARE(answers->seen().at(1).icon, QMessageBox::Question);
        QCOMPARE(answers->seen().at(2).icon, QMessageBox::Critical);
        QVERIFY(answers->seen().at(2).text.contains("sub.xls"));
        QVERIFY(!answers->sawUnexpected());
    }

private:
    std::unique_ptr<TestFolder> m_folder;
    ResultSet *m_rs = nullptr;
    std::unique_ptr<QTemporaryDir> m_out;
};

QTEST_MAIN(TestGridExport)
#include "tst_gridexport.moc"
