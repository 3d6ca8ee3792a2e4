// The debt collection screen, driven as the operator drives it.
#include "data/dates.h"
#include "data/ledgerstore.h"
#include "data/repairstore.h"
#include "data/salesstore.h"
#include "data/session.h"
#include "data/transactionscope.h"
#include "support/testfolder.h"
#include "transactions/bushoufrm.h"
#include "txnhelpers.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>

using namespace TxnTest;

namespace {
void sell(qint64 customer, const QString &name, const QString &price, bool paid)
{
    Sale s;
    s.customer = {customer, name, "城关镇东村", "0731-88", "139", {}, {}};
    s.serial = "SN-" + price;
    s.price = *Money::parse(price);
    s.date = QDate(2024, 2, 3);
    s.remark = "备注" + price;
    s.operatorNumber = "0002";
    SalesStore(DM1()->ADOConnection1()).record(s, paid);
}

void repair(qint64 customer, const QString &name, const QString &fee)
{
    Repair r;
    r.customer = {customer, name, "城关镇东村", "0731-88", "139", {}, {}};
    r.serial = "R-" + fee;
    r.fee = *Money::parse(fee);
    r.date = QDate(2024, 2, 4);
    r.operatorNumber = "0002";
    RepairStore(DM1()->ADOConnection1()).record(r, false, true);
}
// Unpaid ledger rows 批1..批n for customer 8, amount i + 0.0001 * i yuan: sums of thousands of
// them are exact only if no amount passes through a double.
Money manyAmount(int i)
{
    return Money::fromUnits(qint64(i) * 10000 + i);
}

void addManyDebts(int n)
{
    QSqlDatabase db = DM1()->ADOConnection1();
    TransactionScope scope(db);
    LedgerStore ledger(db);
    for (int i = 1; i <= n; ++i) {
        LedgerRow row;
        row.key = QStringLiteral("批%1").arg(i, 5, 10, QLatin1Char('0'));
        row.customer = {8, "赵六", "南街", "0731-66", "136", {}, {}};
        row.serial = QStringLiteral("B-%1").arg(i);
        row.amountDue = manyAmount(i);
        row.payment = PaymentState::unpaid();
        row.date = QDate(2024, 3, 1);
        row.operatorNumber = "0002";
        ledger.insert(row);
    }
    scope.commit();
}

Money sumMany(int n)
{
    Money sum;
    for (int i = 1; i <= n; ++i)
        sum += manyAmount(i);
    return sum;
}
} // namespace

class TestBushou : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> m_folder;
    QPointer<Tbushou> m_screen;

    QTreeView *list() const { return child<QTreeView>(m_screen, "ListView1"); }
    QAbstractItemModel *lines() const { return list()->model(); }
    QString text(int line, int column) const
    {
        return lines()->index(line, column).data().toString();
    }
    bool ticked(int line) const
    {
        return lines()->index(line, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    void setTicked(int line, bool on)
    {
        QVERIFY(lines()->flags(lines()->index(line, 0)) & Qt::ItemIsUserCheckable);
        lines()->setData(lines()->index(line, 0), on ? Qt::Checked : Qt::Unchecked,
                         Qt::CheckStateRole);
    }
    // Scrolls down until the view has fetched every line of the listing.
    void scrollToEnd()
    {
        for (int i = 0; i < 20 && lines()->canFetchMore({}); ++i) {
            list()->scrollToBottom();
            QCoreApplication::processEvents();
        }
        list()->scrollToBottom();
        QVERIFY(!lines()->canFetchMore({}));
    }
    QPushButton *button(const char *name) const { return child<QPushButton>(m_screen, name); }
    QString total() const { return child<QLineEdit>(m_screen, "Edit4")->text(); }
    QStringList keys() const
    {
        QStringList k;
        for (int i = 0; i < lines()->rowCount(); ++i)
            k << text(i, 0);
        return k;
    }
    QStringList tickedKeys() const
    {
        QStringList k;
        for (int i = 0; i < lines()->rowCount(); ++i)
            if (ticked(i))
                k << text(i, 0);
        return k;
    }
    void tick(const QString &key)
    {
        for (int i = 0; i < lines()->rowCount(); ++i)
            if (text(i, 0) == key)
                setTicked(i, true);
    }
    QList<ModalAnswerer::Seen> lookUp(const char *edit, const char *button, const QString &text)
    {
        typeInto(m_screen, edit, text);
        return click(this->button(button));
    }
    QString payment(const QString &key) const
    {
        return value("select 付款情况 from 帐款明细 where id = ?", {key}).toString();
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
        Session::current().number = "0009";
        addCustomer(1, "张三");
        addCustomer(2, "李四", "0731-99", "137");
        sell(1, "张三", "100", false); // 订购1
        repair(1, "张三", "250"); // 维修1
        sell(2, "李四", "0.1", false); // 订购2
        sell(2, "李四", "0.2", false); // 订购3
        sell(1, "张三", "50", true); // 订购4: paid at once
        repair(1, "张三", "0"); // 维修2: nothing due
        sell(9, "王五", "70", false); // 订购5: no customer row
        m_screen = new Tbushou;
        m_screen->show();
        QApplication::setActiveWindow(m_screen);
    }
    void cleanup()
    {
        delete m_screen;
        m_folder.reset();
    }

    void lookUpsListTheUnpaidRowsOfTheSearchedValue_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("message");
        const QStringList zhang {"订购1", "维修1"};
        QTest::newRow("number") << "Edit5"
                                << "BitBtn1"
                                << "1" << zhang << "";
        QTest::newRow("name") << "Edit1"
                              << "BitBtn9"
                              << "张三" << zhang << "";
        QTest::newRow("telephone") << "Edit3"
                                   << "BitBtn10"
                                   << "0731-99" << QStringList() << "";
        QTest::newRow("mobile") << "Edit7"
                                << "BitBtn13"
                                << "139"
                                << QStringList {"订购1", "维修1", "订购2", "订购3", "订购5"}
                                << "此客户档案信息不存在！"; // listed all the same
        QTest::newRow("address") << "Edit2"
                                 << "BitBtn11"
                                 << "城关镇东村"
                                 << QStringList {"订购1", "维修1", "订购2", "订购3", "订购5"} << "";
        QTest::newRow("name not on file")
                << "Edit1"
                << "BitBtn9"
                << "王五" << QStringList {"订购5"} << "此客户档案信息不存在！";
        QTest::newRow("empty field") << "Edit3"
                                     << "BitBtn10"
                                     << "" << QStringList() << "请输入检索信息后再回车！";
    }
    void lookUpsListTheUnpaidRowsOfTheSearchedValue()
    {
        QFETCH(QString, edit);
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(QStringList, listed);
        QFETCH(QString, message);
        click(this->button("BitBtn2")); // something listed before: the look-up replaces it
        const auto seen = lookUp(edit.toLatin1().constData(), button.toLatin1().constData(), text);
        QCOMPARE(keys(), message == "请输入检索信息后再回车！" ? keys() : listed);
        QCOMPARE(seen.value(0).text, message);
        if (!message.isEmpty())
            QCOMPARE(seen[0].icon, QMessageBox::Critical);
    }

    void listShowsElevenColumnsAndEnterRules()
    {
        QStringList titles;
        for (int c = 0; c < lines()->columnCount(); ++c)
            titles << lines()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles,
                 QStringList({"ID", "客户编号", "客户名称", "地址", "电话", "手机", "主机序列号",
                              "应付金额", "日期", "备注", "经手人"}));
        typeInto(m_screen, "Edit7", "139");
        pressEnter(m_screen, "Edit7"); // no Enter action on the mobile field
        QVERIFY(keys().isEmpty());
        typeInto(m_screen, "Edit5", "2");
        pressEnter(m_screen, "Edit5");
        QCOMPARE(keys(), QStringList({"订购2", "订购3"}));
        QStringList line;
        for (int c = 0; c < 11; ++c)
            line << text(1, c);
        QCOMPARE(line,
                 QStringList({"订购3", "2", "李四", "城关镇东村", "0731-88", "139", "SN-0.2", "0.2",
                              "2024-02-03", "备注0.2", "0002"}));
    }

    void totalIsExact_data()
    {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("sum");
        QTest::newRow("0.1 + 0.2") << QStringList {"订购2", "订购3"} << "0.3";
        QTest::newRow("100 + 250") << QStringList {"订购1", "维修1"} << "350";
        QTest::newRow("none") << QStringList {} << "0";
    }
    void totalIsExact()
    {
        QFETCH(QStringList, ticked);
        QFETCH(QString, sum);
        click(button("BitBtn2"));
        for (const QString &key : ticked)
            tick(key);
        click(button("BitBtn7"));
        QCOMPARE(total(), sum);
    }

    void nothingToCollectIsRefused_data()
    {
        QTest::addColumn<bool>("withMinus");
        QTest::newRow("nothing ticked") << false;
        QTest::newRow("100 and -100") << true;
    }
    void nothingToCollectIsRefused()
    {
        QFETCH(bool, withMinus);
        if (withMinus)
            sell(1, "张三", "-100", false); // 订购6
        lookUp("Edit5", "BitBtn1", "1");
        if (withMinus) {
            tick("订购1");
            tick("订购6");
        }
        const auto seen = click(button("BitBtn3"));
        QCOMPARE(seen.value(0).text, "无欠款需要补交！");
        QCOMPARE(seen.value(0).title, "提示");
        QCOMPARE(total(), "0");
        QCOMPARE(rows("收款记录"), 1); // only the sale paid at once
    }

    void settleOneCustomer()
    {
        lookUp("Edit1", "BitBtn9", "张三");
        click(button("BitBtn5")); // 全选
        QCOMPARE(tickedKeys(), QStringList({"订购1", "维修1"}));
        const auto seen = click(button("BitBtn3"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, "补收欠款成功！");
        QCOMPARE(seen[0].icon, QMessageBox::Information);
        QCOMPARE(payment("订购1"), "已付款");
        QCOMPARE(payment("维修1"), "已付款");
        QCOMPARE(payment("订购2"), "未付款");
        const QString today = Dates::toText(QDate::currentDate());
        QCOMPARE(value("select group_concat(金额 || 主机序列号 || 日期 || 经手人 || 客户编号, ',') "
                       "from 收款记录 where 经手人 = '0009'")
                         .toString(),
                 "1000000SN-100" + today + "00091,2500000R-250" + today + "00091");
        QVERIFY(keys().isEmpty());
        QVERIFY(child<QLineEdit>(m_screen, "Edit1")->text().isEmpty());
        lookUp("Edit1", "BitBtn9", "张三");
        QVERIFY(keys().isEmpty()); // settled rows are never listed again
    }

    void settleAllAfterUntickingOne()
    {
        click(button("BitBtn2"));
        // By customer name (the engine's order), rows of one name as recorded.
        QCOMPARE(keys(), QStringList({"订购1", "维修1", "订购2", "订购3", "订购5"}));
        click(button("BitBtn5"));
        click(button("BitBtn6")); // 全清
        QVERIFY(tickedKeys().isEmpty());
        click(button("BitBtn5"));
        setTicked(4, false);
        QCOMPARE(click(button("BitBtn3")).value(0).text, "补收欠款成功！");
        QCOMPARE(value("select count(*) from 帐款明细 where 付款情况 = '未付款' and 应付金额 <> 0")
                         .toInt(),
                 1);
        QCOMPARE(payment("订购5"), "未付款");
        QCOMPARE(rows("收款记录"), 5);
    }

    void failedSettlementWritesNothingAndKeepsTheTicks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("second receipt refused")
                << "create trigger refuse before insert on 收款记录 when new.金额 = 2500000 "
                   "begin select raise(abort, '写入被拒绝'); end"
                << "写入被拒绝" << int(QMessageBox::NoIcon);
        QTest::newRow("settled elsewhere")
                << "update 帐款明细 set 付款情况 = '已付款' where id = '维修1'"
                << "维修1 已被修改或已补收" << int(QMessageBox::Critical);
        QTest::newRow("amount corrected elsewhere")
                << "update 帐款明细 set 应付金额 = 10 where id = '维修1'"
                << "维修1 已被修改或已补收" << int(QMessageBox::Critical);
    }
    void failedSettlementWritesNothingAndKeepsTheTicks()
    {
        QFETCH(QString, change);
        QFETCH(QString, message);
        QFETCH(int, icon);
        lookUp("Edit5", "BitBtn1", "1");
        click(button("BitBtn5"));
        Db::exec(DM1()->ADOConnection1(), change);
        const int paidBefore
                = value("select count(*) from 帐款明细 where 付款情况 = '已付款'").toInt();

        const auto seen = click(button("BitBtn3"));
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].text.contains(message), qPrintable(seen[0].text));
        QCOMPARE(int(seen[0].icon), icon);
        QCOMPARE(payment("订购1"), "未付款"); // the first line is rolled back too
        QCOMPARE(value("select count(*) from 帐款明细 where 付款情况 = '已付款'").toInt(),
                 paidBefore);
        QCOMPARE(rows("收款记录"), 1);
        QCOMPARE(tickedKeys(), QStringList({"订购1", "维修1"}));
        QCOMPARE(child<QLineEdit>(m_screen, "Edit5")->text(), "1");
    }

    void listIsASoundModel()
    {
        QAbstractItemModelTester tester(lines(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        click(button("BitBtn2"));
        setTicked(1, true);
        click(button("BitBtn5"));
        setTicked(0, false);
        lookUp("Edit5", "BitBtn1", "2");
        QCOMPARE(keys(), QStringList({"订购2", "订购3"}));
        QVERIFY(tickedKeys().isEmpty()); // a new listing starts unticked
        click(button("BitBtn6"));
        clearFieldsByShowing();
        QCOMPARE(lines()->rowCount(), 0);
    }

    void spaceTicksTheCurrentLine()
    {
        click(button("BitBtn2"));
        list()->setCurrentIndex(lines()->index(3, 0)); // 订购3, 0.2
        QApplication::setActiveWindow(m_screen);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Space);
        QCOMPARE(tickedKeys(), QStringList {"订购3"});
        click(button("BitBtn7"));
        QCOMPARE(total(), "0.2");
        QTest::keyClick(list(), Qt::Key_Space);
        QVERIFY(tickedKeys().isEmpty());
    }

    // Thousands of lines, more than the list keeps in memory at once: ticks are kept by key,
    // so scrolling away and back keeps them, and the totals and settlement are exact.
    void tickAllThenUntickOnThousandsOfLines()
    {
        const int n = 5000;
        addManyDebts(n);
        lookUp("Edit5", "BitBtn1", "8");
        QVERIFY(lines()->rowCount() < n); // the first lines come before the rest is read
        click(button("BitBtn5"));
        setTicked(1, false); // 批00002
        scrollToEnd();
        QCOMPARE(lines()->rowCount(), n);
        setTicked(n - 1, false); // 批05000, read long after the first lines were
        list()->scrollToTop();
        for (int line : {0, 2, n / 2, n - 2})
            QVERIFY2(ticked(line), qPrintable(text(line, 0)));
        QVERIFY(!ticked(1));
        QVERIFY(!ticked(n - 1));
        list()->verticalScrollBar()->setValue(list()->verticalScrollBar()->maximum() / 2);
        QVERIFY(!ticked(n - 1));

        const Money expected = sumMany(n) - manyAmount(2) - manyAmount(n);
        click(button("BitBtn7"));
        QCOMPARE(total(), expected.toString());
        QCOMPARE(click(button("BitBtn3")).value(0).text, "补收欠款成功！");
        QCOMPARE(value("select group_concat(id) from 帐款明细 where 客户编号 = 8 and 付款情况 = "
                       "'未付款'")
                         .toString(),
                 "批00002,批05000");
        QCOMPARE(value("select count(*) || '/' || sum(金额) from 收款记录 where 经手人 = '0009'")
                         .toString(),
                 QString::number(n - 2) + "/" + QString::number(expected.units()));
        QCOMPARE(payment("订购1"), "未付款"); // other customers' rows were not listed
    }

    void explicitTicksSurviveScrolling()
    {
        const int n = 5000;
        addManyDebts(n);
        click(button("BitBtn2"));
        const int first = int(keys().indexOf("批00001"));
        setTicked(first, true);
        scrollToEnd();
        QCOMPARE(text(first + n - 1, 0), "批05000");
        setTicked(first + n - 1, true);
        list()->scrollToTop();
        QCOMPARE(tickedKeys(), QStringList({"批00001", "批05000"}));
        click(button("BitBtn7"));
        QCOMPARE(total(), (manyAmount(1) + manyAmount(n)).toString());
        QCOMPARE(click(button("BitBtn3")).value(0).text, "补收欠款成功！");
        QCOMPARE(value("select group_concat(主机序列号 || ':' || 金额) from 收款记录 where 经手人 "
                       "= '0009'")
                         .toString(),
                 "B-1:10001,B-5000:50005000");
    }

    // A long list ticked as "all but": what is collected must be what was listed and totalled.
    void settlingAllRefusesAListingChangedSinceItWasTotalled_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("row added") << "insert into 帐款明细 (id, 客户编号, 客户名称, 应付金额, "
                                      "付款情况) values ('批99999', 8, '赵六', 10000, '未付款')";
        QTest::newRow("row collected elsewhere")
                << "update 帐款明细 set 付款情况 = '已付款' where id = '批00002'";
        QTest::newRow("amount corrected")
                << "update 帐款明细 set 应付金额 = 10 where id = '批00002'";
    }
    void settlingAllRefusesAListingChangedSinceItWasTotalled()
    {
        QFETCH(QString, change);
        const int n = 300;
        addManyDebts(n);
        lookUp("Edit5", "BitBtn1", "8");
        click(button("BitBtn5"));
        setTicked(0, false);
        click(button("BitBtn7"));
        QCOMPARE(total(), (sumMany(n) - manyAmount(1)).toString());
        Db::exec(DM1()->ADOConnection1(), change);

        const auto seen = click(button("BitBtn3"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, "欠款列表已被修改或已补收，本次补收未执行，请重新查询！");
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QCOMPARE(value("select count(*) from 帐款明细 where 客户编号 = 8 and 付款情况 = '已付款'")
                         .toInt(),
                 change.contains("已付款") ? 1 : 0); // rolled back
        QCOMPARE(rows("收款记录"), 1);
        QVERIFY(!ticked(0));
        QVERIFY(ticked(1));
        QVERIFY(ticked(n - 1));
    }

private:
    void clearFieldsByShowing()
    {
        m_screen->hide();
        m_screen->show();
    }
};

QTEST_MAIN(TestBushou)
#include "tst_bushou.moc"
