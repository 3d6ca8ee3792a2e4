// Grid printing: page layout onto a PDF printer, page headers, settings per definition and
// the preview with its settings dialog.
#include "data/db.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "export/gridprinter.h"
#include "support/testfolder.h"
#include "ui/datagrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

GridColumns columns()
{
    return {
            {"客户编号", "编号", 60, GridColumn::Kind::Integer, Qt::AlignRight | Qt::AlignVCenter,
             Qt::AlignCenter, GridColumn::Footer::Text, "合计"},
            {"客户名称",
             "名称",
             0,
             GridColumn::Kind::Text,
             Qt::AlignLeft | Qt::AlignVCenter,
             Qt::AlignCenter,
             GridColumn::Footer::Count,
             {}},
            {"金额",
             "金额",
             80,
             GridColumn::Kind::Money,
             Qt::AlignRight | Qt::AlignVCenter,
             Qt::AlignCenter,
             GridColumn::Footer::Sum,
             {}},
    };
}

int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll())
                       .count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// Runs one step for each new modal window, in order (a fresh window at an old address counts).
struct ModalScript : QObject
{
    QList<std::function<void(QWidget *)>> steps;
    QPointer<QWidget> handled;
    QTimer timer;
    ModalScript()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == handled || steps.isEmpty())
                return;
            handled = modal;
            auto step = steps.takeFirst();
            QPointer<QWidget> guard(modal);
            QMetaObject::invokeMethod(
                    modal,
                    [guard, step] {
                        if (guard)
                            step(guard);
                    },
                    Qt::QueuedConnection);
        });
        timer.start(20);
    }
};

// What one print drew, row by row.
struct Drawn
{
    struct Row
    {
        int page;
        GridPrinter::RowKind kind;
        QString first; // the first cell
    };
    QList<Row> rows;

    explicit Drawn(GridPrinter &printer)
    {
        printer.setDrawObserver(
                [this](int page, GridPrinter::RowKind kind, const QStringList &cells) {
                    rows << Row {page, kind, cells.value(0)};
                });
    }
    QStringList firstCells() const
    {
        QStringList cells;
        for (const Row &row : rows) {
            if (row.kind == GridPrinter::RowKind::Row)
                cells << row.first;
        }
        return cells;
    }
    QList<int> rowsPerPage() const
    {
        QList<int> counts;
        for (const Row &row : rows) {
            if (row.kind == GridPrinter::RowKind::Titles)
                counts << 0;
            else if (row.kind == GridPrinter::RowKind::Row)
                ++counts.last();
        }
        return counts;
    }
    int footers() const
    {
        int n = 0;
        for (const Row &row : rows)
            n += row.kind == GridPrinter::RowKind::Footer;
        return n;
    }
};

QStringList numbers(int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << QString::number(i);
    return list;
}

QStringList headers(int from, int to, int pages)
{
    QStringList list;
    for (int p = from; p <= to; ++p)
        list << GridPrinter::headerRight(p, pages);
    return list;
}

} // namespace

class TestGridPrinter : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 客户名称, 金额) with recursive n(i) as "
                 "(select 1 union all select i + 1 from n where i < 300) "
                 "select i, '客户' || i, i * 10000 from n");
        m_grid = std::make_unique<DataGrid>();
        m_grid->setColumns(columns());
        m_grid->setResultSet(m_folder->dm()->ADOQuery(15));
        m_grid->resultSet()->open("select * from 收款记录 where 客户编号 <= ? order by 客户编号",
                                  {300});
    }
    void cleanup()
    {
        m_grid.reset();
        m_folder.reset();
    }

    void printsEveryRowWithTrueHeadersOnEveryPage()
    {
        QTemporaryDir dir;
        GridPrinter printer(m_grid.get(), "销售情况汇总");
        QCOMPARE(printer.settings().marginsCm, QMarginsF(2, 2, 2, 2));
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath("a.pdf"));
        const int pages = printer.print(&pdf);
        QVERIFY(pages > 2);
        QCOMPARE(pdfPages(dir.filePath("a.pdf")), pages);
        QCOMPARE(printer.drawnHeaders().size(), pages);
        QCOMPARE(printer.drawnHeaders().first(), QString("第1页 共%1页").arg(pages));
        QCOMPARE(printer.drawnHeaders().at(1), QString("第2页 共%1页").arg(pages));
        QVERIFY(GridPrinter::headerLeft(QDateTime::currentDateTime()).startsWith("打印日期时间:"));
        QCOMPARE(pdf.docName(), QStringLiteral("表格信息"));

        // Every row exactly once, in order; the footer once, on the last page.
        QPainter painter(&pdf);
        const PrintContent content = printer.content();
        QCOMPARE(content.footer, QStringList({"合计", "300", "45150"}));
        const PrintLayout layout = PrintLayout::compute(printer.settings(), content, painter,
                                                        QRectF(0, 0, pdf.width(), pdf.height()));
        painter.end();
        int next = 0;
        for (const PrintLayout::Page &page : layout.pages) {
            QCOMPARE(page.firstRow, next);
            next += page.rowCount;
            QCOMPARE(page.footer, &page == &layout.pages.last());
            QCOMPARE(page.title, &page == &layout.pages.first());
        }
        QCOMPARE(next, 300);

        // Larger margins need more pages; the grid's current row is untouched.
        m_grid->setCurrentRow(7);
        printer.settings().marginsCm = QMarginsF(2, 6, 2, 6);
        pdf.setOutputFileName(dir.filePath("b.pdf"));
        const int more = printer.print(&pdf);
        QVERIFY(more > pages);
        QCOMPARE(pdfPages(dir.filePath("b.pdf")), more);
        QCOMPARE(m_grid->currentRow(), 7);
    }

    // A range chosen in the print dialog prints those pages only, with their true numbers.
    void printsTheChosenPageRange()
    {
        QTemporaryDir dir;
        GridPrinter printer(m_grid.get(), "销售情况汇总");
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath("all.pdf"));
        const int pages = printer.print(&pdf);
        QVERIFY(pages > 3);
        pdf.setOutputFileName(dir.filePath("range.pdf"));
        pdf.setPrintRange(QPrinter::PageRange);
        pdf.setFromTo(2, 3);
        QCOMPARE(printer.print(&pdf), pages);
        QCOMPARE(pdfPages(dir.filePath("range.pdf")), 2);
        QCOMPARE(printer.drawnHeaders(),
                 QStringList(
                         {QString("第2页 共%1页").arg(pages), QString("第3页 共%1页").arg(pages)}));
        // A range beyond the end stops at the last page.
        pdf.setOutputFileName(dir.filePath("tail.pdf"));
        pdf.setFromTo(pages, pages + 5);
        printer.print(&pdf);
        QCOMPARE(printer.drawnHeaders(), QStringList({QString("第%1页 共%1页").arg(pages)}));
    }

    void wideGridIsScaledToThePageWidth()
    {
        PrintSettings settings;
        PrintContent content;
        content.columns = columns();
        content.rows << QStringList {"1", QString(400, QChar(u'宽')), "1"};
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        QTemporaryDir dir;
        pdf.setOutputFileName(dir.filePath("w.pdf"));
        QPainter painter(&pdf);
        const QRectF page(0, 0, pdf.width(), pdf.height());
        PrintLayout scaled = PrintLayout::compute(settings, content, painter, page);
        QVERIFY(scaled.scale < 1.0);
        qreal total = 0;
        for (qreal w : scaled.columnWidths)
            total += w * scaled.scale;
        QVERIFY(qAbs(total - page.width()) < 1.0);

        settings.fit = PrintSettings::Fit::ColumnWidths;
        PrintLayout fitted = PrintLayout::compute(settings, content, painter, page);
        QCOMPARE(fitted.scale, 1.0);
        total = 0;
        for (qreal w : fitted.columnWidths)
            total += w;
        QVERIFY(qAbs(total - page.width()) < 1.0);
        const qreal line = fitted.rowHeight(settings, content.rows.at(0), &pdf);
        settings.stretchRows = true; // long text wraps into a taller row
        QVERIFY(PrintLayout::compute(settings, content, painter, page)
                        .rowHeight(settings, content.rows.at(0), &pdf)
                > line * 2);
    }

    // The preview: caption, maximised, and a settings dialog whose OK applies to this one
    // definition only and whose Cancel changes nothing.
    void previewSettingsApplyOnlyWhenAccepted()
    {
        GridPrinter first(m_grid.get(), "一日销售情况汇总");
        GridPrinter second(m_grid.get(), "一日维修情况汇总");
        QString caption;
        bool maximised = false;
        std::pair<int, int> fromTo;
        ModalScript script;
        auto setTop = [](qreal cm, bool accept) {
            return [cm, accept](QWidget *w) {
                w->findChild<QDoubleSpinBox *>("topMargin")->setValue(cm);
                auto *box = w->findChild<QDialogButtonBox *>();
                box->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
            };
        };
        script.steps << [&](QWidget *w) {
            caption = w->windowTitle();
            maximised = w->windowState() & Qt::WindowMaximized;
            // The print dialog will offer pages 1 to the page count.
            QPrinter *target = static_cast<QPrintPreviewDialog *>(w)->printer();
            fromTo = {target->fromPage(), target->toPage()};
            auto *action = w->findChild<QAction *>("printSettings");
            QVERIFY(action);
            action->trigger(); // accepted with 3.5
            action->trigger(); // cancelled with 9
            static_cast<QDialog *>(w)->reject();
        };
        script.steps << setTop(3.5, true) << setTop(9, false);
        first.preview(m_grid.get());
        QCOMPARE(caption, QStringLiteral("打印预览"));
        QVERIFY(maximised);
        QCOMPARE(fromTo.first, 1);
        QVERIFY(fromTo.second > 3);
        QVERIFY(script.steps.isEmpty());
        QCOMPARE(first.settings().marginsCm.top(), 3.5);
        QCOMPARE(second.settings().marginsCm.top(), 2.0);
    }

    // More rows than the result set's row cache holds: counted in one walk and drawn in
    // another, each row once and in order, breaking where the count did.
    void largeResultPrintsEveryRowOnceWhereCounted_data()
    {
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<bool>("gridWidths");
        QTest::newRow("one line per row") << false << false;
        QTest::newRow("wrapped rows, widths after the text") << true << false;
        QTest::newRow("wrapped rows, the grid's widths") << true << true;
    }
    void largeResultPrintsEveryRowOnceWhereCounted()
    {
        QFETCH(bool, stretch);
        QFETCH(bool, gridWidths);
        fillLarge();
        if (gridWidths) {
            GridColumns fixed = columns();
            fixed[1].width = 90;
            m_grid->setColumns(fixed);
        }
        GridPrinter printer(m_grid.get(), "销售情况汇总");
        printer.settings().stretchRows = stretch;
        printer.settings().fit = PrintSettings::Fit::ColumnWidths;
        printer.settings().optimalWidths = !gridWidths;
        QCOMPARE(PrintLayout::countingWalks(printer.settings(), m_grid->columns()),
                 stretch && !gridWidths ? 2 : 1);
        QTemporaryDir dir;
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath("all.pdf"));
        Drawn drawn(printer);
        const int pages = printer.print(&pdf);
        QVERIFY(!printer.stopped());
        QCOMPARE(pdfPages(dir.filePath("all.pdf")), pages);
        QCOMPARE(printer.drawnHeaders(), headers(1, pages, pages));
        QCOMPARE(drawn.firstCells(), numbers(1, LargeRows));
        QCOMPARE(drawn.footers(), 1);
        QCOMPARE(drawn.rows.last().kind, GridPrinter::RowKind::Footer);
        QCOMPARE(drawn.rows.last().page, pages);
        QCOMPARE(drawn.rows.first().kind, GridPrinter::RowKind::Titles);

        // The pages break where the count put them.
        QPainter painter(&pdf);
        const PrintLayout layout = PrintLayout::compute(printer.settings(), printer.rows(), painter,
                                                        QRectF(0, 0, pdf.width(), pdf.height()));
        painter.end();
        QList<int> counted;
        for (const PrintLayout::Page &page : layout.pages)
            counted << page.rowCount;
        QCOMPARE(drawn.rowsPerPage(), counted);
        if (stretch) // some rows wrapped, so some pages hold fewer rows
            QVERIFY(*std::min_element(counted.begin(), counted.end() - 1)
                    < *std::max_element(counted.begin(), counted.end()));

        // A chosen range draws those pages' rows only, with their true numbers.
        const int before = counted.at(0) + counted.at(1);
        Drawn range(printer);
        pdf.setOutputFileName(dir.filePath("range.pdf"));
        pdf.setPrintRange(QPrinter::PageRange);
        pdf.setFromTo(3, 4);
        QCOMPARE(printer.print(&pdf), pages);
        QCOMPARE(pdfPages(dir.filePath("range.pdf")), 2);
        QCOMPARE(printer.drawnHeaders(), headers(3, 4, pages));
        QCOMPARE(range.firstCells(), numbers(before + 1, before + counted.at(2) + counted.at(3)));
        QCOMPARE(range.footers(), 0);
    }

    // "停止" on the progress dialog: stopped while drawing, the document ends with the page
    // being drawn and keeps the counted total; stopped while counting, it is the first page,
    // headed "共?页". Neither has the footer, which sums rows it does not hold.
    void stopLeavesAShorterWholeDocument_data()
    {
        QTest::addColumn<GridPrinter::Phase>("phase");
        QTest::newRow("while drawing") << GridPrinter::Phase::Draw;
        QTest::newRow("while counting") << GridPrinter::Phase::Count;
    }
    void stopLeavesAShorterWholeDocument()
    {
        QFETCH(GridPrinter::Phase, phase);
        fillLarge();
        GridPrinter printer(m_grid.get(), "销售情况汇总");
        QTemporaryDir dir;
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath("full.pdf"));
        Drawn full(printer);
        const int pages = printer.print(&pdf);
        const QList<int> perPage = full.rowsPerPage();

        QString label;
        QString button;
        int delay = 0;
        bool modal = false;
        connect(&printer, &GridPrinter::building, this, [&](GridPrinter::Phase now, int rows) {
            if (now != phase || rows < 2000 || !label.isEmpty())
                return;
            auto *dialog = m_grid->findChild<QProgressDialog *>("printProgress");
            QVERIFY(dialog);
            label = dialog->labelText();
            delay = dialog->minimumDuration();
            modal = dialog->windowModality() == Qt::ApplicationModal;
            auto *stop = dialog->findChild<QPushButton *>();
            button = stop->text();
            stop->click();
        });
        Drawn drawn(printer);
        pdf.setOutputFileName(dir.filePath("stopped.pdf"));
        const int built = printer.print(&pdf);
        QCOMPARE(label, QStringLiteral("正在生成打印页面……"));
        QCOMPARE(button, QStringLiteral("停止"));
        QCOMPARE(delay, GridPrinter::ProgressDelayMs);
        QVERIFY(modal);
        QVERIFY(printer.stopped());
        QCOMPARE(pdfPages(dir.filePath("stopped.pdf")), built);
        QCOMPARE(drawn.footers(), 0);
        QCOMPARE(drawn.rowsPerPage(), perPage.mid(0, built));
        int rows = 0;
        for (int p = 0; p < built; ++p)
            rows += perPage.at(p);
        QCOMPARE(drawn.firstCells(), numbers(1, rows));
        if (phase == GridPrinter::Phase::Draw) {
            QVERIFY(rows >= 2000);
            QVERIFY(built < pages);
            QCOMPARE(printer.drawnHeaders(), headers(1, built, pages));
        } else {
            QCOMPARE(built, 1);
            QCOMPARE(printer.drawnHeaders(), QStringList({"第1页 共?页"}));
        }

        // The next print builds everything again.
        Drawn again(printer);
        pdf.setOutputFileName(dir.filePath("again.pdf"));
        QCOMPARE(printer.print(&pdf), pages);
        QVERIFY(!printer.stopped());
        QCOMPARE(again.firstCells().size(), LargeRows);
    }

    // Printing from a preview whose building was stopped prints the pages it showed.
    void printingAStoppedPreviewPrintsWhatItShowed()
    {
        fillLarge();
        GridPrinter printer(m_grid.get(), "销售情况汇总");
        connect(&printer, &GridPrinter::building, &printer,
                [&printer](GridPrinter::Phase phase, int rows) {
                    if (phase == GridPrinter::Phase::Draw && rows >= 1000)
                        printer.stop();
                });
        QTemporaryDir dir;
        int shown = 0;
        std::pair<int, int> fromTo;
        ModalScript script;
        script.steps << [&](QWidget *w) {
            shown = w->findChild<QPrintPreviewWidget *>()->pageCount();
            QPrinter *target = static_cast<QPrintPreviewDialog *>(w)->printer();
            fromTo = {target->fromPage(), target->toPage()};
            target->setOutputFormat(QPrinter::PdfFormat);
            target->setOutputFileName(dir.filePath("printed.pdf"));
            w->findChild<QPrintPreviewWidget *>()->print();
            static_cast<QDialog *>(w)->reject();
        };
        Drawn drawn(printer);
        printer.preview(m_grid.get());
        QVERIFY(script.steps.isEmpty());
        QVERIFY(shown > 1);
        QCOMPARE(fromTo, std::make_pair(1, shown));
        QCOMPARE(pdfPages(dir.filePath("printed.pdf")), shown);
        QCOMPARE(printer.drawnHeaders().size(), shown);
        QVERIFY(!printer.drawnHeaders().last().contains("?"));
        QVERIFY(printer.drawnHeaders().last() != GridPrinter::headerRight(shown, shown));
        QCOMPARE(drawn.footers(), 0);
    }

private:
    static constexpr int LargeRows = 5000;
    // Rows past the row cache's reach; every seventh has a long name that wraps when narrow.
    void fillLarge()
    {
        QVERIFY(LargeRows > ResultSet::ChunkRows * ResultSet::MaxChunks);
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 客户名称, 金额) with recursive n(i) as "
                 "(select 301 union all select i + 1 from n where i < ?) "
                 "select i, '客户' || i || case when i % 7 = 0 then "
                 "substr(replace(hex(zeroblob(60)), '0', '长名称'), 1, 150) else '' end, "
                 "i * 10000 from n",
                 {LargeRows});
        m_grid->resultSet()->open("select * from 收款记录 where 客户编号 <= ? order by 客户编号",
                                  {LargeRows});
    }

    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<DataGrid> m_grid;
};

QTEST_MAIN(TestGridPrinter)
#include "tst_gridprinter.moc"
