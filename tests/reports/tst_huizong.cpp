// The period summary: three independent panels, one display area, footers, export and printing.
#include "reportscreens.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/resultset.h"
#include "data/tdm1.h"
#include "export/gridprinter.h"
#include "reports/huizongfrm.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportScreens;

namespace {
// Per panel: pickers, address field, invoice group, 查询 and 显示全部 buttons.
struct PanelNames
{
    int from, to, edit, invoice, query, all;
};
const PanelNames Panels[] = {{1, 2, 1, 2, 1, 2}, {3, 4, 2, 4, 4, 3}, {5, 6, 3, 3, 6, 5}};
const char *const AmountField[] = {"价格", "维修费", "应付金额"};
const char *const Captions[]
        = {"销售情况汇总---双击表格倒出到EXCEL", "维修情况汇总---双击表格倒出到EXCEL",
           "帐款情况汇总---双击表格倒出到EXCEL"};
} // namespace

class TestHuizong : public QObject
{
    Q_OBJECT

    TestFolder *m_folder = nullptr;

    template<typename T>
    static T *child(QWidget *screen, const char *kind, int n)
    {
        return screen->findChild<T *>(QString::fromLatin1(kind) + QString::number(n));
    }
    static DataGrid *grid(QWidget *screen, int panel)
    {
        return child<DataGrid>(screen, "DBGridEh", panel + 1);
    }
    static void choose(QWidget *screen, const QString &group, int item)
    {
        check(screen->findChild<QRadioButton *>(group + "_" + QString::number(item)));
    }
    static void click(QWidget *screen, int button)
    {
        QTest::mouseClick(child<QPushButton>(screen, "BitBtn", button), Qt::LeftButton);
    }
    // Sets a panel's range and address and presses its 查询.
    static void query(QWidget *screen,
                      int panel,
                      const QString &from,
                      const QString &to,
                      const QString &address,
                      int invoice)
    {
        const PanelNames &p = Panels[panel];
        child<QDateEdit>(screen, "DateTimePicker", p.from)
                ->setDate(QDate::fromString(from, Qt::ISODate));
        child<QDateEdit>(screen, "DateTimePicker", p.to)
                ->setDate(QDate::fromString(to, Qt::ISODate));
        auto *edit = child<QLineEdit>(screen, "Edit", p.edit);
        edit->clear();
        typeText(edit, address);
        choose(screen, "RadioGroup" + QString::number(p.invoice), invoice);
        click(screen, p.query);
    }
    static void checkShown(QWidget *screen, int panel)
    {
        for (int i = 0; i < 3; ++i)
            QCOMPARE(grid(screen, i)->isVisible(), i == panel);
        QCOMPARE(screen->findChild<QGroupBox *>("GroupBox4")->title(),
                 QString::fromUtf8(Captions[panel]));
    }
    // The grid lists exactly `expected` (ledger rows by payment state, then date) and its
    // footers total them.
    static void checkGrid(const DataGrid *g, int panel, const QStringList &expected)
    {
        const QStringList got = gridKeys(g);
        if (panel < 2) {
            QCOMPARE(got, expected);
        } else {
            QStringList a = got, b = expected;
            a.sort();
            b.sort();
            QCOMPARE(a, b);
            QString last;
            for (const QString &key : got) {
                const Record &r
                        = *std::find_if(records().begin(), records().end(),
                                        [&](const Record &r) { return ledgerKey(r) == key; });
                const QString order = (r.paid ? "0" : "1") + r.date;
                QVERIFY2(last <= order, qPrintable(got.join(' ')));
                last = order;
            }
        }
        const Totals totals = totalsOf(expected);
        QCOMPARE(footer(g, "电话"), QString::number(totals.count));
        QCOMPARE(footer(g, AmountField[panel]), totals.amount.toString());
        if (panel < 2)
            QCOMPARE(footer(g, "利润"), totals.profit.toString());
    }

private slots:
    void initTestCase()
    {
        m_folder = new TestFolder;
        QVERIFY(m_folder->isValid());
        insert(m_folder->dm()->ADOConnection1());
    }
    void cleanupTestCase() { delete m_folder; }

    void showResetsEveryPanel()
    {
        DM1()->ADOQuery16()->open("select * from 维修记录");
        Thuizong screen;
        screen.show();
        query(&screen, 2, "2024-01-01", "2024-12-31", "村", 0);
        choose(&screen, "RadioGroup1", 2);
        screen.hide();
        screen.show();
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(child<QDateEdit>(&screen, "DateTimePicker", n)->date(), QDate::currentDate());
        for (int n = 1; n <= 3; ++n)
            QVERIFY(child<QLineEdit>(&screen, "Edit", n)->text().isEmpty());
        for (const char *group :
             {"RadioGroup2_2", "RadioGroup3_2", "RadioGroup4_2", "RadioGroup1_0"})
            QVERIFY(screen.findChild<QRadioButton *>(group)->isChecked());
        checkShown(&screen, 0);
        for (int i = 0; i < 3; ++i)
            QVERIFY(!grid(&screen, i)->resultSet()->isOpen());
    }

    void panelQueries_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("invoice"); // 发票已开, 发票未开, 显示全部
        QTest::addColumn<int>("payment"); // 显示全部, 已付款, 未付款
        for (int panel = 0; panel < 3; ++panel) {
            const auto row = [panel](const char *name) -> QTestData & {
                return QTest::addRow("%s %d", name, panel) << panel;
            };
            row("months") << "2024-01-01"
                          << "2024-03-31"
                          << "" << 2 << 0;
            row("single day") << "2024-03-31"
                              << "2024-03-31"
                              << "" << 2 << 0;
            row("reversed") << "2024-03-31"
                            << "2024-01-01"
                            << "" << 2 << 0;
            row("address part") << "2024-01-01"
                                << "2024-12-31"
                                << "城关" << 2 << 0;
            row("percent literal") << "2024-01-01"
                                   << "2024-12-31"
                                   << "100%" << 2 << 0;
            row("underscore literal") << "2024-01-01"
                                      << "2024-12-31"
                                      << "乡_" << 2 << 0;
            row("quote") << "2024-01-01"
                         << "2024-12-31"
                         << "南街'" << 2 << 0;
            row("invoice issued") << "2024-01-01"
                                  << "2024-12-31"
                                  << "" << 0 << 0;
            row("invoice not issued") << "2024-02-01"
                                      << "2024-04-30"
                                      << "村" << 1 << 0;
        }
        QTest::newRow("paid 2") << 2 << "2024-01-01"
                                << "2024-12-31"
                                << "" << 2 << 1;
        QTest::newRow("unpaid without invoice 2") << 2 << "2024-01-01"
                                                  << "2024-12-31"
                                                  << "" << 1 << 2;
    }
    void panelQueries()
    {
        QFETCH(int, panel);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, address);
        QFETCH(int, invoice);
        QFETCH(int, payment);
        Thuizong screen;
        screen.show();
        choose(&screen, "RadioGroup1", payment);
        ModalAnswerer answers;
        answers.strict();
        query(&screen, panel, from, to, address, invoice);
        QVERIFY(answers.seen().isEmpty()); // a quote is no error
        checkShown(&screen, panel);
        checkGrid(grid(&screen, panel), panel, keys([&](const Record &r) {
                      return (panel == 2 || (r.kind == Kind::Sale) == (panel == 0))
                              && r.date >= from && r.date <= to && !r.noAddress
                              && customer(r.customer).address.contains(address)
                              && (invoice == 2 || r.invoice == (invoice == 0))
                              && (panel < 2 || payment == 0 || r.paid == (payment == 1));
                  }));
    }

    void showAllIgnoresRangeAddressAndInvoice_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("payment");
        QTest::newRow("sales") << 0 << 1;
        QTest::newRow("repairs") << 1 << 2;
        QTest::newRow("ledger") << 2 << 0;
        QTest::newRow("ledger paid") << 2 << 1;
        QTest::newRow("ledger unpaid") << 2 << 2;
    }
    void showAllIgnoresRangeAddressAndInvoice()
    {
        QFETCH(int, panel);
        QFETCH(int, payment);
        Thuizong screen;
        screen.show();
        const PanelNames &p = Panels[panel];
        typeText(child<QLineEdit>(&screen, "Edit", p.edit), "不存在的地址");
        choose(&screen, "RadioGroup" + QString::number(p.invoice), 0);
        choose(&screen, "RadioGroup1", payment);
        click(&screen, p.all);
        checkShown(&screen, panel);
        checkGrid(grid(&screen, panel), panel, keys([&](const Record &r) {
                      return (panel == 2 || (r.kind == Kind::Sale) == (panel == 0))
                              && (panel < 2 || payment == 0 || r.paid == (payment == 1));
                  }));
    }

    void panelsKeepTheirOwnRowsAndFiltersAloneReloadNothing()
    {
        Thuizong screen;
        screen.show();
        query(&screen, 0, "2024-02-01", "2024-02-29", "", 2);
        const QStringList sales = gridKeys(grid(&screen, 0));
        QCOMPARE(sales, QStringList({"订购2", "订购3"}));
        choose(&screen, "RadioGroup1", 2);
        query(&screen, 2, "2024-01-01", "2024-12-31", "", 2);
        const QStringList unpaid = gridKeys(grid(&screen, 2));
        checkShown(&screen, 2);
        QCOMPARE(gridKeys(grid(&screen, 0)), sales);
        choose(&screen, "RadioGroup1", 1);
        choose(&screen, "RadioGroup3", 0);
        QCOMPARE(gridKeys(grid(&screen, 2)), unpaid);
    }

    void exportOfTheShownGrid()
    {
        QTemporaryDir dir;
        Thuizong screen;
        screen.show();
        {
            // The sales panel never queried: nothing to export, nothing confirmed.
            ModalAnswerer answers;
            answers.strict();
            QTest::mouseDClick(grid(&screen, 0)->view()->viewport(), Qt::LeftButton);
            QTest::qWait(50);
            QVERIFY(answers.seen().isEmpty());
        }
        choose(&screen, "RadioGroup1", 2);
        click(&screen, 5);
        ModalAnswerer answers;
        answers.file(dir.filePath("ledger")).button(QMessageBox::Ok);
        QTest::mouseDClick(grid(&screen, 2)->view()->viewport(), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().at(0).objectName, QStringLiteral("SaveDialog2"));
        QCOMPARE(answers.seen().at(1).text, QStringLiteral("倒出数据成功！"));
        QCOMPARE(answers.seen().at(1).title, QStringLiteral("提示！"));
        const QStringList unpaid = keys([](const Record &r) { return !r.paid; });
        const Sheet sheet = readXls(dir.filePath("ledger.xls"));
        QCOMPARE(sheetRows(sheet), unpaid.size() + 2);
        QCOMPARE(sheet.at({0, 6}), QStringLiteral("应付金额"));
        QCOMPARE(sheet.at({unpaid.size() + 1, 5}), QStringLiteral("金额合计"));
        QCOMPARE(sheet.at({unpaid.size() + 1, 6}), totalsOf(unpaid).amount.toString());
        for (int row = 1; row <= unpaid.size(); ++row)
            QCOMPARE(sheet.at({row, 7}), QStringLiteral("未付款"));
    }

    // Each entry prints its own panel's last rows under its own title, whichever grid is
    // shown; a panel that never queried prints nothing.
    void printEntriesPrintTheirOwnPanel()
    {
        Thuizong screen;
        screen.show();
        const QStringList titles {"销售情况汇总", "维修情况汇总", "帐款情况汇总"};
        for (int n = 1; n <= 3; ++n) {
            QCOMPARE(child<QAction>(&screen, "N", n)->text(), "打印" + titles.at(n - 1));
            QCOMPARE(child<GridPrinter>(&screen, "PrintDBGridEh", n)->settings().title,
                     titles.at(n - 1));
        }
        {
            ModalAnswerer answers;
            answers.strict();
            child<QAction>(&screen, "N", 1)->trigger();
            QVERIFY(answers.seen().isEmpty());
        }
        query(&screen, 0, "2024-02-01", "2024-02-29", "", 2);
        click(&screen, 5); // the ledger's 显示全部 takes the display area
        checkShown(&screen, 2);
        const PrintContent sales = child<GridPrinter>(&screen, "PrintDBGridEh", 1)->content();
        const int serial = columnOf(grid(&screen, 0), "主机序列号");
        QStringList printed;
        for (const QStringList &row : sales.rows)
            printed << row.at(serial).mid(3);
        QCOMPARE(printed, QStringList({"订购2", "订购3"}));
        QCOMPARE(sales.footer, grid(&screen, 0)->footerTexts());
        ModalAnswerer answers;
        answers.dialog([](QWidget *preview) { static_cast<QDialog *>(preview)->reject(); });
        child<QAction>(&screen, "N", 1)->trigger();
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().at(0).title, QStringLiteral("打印预览"));
    }
};

QTEST_MAIN(TestHuizong)
#include "tst_huizong.moc"
