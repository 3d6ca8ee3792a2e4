// The customer list: search, delete, modify, refresh and export, driven through its controls.
#include "master/kehufrm.h"
#include "masterhelpers.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/customerstore.h"
#include "ui/datagrid.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

using namespace MasterTest;

namespace {

void addCustomers()
{
    CustomerStore store(DM1()->ADOConnection1());
    const char *rows[][3] = {{"张三", "城关镇东村", "100"},
                             {"李四", "北镇东村口", "200"},
                             {"打折50%", "西村", "300"}};
    qint64 number = 0;
    for (const auto &row : rows) {
        Customer c;
        c.number = ++number;
        c.name = QString::fromUtf8(row[0]);
        c.address = QString::fromUtf8(row[1]);
        c.telephone = QString::fromUtf8(row[2]);
        c.since = QDate(2021, 6, 7);
        store.insert(c);
    }
}

QStringList names(DataGrid *grid)
{
    QStringList result;
    for (int row = 0; row < grid->rowCount(); ++row)
        result << grid->cellText(row, 1);
    return result;
}

struct Screen
{
    Screen()
    {
        kehu = new Tkehu;
        kehu->show();
        QApplication::setActiveWindow(kehu);
        grid = child<DataGrid>(kehu, "DBGridEh1");
    }
    ~Screen() { delete kehu; }
    void click(const char *name)
    {
        QTest::mouseClick(child<QAbstractButton>(kehu, name), Qt::LeftButton);
    }
    void search(const QString &column, const QString &text)
    {
        auto *combo = child<QComboBox>(kehu, "ComboBox1");
        combo->lineEdit()->clear();
        typeText(combo->lineEdit(), column);
        auto *edit = child<QLineEdit>(kehu, "Edit1");
        edit->clear();
        typeText(edit, text);
        click("BitBtn1");
    }
    void selectRow(int row)
    {
        QTableView *view = grid->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 1)).center());
    }
    Tkehu *kehu;
    DataGrid *grid;
};

} // namespace

class TestKehu : public QObject
{
    Q_OBJECT
private slots:
    void showsEveryCustomerUnderItsTitles()
    {
        TestFolder folder;
        addCustomers();
        Screen s;
        QCOMPARE(s.kehu->windowTitle(), QStringLiteral("客户档案"));
        QStringList titles;
        for (const GridColumn &column : s.grid->columns())
            titles << column.title;
        QCOMPARE(titles,
                 QStringList({"客户编号", "客户名称", "联系人", "电话", "手机", "地址", "单位税号",
                              "备注", "起用日期"}));
        QCOMPARE(names(s.grid), QStringList({"张三", "李四", "打折50%"}));
        QCOMPARE(s.grid->cellText(0, 8), QStringLiteral("2021-06-07"));
        QCOMPARE(items(child<QComboBox>(s.kehu, "ComboBox1")),
                 QStringList({"客户名称", "地址", "电话", "手机"}));
        QCOMPARE(child<QComboBox>(s.kehu, "ComboBox1")->currentText(), QStringLiteral("客户名称"));
        QStringList captions;
        for (const char *name : {"BtnNew", "BtnEdit", "BtnDelete", "BtnRefresh", "BtnExit"})
            captions << child<QToolButton>(s.kehu, name)->text();
        QCOMPARE(captions, QStringList({"新增", "修改", "删除", "刷新", "退出"}));
    }

    void searchFindsTextAnywhereInTheChosenColumn_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("address, not anchored") << "地址"
                                               << "东村" << QStringList {"张三", "李四"};
        QTest::newRow("empty text lists all") << "客户名称"
                                              << "" << QStringList {"张三", "李四", "打折50%"};
        QTest::newRow("percent typed") << "客户名称"
                                       << "%" << QStringList {"打折50%"};
        QTest::newRow("quote typed") << "客户名称"
                                     << "'" << QStringList {};
        QTest::newRow("telephone") << "电话"
                                   << "00" << QStringList {"张三", "李四", "打折50%"};
    }
    void searchFindsTextAnywhereInTheChosenColumn()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        TestFolder folder;
        addCustomers();
        Screen s;
        ModalAnswerer answers;
        s.search(column, text);
        QCOMPARE(answers.seen().size(), 0);
        QCOMPARE(names(s.grid), found);
        s.click("BtnRefresh"); // drops the filter
        QCOMPARE(s.grid->rowCount(), 3);
    }

    void searchRefusesAColumnNotOffered_data()
    {
        QTest::addColumn<QString>("column");
        QTest::newRow("statement text") << "1=1 or 客户名称";
        QTest::newRow("other column") << "备注";
        QTest::newRow("empty") << "";
    }
    void searchRefusesAColumnNotOffered()
    {
        QFETCH(QString, column);
        TestFolder folder;
        addCustomers();
        Screen s;
        s.search(QStringLiteral("地址"), QStringLiteral("西"));
        ModalAnswerer answers;
        s.search(column, QStringLiteral("x"));
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("请从列表中选择要查找的字段！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(names(s.grid), QStringList({"打折50%"})); // the list stays as it was
    }

    void deleteAsksThenRemovesTheCurrentCustomer()
    {
        TestFolder folder;
        addCustomers();
        Screen s;
        s.selectRow(1);
        for (const auto answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
            ModalAnswerer answers;
            answers.button(answer);
            s.click("BtnDelete");
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().size(), 1);
            QCOMPARE(answers.seen()[0].title, QStringLiteral("系统提示"));
            QCOMPARE(answers.seen()[0].text,
                     QStringLiteral("确实要删除该客户档案吗？注意：该操作不可恢复！"));
            QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);
        }
        QCOMPARE(customerCount(), 2);
        QVERIFY(stored(2, "客户名称").isNull());
        QCOMPARE(names(s.grid), QStringList({"张三", "打折50%"}));
    }

    void emptyListIgnoresDeleteModifyAndExport()
    {
        TestFolder folder;
        Screen s;
        QCOMPARE(s.grid->rowCount(), 0);
        ModalAnswerer answers;
        answers.button(QMessageBox::Ok);
        s.click("BtnDelete"); // only the question; no error after it
        QVERIFY(answers.waitDone());
        s.click("BtnEdit");
        s.click("BitBtn2");
        QTest::qWait(50);
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);
    }

    void modifyOpensTheDialogOnTheCurrentRow()
    {
        TestFolder folder;
        addCustomers();
        Screen s;
        s.selectRow(1);
        ModalAnswerer answers;
        QString shownName;
        answers.dialog([&shownName](QWidget *dialog) {
            shownName = child<QLineEdit>(dialog, "Edit2")->text();
            auto *name = child<QLineEdit>(dialog, "Edit2");
            name->clear();
            typeText(name, QStringLiteral("李四改"));
            QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        });
        s.click("BtnEdit");
        QVERIFY(answers.waitDone());
        QTRY_COMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen()[0].objectName, QStringLiteral("xiugaikehu"));
        QCOMPARE(answers.seen()[1].text, QStringLiteral("修改客户档案成功！"));
        QCOMPARE(shownName, QStringLiteral("李四"));
        QCOMPARE(stored(2, "客户名称").toString(), QStringLiteral("李四改"));
        QCOMPARE(names(s.grid)[1], QStringLiteral("李四")); // a snapshot until "刷新"
        s.click("BtnRefresh");
        QCOMPARE(names(s.grid)[1], QStringLiteral("李四改"));
    }

    void newOpensTheNewCustomerDialogAndModifyRefusesABadDate()
    {
        TestFolder folder;
        addCustomers();
        Db::exec(DM1()->ADOConnection1(),
                 QStringLiteral("update 客户信息 set 起用日期 = null where 客户编号 = 1"));
        Screen s;
        {
            ModalAnswerer answers;
            QString proposed;
            answers.dialog([&proposed](QWidget *dialog) {
                proposed = child<QLineEdit>(dialog, "Edit1")->text();
                QTest::mouseClick(child<QPushButton>(dialog, "BitBtn2"), Qt::LeftButton);
            });
            s.click("BtnNew");
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen()[0].objectName, QStringLiteral("xinzengkehu"));
            QCOMPARE(proposed, QStringLiteral("4"));
        }

        ModalAnswerer dateError;
        s.selectRow(0);
        s.click("BtnEdit");
        QTRY_COMPARE(dateError.seen().size(), 1);
        QCOMPARE(dateError.seen()[0].kind, QStringLiteral("QMessageBox"));
        QCOMPARE(dateError.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(!dateError.sawUnexpected()); // the modify dialog was not opened
    }

    void exportWritesTheRowsShown()
    {
        TestFolder folder;
        addCustomers();
        Screen s;
        s.search(QStringLiteral("地址"), QStringLiteral("东村"));
        const QString path = folder.file(QStringLiteral("out"));
        ModalAnswerer answers;
        answers.file(path);
        s.click("BitBtn2");
        QVERIFY(answers.waitDone());
        QTRY_COMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen()[1].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[1].text, QStringLiteral("导出数据成功！"));
        QCOMPARE(answers.seen()[1].icon, QMessageBox::Information);
        QVERIFY(QFile::exists(path + QStringLiteral(".xls")));
    }
};

QTEST_MAIN(TestKehu)
#include "tst_kehu.moc"
