// The sales and repair correction screens and their dialogs, driven as the operator drives them.
#include "data/repairstore.h"
#include "data/resultset.h"
#include "data/salesstore.h"
#include "data/session.h"
#include "support/testfolder.h"
#include "transactions/dingxiugaifrm.h"
#include "transactions/weixiugaifrm.h"
#include "transactions/xiugaidinggoujilufrm.h"
#include "transactions/xiugaiweixiujilufrm.h"
#include "txnhelpers.h"
#include "ui/datagrid.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <algorithm>

using namespace TxnTest;

namespace {

const QDate Day(2024, 3, 5);

// What differs between the two halves under test, so each case runs on both.
struct Kind
{
    bool repairs;
    const char *table;
    const char *amountField; // the dialog's price or fee
    const char *amountColumn;
    const char *deleteButton;
    const char *fuzzyButton;
    QString successText;

    static Kind of(const QString &name)
    {
        if (name == QLatin1String("repairs"))
            return {true,
                    "维修记录",
                    "Edit5",
                    "维修费",
                    "BitBtn9",
                    "BitBtn7",
                    QStringLiteral("修改维修记录成功！")};
        return {false,
                "dinggou",
                "Edit6",
                "价格",
                "BitBtn3",
                "BitBtn1",
                QStringLiteral("修改订购（销售）记录成功！")};
    }
    QString key(qint64 id) const
    {
        return repairs ? LedgerStore::repairKey(id) : LedgerStore::salesKey(id);
    }
    CorrectionDialog *dialog() const
    {
        return repairs ? static_cast<CorrectionDialog *>(xiugaiweixiujilu())
                       : static_cast<CorrectionDialog *>(xiugaidinggoujilu());
    }
};

// Every column of the rows a statement selects, as text, to compare before and after.
QStringList snapshot(const QString &sql)
{
    QSqlQuery q = Db::exec(DM1()->ADOConnection1(), sql);
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        rows << cells.join(u'|');
    }
    return rows;
}

QStringList everything()
{
    return snapshot("select * from dinggou order by id")
            + snapshot("select * from 维修记录 order by id")
            + snapshot("select * from 帐款明细 order by id")
            + snapshot("select * from 收款记录 order by rowid");
}

QStringList receipts()
{
    return snapshot("select * from 收款记录 order by rowid");
}

QVariant column(const Kind &kind, qint64 id, const char *name)
{
    return value(QStringLiteral("select %1 from %2 where id = ?")
                         .arg(QString::fromUtf8(name), QString::fromUtf8(kind.table)),
                 {id});
}

QVariant ledger(const QString &key, const char *name)
{
    return value(
            QStringLiteral("select %1 from 帐款明细 where id = ?").arg(QString::fromUtf8(name)),
            {key});
}

CustomerCopy customer(qint64 number, const QString &name, const QString &phone)
{
    return {number,
            name,
            QStringLiteral("城关镇东村"),
            phone,
            QStringLiteral("139") + phone.right(4),
            QStringLiteral("联系人") + name,
            QStringLiteral("TAX%1").arg(number)};
}

void recordSale(const CustomerCopy &c, const QString &price, bool paid, const QString &invoice)
{
    Sale s;
    s.customer = c;
    s.model = QStringLiteral("联想 M'1");
    s.serial = QStringLiteral("SN-") + c.name;
    s.price = *Money::parse(price);
    s.profit = *Money::parse(QStringLiteral("300"));
    s.serviceStaff = QStringLiteral("小张");
    s.invoiceNumber = invoice;
    s.remark = QStringLiteral("第一行\n第二行");
    s.date = Day;
    s.operatorNumber = QStringLiteral("0002");
    SalesStore(DM1()->ADOConnection1()).record(s, paid);
}

void recordRepair(const CustomerCopy &c, const QString &fee, bool paid)
{
    Repair r;
    r.customer = c;
    r.serial = QStringLiteral("NEW-") + c.name;
    r.items = Repair::itemsText({QStringLiteral("主机"), QStringLiteral("键盘")});
    r.fee = *Money::parse(fee);
    r.profit = *Money::parse(QStringLiteral("20"));
    r.remark = QStringLiteral("坏了");
    r.date = Day;
    r.operatorNumber = QStringLiteral("0003");
    RepairStore(DM1()->ADOConnection1()).record(r, paid, true);
}

QStringList listedNames(CorrectionScreen *screen)
{
    QStringList names;
    for (int row = 0; row < screen->grid()->rowCount(); ++row)
        names << screen->grid()->cellText(row, 1);
    return names;
}

int rowOf(CorrectionScreen *screen, qint64 id)
{
    for (int row = 0; row < screen->list()->rowCount(); ++row) {
        if (screen->list()->value(row, QStringLiteral("id")).toLongLong() == id)
            return row;
    }
    return -1;
}

void doubleClickRow(DataGrid *grid, int row)
{
    QTableView *view = grid->view();
    const QModelIndex index = view->model()->index(row, 1);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

QString fieldText(QWidget *dialog, const char *name)
{
    return child<QLineEdit>(dialog, name)->text();
}

} // namespace

class TestCorrection : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> m_folder;
    QPointer<CorrectionScreen> m_screen;

    CorrectionScreen *openScreen(const Kind &kind)
    {
        if (kind.repairs)
            m_screen = new Tweixiugai;
        else
            m_screen = new Tdingxiugai;
        m_screen->show();
        QApplication::setActiveWindow(m_screen);
        return m_screen;
    }

    // Fills the reused dialog for record `id` and shows it without a modal loop, so the test
    // can type into it and click as the operator does.
    CorrectionDialog *showDialog(const Kind &kind, qint64 id)
    {
        CorrectionDialog *dialog = kind.dialog();
        if (!dialog->load(id))
            qWarning("no record %lld", id);
        dialog->show();
        QApplication::setActiveWindow(dialog);
        return dialog;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
        Session::current().number = QStringLiteral("0009"); // who corrects is never written
        const CustomerCopy zhang = customer(1, QStringLiteral("张三"), QStringLiteral("0731-1111"));
        const CustomerCopy li = customer(2, QStringLiteral("李四"), QStringLiteral("0731-2222"));
        addCustomer(1, zhang.name, zhang.phone, zhang.mobile);
        addCustomer(2, li.name, li.phone, li.mobile);
        // Sales and repairs share the numbers 1 and 2, so their ledger keys differ by word only.
        recordSale(zhang, "3500", true, QStringLiteral("F1"));
        recordSale(li, "800", false, {});
        recordRepair(zhang, "120", true);
        recordRepair(li, "50", false);
        // A sale whose name no customer carries (any more).
        recordSale(customer(3, QStringLiteral("王五"), QStringLiteral("0731-3333")), "10", false,
                   {});
    }

    void cleanup()
    {
        delete m_screen;
        xiugaidinggoujilu()->hide();
        xiugaiweixiujilu()->hide();
        m_folder.reset();
    }

    void screenListsEveryRecordByName_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("sales") << "sales"
                               << "订购（销售）记录修改"
                               << QStringList {"客户编号",   "客户名称", "联系人",   "电话",
                                               "手机",       "地址",     "单位税号", "订购型号",
                                               "主机序列号", "价格",     "日期",     "备注",
                                               "利润"}
                               << QStringList {"张三", "李四", "王五"};
        QTest::newRow("repairs") << "repairs"
                                 << "维修记录修改"
                                 << QStringList {"客户编号",   "客户名称", "联系人",   "电话",
                                                 "手机",       "地址",     "单位税号", "维修项目",
                                                 "主机序列号", "维修费",   "日期",     "备注",
                                                 "发票号码",   "利润"}
                                 << QStringList {"张三", "李四"};
    }

    void screenListsEveryRecordByName()
    {
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, names);
        CorrectionScreen *screen = openScreen(Kind::of(kind));
        QCOMPARE(screen->windowTitle(), caption);
        QStringList shown;
        for (const GridColumn &c : screen->grid()->columns())
            shown << c.title;
        QCOMPARE(shown, titles);
        // The engine's order of these names, whatever it is, is what the list shows.
        std::sort(names.begin(), names.end());
        QCOMPARE(listedNames(screen), names);
        QVERIFY(!child<QGroupBox>(screen, "GroupBox5")->isVisible());

        // A look-up narrows the list; "刷新" widens it again.
        typeInto(screen, "Edit1", QStringLiteral("李四"));
        pressEnter(screen, "Edit1");
        QCOMPARE(listedNames(screen), QStringList {QStringLiteral("李四")});
        QTest::mouseClick(child<QPushButton>(screen, "BitBtn10"), Qt::LeftButton);
        QCOMPARE(listedNames(screen), names);
    }

    void lookUpListsRecordsByTypedValue_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        const QString none = QStringLiteral("此客户档案信息不存在！");
        QTest::newRow("sales by number")
                << "sales" << QByteArray("Edit4") << "2" << QStringList {"李四"} << QString();
        QTest::newRow("sales by telephone") << "sales" << QByteArray("Edit3") << "0731-1111"
                                            << QStringList {"张三"} << QString();
        QTest::newRow("sales by mobile")
                << "sales" << QByteArray("Edit6") << "1392222" << QStringList {"李四"} << QString();
        // No customer carries the name any more, but the sale does: it is still listed.
        QTest::newRow("sales by a name no customer has")
                << "sales" << QByteArray("Edit1") << "王五" << QStringList {"王五"} << none;
        QTest::newRow("repairs by address") << "repairs" << QByteArray("Edit2") << "城关镇东村"
                                            << QStringList {"张三", "李四"} << QString();
        QTest::newRow("repairs by number")
                << "repairs" << QByteArray("Edit4") << "1" << QStringList {"张三"} << QString();
        QTest::newRow("repairs by unknown telephone")
                << "repairs" << QByteArray("Edit3") << "999" << QStringList {} << none;
    }

    void lookUpListsRecordsByTypedValue()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, field);
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        CorrectionScreen *screen = openScreen(Kind::of(kind));
        typeInto(screen, field.constData(), typed);
        const QList<ModalAnswerer::Seen> seen
                = answered([&] { pressEnter(screen, field.constData()); });
        QCOMPARE(seen.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(seen[0].text, message);
        QStringList listed = listedNames(screen);
        std::sort(listed.begin(), listed.end());
        std::sort(names.begin(), names.end());
        QCOMPARE(listed, names);
    }

    void emptyNumberLookUpKeepsTheList()
    {
        CorrectionScreen *screen = openScreen(Kind::of("sales"));
        typeInto(screen, "Edit1", QStringLiteral("李四"));
        pressEnter(screen, "Edit1");
        typeInto(screen, "Edit4", {});
        const auto seen = click(child<QPushButton>(screen, "BitBtn5"));
        QVERIFY(seen.isEmpty());
        QCOMPARE(listedNames(screen), QStringList {QStringLiteral("李四")});
    }

    void customerTakenFromFuzzyListLoadsByName_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("sales") << "sales";
        QTest::newRow("repairs") << "repairs";
    }

    void customerTakenFromFuzzyListLoadsByName()
    {
        QFETCH(QString, kind);
        const Kind k = Kind::of(kind);
        CorrectionScreen *screen = openScreen(k);
        typeInto(screen, "Edit5", QStringLiteral("四"));
        QTest::mouseClick(child<QPushButton>(screen, k.fuzzyButton), Qt::LeftButton);
        auto *results = child<DataGrid>(screen, "DBGridEh4");
        QVERIFY(child<QGroupBox>(screen, "GroupBox5")->isVisible());
        QCOMPARE(results->rowCount(), 1);
        doubleClickRow(results, 0);
        QVERIFY(!child<QGroupBox>(screen, "GroupBox5")->isVisible());
        QCOMPARE(fieldText(screen, "Edit1"), QStringLiteral("李四"));
        QCOMPARE(listedNames(screen), QStringList {QStringLiteral("李四")});
    }

    void correctingTheAmountKeepsPaymentOperatorAndReceipt_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("oldAmount");
        QTest::newRow("unpaid sale") << "sales" << qint64(2) << "未付款"
                                     << "800";
        QTest::newRow("paid sale") << "sales" << qint64(1) << "已付款"
                                   << "3500";
        QTest::newRow("unpaid repair") << "repairs" << qint64(2) << "未付款"
                                       << "50";
        QTest::newRow("paid repair") << "repairs" << qint64(1) << "已付款"
                                     << "120";
    }

    void correctingTheAmountKeepsPaymentOperatorAndReceipt()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, id);
        QFETCH(QString, payment);
        QFETCH(QString, oldAmount);
        const Kind k = Kind::of(kind);
        CorrectionScreen *screen = openScreen(k);
        const QStringList receiptsBefore = receipts();
        const QVariant staffBefore = k.repairs ? QVariant() : column(k, id, "客服人员");
        const QString operatorBefore = column(k, id, "经手人").toString();

        QStringList filled;
        ModalAnswerer answers;
        answers.dialog([&](QWidget *dialog) {
            filled << fieldText(dialog, "Edit7") << fieldText(dialog, "Edit1")
                   << fieldText(dialog, "Edit9") << fieldText(dialog, "Edit10")
                   << fieldText(dialog, k.amountField)
                   << child<QDateEdit>(dialog, "DateTimePicker1")->date().toString(Qt::ISODate);
            typeInto(dialog, k.amountField, QStringLiteral("4200.5"));
            QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        });
        doubleClickRow(screen->grid(), rowOf(screen, id));
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen()[1].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[1].text, k.successText);
        QCOMPARE(answers.seen()[1].icon, QMessageBox::Information);

        const CustomerCopy expected = id == 1
                ? customer(1, QStringLiteral("张三"), QStringLiteral("0731-1111"))
                : customer(2, QStringLiteral("李四"), QStringLiteral("0731-2222"));
        QCOMPARE(filled,
                 (QStringList {QString::number(id), expected.name, expected.contact,
                               expected.taxNumber, oldAmount, "2024-03-05"}));

        const qint64 units = Money::parse(QStringLiteral("4200.5"))->units();
        QCOMPARE(column(k, id, k.amountColumn).toLongLong(), units);
        QCOMPARE(ledger(k.key(id), "应付金额").toLongLong(), units);
        QCOMPARE(ledger(k.key(id), "付款情况").toString(), payment);
        QCOMPARE(ledger(k.key(id), "经手人").toString(), operatorBefore);
        QCOMPARE(column(k, id, "经手人").toString(), operatorBefore);
        if (!k.repairs)
            QCOMPARE(column(k, id, "客服人员"), staffBefore);
        QCOMPARE(receipts(), receiptsBefore);
        // The list was read again: it shows what is stored, not the old snapshot.
        const int row = rowOf(screen, id);
        QCOMPARE(screen->grid()->cellText(row, 9), QStringLiteral("4200.5")); // 价格 / 维修费
    }

    void invoiceFlagFollowsInvoiceNumber_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<QString>("invoice");
        QTest::addColumn<bool>("flag");
        QTest::newRow("sale: cleared") << "sales" << qint64(1) << "" << false;
        QTest::newRow("sale: set") << "sales" << qint64(2) << "F-9" << true;
        QTest::newRow("repair: set") << "repairs" << qint64(2) << "R'7" << true;
    }

    void invoiceFlagFollowsInvoiceNumber()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, id);
        QFETCH(QString, invoice);
        QFETCH(bool, flag);
        const Kind k = Kind::of(kind);
        CorrectionDialog *dialog = showDialog(k, id);
        typeInto(dialog, "Edit11", invoice);
        const auto seen = click(child<QPushButton>(dialog, "BitBtn1"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, k.successText);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(column(k, id, "发票号码").toString(), invoice);
        QCOMPARE(column(k, id, "发票").toInt(), int(flag));
        QCOMPARE(ledger(k.key(id), "发票号码").toString(), invoice);
        QCOMPARE(ledger(k.key(id), "发票").toInt(), int(flag));
    }

    void refusedInputWritesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString incomplete = QStringLiteral("信息不完整！");
        QTest::newRow("sale without name") << "sales" << QByteArray("Edit1") << "" << incomplete;
        QTest::newRow("sale without price") << "sales" << QByteArray("Edit6") << "" << incomplete;
        QTest::newRow("sale price '-'")
                << "sales" << QByteArray("Edit6") << "-" << QStringLiteral("价格不是有效的金额！");
        QTest::newRow("sale profit '1.2.3'") << "sales" << QByteArray("Edit12") << "1.2.3"
                                             << QStringLiteral("利润不是有效的金额！");
        QTest::newRow("sale without customer number")
                << "sales" << QByteArray("Edit7") << "" << QStringLiteral("客户编号必须是数字！");
        QTest::newRow("repair without customer number")
                << "repairs" << QByteArray("Edit7") << "" << incomplete;
        QTest::newRow("repair fee '--'") << "repairs" << QByteArray("Edit5") << "--"
                                         << QStringLiteral("维修费不是有效的金额！");
        QTest::newRow("repair profit in letters") << "repairs" << QByteArray("Edit12") << "abc"
                                                  << QStringLiteral("利润不是有效的金额！");
    }

    void refusedInputWritesNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        const QStringList before = everything();
        CorrectionDialog *dialog = showDialog(Kind::of(kind), 2);
        typeInto(dialog, field.constData(), typed);
        QCOMPARE(fieldText(dialog, field.constData()), typed);
        const auto seen = click(child<QPushButton>(dialog, "BitBtn1"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QStringLiteral("提示"));
        QCOMPARE(seen[0].text, message);
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QVERIFY(dialog->isVisible()); // the operator corrects and saves again
        QCOMPARE(everything(), before);
    }

    void emptyAmountsAreSavedAsZero_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("emptied");
        QTest::newRow("sale profit") << "sales" << QStringList {"Edit12"};
        QTest::newRow("repair fee and profit") << "repairs" << QStringList {"Edit5", "Edit12"};
    }

    void emptyAmountsAreSavedAsZero()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, emptied);
        const Kind k = Kind::of(kind);
        CorrectionDialog *dialog = showDialog(k, 2);
        for (const QString &name : emptied)
            typeInto(dialog, name.toUtf8().constData(), {});
        const auto seen = click(child<QPushButton>(dialog, "BitBtn1"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, k.successText);
        for (const QString &name : emptied)
            QCOMPARE(fieldText(dialog, name.toUtf8().constData()), QStringLiteral("0"));
        QCOMPARE(column(k, 2, "利润").toLongLong(), 0);
        if (k.repairs) {
            QCOMPARE(column(k, 2, "维修费").toLongLong(), 0);
            QCOMPARE(ledger(k.key(2), "应付金额").toLongLong(), 0);
        }
    }

    void dialogKeysAndEnterChain_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("filtered");
        QTest::addColumn<QStringList>("unfiltered");
        QTest::newRow("sales") << "sales" << QStringList {"Edit6", "Edit12"}
                               << QStringList {"Edit5"};
        QTest::newRow("repairs") << "repairs" << QStringList {"Edit5"}
                                 << QStringList {"Edit6", "Edit12"};
    }

    void dialogKeysAndEnterChain()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, filtered);
        QFETCH(QStringList, unfiltered);
        CorrectionDialog *dialog = showDialog(Kind::of(kind), 1);
        for (const QString &name : filtered + unfiltered) {
            typeInto(dialog, name.toUtf8().constData(), QStringLiteral("a1b.5-"));
            QCOMPARE(fieldText(dialog, name.toUtf8().constData()),
                     filtered.contains(name) ? QStringLiteral("1.5-") : QStringLiteral("a1b.5-"));
        }

        const QStringList chain {"Edit7",           "Edit1",  "Edit9",  "Edit3",  "Edit8",
                                 "Edit2",           "Edit10", "Edit4",  "Edit5",  "Edit6",
                                 "DateTimePicker1", "Memo1",  "Edit11", "Edit12", "BitBtn1"};
        child<QWidget>(dialog, "Edit7")->setFocus();
        QStringList visited {focused(dialog)};
        for (int i = 1; i < chain.size(); ++i) {
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            visited << focused(dialog);
        }
        QCOMPARE(visited, chain);
        // Enter on "保存", where the chain ends, saves: the typed price is no amount.
        const auto seen
                = answered([dialog] { QTest::keyClick(dialog->focusWidget(), Qt::Key_Return); });
        QVERIFY(seen.value(0).text.endsWith(QStringLiteral("不是有效的金额！")));
        QVERIFY(dialog->isVisible());
    }

    void deleteRemovesRecordAndOnlyItsLedgerRow_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("paid sale") << "sales" << qint64(1) << true;
        QTest::newRow("unpaid repair") << "repairs" << qint64(2) << true;
        QTest::newRow("cancelled") << "sales" << qint64(2) << false;
    }

    void deleteRemovesRecordAndOnlyItsLedgerRow()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, id);
        QFETCH(bool, confirm);
        const Kind k = Kind::of(kind);
        const Kind other = Kind::of(k.repairs ? "sales" : "repairs");
        CorrectionScreen *screen = openScreen(k);
        const QStringList before = everything();
        const QStringList receiptsBefore = receipts();
        const int listed = screen->grid()->rowCount();
        screen->grid()->setCurrentRow(rowOf(screen, id));

        ModalAnswerer answers;
        answers.button(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
        QTest::mouseClick(child<QPushButton>(screen, k.deleteButton), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("系统提示"));
        QCOMPARE(answers.seen()[0].text,
                 QStringLiteral("确实要删除该记录吗？注意：该操作不可恢复！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);

        if (!confirm) {
            QCOMPARE(everything(), before);
            return;
        }
        QVERIFY(!column(k, id, "id").isValid());
        QVERIFY(!ledger(k.key(id), "id").isValid());
        QVERIFY(ledger(other.key(id), "id").isValid()); // same number, other kind: stays
        QCOMPARE(receipts(), receiptsBefore); // money received stays received
        QCOMPARE(screen->grid()->rowCount(), listed - 1);
        QCOMPARE(rowOf(screen, id), -1);
    }

    void deleteOnEmptyListDoesNothing()
    {
        CorrectionScreen *screen = openScreen(Kind::of("repairs"));
        typeInto(screen, "Edit1", QStringLiteral("无此人"));
        click(child<QPushButton>(screen, "BitBtn3")); // name look-up: answers "不存在"
        QCOMPARE(screen->grid()->rowCount(), 0);
        const auto seen = click(child<QPushButton>(screen, "BitBtn9"));
        QVERIFY(seen.isEmpty());
        QCOMPARE(rows("维修记录"), 2);
    }

    void failureBetweenTheTwoWritesLeavesBothRows_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QString>("trigger");
        // The record is written first and the ledger second on saving; the ledger row goes
        // first and the record second on deleting. The second statement is the one refused.
        QTest::newRow("sale saved") << "sales" << false << "before update on 帐款明细";
        QTest::newRow("sale deleted") << "sales" << true << "before delete on dinggou";
        QTest::newRow("repair saved") << "repairs" << false << "before update on 帐款明细";
        QTest::newRow("repair deleted") << "repairs" << true << "before delete on 维修记录";
    }

    void failureBetweenTheTwoWritesLeavesBothRows()
    {
        QFETCH(QString, kind);
        QFETCH(bool, remove);
        QFETCH(QString, trigger);
        const Kind k = Kind::of(kind);
        Db::exec(DM1()->ADOConnection1(),
                 QStringLiteral("create trigger refuse %1 begin select raise(abort, '写入被拒绝'); "
                                "end")
                         .arg(trigger));
        const QStringList before = everything();
        QList<ModalAnswerer::Seen> seen;
        if (remove) {
            CorrectionScreen *screen = openScreen(k);
            screen->grid()->setCurrentRow(rowOf(screen, 1));
            ModalAnswerer answers;
            answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
            QTest::mouseClick(child<QPushButton>(screen, k.deleteButton), Qt::LeftButton);
            QVERIFY(answers.waitDone());
            seen = answers.seen().mid(1);
            QVERIFY(rowOf(screen, 1) >= 0);
        } else {
            CorrectionDialog *dialog = showDialog(k, 1);
            typeInto(dialog, k.amountField, QStringLiteral("999"));
            seen = click(child<QPushButton>(dialog, "BitBtn1"));
            QVERIFY(dialog->isVisible());
            QCOMPARE(fieldText(dialog, k.amountField), QStringLiteral("999"));
        }
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].text.contains(QStringLiteral("写入被拒绝")));
        QCOMPARE(everything(), before);
    }

    void recordDeletedMeanwhileIsReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("sales") << "sales";
        QTest::newRow("repairs") << "repairs";
    }

    void recordDeletedMeanwhileIsReported()
    {
        QFETCH(QString, kind);
        const Kind k = Kind::of(kind);
        auto removeElsewhere = [&](qint64 id) {
            if (k.repairs)
                RepairStore(DM1()->ADOConnection1()).remove(id);
            else
                SalesStore(DM1()->ADOConnection1()).remove(id);
        };

        // Deleted while the dialog was open: saving must not pretend it saved.
        CorrectionDialog *dialog = showDialog(k, 2);
        removeElsewhere(2);
        const QStringList before = everything();
        auto seen = click(child<QPushButton>(dialog, "BitBtn1"));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QStringLiteral("提示"));
        QCOMPARE(seen[0].text, QStringLiteral("该记录已不存在！"));
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(CorrectionDialog::Gone));
        QCOMPARE(everything(), before);

        // Deleted after the list was read: the double-click says so and the list reads again.
        CorrectionScreen *screen = openScreen(k);
        const int row = rowOf(screen, 1);
        removeElsewhere(1);
        seen = answered([&] { doubleClickRow(screen->grid(), row); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, QStringLiteral("该记录已不存在！"));
        QCOMPARE(rowOf(screen, 1), -1);
    }
};

QTEST_MAIN(TestCorrection)
#include "tst_correction.moc"
