#include "data/money.h"

#include <QTest>

class TestMoney : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("units");
        QTest::newRow("whole") << "3500" << true << Q_INT64_C(35000000);
        QTest::newRow("half") << "3500.5" << true << Q_INT64_C(35005000);
        QTest::newRow("blanks") << "  12.25 " << true << Q_INT64_C(122500);
        QTest::newRow("leading dot") << ".3" << true << Q_INT64_C(3000);
        QTest::newRow("trailing dot") << "7." << true << Q_INT64_C(70000);
        QTest::newRow("negative") << "-0.0001" << true << Q_INT64_C(-1);
        QTest::newRow("plus") << "+5" << true << Q_INT64_C(50000);
        QTest::newRow("extra zeros") << "1.500000" << true << Q_INT64_C(15000);
        QTest::newRow("too fine") << "1.00001" << false << Q_INT64_C(0);
        QTest::newRow("empty") << "" << false << Q_INT64_C(0);
        QTest::newRow("minus only") << "-" << false << Q_INT64_C(0);
        QTest::newRow("dot only") << "." << false << Q_INT64_C(0);
        QTest::newRow("two dots") << "1.2.3" << false << Q_INT64_C(0);
        QTest::newRow("two minus") << "--5" << false << Q_INT64_C(0);
        QTest::newRow("inner minus") << "5-" << false << Q_INT64_C(0);
        QTest::newRow("letters") << "12a" << false << Q_INT64_C(0);
        QTest::newRow("fullwidth digit") << "１２" << false << Q_INT64_C(0);
        QTest::newRow("huge") << "99999999999999999999" << false << Q_INT64_C(0);
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, units);
        const auto money = Money::parse(text);
        QCOMPARE(money.has_value(), valid);
        if (valid)
            QCOMPARE(money->units(), units);
    }

    void shortestText_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << Q_INT64_C(0) << "0";
        QTest::newRow("whole") << Q_INT64_C(35000000) << "3500";
        QTest::newRow("half") << Q_INT64_C(35005000) << "3500.5";
        QTest::newRow("tenth") << Q_INT64_C(3000) << "0.3";
        QTest::newRow("finest") << Q_INT64_C(-1) << "-0.0001";
        QTest::newRow("negative") << Q_INT64_C(-125000) << "-12.5";
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-922337203685477.5808";
    }
    void shortestText()
    {
        QFETCH(qint64, units);
        QFETCH(QString, text);
        QCOMPARE(Money::fromUnits(units).toString(), text);
    }

    void sumIsExact()
    {
        Money total = *Money::parse(u"0.1") + *Money::parse(u"0.2");
        QCOMPARE(total.toString(), QStringLiteral("0.3"));
        QVERIFY(total == *Money::parse(u"0.3"));
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
