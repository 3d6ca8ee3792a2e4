// Payment records: look-ups, all receipts by date, the result list, footer and export.
#include "reportscreens.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/tdm1.h"
#include "reports/jiaokuanjilufrm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace ReportScreens;

class TestJiaokuanjilu : public QObject
{
    Q_OBJECT

    TestFolder *m_folder = nullptr;

    static QLineEdit *edit(QWidget *s, const QString &name)
    {
        return s->findChild<QLineEdit *>(name);
    }
    static DataGrid *receiptsGrid(QWidget *s) { return s->findChild<DataGrid *>("DBGridEh1"); }
    // Serials of the receipts shown, in the grid's order.
    static QStringList shown(QWidget *s)
    {
        const DataGrid *g = receiptsGrid(s);
        const int serial = columnOf(g, "主机序列号");
        QStringList list;
        for (int r = 0; r < g->rowCount(); ++r)
            list << g->cellText(r, serial);
        return list;
    }
    static QStringList receiptsOf(const std::function<bool(const Customer &)> &keep)
    {
        QStringList list;
        for (const Receipt &p : receipts())
            if (keep(customer(p.customer)))
                list << p.serial;
        return list;
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
        Tjiaokuanjilu screen;
        screen.show();
        checkSearchControls(&screen, "GroupBox4");
        if (QTest::currentTestFailed())
            return;
        checkNumberThatIsNone(&screen, [&] { return shown(&screen); });
    }

    void lookUps_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("number") << "Edit4"
                                << "BitBtn1"
                                << "2" << true
                                << receiptsOf([](const Customer &c) { return c.number == 2; });
        QTest::newRow("number never used") << "Edit4"
                                           << "BitBtn1"
                                           << "77" << false << QStringList();
        QTest::newRow("name") << "Edit1"
                              << "BitBtn4"
                              << "张三" << true
                              << receiptsOf([](const Customer &c) { return c.name == "张三"; });
        QTest::newRow("shared telephone")
                << "Edit3"
                << "BitBtn5"
                << "111" << true
                << receiptsOf([](const Customer &c) { return c.telephone == "111"; });
        QTest::newRow("mobile") << "Edit6"
                                << "BitBtn9"
                                << "1394" << true
                                << receiptsOf([](const Customer &c) { return c.number == 4; });
        QTest::newRow("address") << "Edit2"
                                 << "BitBtn6"
                                 << "河口乡_村" << true
                                 << receiptsOf([](const Customer &c) { return c.number == 5; });
        QTest::newRow("no receipts") << "Edit4"
                                     << "BitBtn1"
                                     << "6" << true << QStringList();
    }
    void lookUps()
    {
        QFETCH(QString, field);
        QFETCH(QString, button);
        QFETCH(QString, value);
        QFETCH(bool, found);
        QFETCH(QStringList, expected);
        Tjiaokuanjilu screen;
        screen.show();
        typeText(edit(&screen, field), value);
        ModalAnswerer answers;
        answers.button(QMessageBox::Ok);
        QTest::keyClick(edit(&screen, field), Qt::Key_Return);
        QCOMPARE(answers.seen().size(), found ? 0 : 1);
        if (!found)
            QCOMPARE(answers.seen().at(0).text, QStringLiteral("此客户档案信息不存在！"));
        QCOMPARE(shown(&screen), expected);
        Money sum;
        for (const Receipt &p : receipts())
            if (expected.contains(p.serial))
                sum += *Money::parse(p.amount);
        const DataGrid *g = receiptsGrid(&screen);
        QCOMPARE(footer(g, "客户名称"), QStringLiteral("合计次数"));
        QCOMPARE(footer(g, "地址"), QString::number(expected.size()));
        QCOMPARE(footer(g, "主机序列号"), QStringLiteral("合计金额"));
        QCOMPARE(footer(g, "金额"), sum.toString());
        // The button beside the field does the same.
        QTest::mouseClick(screen.findChild<QPushButton *>(button), Qt::LeftButton);
        QCOMPARE(shown(&screen), expected);
    }

    void allReceiptsByDateKeepOnlyTheMobile()
    {
        Tjiaokuanjilu screen;
        screen.show();
        for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
            typeText(edit(&screen, name), "x");
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn3"), Qt::LeftButton);
        QList<Receipt> byDate = receipts();
        std::stable_sort(byDate.begin(), byDate.end(),
                         [](const Receipt &a, const Receipt &b) { return a.date < b.date; });
        QStringList expected;
        for (const Receipt &p : byDate)
            expected << p.serial;
        QCOMPARE(shown(&screen), expected);
        for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
            QVERIFY(edit(&screen, name)->text().isEmpty());
        QCOMPARE(edit(&screen, "Edit6")->text(), QStringLiteral("x"));
    }

    void choosingFromTheResultList()
    {
        Tjiaokuanjilu screen;
        screen.show();
        screen.findChild<QComboBox *>("ComboBox1")->setCurrentIndex(4); // 客户编号
        typeText(edit(&screen, "Edit5"), "2");
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn7"), Qt::LeftButton);
        auto *list = screen.findChild<DataGrid *>("DBGridEh4");
        QCOMPARE(list->rowCount(), 1);
        list->setCurrentRow(0);
        QTest::mouseDClick(list->view()->viewport(), Qt::LeftButton);
        QCOMPARE(edit(&screen, "Edit1")->text(), QStringLiteral("李四"));
        const QStringList chosen = receiptsOf([](const Customer &c) { return c.number == 2; });
        QCOMPARE(shown(&screen), chosen);
        auto *group = screen.findChild<QGroupBox *>("GroupBox5");
        QVERIFY(!group->isVisible());

        // An empty list empties the five fields and loads nothing: the receipts stay.
        chooseFromAnEmptyList(&screen);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(shown(&screen), chosen);
    }

    void exportSkipsAnEmptyGrid()
    {
        QTemporaryDir dir;
        Tjiaokuanjilu screen;
        screen.show();
        typeText(edit(&screen, "Edit4"), "6");
        QTest::keyClick(edit(&screen, "Edit4"), Qt::Key_Return);
        {
            ModalAnswerer answers;
            answers.strict();
            QTest::mouseDClick(receiptsGrid(&screen)->view()->viewport(), Qt::LeftButton);
            QTest::qWait(50);
            QVERIFY(answers.seen().isEmpty());
        }
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn3"), Qt::LeftButton);
        ModalAnswerer answers;
        answers.file(dir.filePath("all")).button(QMessageBox::Ok);
        QTest::mouseDClick(receiptsGrid(&screen)->view()->viewport(), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().at(1).text, QStringLiteral("导出数据成功！"));
        QCOMPARE(answers.seen().at(1).title, QStringLiteral("提示"));
        Money sum;
        for (const Receipt &p : receipts())
            sum += *Money::parse(p.amount);
        const Sheet sheet = readXls(dir.filePath("all.xls"));
        QCOMPARE(sheetRows(sheet), int(receipts().size()) + 2);
        QCOMPARE(sheet.at({int(receipts().size()) + 1, 6}), sum.toString());
    }
};

QTEST_MAIN(TestJiaokuanjilu)
#include "tst_jiaokuanjilu.moc"
