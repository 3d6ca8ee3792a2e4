// Customers and pick lists as stored: numbering, writes by number, look-ups and searches.
#include "data/customerstore.h"
#include "data/db.h"
#include "data/pickliststore.h"
#include "data/tdm1.h"
#include "support/testfolder.h"

#include <QSqlQuery>
#include <QTest>

namespace {

Customer customer(qint64 number,
                  const QString &name,
                  const QString &telephone = {},
                  const QString &address = {})
{
    Customer c;
    c.number = number;
    c.name = name;
    c.telephone = telephone;
    c.address = address;
    c.since = QDate(2024, 3, 5);
    return c;
}

QList<qint64> numbers(const QSqlDatabase &db, const CustomerSelect &select)
{
    QList<qint64> result;
    QSqlQuery query = Db::exec(db, select.sql, select.values);
    while (query.next())
        result << query.value(QStringLiteral("客户编号")).toLongLong();
    return result;
}

} // namespace

class TestCustomerStore : public QObject
{
    Q_OBJECT
private slots:
    void nextNumberIsLargestPlusOne()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        CustomerStore store(folder.dm()->ADOConnection1());
        QCOMPARE(store.nextNumber(), 1);
        for (qint64 n : {1, 2, 7})
            store.insert(customer(n, QStringLiteral("客户%1").arg(n)));
        QCOMPARE(store.nextNumber(), 8);
        QVERIFY(store.remove(7));
        QCOMPARE(store.nextNumber(), 3);
        QVERIFY(!store.remove(7)); // nothing left to delete
        QVERIFY_THROWS_EXCEPTION(DbError, store.insert(customer(2, QStringLiteral("重号"))));
    }

    void writesKeepTextAsTypedAndUpdateByNumber()
    {
        TestFolder folder;
        CustomerStore store(folder.dm()->ADOConnection1());
        Customer odd = customer(1, QStringLiteral("O'Brien \"张\" 100%_"), QStringLiteral(" 0571 "),
                                QStringLiteral("城关镇'东村"));
        odd.contact = QStringLiteral("李四");
        odd.taxNumber = QStringLiteral("91330000X");
        odd.mobile = QString(5000, u'9');
        odd.remark = QStringLiteral("第一行\n第二行");
        store.insert(odd);
        store.insert(customer(2, QStringLiteral("其他")));
        std::optional<Customer> read = store.find(1);
        QVERIFY(read);
        odd.sinceText = QStringLiteral("2024-03-05");
        QCOMPARE(*read, odd);

        Customer changed = odd;
        changed.number = 2; // the number the row is written under is the one given, not this
        changed.name = QStringLiteral("改名");
        changed.since = QDate();
        store.update(1, changed);
        QCOMPARE(store.find(1)->name, QStringLiteral("改名"));
        QVERIFY(!store.find(1)->since.isValid());
        QCOMPARE(store.find(2)->name, QStringLiteral("其他"));
        // Saving a customer deleted meanwhile is an error, not a silent success.
        QVERIFY_THROWS_EXCEPTION(DbError, store.update(9, changed));
    }

    void lookUpsTakeTheFirstExactMatch()
    {
        TestFolder folder;
        CustomerStore store(folder.dm()->ADOConnection1());
        store.insert(customer(5, QStringLiteral("乙"), QStringLiteral("123")));
        store.insert(customer(3, QStringLiteral("甲"), QStringLiteral("123")));
        store.insert(customer(4, QStringLiteral("丙'"), QStringLiteral("1234")));
        using C = CustomerStore::Column;
        QCOMPARE(store.findFirst(C::Telephone, QStringLiteral("123"))->number, 3);
        QCOMPARE(store.findAll(C::Telephone, QStringLiteral("123")).size(), 2);
        QCOMPARE(store.findFirst(C::Name, QStringLiteral("丙'"))->number, 4);
        QVERIFY(!store.findFirst(C::Name, QStringLiteral("丙")));
        QVERIFY(!store.findFirst(C::Telephone, QStringLiteral("123 "))); // not trimmed
        QVERIFY(!store.findFirst(C::Name, QString()));
        QCOMPARE(store.findFirst(C::Number, QStringLiteral(" 4 "))->name, QStringLiteral("丙'"));
        QVERIFY(!store.findFirst(C::Number, QStringLiteral("4 or 1=1")));
    }

    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("number"); // -1: not a number
        QTest::newRow("plain") << "12" << qint64(12);
        QTest::newRow("blanks") << " 7 " << qint64(7);
        QTest::newRow("empty") << "" << qint64(-1);
        QTest::newRow("decimal") << "1.5" << qint64(-1);
        QTest::newRow("letters") << "12a" << qint64(-1);
        QTest::newRow("exponent") << "1e3" << qint64(-1);
        QTest::newRow("injection") << "1 or 1=1" << qint64(-1);
        QTest::newRow("overflow") << "99999999999999999999" << qint64(-1);
        QTest::newRow("sign only") << "-" << qint64(-1);
    }
    void parseNumber()
    {
        QFETCH(QString, text);
        QFETCH(qint64, number);
        const std::optional<qint64> parsed = CustomerStore::parseNumber(text);
        QCOMPARE(parsed.value_or(-1), number);
    }

    void containsSearchMatchesLiterally_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("byName");
        QTest::addColumn<QList<qint64>>("found");
        using C = CustomerStore::Column;
        QTest::newRow("anywhere in address")
                << int(C::Address) << "东村" << false << QList<qint64> {1, 3};
        QTest::newRow("empty lists all with a value")
                << int(C::Address) << "" << false << QList<qint64> {1, 2, 3};
        QTest::newRow("percent is a percent") << int(C::Name) << "%" << false << QList<qint64> {2};
        QTest::newRow("underscore is an underscore")
                << int(C::Name) << "a_b" << false << QList<qint64> {3};
        QTest::newRow("quote") << int(C::Address) << "'" << false << QList<qint64> {3};
        QTest::newRow("backslash") << int(C::Name) << "\\" << false << QList<qint64> {};
        QTest::newRow("same telephone by name")
                << int(C::Telephone) << "88" << true << QList<qint64> {4, 3};
        QTest::newRow("number as text") << int(C::Number) << "3" << false << QList<qint64> {3};
        QTest::newRow("very long")
                << int(C::Name) << QString(10000, u'x') << false << QList<qint64> {};
    }
    void containsSearchMatchesLiterally()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(bool, byName);
        QFETCH(QList<qint64>, found);
        TestFolder folder;
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        CustomerStore store(db);
        store.insert(customer(1, QStringLiteral("张三"), QStringLiteral("100"),
                              QStringLiteral("城关东村")));
        store.insert(customer(2, QStringLiteral("打折50%"), QString(), QStringLiteral("西村")));
        store.insert(customer(3, QStringLiteral("a_b"), QStringLiteral("88"),
                              QStringLiteral("东村'口")));
        store.insert(customer(4, QStringLiteral("aXb"), QStringLiteral("88")));
        // A customer whose address holds no value at all is not found by an empty text.
        Db::exec(db, QStringLiteral("update 客户信息 set 地址 = null where 客户编号 = 4"));
        QCOMPARE(numbers(db,
                         CustomerStore::selectContaining(CustomerStore::Column(column), text,
                                                         byName)),
                 found);
    }

    void offeredColumnRefusesOtherText()
    {
        using C = CustomerStore::Column;
        const QList<C> list = CustomerStore::listSearchColumns();
        QCOMPARE(CustomerStore::offeredColumn(QStringLiteral("电话"), list), C::Telephone);
        QVERIFY(!CustomerStore::offeredColumn(QStringLiteral("客户编号"), list));
        QVERIFY(!CustomerStore::offeredColumn(QStringLiteral("1=1 or 客户名称"), list));
        QCOMPARE(CustomerStore::offeredColumn(QStringLiteral("客户编号"),
                                              CustomerStore::querySearchColumns()),
                 C::Number);
    }

    void pickListsNameEachOnce()
    {
        TestFolder folder;
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        PickListStore lists(db);
        QCOMPARE(lists.townships(), QStringList());
        QCOMPARE(lists.repairItems(),
                 QStringList({"主机", "键盘", "显示器", "鼠标", "系统", "其他"}));
        for (const auto &[township, village] :
             QList<QPair<QString, QString>> {{"城关镇", "东村"},
                                             {"城关镇", "西村"},
                                             {"城关镇", "东村"},
                                             {"O'Neil镇", "100%村"},
                                             {"新镇", ""}})
            Db::exec(db, QStringLiteral("insert into 乡镇 (乡镇, 村庄) values (?, ?)"),
                     {township, village});
        QCOMPARE(lists.townships(), QStringList({"O'Neil镇", "城关镇", "新镇"}));
        QCOMPARE(lists.villages(QStringLiteral("城关镇")), QStringList({"东村", "西村"}));
        QCOMPARE(lists.villages(QStringLiteral("O'Neil镇")), QStringList({"100%村"}));
        QCOMPARE(lists.villages(QStringLiteral("新镇")), QStringList({""}));
        QCOMPARE(lists.villages(QStringLiteral("无")), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCustomerStore)
#include "tst_customerstore.moc"
