// The repair entry screen, driven as the operator drives it.
#include "data/money.h"
#include "data/salesstore.h"
#include "data/session.h"
#include "data/settingsfile.h"
#include "support/testfolder.h"
#include "transactions/weixiufrm.h"
#include "txnhelpers.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using namespace TxnTest;

class TestWeixiu : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> m_folder;
    QPointer<Tweixiu> m_screen;

    Tweixiu *open()
    {
        m_screen = new Tweixiu;
        m_screen->show();
        QApplication::setActiveWindow(m_screen);
        return m_screen;
    }
    QPushButton *save() const { return child<QPushButton>(m_screen, "BitBtn2"); }
    QTreeWidget *items() const { return child<QTreeWidget>(m_screen, "ListView1"); }
    QString text(const char *name) const { return child<QLineEdit>(m_screen, name)->text(); }
    void setPaid(bool paid) { m_screen->findChildren<QRadioButton *>()[paid ? 0 : 1]->click(); }
    void tick(const QList<int> &rows)
    {
        for (int row : rows)
            items()->topLevelItem(row)->setCheckState(0, Qt::Checked);
    }
    QList<int> ticked() const
    {
        QList<int> rows;
        for (int i = 0; i < items()->topLevelItemCount(); ++i)
            if (items()->topLevelItem(i)->checkState(0) == Qt::Checked)
                rows << i;
        return rows;
    }
    void takeCustomer(const QString &number)
    {
        typeInto(m_screen, "Edit6", number);
        pressEnter(m_screen, "Edit6");
    }
    void typeRepair(const QString &fee)
    {
        takeCustomer("1");
        typeInto(m_screen, "Edit8", "NEW'SN");
        typeInto(m_screen, "Edit5", fee);
        child<QDateEdit>(m_screen, "DateTimePicker1")->setDate(QDate(2024, 7, 8));
        child<QPlainTextEdit>(m_screen, "Memo1")->setPlainText(QString(5000, u'长'));
        typeInto(m_screen, "Edit11", "FP-7");
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
        Session::current().number = "0003";
        addCustomer(1, "张三");
        addCustomer(2, "李四", "0731-99", "137");
        Sale bought;
        bought.customer.number = 1;
        bought.serial = "OLD-SN";
        bought.date = QDate(2023, 1, 1);
        SalesStore(DM1()->ADOConnection1()).record(bought, true);
        Sale later = bought;
        later.serial = "LATER-SN";
        SalesStore(DM1()->ADOConnection1()).record(later, true);
    }
    void cleanup()
    {
        delete m_screen;
        m_folder.reset();
    }

    void saveWritesRepairLedgerAndReceipt_data()
    {
        QTest::addColumn<bool>("paid");
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QList<int>>("tickedRows");
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("receipts");
        QTest::newRow("paid") << true << "80.5" << QList<int> {0} << "  主机" << 1;
        QTest::newRow("paid, fee 0: no receipt") << true << "0" << QList<int> {1} << "  键盘" << 0;
        QTest::newRow("paid, fee 0.0: receipt") << true << "0.0" << QList<int> {1} << "  键盘" << 1;
        QTest::newRow("paid, fee 00: receipt") << true << "00" << QList<int> {1} << "  键盘" << 1;
        QTest::newRow("unpaid, three items")
                << false << "80" << QList<int> {4, 0, 2} << "  主机  显示器  系统" << 0;
    }
    void saveWritesRepairLedgerAndReceipt()
    {
        QFETCH(bool, paid);
        QFETCH(QString, fee);
        QFETCH(QList<int>, tickedRows);
        QFETCH(QString, items);
        QFETCH(int, receipts);
        open();
        QCOMPARE(this->items()->topLevelItemCount(), 6);
        QVERIFY(!save()->isEnabled());
        takeCustomer("1");
        QVERIFY(save()->isEnabled());
        QCOMPARE(focused(m_screen), "Edit4");
        QCOMPARE(text("Edit4"), "OLD-SN"); // from the customer's first sale
        QCOMPARE(text("Edit8"), "OLD-SN");
        typeRepair(fee);
        tick(tickedRows);
        setPaid(paid);

        const auto seen = click(save());
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, "维修资料录入成功！");
        QCOMPARE(seen[0].title, "提示");
        QCOMPARE(seen[0].icon, QMessageBox::Information);

        const qint64 units = Money::parse(fee)->units();
        QCOMPARE(value("select 维修项目 from 维修记录 where id = 1").toString(), items);
        QCOMPARE(value("select 客户编号 || 客户名称 || 身份证号 || 出生年 || 主机序列号 || 维修费 "
                       "|| 利润 || 发票 || 发票号码 || 日期 || 经手人 from 维修记录")
                         .toString(),
                 QStringLiteral("1张三联系人张三TAX1NEW'SN") + QString::number(units)
                         + "01FP-72024-07-080003");
        QCOMPARE(value("select length(备注) from 维修记录").toInt(), 5000);
        QCOMPARE(value("select id || 付款情况 || 应付金额 || 主机序列号 || 发票 || 经手人 "
                       "from 帐款明细 where id like '维修%'")
                         .toString(),
                 QStringLiteral("维修1") + (paid ? "已付款" : "未付款") + QString::number(units)
                         + "NEW'SN10003");
        QCOMPARE(value("select count(*) from 收款记录 where 经手人 = '0003'").toInt(), receipts);
        if (receipts)
            QCOMPARE(value("select 金额 || 主机序列号 || 日期 from 收款记录 where 经手人 = '0003'")
                             .toString(),
                     QString::number(units) + "NEW'SN2024-07-08");

        // Ready for the next repair.
        QCOMPARE(focused(m_screen), "Edit6");
        QCOMPARE(child<QDateEdit>(m_screen, "DateTimePicker1")->date(), QDate::currentDate());
        QVERIFY(ticked().isEmpty());
        QVERIFY(!save()->isEnabled());
        for (const char *name : {"Edit1", "Edit4", "Edit5", "Edit6", "Edit8", "Edit11", "Edit12"})
            QVERIFY2(text(name).isEmpty(), name);
    }

    void refusedSaveWritesNothingAndKeepsTheForm_data()
    {
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QString>("profit");
        QTest::addColumn<bool>("tickItem");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("no fee") << " "
                                << "" << true << ""
                                << ""
                                << "提示"
                                << "信息不完整！";
        QTest::newRow("no item") << "5"
                                 << "" << false << ""
                                 << ""
                                 << "提示"
                                 << "请选择维修项目！";
        QTest::newRow("fee -") << "-"
                               << "" << true << ""
                               << ""
                               << "提示"
                               << "维修费不是有效的金额！";
        QTest::newRow("profit 1.2.3") << "5"
                                      << "1.2.3" << true << ""
                                      << ""
                                      << "提示"
                                      << "利润不是有效的金额！";
        QTest::newRow("unknown number") << "5"
                                        << "" << true << "42"
                                        << ""
                                        << "提示！"
                                        << "此客户不存在!";
        QTest::newRow("ledger refused") << "5"
                                        << "" << true << ""
                                        << "帐款明细"
                                        << ""
                                        << "写入被拒绝";
        QTest::newRow("receipt refused") << "5"
                                         << "" << true << ""
                                         << "收款记录"
                                         << ""
                                         << "写入被拒绝";
    }
    void refusedSaveWritesNothingAndKeepsTheForm()
    {
        QFETCH(QString, fee);
        QFETCH(QString, profit);
        QFETCH(bool, tickItem);
        QFETCH(QString, number);
        QFETCH(QString, refused);
        QFETCH(QString, title);
        QFETCH(QString, message);
        open();
        setPaid(true);
        typeRepair(fee);
        typeInto(m_screen, "Edit12", profit);
        if (tickItem)
            tick({1});
        if (!number.isEmpty())
            typeInto(m_screen, "Edit6", number);
        if (!refused.isEmpty())
            refuseInserts(refused.toUtf8().constData());
        const int before = rowsOfAllTables();

        const auto seen = click(save());
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].text.contains(message), qPrintable(seen[0].text));
        if (!title.isEmpty()) {
            QCOMPARE(seen[0].title, title);
            QCOMPARE(seen[0].icon, QMessageBox::Critical);
        } else {
            QCOMPARE(seen[0].icon, QMessageBox::NoIcon);
        }
        QCOMPARE(rowsOfAllTables(), before);
        QCOMPARE(rows("维修记录"), 0);
        QCOMPARE(text("Edit8"), "NEW'SN");
        QCOMPARE(text("Edit11"), "FP-7");
        QCOMPARE(ticked(), tickItem ? QList<int> {1} : QList<int> {});
        QVERIFY(save()->isEnabled());

        if (!refused.isEmpty()) {
            Db::exec(DM1()->ADOConnection1(), "drop trigger refuse");
            QCOMPARE(click(save()).value(0).text, "维修资料录入成功！");
            QCOMPARE(rows("维修记录"), 1);
        }
    }

    void serialFollowsTheCustomerAndEnterChain()
    {
        open();
        takeCustomer("2"); // bought nothing here
        QVERIFY(text("Edit4").isEmpty());
        takeCustomer("1");
        QCOMPARE(text("Edit4"), "OLD-SN");
        typeInto(m_screen, "Edit4", "X");
        QCOMPARE(text("Edit8"), "X"); // the new serial follows the old one
        typeInto(m_screen, "Edit8", "Y");
        QCOMPARE(text("Edit4"), "X");
        child<QLineEdit>(m_screen, "Edit4")->setFocus(); // moving back in restores both
        QCOMPARE(text("Edit4"), "OLD-SN");
        QCOMPARE(text("Edit8"), "OLD-SN");

        const QStringList chain {"Edit4", "Edit8",  "Edit5",  "DateTimePicker1",
                                 "Memo1", "Edit11", "Edit12", "BitBtn2"};
        for (qsizetype i = 0; i + 1 < chain.size(); ++i) {
            pressEnter(m_screen, chain[i].toLatin1().constData());
            QCOMPARE(focused(m_screen), chain[i + 1]);
        }
        // Enter on "保存", where the chain ends, saves: here the fee is still missing.
        QCOMPARE(answered([this] { pressEnter(m_screen, "BitBtn2"); }).value(0).text,
                 "信息不完整！");
        typeInto(m_screen, "Edit5", "8x0");
        QCOMPARE(text("Edit5"), "80");

        // Without a customer taken, Enter in the profit does not reach the save button.
        typeInto(m_screen, "Edit2", "改过的地址"); // the address is editable here
        QCOMPARE(text("Edit2"), "改过的地址");
        QCOMPARE(answered([this] {
                     typeInto(m_screen, "Edit1", "无此人");
                     pressEnter(m_screen, "Edit1");
                 })
                         .value(0)
                         .text,
                 "此客户不存在!");
        pressEnter(m_screen, "Edit12");
        QCOMPARE(focused(m_screen), "Edit12");
    }

    void paymentStateAndItemsAreReadOnEachOpening()
    {
        open();
        setPaid(false);
        m_screen->close();
        QTRY_VERIFY(!m_screen);
        QCOMPARE(SettingsFile::programSettings().read("维修付款"), "未付款");
        Db::exec(DM1()->ADOConnection1(), "insert into 维修项目 (维修项目) values ('电源')");
        open();
        QVERIFY(m_screen->findChildren<QRadioButton *>()[1]->isChecked());
        QCOMPARE(items()->topLevelItemCount(), 7);
        QCOMPARE(items()->topLevelItem(6)->text(0), "电源");
    }
};

QTEST_MAIN(TestWeixiu)
#include "tst_weixiu.moc"
