#include "data/db.h"
#include "data/dberror.h"
#include "data/rawrows.h"
#include "data/tdm1.h"
#include "support/testfolder.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

// The direct reader must hand out exactly what Qt's driver reads: exports rely on it.
class TestRawRows : public QObject
{
    Q_OBJECT
private:
    using Walk = bool (*)(const QSqlDatabase &,
                          const QString &,
                          const QVariantList &,
                          const std::function<bool(int, const RawRow &)> &);

    struct Cell
    {
        RawRow::Type type;
        QVariant value;
        QByteArray utf8;
        bool operator==(const Cell &) const = default;
    };

    static QList<QList<Cell>>
    read(Walk walk, const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
    {
        QList<QList<Cell>> rows;
        walk(db, sql, values, [&](int row, const RawRow &cells) {
            if (row != rows.size())
                return false;
            QList<Cell> cellsRead;
            for (int c = 0; c < cells.columns(); ++c) {
                // Type first: asking for the text of a number converts it.
                const RawRow::Type type = cells.type(c);
                const QVariant value = cells.value(c);
                const QByteArrayView bytes
                        = type == RawRow::Type::Blob ? cells.blob(c) : cells.utf8(c);
                cellsRead << Cell {type, value, bytes.toByteArray()};
            }
            rows << cellsRead;
            return true;
        });
        return rows;
    }

    static QList<QVariantList>
    readByQt(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
    {
        QList<QVariantList> rows;
        QSqlQuery query = Db::exec(db, sql, values);
        while (query.next()) {
            QVariantList row;
            for (int c = 0; c < query.record().count(); ++c)
                row << query.value(c);
            rows << row;
        }
        return rows;
    }

    static void sameAsQt(const QSqlDatabase &db,
                         const QString &sql,
                         const QVariantList &values,
                         int expectedRows)
    {
        const QList<QList<Cell>> direct = read(&RawRows::forEach, db, sql, values);
        QCOMPARE(direct.size(), expectedRows);
        QCOMPARE(direct, read(&RawRows::forEachThroughDriver, db, sql, values));
        const QList<QVariantList> qt = readByQt(db, sql, values);
        QCOMPARE(direct.size(), qt.size());
        for (int r = 0; r < qt.size(); ++r) {
            for (int c = 0; c < qt.at(r).size(); ++c) {
                const QVariant &expected = qt.at(r).at(c);
                const QVariant &actual = direct.at(r).at(c).value;
                QCOMPARE(actual.isNull(), expected.isNull());
                if (!expected.isNull()) {
                    QCOMPARE(actual.typeId(), expected.typeId());
                    QCOMPARE(actual, expected);
                }
            }
        }
    }

private slots:
    void cellsMatchTheDriver()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "create table t (a, b, c)");
        Db::exec(db,
                 "insert into t values (1, '张三', null), (-9223372036854775808, '', 2.5), "
                 "(9223372036854775807, 'a\"b;c''d\n', x'00ff41'), ('2024-02-30', 0, '𠀀鿿')");
        sameAsQt(db, "select * from t order by rowid", {}, 4);

        const QList<QList<Cell>> rows
                = read(&RawRows::forEach, db, "select * from t order by rowid");
        QCOMPARE(rows.at(0).at(1).utf8, QByteArray("张三"));
        QCOMPARE(rows.at(0).at(2).type, RawRow::Type::Null);
        QCOMPARE(rows.at(1).at(0).type, RawRow::Type::Integer);
        QCOMPARE(rows.at(1).at(2).type, RawRow::Type::Real);
        QCOMPARE(rows.at(2).at(2).type, RawRow::Type::Blob);
        QCOMPARE(rows.at(2).at(2).utf8, QByteArray("\x00\xff\x41", 3));
        QCOMPARE(rows.at(3).at(2).utf8, QByteArray("𠀀鿿"));
    }

    void valuesAreBoundAsTheDriverBindsThem()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        const QList<QVariant> values {QVariant(),
                                      QVariant(QString()),
                                      QString(""),
                                      QStringLiteral("O'Brien; 张"),
                                      42,
                                      qint64(1) << 40,
                                      true,
                                      0.25,
                                      QDate(2024, 3, 5),
                                      QByteArray("\x01\x02", 2)};
        for (const QVariant &value : values) {
            sameAsQt(db, "select ?, typeof(?)", {value, value}, 1);
            // The type the engine saw, as Qt's own binding gives it.
            QCOMPARE(read(&RawRows::forEach, db, "select typeof(?)", {value}).at(0).at(0).utf8,
                     readByQt(db, "select typeof(?)", {value}).at(0).at(0).toString().toUtf8());
        }
    }

    void stopsEarlyFinishesAndReportsErrors()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "create table t (a)");
        Db::exec(db,
                 "insert into t with recursive n(i) as (select 1 union all select i + 1 "
                 "from n where i < 100) select i from n");
        int visited = 0;
        QVERIFY(!RawRows::forEach(db, "select a from t", {},
                                  [&](int, const RawRow &) { return ++visited < 3; }));
        QCOMPARE(visited, 3);
        // A statement left running would keep the table in use.
        Db::exec(db, "drop table t");

        const auto fails = [&](const QString &sql, const QVariantList &values) {
            try {
                RawRows::forEach(db, sql, values, [](int, const RawRow &) { return true; });
            } catch (const DbError &e) {
                return !e.text().isEmpty();
            }
            return false;
        };
        QVERIFY(fails("select * from no_such_table", {}));
        QVERIFY(fails("select ?", {}));
        QVERIFY(fails("select ?", {1, 2}));
        QVERIFY(fails("   ", {}));
    }
};

QTEST_GUILESS_MAIN(TestRawRows)
#include "tst_rawrows.moc"
