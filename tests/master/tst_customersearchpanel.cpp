// The customer search panel in both variants, on small host screens built from the panel's
// screen configurations, so each later screen only tests what it does after a look-up.
#include "master/customersearchpanel.h"
#include "masterhelpers.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/resultset.h"
#include "ui/datagrid.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QVBoxLayout>

using namespace MasterTest;
using Column = CustomerStore::Column;

namespace {

// A screen that carries the panel: a field or button for every name its configuration uses.
class Host : public QWidget
{
public:
    explicit Host(const CustomerSearchConfig &config)
    {
        auto *layout = new QVBoxLayout(this);
        for (const QString &name :
             QStringList {config.numberEdit, config.nameEdit, config.telephoneEdit,
                          config.mobileEdit, config.addressEdit, config.contactEdit, config.taxEdit,
                          config.nextFocus}
                     + config.alsoClearedOnNotFound + config.alsoClearedOnNameNotFound) {
            if (!name.isEmpty() && !findChild<QLineEdit *>(name)) {
                auto *edit = new QLineEdit(this);
                edit->setObjectName(name);
                layout->addWidget(edit);
            }
        }
        for (const QString &name :
             QStringList {config.numberButton, config.nameButton, config.telephoneButton,
                          config.mobileButton, config.addressButton, config.fuzzyNameButton,
                          config.fuzzyTelephoneButton, config.fuzzyMobileButton, config.saveButton}
                     + config.newCustomerButtons.mid(0, 1)) {
            if (!name.isEmpty()) {
                auto *button = new QPushButton(name, this);
                button->setObjectName(name);
                layout->addWidget(button);
            }
        }
        if (config.variant == CustomerSearchConfig::Variant::Query)
            layout->addWidget(CustomerSearchPanel::buildFuzzyGroup(this, config));
        layout->addWidget(CustomerSearchPanel::buildResultGroup(this, config));
        panel = new CustomerSearchPanel(this, config);
        show();
        QApplication::setActiveWindow(this);
    }

    QLineEdit *edit(const QString &name) { return child<QLineEdit>(this, name.toUtf8()); }
    void click(const QString &name)
    {
        QTest::mouseClick(child<QAbstractButton>(this, name.toUtf8()), Qt::LeftButton);
    }
    void enter(const QString &name, const QString &text)
    {
        QLineEdit *e = edit(name);
        e->clear();
        e->setFocus();
        typeText(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    DataGrid *grid() { return child<DataGrid>(this, panel->config().resultGrid.toUtf8()); }
    bool resultsShown()
    {
        return child<QGroupBox>(this, panel->config().resultGroup.toUtf8())->isVisible();
    }
    QStringList resultNames()
    {
        QStringList names;
        for (int row = 0; row < grid()->rowCount(); ++row)
            names << grid()->cellText(row, 0);
        return names;
    }
    void doubleClickRow(int row)
    {
        QTableView *view = grid()->view();
        const QPoint at
                = row < 0 ? QPoint(5, 5) : view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    CustomerSearchPanel *panel;
};

void addCustomers()
{
    CustomerStore store(DM1()->ADOConnection1());
    struct Row
    {
        const char *name, *telephone, *mobile, *address;
    };
    const Row rows[] = {{"王五", "555", "1391", "城关东村"},
                        {"李四", "777", "", "北镇"},
                        {"O'Brien", "555", "1392", "西村100%"}};
    qint64 number = 0;
    for (const Row &row : rows) {
        Customer c;
        c.number = ++number;
        c.name = QString::fromUtf8(row.name);
        c.telephone = QString::fromUtf8(row.telephone);
        c.mobile = QString::fromUtf8(row.mobile);
        c.address = QString::fromUtf8(row.address);
        c.contact = QStringLiteral("联系人%1").arg(number);
        c.taxNumber = QStringLiteral("税号%1").arg(number);
        c.since = QDate(2022, 1, 1);
        store.insert(c);
    }
}

} // namespace

class TestCustomerSearchPanel : public QObject
{
    Q_OBJECT
private slots:
    void entryLookUp_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("found"); // customer number, 0 when not found
        QTest::newRow("number") << "Edit7"
                                << "2" << 2;
        QTest::newRow("number with blanks") << "Edit7"
                                            << " 3 " << 3;
        QTest::newRow("shared telephone: first row") << "Edit3"
                                                     << "555" << 1;
        QTest::newRow("name with apostrophe") << "Edit1"
                                              << "O'Brien" << 3;
        QTest::newRow("mobile") << "Edit8"
                                << "1392" << 3;
        QTest::newRow("empty name runs and fails") << "Edit1"
                                                   << "" << 0;
        QTest::newRow("empty mobile matches an empty one") << "Edit8"
                                                           << "" << 2;
        QTest::newRow("name not trimmed") << "Edit1"
                                          << "李四 " << 0;
        QTest::newRow("unknown number") << "Edit7"
                                        << "99" << 0;
        QTest::newRow("very long telephone") << "Edit3" << QString(3000, u'5') << 0;
    }
    void entryLookUp()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, found);
        TestFolder folder;
        addCustomers();
        Host host(CustomerSearchConfig::dinggou());
        auto *save = child<QPushButton>(&host, "BitBtn2");
        QVERIFY(!save->isEnabled()); // disabled when the screen is shown
        QCOMPARE(host.edit("Edit7")->toolTip(), QStringLiteral("输入客户编号后请回车"));
        QCOMPARE(host.edit("Edit3")->toolTip(), QStringLiteral("输入客户电话后请回车"));
        for (const char *other : {"Edit4", "Edit11", "Edit12"})
            host.edit(other)->setText(QStringLiteral("旧"));
        QSignalSpy taken(host.panel, &CustomerSearchPanel::customerTaken);

        ModalAnswerer answers;
        host.enter(field, text);
        QTest::qWait(20);
        if (found) {
            QCOMPARE(answers.seen().size(), 0);
            QVERIFY(save->isEnabled());
            QVERIFY(host.edit("Edit4")->hasFocus());
            QCOMPARE(host.edit("Edit7")->text(), QString::number(found)); // refilled from the row
            QCOMPARE(host.edit("Edit9")->text(), QStringLiteral("联系人%1").arg(found));
            QCOMPARE(host.edit("Edit10")->text(), QStringLiteral("税号%1").arg(found));
            QCOMPARE(host.edit(field)->text(), field == "Edit7" ? QString::number(found) : text);
            QCOMPARE(taken.size(), 1);
            QCOMPARE(taken[0][0].value<Customer>().number, found);
            return;
        }
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("此客户不存在！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(!save->isEnabled());
        for (const char *emptied :
             {"Edit7", "Edit1", "Edit3", "Edit8", "Edit2", "Edit9", "Edit10", "Edit4", "Edit11"})
            QVERIFY2(host.edit(emptied)->text().isEmpty(), emptied);
        // The invoice number goes only with a failed name look-up.
        QCOMPARE(host.edit("Edit12")->text().isEmpty(), field == "Edit1");
        QCOMPARE(host.focusWidget(), host.edit(field)); // the window may be inactive after the box
        QCOMPARE(taken.size(), 0);
    }

    void entryNumberThatIsNoNumber()
    {
        TestFolder folder;
        addCustomers();
        Host host(CustomerSearchConfig::dinggou());
        ModalAnswerer answers;
        host.enter("Edit7", ""); // empty: nothing at all
        host.enter("Edit7", "1 or 1=1");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("客户编号必须是数字！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
    }

    void repairEntryHasItsOwnNotFoundMessage()
    {
        TestFolder folder;
        Host host(CustomerSearchConfig::weixiu());
        QCOMPARE(host.edit("Edit3")->toolTip(), QStringLiteral("输入电话后请回车"));
        host.edit("Edit8")->setText(QStringLiteral("新序列号"));
        ModalAnswerer answers;
        host.enter("Edit1", "无此人");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示！"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("此客户不存在!"));
        QVERIFY(host.edit("Edit8")->text().isEmpty());
    }

    void entryFuzzySearchAndTakingFromTheList()
    {
        TestFolder folder;
        addCustomers();
        Host host(CustomerSearchConfig::dinggou());
        auto *save = child<QPushButton>(&host, "BitBtn2");
        QVERIFY(!host.resultsShown());

        // Two customers with the same telephone, listed by name.
        host.edit("Edit3")->setText(QStringLiteral("555"));
        host.click("BitBtn7");
        QVERIFY(host.resultsShown());
        QCOMPARE(host.resultNames(), QStringList({"O'Brien", "王五"}));
        QVERIFY(!save->isEnabled()); // a search alone does not enable saving
        QSignalSpy taken(host.panel, &CustomerSearchPanel::customerTaken);
        host.doubleClickRow(1);
        QVERIFY(!host.resultsShown());
        QVERIFY(save->isEnabled());
        QCOMPARE(host.edit("Edit7")->text(), QStringLiteral("1"));
        QCOMPARE(host.edit("Edit1")->text(), QStringLiteral("王五"));
        QCOMPARE(host.edit("Edit2")->text(), QStringLiteral("城关东村"));
        QCOMPARE(host.edit("Edit9")->text(), QStringLiteral("联系人1"));
        QVERIFY(host.edit("Edit4")->hasFocus());
        QCOMPARE(taken.size(), 1);

        // An empty text lists every customer whose column holds a value; % is a percent sign.
        host.edit("Edit1")->clear();
        host.click("BitBtn1");
        QCOMPARE(host.resultNames().size(), 3);
        host.edit("Edit8")->setText(QStringLiteral("%"));
        host.click("BitBtn8");
        QCOMPARE(host.resultNames(), QStringList());

        // Taking from an empty list empties the customer and leaves saving disabled.
        host.doubleClickRow(-1);
        QVERIFY(!save->isEnabled());
        for (const char *emptied : {"Edit7", "Edit1", "Edit3", "Edit8", "Edit2", "Edit9", "Edit10"})
            QVERIFY2(host.edit(emptied)->text().isEmpty(), emptied);
        QCOMPARE(taken.size(), 1);

        host.click("BitBtn1");
        QVERIFY(host.resultsShown());
        host.click("BitBtn4"); // "关闭"
        QVERIFY(!host.resultsShown());
    }

    void queryLookUpFillsTheOthersAndReportsWhatWasSearched()
    {
        TestFolder folder;
        addCustomers();
        Host host(CustomerSearchConfig::chaxun());
        QSignalSpy lookedUp(host.panel, &CustomerSearchPanel::lookedUp);
        host.edit("Edit5")->setText(QStringLiteral("旧的查找"));

        ModalAnswerer answers;
        host.enter("Edit3", "555");
        QCOMPARE(host.edit("Edit4")->text(), QStringLiteral("1"));
        QCOMPARE(host.edit("Edit1")->text(), QStringLiteral("王五"));
        QCOMPARE(host.edit("Edit2")->text(), QStringLiteral("城关东村"));
        QCOMPARE(host.edit("Edit6")->text(), QStringLiteral("1391"));
        QCOMPARE(lookedUp.size(), 1);
        QCOMPARE(lookedUp[0][0].value<Column>(), Column::Telephone);
        QCOMPARE(lookedUp[0][1].toString(), QStringLiteral("555"));
        QCOMPARE(lookedUp[0][2].toBool(), true);

        // Not found: the others are emptied, the searched text stays, the host still loads.
        host.edit("Edit2")->setText(QStringLiteral("无'处"));
        host.click("BitBtn5");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("此客户档案信息不存在！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(host.edit("Edit2")->text(), QStringLiteral("无'处"));
        for (const char *emptied : {"Edit4", "Edit1", "Edit3", "Edit6", "Edit5"})
            QVERIFY2(host.edit(emptied)->text().isEmpty(), emptied);
        QCOMPARE(lookedUp.size(), 2);
        QCOMPARE(lookedUp[1][0].value<Column>(), Column::Address);
        QCOMPARE(lookedUp[1][2].toBool(), false);

        // An empty number does nothing; other empty look-ups run.
        host.click("BitBtn1");
        QCOMPARE(lookedUp.size(), 2);
        host.edit("Edit4")->setText(QStringLiteral("x1"));
        ModalAnswerer number;
        host.click("BitBtn1");
        QVERIFY(number.waitDone());
        QCOMPARE(number.seen().size(), 1);
        QCOMPARE(number.seen()[0].text, QStringLiteral("客户编号必须是数字！"));
        QCOMPARE(lookedUp.size(), 2); // no records loaded for a number that is none
    }

    void debtScreenRefusesEmptyLookUps()
    {
        TestFolder folder;
        addCustomers();
        Host host(CustomerSearchConfig::bushou());
        QSignalSpy lookedUp(host.panel, &CustomerSearchPanel::lookedUp);
        for (const char *button : {"BitBtn1", "BitBtn9", "BitBtn10", "BitBtn13", "BitBtn11"}) {
            ModalAnswerer answers;
            host.click(button);
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().size(), 1);
            QCOMPARE(answers.seen()[0].text, QStringLiteral("请输入检索信息后再回车！"));
            QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        }
        ModalAnswerer none;
        host.enter("Edit5", ""); // Enter in the empty number field: nothing
        host.enter("Edit7", "1391"); // the mobile field has no Enter action
        QTest::qWait(20);
        QCOMPARE(none.seen().size(), 0);
        QCOMPARE(lookedUp.size(), 0);
        host.click("BitBtn13");
        QCOMPARE(lookedUp.size(), 1);
        QCOMPARE(host.edit("Edit1")->text(), QStringLiteral("王五"));
    }

    void queryFuzzySearchOnTheChosenColumn_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("telephone, database order") << "电话"
                                                   << "555" << QStringList {"王五", "O'Brien"};
        QTest::newRow("empty text") << "手机"
                                    << "" << QStringList {"王五", "李四", "O'Brien"};
        QTest::newRow("percent") << "地址"
                                 << "100%" << QStringList {"O'Brien"};
        QTest::newRow("number") << "客户编号"
                                << "2" << QStringList {"李四"};
        QTest::newRow("quote") << "客户名称"
                               << "'" << QStringList {"O'Brien"};
    }
    void queryFuzzySearchOnTheChosenColumn()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        TestFolder folder;
        addCustomers();
        Host host(CustomerSearchConfig::jiaokuanjilu());
        auto *columns = child<QComboBox>(&host, "ComboBox1");
        QCOMPARE(items(columns), QStringList({"客户名称", "地址", "电话", "手机", "客户编号"}));
        QCOMPARE(columns->currentIndex(), 0);
        columns->setCurrentIndex(int(items(columns).indexOf(column)));
        host.edit("Edit5")->setText(text);
        host.enter("Edit5", text); // Enter in the fuzzy text does nothing
        QVERIFY(!host.resultsShown());
        host.click("BitBtn7");
        QVERIFY(host.resultsShown());
        QCOMPARE(host.resultNames(), found);

        QSignalSpy taken(host.panel, &CustomerSearchPanel::customerTaken);
        host.doubleClickRow(0);
        QVERIFY(!host.resultsShown());
        QCOMPARE(host.edit("Edit1")->text(), found.value(0));
        QCOMPARE(taken.size(), 1);
    }

    void queryFuzzyRefusesTypedColumnsAndIgnoresAnEmptyList()
    {
        TestFolder folder;
        addCustomers();
        Host host(CustomerSearchConfig::dingxiugai());
        auto *columns = child<QComboBox>(&host, "ComboBox1");
        columns->lineEdit()->clear();
        typeText(columns->lineEdit(), QStringLiteral("备注 or 1=1"));
        ModalAnswerer answers;
        host.click("BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].text, QStringLiteral("请从列表中选择要查找的字段！"));
        QVERIFY(!host.resultsShown());

        columns->setCurrentIndex(0);
        host.edit("Edit5")->setText(QStringLiteral("没有这个人"));
        host.click("BitBtn1");
        QCOMPARE(host.resultNames(), QStringList());
        QSignalSpy taken(host.panel, &CustomerSearchPanel::customerTaken);
        host.edit("Edit1")->setText(QStringLiteral("留着"));
        host.doubleClickRow(-1);
        QCOMPARE(taken.size(), 0);
        QCOMPARE(host.edit("Edit1")->text(), QStringLiteral("留着"));
        host.click("BitBtn8"); // "隐藏"
        QVERIFY(!host.resultsShown());
    }

    void resultListIsSharedBetweenScreens()
    {
        TestFolder folder;
        addCustomers();
        Host sales(CustomerSearchConfig::dinggou());
        Host history(CustomerSearchConfig::chaxun());
        history.click("BitBtn7"); // everything with a name
        QCOMPARE(history.resultNames().size(), 3);
        sales.edit("Edit1")->setText(QStringLiteral("李"));
        sales.click("BitBtn1");
        QCOMPARE(history.resultNames(), QStringList({"李四"}));
        QVERIFY(history.resultsShown());
    }
};

QTEST_MAIN(TestCustomerSearchPanel)
#include "tst_customersearchpanel.moc"
