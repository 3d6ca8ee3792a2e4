// The data grid over a result set (formats, footers over the whole result, sorting, signals,
// large results) and in place over an editable pick list with its record navigator.
#include "data/db.h"
#include "data/editabletable.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"
#include "ui/datagrid.h"
#include "ui/datanavigator.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>

namespace {

GridColumns receiptColumns()
{
    return {
            {"客户编号", "编号", 60, GridColumn::Kind::Integer, Qt::AlignRight | Qt::AlignVCenter,
             Qt::AlignCenter, GridColumn::Footer::Text, "合计"},
            {"客户名称",
             "名称",
             0,
             GridColumn::Kind::Text,
             Qt::AlignLeft | Qt::AlignVCenter,
             Qt::AlignCenter,
             GridColumn::Footer::Count,
             {}},
            {"金额",
             "金额",
             80,
             GridColumn::Kind::Money,
             Qt::AlignRight | Qt::AlignVCenter,
             Qt::AlignCenter,
             GridColumn::Footer::Sum,
             {}},
            {"日期",
             "日期",
             90,
             GridColumn::Kind::Date,
             Qt::AlignCenter,
             Qt::AlignCenter,
             GridColumn::Footer::None,
             {}},
            {"发票",
             "发票",
             40,
             GridColumn::Kind::Flag,
             Qt::AlignCenter,
             Qt::AlignCenter,
             GridColumn::Footer::None,
             {}},
    };
}

QStringList column(const DataGrid &grid, int c)
{
    QStringList texts;
    for (int r = 0; r < grid.rowCount(); ++r)
        texts << grid.cellText(r, c);
    return texts;
}

QStringList tableRows(const QSqlDatabase &db, const QString &sql)
{
    QStringList rows;
    QSqlQuery q = Db::exec(db, sql);
    while (q.next())
        rows << q.value(0).toString();
    return rows;
}

} // namespace

class TestDataGrid : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() { m_folder.reset(); }

    void formatsCellsAndFootsTheWholeResult()
    {
        const QSqlDatabase db = m_folder->dm()->ADOConnection1();
        Db::exec(db,
                 "insert into 收款记录 (客户编号, 客户名称, 金额, 日期, 经手人) with recursive "
                 "n(i) as (select 1 union all select i + 1 from n where i < 5000) "
                 "select i, '客户' || i, i * 5000, '2024-02-29', i % 2 from n");
        Db::exec(db, "update 收款记录 set 日期 = null, 客户名称 = ? where 客户编号 = 2",
                 {"两行\n文字"});
        ResultSet *rs = m_folder->dm()->ADOQuery(12);
        DataGrid grid;
        QAbstractItemModelTester tester(grid.view()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.setColumns(receiptColumns());
        grid.setResultSet(rs);
        QVERIFY(grid.footerTexts().isEmpty() || grid.footerTexts().at(1) == "0");
        rs->open("select 客户编号, 客户名称, 金额, 日期, 经手人 = '1' as 发票 from 收款记录 "
                 "order by 客户编号");
        QCOMPARE(grid.rowCount(), 5000);
        QCOMPARE(grid.cellText(0, 2), QStringLiteral("0.5"));
        QCOMPARE(grid.cellText(1, 2), QStringLiteral("1"));
        QCOMPARE(grid.cellText(0, 3), QStringLiteral("2024-02-29"));
        QCOMPARE(grid.cellText(1, 3), QString());
        QCOMPARE(grid.cellText(1, 1), QStringLiteral("两行\n文字"));
        QCOMPARE(grid.cellText(0, 4), QStringLiteral("是"));
        QCOMPARE(grid.cellText(1, 4), QStringLiteral("否"));
        QCOMPARE(grid.view()->model()->index(0, 2).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(grid.view()->model()->headerData(2, Qt::Horizontal).toString(), "金额");
        // 5000 * 5001 / 2 * 5000 units
        QCOMPARE(grid.footerTexts(), QStringList({"合计", "5000", "6251250", "", ""}));
        QVERIFY(rs->cachedChunks() <= 1); // the footer did not walk the rows
        QVERIFY(grid.findChild<QWidget *>("footer")->isVisibleTo(&grid));

        // The footer follows the shared result set when another screen re-opens it.
        rs->open("select * from 收款记录 where 客户编号 <= ?", {3});
        QCOMPARE(grid.footerTexts(), QStringList({"合计", "3", "3", "", ""}));
        rs->close();
        QCOMPARE(grid.rowCount(), 0);
        QCOMPARE(grid.footerTexts().at(1), QStringLiteral("0"));

        GridColumns plain = receiptColumns();
        for (GridColumn &c : plain)
            c.footer = GridColumn::Footer::None;
        grid.setColumns(plain);
        QVERIFY(!grid.findChild<QWidget *>("footer")->isVisibleTo(&grid));
    }

    void scrollsToTheEndOfALargeResultWithABoundedCache()
    {
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 金额) with recursive n(i) as "
                 "(select 1 union all select i + 1 from n where i < 100000) select i, i from n");
        ResultSet *rs = m_folder->dm()->ADOQuery(3);
        DataGrid grid;
        grid.setColumns(receiptColumns());
        grid.setResultSet(rs);
        grid.resize(600, 400);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        rs->open("select * from 收款记录 order by 客户编号");
        grid.setCurrentRow(99999);
        grid.view()->scrollToBottom();
        QCoreApplication::processEvents();
        QCOMPARE(grid.currentRow(), 99999);
        QCOMPARE(grid.cellText(99999, 0), QStringLiteral("100000"));
        QCOMPARE(grid.cellText(0, 0), QStringLiteral("1"));
        QVERIFY(rs->cachedChunks() <= ResultSet::MaxChunks);
        QCOMPARE(grid.footerTexts().at(1), QStringLiteral("100000"));
    }

    // The footer paints its cells under the columns. When rows arrive the row numbers appear
    // and push the columns right; on a real display the footer then stayed where the columns
    // had been (seen on the customer history screen). Moving the columns repaints it.
    void footerIsRepaintedWhenTheColumnsMove()
    {
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 金额) values (1, 10000), (2, 20000)");
        ResultSet *rs = m_folder->dm()->ADOQuery(3);
        DataGrid grid;
        grid.setColumns(receiptColumns());
        grid.setResultSet(rs);
        grid.resize(600, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        rs->open("select * from 收款记录 order by 客户编号");
        QTest::qWait(50);
        struct PaintCounter : QObject
        {
            int paints = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        grid.findChild<QWidget *>("footer")->installEventFilter(&counter);
        QWidget *viewport = grid.view()->viewport();
        QMoveEvent moved(viewport->pos(), viewport->pos() - QPoint(18, 0));
        QCoreApplication::sendEvent(viewport, &moved);
        QTRY_VERIFY(counter.paints > 0);
    }

    // A new statement (another customer, another period) shows its first rows; running the
    // same one again (a refresh after a save) keeps the place the user scrolled to.
    void newStatementStartsAtTheTopAndARefreshKeepsThePlace()
    {
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 金额) with recursive n(i) as "
                 "(select 1 union all select i + 1 from n where i < 3000) select i, i from n");
        ResultSet *rs = m_folder->dm()->ADOQuery(3);
        DataGrid grid;
        grid.setColumns(receiptColumns());
        grid.setResultSet(rs);
        grid.resize(600, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QScrollBar *bar = grid.view()->verticalScrollBar();
        const QString sql = "select * from 收款记录 where 客户编号 <= ? order by 客户编号";
        rs->open(sql, {3000});
        grid.view()->scrollToBottom();
        QTRY_VERIFY(bar->value() > 0);
        const int scrolled = bar->value();
        rs->reopen();
        QTest::qWait(20);
        QCOMPARE(bar->value(), scrolled);
        rs->open(sql, {2999});
        QTRY_COMPARE(bar->value(), 0);
        grid.view()->scrollToBottom();
        QTRY_VERIFY(bar->value() > 0);
        rs->open("select * from 收款记录 order by 金额 desc");
        QTRY_COMPARE(bar->value(), 0);
    }

    void largeResultFootsOnAWorkerAndDropsStaleAnswers()
    {
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 金额) with recursive n(i) as "
                 "(select 1 union all select i + 1 from n where i < 300) select i, i * 100 from n");
        ResultSet *rs = m_folder->dm()->ADOQuery(5);
        const QString sql = "select * from 收款记录 where 客户编号 <= ? order by 客户编号";
        const QStringList pending({"合计", "…", "…", "", ""});
        auto grid = std::make_unique<DataGrid>();
        grid->setAsyncFooterRows(50);
        grid->setColumns(receiptColumns());
        grid->setResultSet(rs);

        // Nothing reaches the UI thread before the event loop runs: the first texts are "…".
        rs->open(sql, {200});
        QCOMPARE(grid->shownFooterTexts(), pending);
        QTRY_COMPARE(grid->shownFooterTexts(), QStringList({"合计", "200", "201", "", ""}));

        // Results below the threshold stay synchronous; the answer for the values shown before
        // is already posted and must not replace them.
        rs->open(sql, {300});
        QThreadPool::globalInstance()->waitForDone();
        rs->open(sql, {10});
        QCOMPARE(grid->shownFooterTexts(), QStringList({"合计", "10", "0.55", "", ""}));
        QCoreApplication::processEvents();
        QCOMPARE(grid->shownFooterTexts(), QStringList({"合计", "10", "0.55", "", ""}));

        // Two reopens in a row: whichever answer comes last, only the newest values show.
        rs->open(sql, {300});
        rs->open(sql, {100});
        QCOMPARE(grid->shownFooterTexts(), pending);
        QTRY_COMPARE(grid->shownFooterTexts(), QStringList({"合计", "100", "50.5", "", ""}));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(grid->shownFooterTexts(), QStringList({"合计", "100", "50.5", "", ""}));

        // Printing asks while the sums are still on their way: it gets the real figures.
        rs->open(sql, {60});
        QCOMPARE(grid->footerTexts(), QStringList({"合计", "60", "18.3", "", ""}));

        // A close while computing ends at the closed result's zeros, not the late answer.
        rs->open(sql, {300});
        rs->close();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(grid->shownFooterTexts(), QStringList({"合计", "0", "0", "", ""}));

        // The grid going away while its worker runs: the answer finds no one and is dropped.
        rs->open(sql, {300});
        grid.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QVERIFY(QSqlDatabase::connectionNames().filter("merrow-totals").isEmpty());
    }

    void titleClickSortsAndDoubleClicksReportTheRow()
    {
        const QSqlDatabase db = m_folder->dm()->ADOConnection1();
        for (int i : {3, 1, 2})
            Db::exec(db, "insert into 收款记录 (客户编号, 金额) values (?, 0)", {i});
        ResultSet *rs = m_folder->dm()->ADOQuery(6);
        rs->open("select * from 收款记录");
        DataGrid grid;
        grid.setColumns(receiptColumns());
        grid.setResultSet(rs);
        grid.setSortable(true);
        grid.resize(600, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QHeaderView *header = grid.view()->horizontalHeader();
        const QPoint title(header->sectionViewportPosition(0) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
        QCOMPARE(column(grid, 0), QStringList({"1", "2", "3"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
        QCOMPARE(column(grid, 0), QStringList({"3", "2", "1"}));

        QSignalSpy rows(&grid, &DataGrid::rowDoubleClicked);
        QSignalSpy grids(&grid, &DataGrid::gridDoubleClicked);
        const QRect cell = grid.view()->visualRect(grid.view()->model()->index(1, 1));
        QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid.view()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(rows.count(), 1);
        QCOMPARE(rows.at(0).at(0).toInt(), 1);
        QCOMPARE(grids.count(), 1);
        QCOMPARE(grid.currentRow(), 1);
        // Read-only by default: no editor opened.
        QVERIFY(!grid.view()->indexWidget(grid.view()->currentIndex()));
    }

    void editableTableIsAValidModel()
    {
        EditableTable table(m_folder->dm()->ADOConnection1(), "乡镇", {"乡镇", "村庄"}, "乡镇");
        QAbstractItemModelTester tester(&table,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        table.reload();
        table.insertAt(0);
        table.setData(table.index(0, 0), "城关镇");
        table.setData(table.index(0, 1), "东村");
        table.post();
        table.insertAt(5);
        table.cancel();
        table.sort(1, Qt::DescendingOrder);
        table.deleteRow(0);
        QCOMPARE(table.rowCount(), 0);
    }

    // Insert, post, cancel, edit by typing and moving off, delete with its confirmation, and a
    // refused row that stays in editing.
    void navigatorEditsThePickListInPlace()
    {
        const QSqlDatabase db = m_folder->dm()->ADOConnection1();
        const QString items = "select 维修项目 from 维修项目 order by rowid";
        const QStringList initial = tableRows(db, items);
        EditableTable table(db, "维修项目", {"维修项目"});
        table.reload();
        QWidget window;
        DataGrid grid(&window);
        grid.setColumns({{"维修项目",
                          "维修项目",
                          0,
                          GridColumn::Kind::Text,
                          Qt::AlignCenter,
                          Qt::AlignCenter,
                          GridColumn::Footer::None,
                          {}}});
        DataNavigator nav(&window);
        nav.attach(&grid, &table);
        window.resize(320, 500);
        grid.setGeometry(0, 80, 320, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(nav.insertButton()->text(), QStringLiteral("新增"));
        QCOMPARE(nav.deleteButton()->text(), QStringLiteral("删除"));
        QCOMPARE(nav.editButton()->text(), QStringLiteral("修改"));
        QCOMPARE(nav.postButton()->text(), QStringLiteral("保存"));
        QCOMPARE(nav.cancelButton()->text(), QStringLiteral("取消"));
        QVERIFY(!nav.postButton()->isEnabled());
        QVERIFY(!nav.cancelButton()->isEnabled());

        auto typeIntoEditor = [&](const QString &text) {
            QTableView *view = grid.view();
            auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(view->currentIndex()));
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, text);
        };
        // Insert and post.
        grid.setCurrentRow(0);
        QTest::mouseClick(nav.insertButton(), Qt::LeftButton);
        QVERIFY(nav.postButton()->isEnabled());
        typeIntoEditor("RAM");
        QTest::mouseClick(nav.postButton(), Qt::LeftButton);
        QCOMPARE(tableRows(db, items), initial + QStringList {"RAM"});
        QVERIFY(!nav.postButton()->isEnabled());

        // Insert and cancel: the table is unchanged.
        QTest::mouseClick(nav.insertButton(), Qt::LeftButton);
        typeIntoEditor("skip");
        QTest::mouseClick(nav.cancelButton(), Qt::LeftButton);
        QCOMPARE(table.rowCount(), initial.size() + 1);
        QCOMPARE(tableRows(db, items), initial + QStringList {"RAM"});

        // Typing into a row and moving off it writes the row.
        const int row = int(initial.indexOf(initial.last())) + 1; // after the insert at 0
        grid.setCurrentRow(row);
        QTest::keyClicks(grid.view(), "X");
        QVERIFY(grid.view()->indexWidget(grid.view()->currentIndex())); // typing opened an editor
        grid.setCurrentRow(0);
        QVERIFY(tableRows(db, items).contains("X"));
        QVERIFY(!tableRows(db, items).contains(initial.last()));

        // Delete asks first; Cancel keeps the row, OK deletes it at once.
        grid.setCurrentRow(0);
        {
            ModalAnswerer answers;
            answers.button(QMessageBox::Cancel);
            QTest::mouseClick(nav.deleteButton(), Qt::LeftButton);
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().at(0).text, QStringLiteral("删除记录吗？"));
            QCOMPARE(answers.seen().at(0).icon, QMessageBox::Question);
        }
        QVERIFY(tableRows(db, items).contains("RAM"));
        {
            ModalAnswerer answers;
            answers.button(QMessageBox::Ok);
            QTest::mouseClick(nav.deleteButton(), Qt::LeftButton);
            QVERIFY(answers.waitDone());
        }
        QVERIFY(!tableRows(db, items).contains("RAM"));

        // A row the database refuses: the error is shown and the row stays in editing.
        Db::exec(db,
                 "create trigger refuse before insert on 维修项目 when new.维修项目 = 'bad' "
                 "begin select raise(abort, 'value refused'); end");
        QTest::mouseClick(nav.insertButton(), Qt::LeftButton);
        typeIntoEditor("bad");
        {
            ModalAnswerer answers;
            answers.button(QMessageBox::Ok);
            QTest::mouseClick(nav.postButton(), Qt::LeftButton);
            QVERIFY(answers.waitDone());
            QVERIFY(answers.seen().at(0).text.contains("value refused"));
            QCOMPARE(answers.seen().at(0).icon, QMessageBox::Critical);
        }
        QCOMPARE(table.state(), EditableTable::State::Insert);
        QVERIFY(nav.cancelButton()->isEnabled());
        QTest::mouseClick(nav.cancelButton(), Qt::LeftButton);
        QCOMPARE(table.state(), EditableTable::State::Browse);
        QVERIFY(!tableRows(db, items).contains("bad"));
    }

    void pickListSortsLoadedRowsWithoutReading()
    {
        const QSqlDatabase db = m_folder->dm()->ADOConnection1();
        for (const char *v : {"乙村", "甲村", "丙村"})
            Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values ('城关镇', ?)", {QString(v)});
        EditableTable table(db, "乡镇", {"乡镇", "村庄"}, "乡镇");
        table.reload();
        DataGrid grid;
        grid.setColumns({{"乡镇",
                          "乡镇",
                          0,
                          GridColumn::Kind::Text,
                          Qt::AlignCenter,
                          Qt::AlignCenter,
                          GridColumn::Footer::None,
                          {}},
                         {"村庄",
                          "村庄",
                          0,
                          GridColumn::Kind::Text,
                          Qt::AlignCenter,
                          Qt::AlignCenter,
                          GridColumn::Footer::None,
                          {}}});
        grid.setSourceModel(&table);
        grid.setSortable(true);
        grid.resize(300, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values ('新镇', '丁村')");
        QHeaderView *header = grid.view()->horizontalHeader();
        const QPoint title(header->sectionViewportPosition(1) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
        const QStringList ascending = column(grid, 1);
        QCOMPARE(ascending.size(), 3); // not read again
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
        QStringList reversed = column(grid, 1);
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(reversed, ascending);
        QVERIFY(ascending != QStringList({"乙村", "甲村", "丙村"})
                || reversed != QStringList({"乙村", "甲村", "丙村"}));
    }

private:
    std::unique_ptr<TestFolder> m_folder;
};

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
