// The new-customer and modify-customer dialogs, driven as a user drives them.
#include "master/xinzengkehufrm.h"
#include "master/xiugaikehufrm.h"
#include "masterhelpers.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/customerstore.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace MasterTest;

namespace {

// Shows a reused dialog for one test and hides it again afterwards, as closing it would.
struct Shown
{
    explicit Shown(QDialog *d)
        : dialog(d)
    {
        dialog->show();
        QApplication::setActiveWindow(dialog);
    }
    ~Shown() { dialog->hide(); }
    QDialog *dialog;
};

void type(QWidget *dialog, const char *name, const QString &text)
{
    auto *edit = child<QLineEdit>(dialog, name);
    edit->setFocus();
    edit->selectAll();
    typeText(edit, text);
}

Customer someone(qint64 number, const QString &name)
{
    Customer c;
    c.number = number;
    c.name = name;
    c.telephone = QStringLiteral("0571-1");
    c.since = QDate(2020, 1, 2);
    return c;
}

} // namespace

class TestCustomerDialogs : public QObject
{
    Q_OBJECT
private slots:
    void newCustomerSavesOnceUntilNext()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        Txinzengkehu *dialog = xinzengkehu();
        QCOMPARE(dialog, xinzengkehu()); // one reused instance
        QCOMPARE(dialog->windowTitle(), QStringLiteral("新增客户档案"));
        Shown shown(dialog);
        QCOMPARE(child<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("1"));
        QVERIFY(child<QLineEdit>(dialog, "Edit1")->isReadOnly());

        type(dialog, "Edit2", QStringLiteral("O'Brien 张"));
        type(dialog, "Edit3", QStringLiteral("城关镇'东村"));
        type(dialog, "Edit6", QStringLiteral("李四"));
        child<QDateEdit>(dialog, "DateTimePicker1")->setDate(QDate(2023, 4, 5));
        auto *memo = child<QPlainTextEdit>(dialog, "Memo1");
        memo->setFocus();
        typeText(memo, QStringLiteral("一"));
        QTest::keyClick(memo, Qt::Key_Return); // ordinary text input here
        typeText(memo, QStringLiteral("二"));

        auto *save = child<QPushButton>(dialog, "BitBtn1");
        ModalAnswerer answers;
        QTest::mouseClick(save, Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("客户档案新增成功！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Information);
        QVERIFY(!save->isEnabled());
        QCOMPARE(stored(1, "客户名称").toString(), QStringLiteral("O'Brien 张"));
        QCOMPARE(stored(1, "地址").toString(), QStringLiteral("城关镇'东村"));
        QCOMPARE(stored(1, "身份证号").toString(), QStringLiteral("李四"));
        QCOMPARE(stored(1, "电话").toString(), QString()); // empty text, not missing
        QVERIFY(!stored(1, "电话").isNull());
        QCOMPARE(stored(1, "起用日期").toString(), QStringLiteral("2023-04-05"));
        QCOMPARE(stored(1, "备注").toString(), QStringLiteral("一\n二"));

        QTest::mouseClick(child<QPushButton>(dialog, "BitBtn3"), Qt::LeftButton);
        QVERIFY(save->isEnabled());
        QCOMPARE(child<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("2"));
        QCOMPARE(child<QLineEdit>(dialog, "Edit2")->text(), QString());
        QCOMPARE(child<QDateEdit>(dialog, "DateTimePicker1")->date(), QDate::currentDate());
        QCOMPARE(customerCount(), 1);
    }

    void missingNumberOrNameWritesNothing()
    {
        TestFolder folder;
        Txinzengkehu *dialog = xinzengkehu();
        Shown shown(dialog);
        type(dialog, "Edit4", QStringLiteral("123")); // a telephone alone is not enough
        ModalAnswerer answers;
        QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("信息不完整！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(customerCount(), 0);
        QVERIFY(child<QPushButton>(dialog, "BitBtn1")->isEnabled());
    }

    void failedInsertKeepsSaveEnabled()
    {
        TestFolder folder;
        Txinzengkehu *dialog = xinzengkehu();
        Shown shown(dialog);
        // Another counter takes number 1 while the dialog is open.
        CustomerStore(DM1()->ADOConnection1()).insert(someone(1, QStringLiteral("先到")));
        type(dialog, "Edit2", QStringLiteral("后到"));
        ModalAnswerer answers;
        QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].icon, QMessageBox::NoIcon);
        QVERIFY(!answers.seen()[0].text.isEmpty());
        QVERIFY(child<QPushButton>(dialog, "BitBtn1")->isEnabled());
        QCOMPARE(stored(1, "客户名称").toString(), QStringLiteral("先到"));
        QCOMPARE(customerCount(), 1);
    }

    void enterMovesAlongTheChain()
    {
        TestFolder folder;
        Txinzengkehu *dialog = xinzengkehu();
        Shown shown(dialog);
        const char *chain[] = {"Edit1", "Edit2", "Edit6",           "Edit4", "Edit5",
                               "Edit3", "Edit7", "DateTimePicker1", "Memo1"};
        for (size_t i = 0; i + 1 < std::size(chain); ++i) {
            QWidget *from = child<QWidget>(dialog, chain[i]);
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Return);
            QVERIFY2(child<QWidget>(dialog, chain[i + 1])->hasFocus(), chain[i]);
        }
        QCOMPARE(customerCount(), 0); // Enter never presses "保存"
    }

    void pickListsHelpTypeTheAddress()
    {
        TestFolder folder;
        addPlace(QStringLiteral("城关镇"), QStringLiteral("东村"));
        addPlace(QStringLiteral("城关镇"), QStringLiteral("西村"));
        addPlace(QStringLiteral("O'Neil镇"), QStringLiteral("O'村"));
        addPlace(QStringLiteral("城关镇"), QStringLiteral("东村"));
        for (CustomerDialog *dialog : QList<CustomerDialog *> {xinzengkehu(), xiugaikehu()}) {
            Shown shown(dialog);
            auto *townships = child<QComboBox>(dialog, "ComboBox1");
            auto *villages = child<QComboBox>(dialog, "ComboBox2");
            auto *address = child<QLineEdit>(dialog, "Edit3");
            QCOMPARE(items(townships), QStringList({"O'Neil镇", "城关镇"}));
            QCOMPARE(items(villages), QStringList({"O'村"}));
            address->setText(QStringLiteral("旧地址"));

            choose(townships, 1);
            QCOMPARE(address->text(), QStringLiteral("城关镇")); // replaced
            QCOMPARE(items(villages), QStringList({"东村", "西村"}));
            choose(villages, 1);
            QCOMPARE(address->text(), QStringLiteral("城关镇西村"));
            choose(villages, 1);
            QCOMPARE(address->text(), QStringLiteral("城关镇西村西村")); // appended again
            choose(townships, 0);
            QCOMPARE(address->text(), QStringLiteral("O'Neil镇"));
            choose(villages, 0);
            QCOMPARE(address->text(), QStringLiteral("O'Neil镇O'村"));
        }
    }

    void emptyPlacesLeaveEmptyLists()
    {
        TestFolder folder;
        Txinzengkehu *dialog = xinzengkehu();
        Shown shown(dialog);
        QCOMPARE(child<QComboBox>(dialog, "ComboBox1")->count(), 0);
        QCOMPARE(child<QComboBox>(dialog, "ComboBox2")->count(), 0);
        type(dialog, "Edit2", QStringLiteral("甲"));
        type(dialog, "Edit3", QStringLiteral("手写地址"));
        ModalAnswerer answers;
        QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(stored(1, "地址").toString(), QStringLiteral("手写地址"));
    }

    void modifyWritesTheRowItWasOpenedFor()
    {
        TestFolder folder;
        CustomerStore store(DM1()->ADOConnection1());
        store.insert(someone(1, QStringLiteral("甲")));
        store.insert(someone(2, QStringLiteral("乙")));
        Txiugaikehu *dialog = xiugaikehu();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("修改客户档案"));
        dialog->edit(*store.find(2));
        Shown shown(dialog);
        QCOMPARE(child<QLineEdit>(dialog, "Edit2")->text(), QStringLiteral("乙"));
        QCOMPARE(child<QDateEdit>(dialog, "DateTimePicker1")->date(), QDate(2020, 1, 2));
        type(dialog, "Edit2", QStringLiteral("乙'改"));
        type(dialog, "Edit7", QStringLiteral("税号9"));
        // Even a changed number field does not redirect the write.
        child<QLineEdit>(dialog, "Edit1")->setText(QStringLiteral("1"));

        ModalAnswerer answers;
        QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("修改客户档案成功！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Information);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(stored(2, "客户名称").toString(), QStringLiteral("乙'改"));
        QCOMPARE(stored(2, "出生年").toString(), QStringLiteral("税号9"));
        QCOMPARE(stored(1, "客户名称").toString(), QStringLiteral("甲"));
    }

    void modifyOfAVanishedCustomerIsAnError()
    {
        TestFolder folder;
        CustomerStore store(DM1()->ADOConnection1());
        store.insert(someone(3, QStringLiteral("丙")));
        Txiugaikehu *dialog = xiugaikehu();
        dialog->edit(*store.find(3));
        Shown shown(dialog);
        QVERIFY(store.remove(3));
        ModalAnswerer answers;
        QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].icon, QMessageBox::NoIcon);
        QVERIFY(dialog->isVisible());
        QCOMPARE(customerCount(), 0);

        type(dialog, "Edit2", QString()); // emptied name
        child<QLineEdit>(dialog, "Edit2")->clear();
        QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen()[1].text, QStringLiteral("信息不完整！"));
    }
};

QTEST_MAIN(TestCustomerDialogs)
#include "tst_customerdialogs.moc"
