// merrow-bench: times what the screens do on a seeded database and compares each operation
// with the sqlite3 tool running the same statements on the same file.
//   merrow-bench [--scale N] [--db PATH] [--runs R] [--only TEXT] [--sql]
// Without --db the database is build/bench/merrow-scale-N.db, seeded when missing. --sql prints
// the statements each operation ran (what the sqlite3 tool is timed on).

#include "clitool.h"
#include "data/customerstore.h"
#include "data/db.h"
#include "data/ledgerstore.h"
#include "data/maintenancestore.h"
#include "data/reportstore.h"
#include "data/resultset.h"
#include "data/salesstore.h"
#include "data/tdm1.h"
#include "export/gridexport.h"
#include "seed.h"
#include "sqltrace.h"
#include "transactions/debtlistmodel.h"
#include "ui/datagrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThreadPool>
#include <QTreeView>

#include <cstdio>
#include <functional>

namespace {

QTextStream out(stdout);
QTextStream err(stderr);

// Resident memory in kB from /proc/self/status ("VmRSS" or the peak "VmHWM").
qint64 statusKb(const char *key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Lets the peak (VmHWM) start again from the present size, so each run's peak is its own.
void resetPeak()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

QStringList sameStatements(const QStringList &statements)
{
    return statements;
}

struct Operation
{
    QString name;
    QString target; // e.g. "< 10 ms"; empty when none
    std::function<bool(double ms, double peakMb, double ratio)> met; // empty: no target
    std::function<void()> run;
    std::function<void()> setup = [] {};
    std::function<void()> cleanup = [] {};
    // The sqlite3 script for the same work, given the statements the run executed: by
    // default those very statements.
    std::function<QStringList(const QStringList &statements)> cli = sameStatements;
};

struct Row
{
    QString name;
    double ms = 0;
    double peakMb = 0;
    double cliMs = -1;
    QString target;
    QString verdict;
};

GridColumns columnsFor(const QStringList &fields)
{
    static const QStringList money {QStringLiteral("价格"), QStringLiteral("利润"),
                                    QStringLiteral("维修费"), QStringLiteral("应付金额"),
                                    QStringLiteral("金额")};
    GridColumns columns;
    for (const QString &field : fields) {
        GridColumn c;
        c.field = field;
        c.title = field;
        c.width = 90;
        if (money.contains(field)) {
            c.kind = GridColumn::Kind::Money;
            c.footer = GridColumn::Footer::Sum;
        } else if (field == QLatin1String("日期") || field == QLatin1String("起用日期")) {
            c.kind = GridColumn::Kind::Date;
        }
        if (columns.isEmpty())
            c.footer = GridColumn::Footer::Count;
        columns << c;
    }
    return columns;
}

// One screen grid: a shared result set shown by the shared grid widget, painted offscreen.
struct Grid
{
    ResultSet *resultSet;
    DataGrid widget;

    explicit Grid(ResultSet *rs)
        : resultSet(rs)
    {
        widget.resize(1200, 700);
        widget.show();
    }
    // Opens the statement and paints the first screenful with its footer.
    void open(const QString &sql, const QVariantList &values)
    {
        if (widget.columns().isEmpty() || widget.resultSet() != resultSet) {
            resultSet->open(sql, values);
            widget.setColumns(columnsFor(resultSet->fields()));
            widget.setResultSet(resultSet);
        } else {
            resultSet->open(sql, values);
        }
        widget.grab();
    }
    void scrollToEnd()
    {
        widget.view()->scrollToBottom();
        widget.grab();
    }
};

QString quoted(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    double scale = 10;
    int runs = 5;
    QString dbPath, only;
    bool showSql = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--scale") && hasValue)
            scale = args[++i].toDouble();
        else if (args[i] == QLatin1String("--db") && hasValue)
            dbPath = args[++i];
        else if (args[i] == QLatin1String("--runs") && hasValue)
            runs = qMax(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--only") && hasValue)
            only = args[++i];
        else if (args[i] == QLatin1String("--sql"))
            showSql = true;
        else {
            err << "usage: merrow-bench [--scale N] [--db PATH] [--runs R] [--only TEXT] [--sql]\n";
            return 2;
        }
    }
    if (scale <= 0)
        scale = 10;
    if (dbPath.isEmpty())
        dbPath = QDir(QCoreApplication::applicationDirPath())
                         .absoluteFilePath(
                                 QStringLiteral("../bench/merrow-scale-%1.db").arg(scale));
    if (!QFileInfo::exists(dbPath)) {
        err << "seeding " << dbPath << " at scale " << scale << Qt::endl;
        SeedOptions options;
        options.scale = scale;
        const QString failure
                = seedDatabase(dbPath, options, [](const QString &stage, double done) {
                      err << "\r" << stage << " " << int(done * 100) << "%   ";
                      if (done >= 1)
                          err << "\n";
                      err.flush();
                  });
        if (!failure.isEmpty()) {
            err << "merrow-bench: " << failure << Qt::endl;
            return 1;
        }
    }

    // Start to login: the data module opening the file; the dialog itself is timed below.
    QElapsedTimer openClock;
    openClock.start();
    TDM1 dm;
    QString detail;
    if (dm.open(dbPath, &detail) != TDM1::OpenResult::Ok) {
        err << "merrow-bench: cannot open " << dbPath << ": " << detail << Qt::endl;
        return 1;
    }
    const double openMs = double(openClock.nsecsElapsed()) / 1e6;
    QSqlDatabase db = dm.ADOConnection1();
    SqlTrace trace(db);
    CliTool cli(dbPath);
    QTemporaryDir scratch;

    const qint64 customers
            = Db::scalar(db, QStringLiteral("select count(*) from 客户信息")).toLongLong();
    const std::optional<Customer> sample
            = CustomerStore(db).find(qMax<qint64>(1, customers * 2 / 3));
    if (!sample) {
        err << "merrow-bench: the database has no customers" << Qt::endl;
        return 1;
    }
    const QString dayText
            = Db::text(Db::scalar(db, QStringLiteral("select max(日期) from dinggou")));
    const QDate lastDay = QDate::fromString(dayText, Qt::ISODate);
    out << "database " << dbPath << " (" << customers << " customers), " << runs
        << " runs each, sqlite3 start-up " << QString::number(cli.startupMs(), 'f', 1)
        << " ms subtracted\n";
    out.flush();

    Grid main(dm.ADOQuery3());
    Grid second(dm.ADOQuery4());
    Grid third(dm.ADOQuery5());
    ReportStore reports(db);
    using Table = ReportStore::Table;

    const auto under = [](double limit) {
        return [limit](double ms, double, double) { return ms < limit; };
    };
    const auto gridTarget
            = [](double ms, double peakMb, double) { return ms < 100 && peakMb < 50; };
    const auto openGrid = [](Grid &grid, const auto &query) {
        return [&grid, query] { grid.open(query.sql, query.values); };
    };

    QList<Operation> ops;
    ops << Operation {QStringLiteral("grid: customer list"), QStringLiteral("< 100 ms, < 50 MB"),
                      gridTarget, openGrid(main, CustomerStore::selectAll())};
    ops << Operation {QStringLiteral("grid: customer list, scroll to last row"),
                      QStringLiteral("< 100 ms, < 50 MB"), gridTarget,
                      [&main] { main.scrollToEnd(); }};
    ops.last().setup = [&main] { main.open(CustomerStore::selectAll().sql, {}); };
    // Ctrl+F on the customer list for a number near its end, whole field in all columns: the
    // walk formats every cell it passes, as the grid shows it.
    const QString lateNumber = QString::number(qMax<qint64>(1, customers - 5));
    ops << Operation {QStringLiteral("grid: find a customer near the end of the list"),
                      QString(),
                      {},
                      [&main, lateNumber] {
                          GridFind::Options options;
                          options.text = lateNumber;
                          options.scope = GridFind::Scope::AllColumns;
                          options.match = GridFind::Match::WholeField;
                          GridFind::Cell found;
                          if (GridFind::next(main.widget, options, {0, 0}, &found)
                              != GridFind::Outcome::Found)
                              throw DbError(QStringLiteral("find: no match"));
                          main.widget.setCurrentCell(found.row, found.column);
                          main.widget.grab();
                      }};
    ops.last().setup = [&main] {
        main.open(CustomerStore::selectAll().sql, {});
        main.widget.setCurrentRow(0);
    };
    ops.last().cli = [](const QStringList &) {
        return QStringList {QStringLiteral(".output /dev/null"), CustomerStore::selectAll().sql};
    };
    ops << Operation {QStringLiteral("grid: all sales"), QStringLiteral("< 100 ms, < 50 MB"),
                      gridTarget, openGrid(main, SalesStore(db).correctionList())};
    // The debt screen's list: its own chunked model in a tree view, first screenful painted.
    DebtListModel debtLines(db);
    QTreeView debtView;
    debtView.setUniformRowHeights(true);
    debtView.setRootIsDecorated(false);
    debtView.setModel(&debtLines);
    debtView.resize(1000, 400);
    debtView.show();
    ops << Operation {QStringLiteral("grid: all debts"), QStringLiteral("< 100 ms, < 50 MB"),
                      gridTarget, [&] {
                          debtLines.open(LedgerStore(db).allUnpaidListing());
                          debtView.grab();
                      }};
    ops << Operation {QStringLiteral("grid: all debts, scroll to last row"),
                      QStringLiteral("< 100 ms, < 50 MB"), gridTarget, [&] {
                          while (debtLines.canFetchMore({}))
                              debtLines.fetchMore({});
                          debtView.scrollToBottom();
                          debtView.grab();
                      }};
    ops.last().setup = [&] { debtLines.open(LedgerStore(db).allUnpaidListing()); };
    ops << Operation {QStringLiteral("debts: tick all, untick one, total"), QString(), {}, [&] {
                          debtLines.tickAll(true);
                          debtLines.setTicked(0, false);
                          debtLines.tickedTotal();
                      }};
    ops.last().setup = [&] { debtLines.open(LedgerStore(db).allUnpaidListing()); };
    ops << Operation {QStringLiteral("grid: a day's overview (3 grids)"),
                      QStringLiteral("< 100 ms, < 50 MB"), gridTarget, [&, lastDay] {
                          main.open(reports.day(Table::Sales, lastDay).sql,
                                    reports.day(Table::Sales, lastDay).values);
                          second.open(reports.day(Table::Repairs, lastDay).sql,
                                      reports.day(Table::Repairs, lastDay).values);
                          third.open(reports.day(Table::Ledger, lastDay).sql,
                                     reports.day(Table::Ledger, lastDay).values);
                      }};
    const ReportQuery year = reports.period(Table::Sales, lastDay.addYears(-1).addDays(1), lastDay,
                                            QString(), ReportStore::Invoice::All);
    ops << Operation {QStringLiteral("grid: a year's period summary with footers"),
                      QStringLiteral("< 100 ms, < 50 MB"), gridTarget, openGrid(main, year)};
    ops << Operation {QStringLiteral("footer totals of the year's summary"),
                      QStringLiteral("<= 1.2 x sqlite3"),
                      [](double, double, double ratio) { return ratio <= 1.2; },
                      [&main] {
                          main.resultSet->totals({QStringLiteral("价格"), QStringLiteral("利润")});
                      }};
    ops.last().setup = [&main, year] { main.open(year.sql, year.values); };
    const QString number = QString::number(sample->number);
    ops << Operation {QStringLiteral("grid: one customer's history (3 grids)"),
                      QStringLiteral("< 100 ms, < 50 MB"), gridTarget, [&, number] {
                          using Inv = ReportStore::Invoice;
                          const auto s = *reports.historyByNumber(Table::Sales, number, Inv::All);
                          const auto r = *reports.historyByNumber(Table::Repairs, number, Inv::All);
                          const auto l = *reports.historyByNumber(Table::Ledger, number, Inv::All);
                          main.open(s.sql, s.values);
                          second.open(r.sql, r.values);
                          third.open(l.sql, l.values);
                      }};
    ops << Operation {QStringLiteral("grid: all receipts"), QStringLiteral("< 100 ms, < 50 MB"),
                      gridTarget, openGrid(main, reports.allReceipts())};

    using Column = CustomerStore::Column;
    const QString namePart = sample->name.left(2);
    const QString mobilePart = sample->mobile.mid(3, 5);
    for (const auto &[label, column, text] :
         {std::tuple {QStringLiteral("name"), Column::Name, namePart},
          std::tuple {QStringLiteral("mobile"), Column::Mobile, mobilePart}}) {
        const CustomerSelect select = CustomerStore::selectContaining(column, text);
        ops << Operation {QStringLiteral("fuzzy search: part of a %1 (\"%2\")").arg(label, text),
                          QStringLiteral("< 50 ms"), under(50), openGrid(main, select)};
    }
    CustomerStore customerStore(db);
    const qint64 sampleNumber = sample->number;
    const QString sampleName = sample->name;
    const QString samplePhone = sample->telephone.isEmpty() ? sample->mobile : sample->telephone;
    ops << Operation {QStringLiteral("look-up: customer by number"), QStringLiteral("< 10 ms"),
                      under(10),
                      [&customerStore, sampleNumber] { customerStore.find(sampleNumber); }};
    ops << Operation {
            QStringLiteral("look-up: customer by name"), QStringLiteral("< 10 ms"), under(10),
            [&customerStore, sampleName] { customerStore.findFirst(Column::Name, sampleName); }};
    ops << Operation {QStringLiteral("look-up: customer by telephone"), QStringLiteral("< 10 ms"),
                      under(10), [&customerStore, samplePhone] {
                          customerStore.findFirst(Column::Telephone, samplePhone);
                      }};

    // Writes are undone after each run (and after the sqlite3 tool replays them), so every
    // run sees the same file.
    const auto maxRowid = [&db](const QString &table) {
        return Db::scalar(db, QStringLiteral("select coalesce(max(rowid), 0) from ") + table)
                .toLongLong();
    };
    qint64 salesTop = 0, ledgerTop = 0, receiptsTop = 0;
    const auto remember = [&] {
        salesTop = maxRowid(QStringLiteral("dinggou"));
        ledgerTop = maxRowid(QStringLiteral("帐款明细"));
        receiptsTop = maxRowid(QStringLiteral("收款记录"));
    };
    const auto undoWrites = [&] {
        Db::exec(db, QStringLiteral("delete from dinggou where rowid > ?"), {salesTop});
        Db::exec(db, QStringLiteral("delete from 帐款明细 where rowid > ?"), {ledgerTop});
        Db::exec(db, QStringLiteral("delete from 收款记录 where rowid > ?"), {receiptsTop});
    };
    ops << Operation {QStringLiteral("sale: next id"), QStringLiteral("< 10 ms"), under(10),
                      [&db] { SalesStore(db).nextId(); }};
    Sale sale;
    sale.customer = {sample->number, sample->name,    sample->address,  sample->telephone,
                     sample->mobile, sample->contact, sample->taxNumber};
    sale.model = QStringLiteral("联想 扬天 M4000");
    sale.serial = QStringLiteral("SN-BENCH-0001");
    sale.price = Money::fromUnits(3500 * 10000);
    sale.profit = Money::fromUnits(300 * 10000);
    sale.date = lastDay;
    sale.operatorNumber = QStringLiteral("0001");
    ops << Operation {QStringLiteral("sale: save (sale, ledger row, receipt)"),
                      QStringLiteral("< 10 ms"), under(10),
                      [&db, sale] { SalesStore(db).record(sale, true); }};
    ops.last().setup = remember;
    ops.last().cleanup = undoWrites;

    // The first 100 lines of the debt list, ticked one by one as the operator does.
    QStringList debts;
    ops << Operation {QStringLiteral("debts: settle 100"), QString(), {}, [&] {
                          debtLines.settleTicked(lastDay, QStringLiteral("0001"));
                      }};
    ops.last().setup = [&] {
        remember();
        debtLines.open(LedgerStore(db).allUnpaidListing());
        debts.clear();
        for (int row = 0; row < 100 && row < debtLines.rowCount(); ++row) {
            debtLines.setTicked(row, true);
            debts << debtLines.index(row, 0).data().toString();
        }
    };
    ops.last().cleanup = [&] {
        undoWrites();
        for (const QString &key : std::as_const(debts))
            Db::exec(db, QStringLiteral("update 帐款明细 set 付款情况 = ? where id = ?"),
                     {PaymentState::unpaid(), key});
    };

    // Exports: every customer (1,000,000 at scale 1000) through the exporters; XLS holds at
    // most 65,536 rows, so it gets the first 65,534 customers (with its title and footer).
    ResultSet exportRows(QStringLiteral("export"), db);
    const CustomerSelect everyone = CustomerStore::selectAll();
    const QString xlsSql = QStringLiteral("select * from (%1) as c limit %2")
                                   .arg(everyone.sql)
                                   .arg(XlsWriter::MaxRows - 2);
    struct ExportType
    {
        GridWriter::Type type;
        QString name;
    };
    for (const ExportType &t : {ExportType {GridWriter::Type::Txt, QStringLiteral("txt")},
                                ExportType {GridWriter::Type::Csv, QStringLiteral("csv")},
                                ExportType {GridWriter::Type::Htm, QStringLiteral("htm")},
                                ExportType {GridWriter::Type::Rtf, QStringLiteral("rtf")},
                                ExportType {GridWriter::Type::Xls, QStringLiteral("xls")}}) {
        const bool xls = t.type == GridWriter::Type::Xls;
        const QString sql = xls ? xlsSql : everyone.sql;
        const QString file = scratch.filePath(QStringLiteral("export.") + t.name);
        ops << Operation {
                QStringLiteral("export %1 rows to %2")
                        .arg(xls ? XlsWriter::MaxRows - 2 : customers)
                        .arg(t.name.toUpper()),
                QStringLiteral("<= 1.5 x sqlite3 CSV"),
                [](double, double, double ratio) { return ratio <= 1.5; },
                [&exportRows, file, t] {
                    QString error;
                    const GridColumns columns = columnsFor(exportRows.fields());
                    if (GridExport::writeFile(file, t.type, exportRows, columns, {}, &error)
                        != GridExport::Outcome::Written)
                        throw DbError(error);
                }};
        ops.last().setup = [&exportRows, sql] { exportRows.open(sql); };
        ops.last().cli = [file, sql](const QStringList &) {
            return QStringList {QStringLiteral(".mode csv"), QStringLiteral(".headers on"),
                                QStringLiteral(".output ") + file + QStringLiteral(".cli"), sql};
        };
    }
    const QString backupFile = scratch.filePath(QStringLiteral("backup.bak"));
    ops << Operation {QStringLiteral("backup"), QString(), {}, [&db, backupFile] {
                          MaintenanceStore(db).backupTo(backupFile);
                      }};
    ops.last().cli = [backupFile](const QStringList &) {
        const QString target = backupFile + QStringLiteral(".cli");
        return QStringList {QStringLiteral(".shell rm -f ") + target,
                            QStringLiteral("vacuum into ") + quoted(target)};
    };

    QList<Row> table;
    table << Row {QStringLiteral("start: open the database file"),    openMs,   0, -1,
                  QStringLiteral("(with the login dialog) < 500 ms"), QString()};
    for (const Operation &op : std::as_const(ops)) {
        if (!only.isEmpty() && !op.name.contains(only, Qt::CaseInsensitive))
            continue;
        QList<double> times;
        double peakMb = 0;
        QStringList statements;
        try {
            for (int r = 0; r < runs; ++r) {
                // Footer sums of the run before may still be summing on a worker: each run
                // measures a grid opened on a quiet machine, as the sqlite3 tool runs alone.
                QThreadPool::globalInstance()->waitForDone();
                op.setup();
                resetPeak();
                const qint64 before = statusKb("VmRSS:");
                trace.start();
                QElapsedTimer clock;
                clock.start();
                op.run();
                times << double(clock.nsecsElapsed()) / 1e6;
                statements = trace.stop();
                peakMb = qMax(peakMb, double(statusKb("VmHWM:") - before) / 1024);
                op.cleanup();
            }
        } catch (const DbError &e) {
            trace.stop();
            err << op.name << ": " << e.text() << Qt::endl;
            continue;
        }
        QThreadPool::globalInstance()->waitForDone();
        Row row {op.name, median(times), peakMb, -1, op.target, QString()};
        {
            row.cliMs = cli.time(op.cli(statements), runs, op.cleanup);
            if (row.cliMs < 0)
                err << op.name << ": sqlite3: " << cli.lastError() << "\n  "
                    << statements.join(QStringLiteral("\n  ")) << Qt::endl;
        }
        if (showSql)
            err << op.name << ":\n  " << statements.join(QStringLiteral("\n  ")) << Qt::endl;
        const double ratio = row.cliMs > 0 ? row.ms / row.cliMs : 0;
        if (op.met)
            row.verdict = op.met(row.ms, peakMb, ratio) ? QStringLiteral("met")
                                                        : QStringLiteral("MISSED");
        err << row.name << ": " << row.ms << " ms" << Qt::endl;
        table << row;
    }

    out << "\n| operation | median ms | peak MB | sqlite3 ms | ratio | target | |\n"
           "|---|--:|--:|--:|--:|---|---|\n";
    for (const Row &row : std::as_const(table)) {
        const bool hasCli = row.cliMs >= 0;
        out << "| " << row.name << " | " << QString::number(row.ms, 'f', row.ms < 10 ? 2 : 1)
            << " | " << QString::number(row.peakMb, 'f', 1) << " | "
            << (hasCli ? QString::number(row.cliMs, 'f', row.cliMs < 10 ? 2 : 1) : QString())
            << " | "
            << (hasCli && row.cliMs > 0.05 ? QString::number(row.ms / row.cliMs, 'f', 2)
                                           : QString())
            << " | " << row.target << " | " << row.verdict << " |\n";
    }
    out.flush();
    return 0;
}
