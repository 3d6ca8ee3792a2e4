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
#include <QPrinter>
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
        settings.stretchRows = true; // long text wraps into a taller row
        QVERIFY(PrintLayout::compute(settings, content, painter, page).rowHeights.at(0)
                > fitted.rowHeights.at(0) * 2);
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

private:
    std::unique_ptr<TestFolder> m_folder;
    std::unique_ptr<DataGrid> m_grid;
};

QTEST_MAIN(TestGridPrinter)
#include "tst_gridprinter.moc"
