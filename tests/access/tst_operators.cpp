// Writing the operator table: numbers unique without case, flags, passwords only as hashes.
#include "support/testfolder.h"

#include "data/db.h"
#include "data/dberror.h"
#include "data/operatorstore.h"
#include "data/passwords.h"
#include "data/tdm1.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
Operator makeOperator(const QString &number, const QString &name, std::initializer_list<int> flags)
{
    Operator op;
    op.number = number;
    op.name = name;
    for (int flag : flags)
        op.flags[size_t(flag - 1)] = true;
    return op;
}

QList<int> flagsOf(const Operator &op)
{
    QList<int> on;
    for (int flag = 1; flag <= Operator::FlagCount; ++flag) {
        if (op.flag(flag))
            on << flag;
    }
    return on;
}

// Every byte the engine has written: the database file and any journal beside it.
QByteArray rawBytes(const TestFolder &folder)
{
    QByteArray bytes;
    const QFileInfo db(folder.databaseFile());
    for (const QFileInfo &file : db.dir().entryInfoList(QDir::Files)) {
        QFile f(file.filePath());
        if (f.open(QIODevice::ReadOnly))
            bytes += f.readAll();
    }
    return bytes;
}
} // namespace

class TestOperators : public QObject
{
    Q_OBJECT
private slots:
    void insertStoresFlagsAndOnlyAHash()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        OperatorStore store(folder.dm()->ADOConnection1());
        const QString password = QStringLiteral("Kasse密码7391");
        store.insert(makeOperator("0002", "张三", {1, 8, 17}), password);

        const auto op = store.find("0002");
        QVERIFY(op);
        QCOMPARE(op->name, QStringLiteral("张三"));
        QCOMPARE(flagsOf(*op), QList<int>({1, 8, 17}));
        QVERIFY(!op->passwordHash.contains(password));
        QVERIFY(Passwords::matches(op->passwordHash, password));
        QVERIFY(Passwords::matches(op->passwordHash, QStringLiteral("kASSE密码7391")));
        QVERIFY(!Passwords::matches(op->passwordHash, QStringLiteral("Kasse密碼7391")));

        // Flags are stored as 0/1, not as -1 or text.
        QCOMPARE(Db::scalar(folder.dm()->ADOConnection1(),
                            "select sum(\"1\") + sum(\"2\") from 操作员 where 操作员 = ?", {"0002"})
                         .toInt(),
                 1);

        store.changePassword("0002", QStringLiteral("Neues密码5528"));
        store.update("0002", "张三", op->flags, QStringLiteral("Drittes密码0417"));
        const QByteArray raw = rawBytes(folder);
        QVERIFY(raw.contains(QStringLiteral("张三").toUtf8())); // the search does see text
        for (const char *clear : {"Kasse密码7391", "Neues密码5528", "Drittes密码0417"}) {
            QVERIFY2(!raw.contains(QByteArray(clear)), clear);
            QVERIFY2(!raw.contains(Passwords::fold(QString::fromUtf8(clear)).toUtf8()), clear);
        }
    }

    void emptyPasswordIsStoredEmpty()
    {
        TestFolder folder;
        OperatorStore store(folder.dm()->ADOConnection1());
        store.insert(makeOperator("0003", "", {}), QString());
        const auto op = store.find("0003");
        QVERIFY(op);
        QVERIFY(op->passwordHash.isEmpty());
        QVERIFY(Passwords::matches(op->passwordHash, QString()));
        QVERIFY(!Passwords::matches(op->passwordHash, QStringLiteral("x")));
        QCOMPARE(flagsOf(*op), QList<int>());
    }

    void numberExistsIgnoresOnlyLatinCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("exists");
        QTest::newRow("same") << "Ab01" << true;
        QTest::newRow("upper") << "AB01" << true;
        QTest::newRow("lower") << "ab01" << true;
        QTest::newRow("prefix") << "Ab0" << false;
        QTest::newRow("longer") << "Ab011" << false;
        QTest::newRow("blank added") << "Ab01 " << false;
        QTest::newRow("administrator") << "0001" << true;
        QTest::newRow("non-Latin letter case") << "ÄX" << false;
    }
    void numberExistsIgnoresOnlyLatinCase()
    {
        QFETCH(QString, typed);
        QFETCH(bool, exists);
        TestFolder folder;
        OperatorStore store(folder.dm()->ADOConnection1());
        store.insert(makeOperator("Ab01", "", {}), QString());
        store.insert(makeOperator("äx", "", {}), QString());
        QCOMPARE(store.numberExists(typed), exists);
    }

    void duplicateNumberInOtherCaseIsRefused()
    {
        TestFolder folder;
        OperatorStore store(folder.dm()->ADOConnection1());
        store.insert(makeOperator("ab01", "甲", {}), QString());
        QVERIFY_THROWS_EXCEPTION(DbError, store.insert(makeOperator("AB01", "乙", {}), "x"));
        QCOMPARE(store.all().size(), 2);
        QCOMPARE(store.find("ab01")->name, QStringLiteral("甲"));
    }

    void updateKeepsOrReplacesThePassword()
    {
        TestFolder folder;
        OperatorStore store(folder.dm()->ADOConnection1());
        store.insert(makeOperator("0002", "张三", {2, 3}), "alt");
        store.insert(makeOperator("0003", "李四", {5}), "other");

        auto flags = makeOperator("", "", {4, 16}).flags;
        store.update("0002", "张三丰", flags, std::nullopt);
        auto op = store.find("0002");
        QCOMPARE(op->name, QStringLiteral("张三丰"));
        QCOMPARE(flagsOf(*op), QList<int>({4, 16}));
        QVERIFY(Passwords::matches(op->passwordHash, "alt"));

        store.update("0002", "张三丰", flags, QStringLiteral("neu"));
        op = store.find("0002");
        QVERIFY(Passwords::matches(op->passwordHash, "neu"));
        QVERIFY(!Passwords::matches(op->passwordHash, "alt"));

        store.update("0002", "张三丰", flags, QString());
        QVERIFY(store.find("0002")->passwordHash.isEmpty());

        // The other operator is untouched.
        const auto other = store.find("0003");
        QCOMPARE(other->name, QStringLiteral("李四"));
        QCOMPARE(flagsOf(*other), QList<int>({5}));
        QVERIFY(Passwords::matches(other->passwordHash, "other"));
    }

    void writesToAMissingOperatorFail()
    {
        TestFolder folder;
        OperatorStore store(folder.dm()->ADOConnection1());
        QVERIFY_THROWS_EXCEPTION(DbError, store.update("0009", "x", {}, std::nullopt));
        QVERIFY_THROWS_EXCEPTION(DbError, store.remove("0009"));
        QVERIFY_THROWS_EXCEPTION(DbError, store.changePassword("0009", "x"));
        QCOMPARE(store.all().size(), 1);
    }

    void removeDeletesOnlyTheTarget()
    {
        TestFolder folder;
        OperatorStore store(folder.dm()->ADOConnection1());
        store.insert(makeOperator("0002", "张三", {}), QString());
        store.insert(makeOperator("0003", "李四", {}), QString());
        store.remove("0002");
        QStringList numbers;
        for (const Operator &op : store.all())
            numbers << op.number;
        QCOMPARE(numbers, QStringList({"0001", "0003"}));
    }

    void changePasswordFoldsLatinCaseOnly()
    {
        TestFolder folder;
        OperatorStore store(folder.dm()->ADOConnection1());
        store.changePassword("0001", QStringLiteral("Abc密"));
        const QString stored = store.find("0001")->passwordHash;
        QVERIFY(Passwords::matches(stored, "aBC密"));
        QVERIFY(!Passwords::matches(stored, "Abc"));
        store.changePassword("0001", QString());
        QVERIFY(store.find("0001")->passwordHash.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOperators)
#include "tst_operators.moc"
