// The statements of the history, payment, day and period reports, run on a shop's data.
#include "reportfixture.h"
#include "support/testfolder.h"

#include "data/db.h"
#include "data/reportstore.h"
#include "data/tdm1.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace ReportFixture;
using Table = ReportStore::Table;
using Key = ReportStore::Key;
using Invoice = ReportStore::Invoice;
using Payment = ReportStore::Payment;

Q_DECLARE_METATYPE(ReportStore::Table)
Q_DECLARE_METATYPE(ReportStore::Key)
Q_DECLARE_METATYPE(ReportStore::Invoice)
Q_DECLARE_METATYPE(ReportStore::Payment)

namespace {

bool ofTable(const Record &r, Table table)
{
    return table == Table::Ledger || (table == Table::Sales) == (r.kind == Kind::Sale);
}

bool invoiceKeeps(const Record &r, Invoice invoice)
{
    return invoice == Invoice::All || r.invoice == (invoice == Invoice::Issued);
}

bool paymentKeeps(const Record &r, Payment payment)
{
    return payment == Payment::All || r.paid == (payment == Payment::Paid);
}

// Ledger rows come grouped by payment state, "已付款" before "未付款" in text order, and by date
// within a group where `byDate`; rows tied on those may come in any order.
bool ledgerOrdered(const QStringList &got, bool byDate)
{
    const auto sortKey = [&](const QString &key) {
        for (const Record &r : records())
            if (ledgerKey(r) == key)
                return QString(r.paid ? "0" : "1") + (byDate ? r.date : QString());
        return QString();
    };
    for (qsizetype i = 1; i < got.size(); ++i)
        if (sortKey(got[i - 1]) > sortKey(got[i]))
            return false;
    return true;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestReportStore : public QObject
{
    Q_OBJECT

    TestFolder *m_folder = nullptr;

    QSqlDatabase db() const { return m_folder->dm()->ADOConnection1(); }

    // Runs a report statement and names each row: the ledger key of a sale, repair or ledger
    // row, the serial of a receipt.
    QStringList run(const ReportQuery &query, const QString &table) const
    {
        QSqlQuery q = Db::exec(db(), query.sql, query.values);
        const int id = q.record().indexOf("id");
        const int serial = q.record().indexOf("主机序列号");
        QStringList rows;
        while (q.next()) {
            if (table == "收款记录")
                rows << q.value(serial).toString();
            else if (table == "帐款明细")
                rows << q.value(id).toString();
            else
                rows << (table == "dinggou" ? "订购" : "维修") + q.value(id).toString();
        }
        return rows;
    }
    QStringList run(const ReportQuery &query, Table table) const
    {
        return run(query,
                   table == Table::Sales             ? "dinggou"
                           : table == Table::Repairs ? "维修记录"
                                                     : "帐款明细");
    }

    // Checks that a sale, repair or ledger statement lists exactly the records `keep` accepts:
    // sales and repairs in entry order, ledger rows grouped by payment state (and date).
    void expectRows(const ReportQuery &query,
                    Table table,
                    const std::function<bool(const Record &)> &keep,
                    bool byDate = false) const
    {
        const QStringList expected
                = keys([&](const Record &r) { return ofTable(r, table) && keep(r); });
        const QStringList got = run(query, table);
        if (table != Table::Ledger) {
            QCOMPARE(got, expected);
            return;
        }
        QCOMPARE(sorted(got), sorted(expected));
        QVERIFY2(ledgerOrdered(got, byDate), qPrintable(got.join(' ')));
    }

private slots:
    void initTestCase()
    {
        m_folder = new TestFolder;
        QVERIFY(m_folder->isValid());
        insert(db());
    }
    void cleanupTestCase() { delete m_folder; }

    void findCustomer_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("number"); // empty: nobody found
        QTest::newRow("number") << Key::Number << "2"
                                << "2";
        QTest::newRow("number with blanks") << Key::Number << " 4 "
                                            << "4";
        QTest::newRow("number never used") << Key::Number << "99"
                                           << "";
        QTest::newRow("number that is no number") << Key::Number << "1 or 1=1"
                                                  << "";
        QTest::newRow("empty number") << Key::Number << ""
                                      << "";
        QTest::newRow("name") << Key::Name << "王五"
                              << "3";
        QTest::newRow("empty name") << Key::Name << ""
                                    << "";
        QTest::newRow("shared telephone takes the first") << Key::Telephone << "111"
                                                          << "1";
        QTest::newRow("mobile") << Key::Mobile << "1395"
                                << "5";
        QTest::newRow("address with a quote") << Key::Address << "南街'3号"
                                              << "4";
        QTest::newRow("address is not a pattern") << Key::Address << "河口乡%"
                                                  << "";
    }
    void findCustomer()
    {
        QFETCH(Key, key);
        QFETCH(QString, value);
        QFETCH(QString, number);
        const auto hit = ReportStore(db()).findCustomer(key, value);
        QCOMPARE(hit ? hit->number : QString(), number);
        if (hit) {
            const Customer &c = customer(number.toInt());
            QCOMPARE(hit->name, c.name);
            QCOMPARE(hit->address, c.address);
            QCOMPARE(hit->telephone, c.telephone);
            QCOMPARE(hit->mobile, c.mobile);
        }
    }

    void historyByNumberAppliesTheInvoiceFilter_data()
    {
        QTest::addColumn<int>("customer");
        QTest::addColumn<Invoice>("invoice");
        for (int c : {1, 2, 4, 6}) {
            QTest::addRow("%d all", c) << c << Invoice::All;
            QTest::addRow("%d issued", c) << c << Invoice::Issued;
            QTest::addRow("%d not issued", c) << c << Invoice::NotIssued;
        }
    }
    void historyByNumberAppliesTheInvoiceFilter()
    {
        QFETCH(int, customer);
        QFETCH(Invoice, invoice);
        const ReportStore store(db());
        for (Table table : {Table::Sales, Table::Repairs, Table::Ledger}) {
            const auto query = store.historyByNumber(table, QString::number(customer), invoice);
            QVERIFY(query);
            expectRows(*query, table, [&](const Record &r) {
                return r.customer == customer && invoiceKeeps(r, invoice);
            });
            if (QTest::currentTestFailed())
                return;
        }
    }

    void historyByNumberRefusesNothingToList()
    {
        const ReportStore store(db());
        QVERIFY(!store.historyByNumber(Table::Sales, "", Invoice::All));
        QVERIFY(!store.historyByNumber(Table::Ledger, "  ", Invoice::Issued));
        QVERIFY(!store.receiptsByNumber(""));
        // Not a number: a valid statement that lists nothing.
        QCOMPARE(run(*store.historyByNumber(Table::Repairs, "abc", Invoice::All), Table::Repairs),
                 QStringList());
        QCOMPARE(run(*store.receiptsByNumber("1'"), "收款记录"), QStringList());
    }

    void historyByColumnMatchesTheRecordsOwnCopy_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("name") << Key::Name << "张三";
        QTest::newRow("name no customer carries") << Key::Name << "张三丰";
        QTest::newRow("shared telephone lists both") << Key::Telephone << "111";
        QTest::newRow("old telephone") << Key::Telephone << "999";
        QTest::newRow("address with a quote") << Key::Address << "南街'3号";
        QTest::newRow("address with percent") << Key::Address << "河口乡100%村";
        QTest::newRow("mobile") << Key::Mobile << "1392";
        QTest::newRow("empty mobile") << Key::Mobile << "";
    }
    void historyByColumnMatchesTheRecordsOwnCopy()
    {
        QFETCH(Key, key);
        QFETCH(QString, value);
        const auto copyOf = [&](const Record &r) {
            const Customer &c = customer(r.customer);
            switch (key) {
            case Key::Name:
                return nameOf(r);
            case Key::Telephone:
                return telephoneOf(r);
            case Key::Address:
                return r.noAddress ? QString("<none>") : c.address;
            case Key::Mobile:
                return c.mobile;
            case Key::Number:
                break;
            }
            return QString::number(c.number);
        };
        const ReportStore store(db());
        for (Table table : {Table::Sales, Table::Repairs, Table::Ledger}) {
            expectRows(store.historyBy(table, key, value), table,
                       [&](const Record &r) { return copyOf(r) == value; });
            if (QTest::currentTestFailed())
                return;
        }
        // Receipts carry the customer's data of the day they were written.
        QStringList receipts;
        for (const Receipt &p : ReportFixture::receipts()) {
            const Customer &c = customer(p.customer);
            const QString v = key == Key::Name ? c.name
                    : key == Key::Telephone    ? c.telephone
                    : key == Key::Address      ? c.address
                                               : c.mobile;
            if (v == value)
                receipts << p.serial;
        }
        QCOMPARE(run(store.receiptsBy(key, value), "收款记录"), receipts);
    }

    void receiptsByNumberAndAll()
    {
        const ReportStore store(db());
        for (const Customer &c : customers()) {
            QStringList expected;
            for (const Receipt &p : receipts())
                if (p.customer == c.number)
                    expected << p.serial;
            QCOMPARE(run(*store.receiptsByNumber(QString::number(c.number)), "收款记录"), expected);
        }
        QList<Receipt> byDate = receipts();
        std::stable_sort(byDate.begin(), byDate.end(),
                         [](const Receipt &a, const Receipt &b) { return a.date < b.date; });
        QStringList expected;
        for (const Receipt &p : byDate)
            expected << p.serial;
        QCOMPARE(run(store.allReceipts(), "收款记录"), expected);
    }

    void dayListsExactlyThatDay_data()
    {
        QTest::addColumn<QDate>("day");
        for (const char *d : {"2024-01-05", "2024-02-10", "2024-02-29", "2024-03-31", "2024-04-15",
                              "2024-02-11", "2024-01-04"})
            QTest::newRow(d) << QDate::fromString(d, Qt::ISODate);
    }
    void dayListsExactlyThatDay()
    {
        QFETCH(QDate, day);
        const ReportStore store(db());
        for (Table table : {Table::Sales, Table::Repairs, Table::Ledger}) {
            QStringList expected = keys([&](const Record &r) {
                return ofTable(r, table) && r.date == day.toString(Qt::ISODate);
            });
            QStringList got = run(store.day(table, day), table);
            if (table == Table::Ledger) { // no order asked for
                expected.sort();
                got.sort();
            }
            QCOMPARE(got, expected);
        }
    }

    void periodFilters_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("address");
        QTest::addColumn<Invoice>("invoice");
        QTest::addColumn<Payment>("payment");
        const auto row = [](const char *name, const char *from, const char *to, const char *address,
                            Invoice invoice, Payment payment) {
            QTest::newRow(name) << from << to << address << invoice << payment;
        };
        row("whole range", "2024-01-01", "2024-12-31", "", Invoice::All, Payment::All);
        row("ends are included", "2024-02-10", "2024-03-31", "", Invoice::All, Payment::All);
        row("single day", "2024-03-31", "2024-03-31", "", Invoice::All, Payment::All);
        row("reversed range", "2024-03-31", "2024-01-01", "", Invoice::All, Payment::All);
        row("leap day", "2024-02-29", "2024-02-29", "", Invoice::All, Payment::All);
        row("address part", "2024-01-01", "2024-12-31", "城关", Invoice::All, Payment::All);
        row("percent is literal", "2024-01-01", "2024-12-31", "100%", Invoice::All, Payment::All);
        row("underscore is literal", "2024-01-01", "2024-12-31", "乡_", Invoice::All, Payment::All);
        row("lone percent", "2024-01-01", "2024-12-31", "%", Invoice::All, Payment::All);
        row("quote", "2024-01-01", "2024-12-31", "'3", Invoice::All, Payment::All);
        row("backslash", "2024-01-01", "2024-12-31", "\\", Invoice::All, Payment::All);
        row("invoice issued", "2024-01-01", "2024-12-31", "", Invoice::Issued, Payment::All);
        row("invoice not issued", "2024-02-01", "2024-04-30", "村", Invoice::NotIssued,
            Payment::All);
        row("paid", "2024-01-01", "2024-12-31", "", Invoice::All, Payment::Paid);
        row("unpaid without invoice", "2024-01-01", "2024-12-31", "", Invoice::NotIssued,
            Payment::Unpaid);
        row("paid with invoice in town", "2024-01-01", "2024-03-31", "城关", Invoice::Issued,
            Payment::Paid);
    }
    void periodFilters()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, address);
        QFETCH(Invoice, invoice);
        QFETCH(Payment, payment);
        const ReportStore store(db());
        for (Table table : {Table::Sales, Table::Repairs, Table::Ledger}) {
            expectRows(
                    store.period(table, QDate::fromString(from, Qt::ISODate),
                                 QDate::fromString(to, Qt::ISODate), address, invoice, payment),
                    table,
                    [&](const Record &r) {
                        return r.date >= from && r.date <= to && !r.noAddress
                                && customer(r.customer).address.contains(address)
                                && invoiceKeeps(r, invoice)
                                && (table != Table::Ledger || paymentKeeps(r, payment));
                    },
                    true);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void allIgnoresEverythingButThePaymentState()
    {
        const ReportStore store(db());
        const auto every = [](const Record &) { return true; };
        expectRows(store.all(Table::Sales), Table::Sales, every);
        expectRows(store.all(Table::Repairs), Table::Repairs, every);
        for (Payment payment : {Payment::All, Payment::Paid, Payment::Unpaid}) {
            expectRows(
                    store.all(Table::Ledger, payment), Table::Ledger,
                    [&](const Record &r) { return paymentKeeps(r, payment); }, true);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(TestReportStore)
#include "tst_reportstore.moc"
