// The daily overview: the day picker, the three grids of one day, their footers, export and
// printing.
#include "reportscreens.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/resultset.h"
#include "data/tdm1.h"
#include "export/gridprinter.h"
#include "reports/yirifrm.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace ReportScreens;

class TestYiri : public QObject
{
    Q_OBJECT

    TestFolder *m_folder = nullptr;

    static DataGrid *grid(QWidget *screen, int n)
    {
        return screen->findChild<DataGrid *>(QStringLiteral("DBGridEh%1").arg(n));
    }
    static void query(QWidget *screen, const QString &day)
    {
        screen->findChild<QDateEdit *>("DateTimePicker1")
                ->setDate(QDate::fromString(day, Qt::ISODate));
        QTest::mouseClick(screen->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        m_folder = new TestFolder;
        QVERIFY(m_folder->isValid());
        insert(m_folder->dm()->ADOConnection1());
    }
    void cleanupTestCase() { delete m_folder; }

    void layoutAndShowingAgainResets()
    {
        DM1()->ADOQuery12()->open("select * from dinggou");
        Tyiri screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), QStringLiteral("一日销售、维修情况一览"));
        QCOMPARE(screen.findChild<QGroupBox *>("GroupBox1")->title(),
                 QStringLiteral("销售情况----双击表格倒出到EXCEL"));
        QCOMPARE(grid(&screen, 1)->columns().at(2).title, QStringLiteral("联系人"));
        auto *picker = screen.findChild<QDateEdit *>("DateTimePicker1");
        QCOMPARE(picker->date(), QDate::currentDate());
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(!grid(&screen, n)->resultSet()->isOpen());
            QCOMPARE(grid(&screen, n)->rowCount(), 0);
        }
        const QMenu *menu = screen.findChild<QToolButton *>("RzMenuButton1")->menu();
        QCOMPARE(menu->objectName(), QStringLiteral("PopupMenu1"));
        QStringList entries;
        for (const QAction *a : menu->actions())
            entries << a->objectName() + ":" + a->text();
        QCOMPARE(entries,
                 QStringList({"N1:打印一日销售情况汇总", "N2:打印一日维修情况汇总",
                              "N3:打印一日帐款情况汇总"}));

        query(&screen, "2024-02-10");
        QCOMPARE(grid(&screen, 1)->rowCount(), 2);
        screen.hide();
        screen.show();
        QCOMPARE(picker->date(), QDate::currentDate());
        QCOMPARE(grid(&screen, 1)->rowCount(), 0);
    }

    void queryListsThatDayWithTotals_data()
    {
        QTest::addColumn<QString>("day");
        for (const char *day :
             {"2024-01-05", "2024-02-10", "2024-03-31", "2024-04-15", "2024-02-11", "2023-12-31"})
            QTest::newRow(day) << day;
    }
    void queryListsThatDayWithTotals()
    {
        QFETCH(QString, day);
        Tyiri screen;
        screen.show();
        query(&screen, day);
        const QString amountField[] = {"价格", "维修费", "应付金额"};
        for (int n = 1; n <= 3; ++n) {
            const DataGrid *g = grid(&screen, n);
            const QStringList expected = keys([&](const Record &r) {
                return r.date == day && (n == 3 || (r.kind == Kind::Sale) == (n == 1));
            });
            QStringList got = gridKeys(g);
            got.sort();
            QStringList want = expected;
            want.sort();
            QCOMPARE(got, want);
            const Totals totals = totalsOf(expected);
            QCOMPARE(footer(g, "客户名称"), n == 3 ? QStringLiteral("合计笔数") : "合计次数");
            QCOMPARE(footer(g, "电话"), QString::number(totals.count));
            QCOMPARE(footer(g, amountField[n - 1]), totals.amount.toString());
            if (n < 3)
                QCOMPARE(footer(g, "利润"), totals.profit.toString());
        }
        // Another day without pressing 查询 changes nothing; the same day again lists the same.
        const QStringList before = gridKeys(grid(&screen, 1));
        screen.findChild<QDateEdit *>("DateTimePicker1")->setDate(QDate(2024, 1, 1));
        QCOMPARE(gridKeys(grid(&screen, 1)), before);
        query(&screen, day);
        QCOMPARE(gridKeys(grid(&screen, 1)), before);
    }

    void exportWritesEvenAnEmptyDayButNotANeverRunQuery()
    {
        QTemporaryDir dir;
        Tyiri screen;
        screen.show();
        {
            ModalAnswerer answers;
            answers.strict();
            QTest::mouseDClick(grid(&screen, 2)->view()->viewport(), Qt::LeftButton);
            QTest::qWait(50);
            QVERIFY(answers.seen().isEmpty());
        }

        query(&screen, "2024-02-11"); // nothing that day
        ModalAnswerer answers;
        answers.file(dir.filePath("empty")).button(QMessageBox::Ok);
        QTest::mouseDClick(grid(&screen, 2)->view()->viewport(), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen().at(0).objectName, QStringLiteral("SaveDialog2"));
        QCOMPARE(answers.seen().at(1).title, QStringLiteral("提示！"));
        QCOMPARE(answers.seen().at(1).text, QStringLiteral("倒出数据成功！"));
        QCOMPARE(answers.seen().at(1).icon, QMessageBox::Information);
        const Sheet sheet = readXls(dir.filePath("empty.xls"));
        QCOMPARE(sheetRows(sheet), 2); // titles and footer
        QCOMPARE(sheet.at({0, 2}), QStringLiteral("联系人"));
        QCOMPARE(sheet.at({1, 1}), QStringLiteral("合计次数"));
        QCOMPARE(sheet.at({1, 3}), QStringLiteral("0"));
        QCOMPARE(sheet.at({1, 8}), QStringLiteral("0"));

        query(&screen, "2024-01-05");
        answers.file(dir.filePath("ledger")).button(QMessageBox::Ok);
        QTest::mouseDClick(grid(&screen, 3)->view()->viewport(), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        const Sheet ledger = readXls(dir.filePath("ledger.xls"));
        const QStringList day = keys([](const Record &r) { return r.date == "2024-01-05"; });
        QCOMPARE(sheetRows(ledger), day.size() + 2);
        QCOMPARE(ledger.at({day.size() + 1, 6}), totalsOf(day).amount.toString());
    }

    void printRendersEveryRowOnCountedPages()
    {
        // Enough ledger rows for several pages.
        const QSqlDatabase db = DM1()->ADOConnection1();
        for (int i = 0; i < 150; ++i)
            Db::exec(db,
                     "insert into 帐款明细 (id, 客户编号, 客户名称, 应付金额, 付款情况, 日期) "
                     "values (?, 9, '多页', 10000, '未付款', '2024-06-01')",
                     {"批量" + QString::number(i)});
        Tyiri screen;
        screen.show();
        query(&screen, "2024-06-01");
        QCOMPARE(grid(&screen, 3)->rowCount(), 150);
        GridPrinter *ledger = screen.findChild<GridPrinter *>("PrintDBGridEh3");
        QVERIFY(ledger);
        QCOMPARE(ledger->settings().title, QStringLiteral("一日帐款情况汇总"));
        QCOMPARE(ledger->content().rows.size(), 150);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("ledger.pdf"));
        const int pages = ledger->print(&printer);
        QVERIFY(pages > 1);
        QCOMPARE(printer.docName(), QStringLiteral("表格信息"));
        QStringList headers;
        for (int p = 1; p <= pages; ++p)
            headers << QStringLiteral("第%1页 共%2页").arg(p).arg(pages);
        QCOMPARE(ledger->drawnHeaders(), headers); // counted before the first page
        QFile pdf(dir.filePath("ledger.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(int(bytes.count("/Type /Page\n")), pages);
        Db::exec(db, "delete from 帐款明细 where id like '批量%'");
    }

    // Each entry previews its own definition; settings changed there stay with that one
    // definition while the screen is open, and a new screen starts from the defaults.
    void printEntriesAndTheirSettings()
    {
        const QStringList titles {"一日销售情况汇总", "一日维修情况汇总", "一日帐款情况汇总"};
        auto screen = std::make_unique<Tyiri>();
        screen->show();
        auto entry
                = [&](int n) { return screen->findChild<QAction *>(QStringLiteral("N%1").arg(n)); };
        auto definition = [&](int n) {
            return screen->findChild<GridPrinter *>(QStringLiteral("PrintDBGridEh%1").arg(n));
        };
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(definition(n)->settings().title, titles.at(n - 1));
        {
            // Nothing queried yet: no preview of an empty page.
            ModalAnswerer answers;
            answers.strict();
            for (int n = 1; n <= 3; ++n)
                entry(n)->trigger();
            QVERIFY(answers.seen().isEmpty());
        }
        query(screen.get(), "2024-01-05");
        ModalAnswerer answers;
        answers.dialog([](QWidget *preview) {
            preview->findChild<QAction *>("printSettings")->trigger();
            static_cast<QDialog *>(preview)->reject();
        });
        answers.dialog([](QWidget *settings) {
            settings->findChild<QDoubleSpinBox *>("topMargin")->setValue(3.5);
            settings->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        entry(2)->trigger();
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().at(0).title, QStringLiteral("打印预览"));
        QCOMPARE(definition(1)->settings().marginsCm.top(), 2.0);
        QCOMPARE(definition(2)->settings().marginsCm.top(), 3.5);
        QCOMPARE(definition(3)->settings().marginsCm.top(), 2.0);
        screen = std::make_unique<Tyiri>();
        screen->show();
        QCOMPARE(definition(2)->settings().marginsCm.top(), 2.0);
    }
};

QTEST_MAIN(TestYiri)
#include "tst_yiri.moc"
