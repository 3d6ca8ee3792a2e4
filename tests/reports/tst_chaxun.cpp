// Customer history: the look-ups, the invoice filter, the result list, footers and export.
#include "reportscreens.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/resultset.h"
#include "data/tdm1.h"
#include "reports/chaxunfrm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportScreens;

class TestChaxun : public QObject
{
    Q_OBJECT

    TestFolder *m_folder = nullptr;

    static QString text(QWidget *s, const char *edit)
    {
        return s->findChild<QLineEdit *>(edit)->text();
    }
    static void type(QWidget *s, const char *edit, const QString &value)
    {
        auto *e = s->findChild<QLineEdit *>(edit);
        e->clear();
        typeText(e, value);
    }
    static DataGrid *grid(QWidget *s, const char *name) { return s->findChild<DataGrid *>(name); }
    // Sales, repair and ledger keys shown, each sorted.
    static QStringList shown(QWidget *s)
    {
        QStringList all;
        for (const char *name : {"DBGridEh1", "DBGridEh2", "DBGridEh3"}) {
            QStringList keys = gridKeys(grid(s, name));
            keys.sort();
            all << keys.join(',');
        }
        return all;
    }
    static QStringList expected(const std::function<bool(const Record &)> &keep)
    {
        const QStringList sales
                = keys([&](const Record &r) { return r.kind == Kind::Sale && keep(r); });
        const QStringList repairs
                = keys([&](const Record &r) { return r.kind == Kind::Repair && keep(r); });
        QStringList ledger = sales + repairs;
        ledger.sort();
        return {sales.join(','), repairs.join(','), ledger.join(',')};
    }

private slots:
    void initTestCase()
    {
        m_folder = new TestFolder;
        QVERIFY(m_folder->isValid());
        insert(m_folder->dm()->ADOConnection1());
    }
    void cleanupTestCase() { delete m_folder; }

    // The search controls, and a customer number that is not a number refused before any
    // look-up, leaving the records shown as they were.
    void searchControlsAndANumberThatIsNone()
    {
        Tchaxun screen;
        screen.show();
        checkSearchControls(&screen, "GroupBox6");
        if (QTest::currentTestFailed())
            return;
        checkNumberThatIsNone(&screen, [&] { return shown(&screen); });
    }

    void lookUps_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<int>("found"); // customer number filled in, 0: "not found"
        QTest::addColumn<QStringList>("grids");
        const auto of
                = [](int c) { return expected([c](const Record &r) { return r.customer == c; }); };
        QTest::newRow("number") << "Edit4"
                                << "BitBtn1"
                                << "1" << true << 1 << of(1);
        QTest::newRow("number never used") << "Edit4"
                                           << "BitBtn1"
                                           << "99" << false << 0 << of(99);
        QTest::newRow("name") << "Edit1"
                              << "BitBtn3"
                              << "李四" << true << 2 << of(2);
        QTest::newRow("name nobody has")
                << "Edit1"
                << "BitBtn3"
                << "张三丰" << false << 0
                << expected([](const Record &r) { return r.name == "张三丰"; });
        QTest::newRow("shared telephone")
                << "Edit3"
                << "BitBtn4"
                << "111" << true << 1
                << expected([](const Record &r) { return telephoneOf(r) == "111"; });
        QTest::newRow("address with a quote") << "Edit2"
                                              << "BitBtn5"
                                              << "南街'3号" << true << 4 << of(4);
        QTest::newRow("mobile") << "Edit6"
                                << "BitBtn6"
                                << "1395" << false << 5 << of(5);
    }
    void lookUps()
    {
        QFETCH(QString, edit);
        QFETCH(QString, button);
        QFETCH(QString, value);
        QFETCH(bool, byEnter);
        QFETCH(int, found);
        QFETCH(QStringList, grids);
        Tchaxun screen;
        screen.show();
        type(&screen, "Edit5", "旧的");
        type(&screen, edit.toLatin1(), value);
        ModalAnswerer answers;
        answers.button(QMessageBox::Ok);
        if (byEnter)
            QTest::keyClick(screen.findChild<QLineEdit *>(edit), Qt::Key_Return);
        else
            QTest::mouseClick(screen.findChild<QPushButton *>(button), Qt::LeftButton);
        if (found) {
            QVERIFY(answers.seen().isEmpty());
            const Customer &c = customer(found);
            QCOMPARE(text(&screen, "Edit4"), QString::number(c.number));
            QCOMPARE(text(&screen, "Edit1"), edit == "Edit1" ? value : c.name);
            QCOMPARE(text(&screen, "Edit3"), edit == "Edit3" ? value : c.telephone);
            QCOMPARE(text(&screen, "Edit2"), c.address);
            QCOMPARE(text(&screen, "Edit6"), c.mobile);
        } else {
            QCOMPARE(answers.seen().size(), 1);
            QCOMPARE(answers.seen().at(0).text, QStringLiteral("此客户档案信息不存在！"));
            QCOMPARE(answers.seen().at(0).title, QStringLiteral("提示"));
            QCOMPARE(answers.seen().at(0).icon, QMessageBox::Critical);
            for (const char *other : {"Edit4", "Edit1", "Edit3", "Edit2", "Edit6", "Edit5"})
                QCOMPARE(text(&screen, other), other == edit ? value : QString());
        }
        QCOMPARE(shown(&screen), grids);
    }

    void emptyNumberDoesNothing()
    {
        Tchaxun screen;
        screen.show();
        type(&screen, "Edit1", "李四");
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn3"), Qt::LeftButton);
        const QStringList before = shown(&screen);
        ModalAnswerer answers;
        answers.strict();
        QTest::keyClick(screen.findChild<QLineEdit *>("Edit4"), Qt::Key_Return);
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.seen().isEmpty());
        QCOMPARE(text(&screen, "Edit1"), QStringLiteral("李四"));
        QCOMPARE(shown(&screen), before);
    }

    void invoiceFilterAppliesToTheNumberOnly()
    {
        Tchaxun screen;
        screen.show();
        QVERIFY(screen.findChild<QRadioButton *>("RadioGroup1_2")->isChecked());
        check(screen.findChild<QRadioButton *>("RadioGroup1_0"));
        type(&screen, "Edit4", "1");
        QTest::keyClick(screen.findChild<QLineEdit *>("Edit4"), Qt::Key_Return);
        QCOMPARE(shown(&screen),
                 expected([](const Record &r) { return r.customer == 1 && r.invoice; }));
        // The filter alone reloads nothing.
        check(screen.findChild<QRadioButton *>("RadioGroup1_1"));
        QCOMPARE(shown(&screen),
                 expected([](const Record &r) { return r.customer == 1 && r.invoice; }));
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QCOMPARE(shown(&screen),
                 expected([](const Record &r) { return r.customer == 1 && !r.invoice; }));
        // A look-up by name ignores it.
        type(&screen, "Edit1", "张三");
        QTest::keyClick(screen.findChild<QLineEdit *>("Edit1"), Qt::Key_Return);
        QCOMPARE(shown(&screen), expected([](const Record &r) { return nameOf(r) == "张三"; }));
        // Ledger rows come grouped by payment state, paid first.
        const DataGrid *ledger = grid(&screen, "DBGridEh3");
        const int state = columnOf(ledger, "付款情况");
        QStringList states;
        for (int r = 0; r < ledger->rowCount(); ++r)
            states << ledger->cellText(r, state);
        QCOMPARE(states, QStringList({"已付款", "已付款", "已付款", "未付款"}));
    }

    void footersTotalTheWholeResult()
    {
        Tchaxun screen;
        screen.show();
        type(&screen, "Edit4", "1");
        QTest::keyClick(screen.findChild<QLineEdit *>("Edit4"), Qt::Key_Return);
        const DataGrid *sales = grid(&screen, "DBGridEh1");
        const Totals t = totalsOf(
                keys([](const Record &r) { return r.customer == 1 && r.kind == Kind::Sale; }));
        QCOMPARE(footer(sales, "客户名称"), QStringLiteral("合计次数"));
        QCOMPARE(footer(sales, "地址"), QString::number(t.count));
        QCOMPARE(footer(sales, "主机序列号"), QStringLiteral("合计金额"));
        QCOMPARE(footer(sales, "价格"), t.amount.toString());
        QCOMPARE(footer(sales, "利润"), t.profit.toString());
        QCOMPARE(t.amount.toString(), QStringLiteral("4700.5001")); // exact, no rounding
        const DataGrid *repairs = grid(&screen, "DBGridEh2");
        const Totals r = totalsOf(
                keys([](const Record &r) { return r.customer == 1 && r.kind == Kind::Repair; }));
        QCOMPARE(footer(repairs, "客户名称"), QStringLiteral("维修次数"));
        QCOMPARE(footer(repairs, "维修项目"), QStringLiteral("维修费合计"));
        QCOMPARE(footer(repairs, "维修费"), r.amount.toString());
        const DataGrid *ledger = grid(&screen, "DBGridEh3");
        QCOMPARE(footer(ledger, "客户名称"), QStringLiteral("合计笔数"));
        QCOMPARE(footer(ledger, "地址"), QString::number(t.count + r.count));
        QCOMPARE(footer(ledger, "应付金额"), QString()); // only counted
    }

    void choosingFromTheResultList()
    {
        Tchaxun screen;
        screen.show();
        auto *columns = screen.findChild<QComboBox *>("ComboBox1");
        QCOMPARE(columns->count(), 5);
        QCOMPARE(columns->currentText(), QStringLiteral("客户名称"));
        columns->setCurrentIndex(2);
        QCOMPARE(columns->currentText(), QStringLiteral("电话"));
        type(&screen, "Edit5", "11");
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn7"), Qt::LeftButton);
        auto *group = screen.findChild<QGroupBox *>("GroupBox5");
        QVERIFY(group->isVisible());
        DataGrid *list = grid(&screen, "DBGridEh4");
        QCOMPARE(list->rowCount(), 2); // 张三 and 王五 share 111
        list->setCurrentRow(1);
        QTest::mouseDClick(list->view()->viewport(), Qt::LeftButton);
        QVERIFY(!group->isVisible());
        QCOMPARE(text(&screen, "Edit4"), QStringLiteral("3"));
        QCOMPARE(text(&screen, "Edit1"), QStringLiteral("王五"));
        QCOMPARE(shown(&screen), expected([](const Record &r) { return r.customer == 3; }));

        // An empty list gives no customer: the fields empty, the grids stay, no error.
        chooseFromAnEmptyList(&screen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(shown(&screen), expected([](const Record &r) { return r.customer == 3; }));
    }

    void exportSkipsAnEmptyGrid()
    {
        QTemporaryDir dir;
        Tchaxun screen;
        screen.show();
        type(&screen, "Edit4", "6"); // a customer without records
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        {
            ModalAnswerer answers;
            answers.strict();
            QTest::mouseDClick(grid(&screen, "DBGridEh1")->view()->viewport(), Qt::LeftButton);
            QTest::qWait(50);
            QVERIFY(answers.seen().isEmpty());
        }
        type(&screen, "Edit4", "2");
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        ModalAnswerer answers;
        answers.file(dir.filePath("sales")).button(QMessageBox::Ok);
        QTest::mouseDClick(grid(&screen, "DBGridEh1")->view()->viewport(), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().at(0).objectName, QStringLiteral("SaveDialog1"));
        QCOMPARE(answers.seen().at(1).title, QStringLiteral("提示"));
        QCOMPARE(answers.seen().at(1).text, QStringLiteral("导出数据成功！"));
        const QStringList sales
                = keys([](const Record &r) { return r.customer == 2 && r.kind == Kind::Sale; });
        const Sheet sheet = readXls(dir.filePath("sales.xls"));
        QCOMPARE(sheetRows(sheet), sales.size() + 2);
        QCOMPARE(sheet.at({sales.size() + 1, 9}), totalsOf(sales).amount.toString());
    }
};

QTEST_MAIN(TestChaxun)
#include "tst_chaxun.moc"
