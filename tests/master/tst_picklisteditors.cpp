// The township / village and repair item editors: in-place editing through the navigator.
#include "master/xiangmufrm.h"
#include "master/xiangzhenfrm.h"
#include "masterhelpers.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "data/pickliststore.h"
#include "ui/datagrid.h"

#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QToolButton>

using namespace MasterTest;

namespace {

QStringList column(DataGrid *grid, int c)
{
    QStringList result;
    for (int row = 0; row < grid->rowCount(); ++row)
        result << grid->cellText(row, c);
    return result;
}

QToolButton *button(QWidget *screen, const char *name)
{
    return child<QToolButton>(screen, name);
}

// Types into the cell editor that has the focus and leaves it with Tab.
void typeCell(const QString &text)
{
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor);
    typeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Tab);
}

} // namespace

class TestPickListEditors : public QObject
{
    Q_OBJECT
private slots:
    void screensCarryTheirDesign_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("townships") << "xiangzhen"
                                   << "乡镇、村庄设置" << QStringList {"乡镇", "村庄"};
        QTest::newRow("repair items") << "xiangmu"
                                      << "维修项目设置" << QStringList {"维修项目"};
    }
    void screensCarryTheirDesign()
    {
        QFETCH(QString, which);
        QFETCH(QString, caption);
        QFETCH(QStringList, titles);
        TestFolder folder;
        std::unique_ptr<PickListEditor> screen(
                which == QLatin1String("xiangzhen") ? static_cast<PickListEditor *>(new Txiangzhen)
                                                    : new Txiangmu);
        QCOMPARE(screen->objectName(), which);
        QCOMPARE(screen->windowTitle(), caption);
        QStringList captions;
        for (const char *name : {"nbInsert", "nbDelete", "nbEdit", "nbPost", "nbCancel", "Button1"})
            captions << button(screen.get(), name)->text();
        QCOMPARE(captions, QStringList({"新增", "删除", "修改", "保存", "取消", "退出"}));
        QVERIFY(child<QWidget>(screen.get(), "DBAdvNavigator1"));
        auto *grid = child<DataGrid>(screen.get(), "DBGridEh1");
        QCOMPARE(grid->toolTip(), QStringLiteral("单击列头可实现排序"));
        QStringList shownTitles;
        for (int c = 0; c < grid->view()->model()->columnCount(); ++c)
            shownTitles << grid->view()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(shownTitles, titles);
    }

    void townshipsAreEditedInPlace()
    {
        TestFolder folder;
        addPlace(QStringLiteral("城关镇"), QStringLiteral("东村"));
        addPlace(QStringLiteral("北镇"), QStringLiteral("一村"));
        auto *screen = new Txiangzhen;
        QPointer<Txiangzhen> alive(screen);
        screen->show();
        QApplication::setActiveWindow(screen);
        auto *grid = child<DataGrid>(screen, "DBGridEh1");
        QCOMPARE(column(grid, 0), QStringList({"北镇", "城关镇"}));
        QVERIFY(!button(screen, "nbPost")->isEnabled());

        // A new township with a village, an apostrophe in both names.
        QTest::mouseClick(button(screen, "nbInsert"), Qt::LeftButton);
        QVERIFY(button(screen, "nbPost")->isEnabled());
        typeCell(QStringLiteral("O'Neil镇"));
        typeCell(QStringLiteral("O'村"));
        QTest::mouseClick(button(screen, "nbPost"), Qt::LeftButton);
        QVERIFY(!button(screen, "nbPost")->isEnabled());
        PickListStore lists(DM1()->ADOConnection1());
        QCOMPARE(lists.townships(), QStringList({"O'Neil镇", "北镇", "城关镇"}));
        QCOMPARE(lists.villages(QStringLiteral("O'Neil镇")), QStringList({"O'村"}));

        // Sorting by a title click re-orders the loaded rows, alternately.
        const int before = int(lists.townships().size());
        QHeaderView *header = grid->view()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        const QStringList first = column(grid, 0);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        QStringList reversed = column(grid, 0);
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(reversed, first);
        QVERIFY(first != column(grid, 0));
        QCOMPARE(int(lists.townships().size()), before);

        // Deleting asks first; Cancel keeps the row, OK removes it from the table.
        grid->setCurrentRow(int(column(grid, 0).indexOf(QStringLiteral("北镇"))));
        for (const auto answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
            ModalAnswerer answers;
            answers.button(answer);
            QTest::mouseClick(button(screen, "nbDelete"), Qt::LeftButton);
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().size(), 1);
            QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);
            QCOMPARE(lists.townships().size(), answer == QMessageBox::Ok ? 2 : 3);
        }
        QCOMPARE(lists.townships(), QStringList({"O'Neil镇", "城关镇"}));

        QTest::mouseClick(button(screen, "Button1"), Qt::LeftButton);
        QTRY_VERIFY(!alive); // closing destroys the screen
    }

    void cancelledInsertLeavesTheTableAsItWas()
    {
        TestFolder folder;
        addPlace(QStringLiteral("城关镇"), QStringLiteral("东村"));
        addPlace(QStringLiteral("北镇"), QStringLiteral("一村"));
        Txiangzhen screen;
        screen.show();
        QApplication::setActiveWindow(&screen);
        auto *grid = child<DataGrid>(&screen, "DBGridEh1");
        QTableView *view = grid->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(1, 0)).center());
        QCOMPARE(grid->currentRow(), 1);
        QTest::mouseClick(button(&screen, "nbInsert"), Qt::LeftButton);
        typeText(QApplication::focusWidget(), QStringLiteral("不要"));
        QTest::mouseClick(button(&screen, "nbCancel"), Qt::LeftButton);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(PickListStore(DM1()->ADOConnection1()).townships(),
                 QStringList({"北镇", "城关镇"}));
    }

    void rowStillBeingTypedIsWrittenOnClose()
    {
        TestFolder folder;
        auto *screen = new Txiangmu;
        QPointer<Txiangmu> alive(screen);
        screen->show();
        QApplication::setActiveWindow(screen);
        auto *grid = child<DataGrid>(screen, "DBGridEh1");
        QCOMPARE(column(grid, 0), PickListStore(DM1()->ADOConnection1()).repairItems());
        QTest::mouseClick(button(screen, "nbInsert"), Qt::LeftButton);
        typeText(QApplication::focusWidget(), QStringLiteral("电源"));
        screen->close();
        QTRY_VERIFY(!alive);
        QVERIFY(PickListStore(DM1()->ADOConnection1())
                        .repairItems()
                        .contains(QStringLiteral("电源")));
    }
};

QTEST_MAIN(TestPickListEditors)
#include "tst_picklisteditors.moc"
