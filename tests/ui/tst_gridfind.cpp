// Sorting a grid by several titles (through the engine for a result set, in memory for a pick
// list) and finding text in a grid with Ctrl+F: cells compared as shown, both directions with
// one wrap, the dialog's keys, and a result larger than the row cache.
#include "data/db.h"
#include "data/editabletable.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"
#include "ui/datagrid.h"
#include "ui/gridfind.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace {

GridColumn col(const QString &field, GridColumn::Kind kind = GridColumn::Kind::Text)
{
    GridColumn c;
    c.field = field;
    c.title = field + QStringLiteral("栏");
    c.width = 80;
    c.kind = kind;
    return c;
}

// 编号, 名称, 金额 (money), 日期 (date), 发票 (flag): what each kind of cell shows is searched.
GridColumns findColumns()
{
    return {col("编号", GridColumn::Kind::Integer), col("名称"),
            col("金额", GridColumn::Kind::Money), col("日期", GridColumn::Kind::Date),
            col("发票", GridColumn::Kind::Flag)};
}

struct Fixture
{
    qint64 number;
    QString name;
    qint64 amount;
    QVariant date;
    int flag;
};

const QList<Fixture> &fixtureRows()
{
    static const QList<Fixture> rows {
            {1, "Alpha", 35005000, QString("2024-01-05"), 1},
            {2, "beta", 10000, QString("2024-02-01"), 0},
            {3, "alphabet", 20000, QString("2023-12-31"), 0},
            {4, "ALPHA", 35000000, QString("2024-01-05"), 1},
            {5, "delta", 5000, QVariant(), 0},
    };
    return rows;
}

void fillFixture(const QSqlDatabase &db)
{
    for (const Fixture &r : fixtureRows())
        Db::exec(db,
                 "insert into 收款记录 (客户编号, 客户名称, 金额, 日期, 经手人) "
                 "values (?, ?, ?, ?, ?)",
                 {r.number, r.name, r.amount, r.date, QString::number(r.flag)});
}

const char *FixtureSql
        = "select 客户编号 as 编号, 客户名称 as 名称, 金额, 日期, 经手人 = '1' as 发票 "
          "from 收款记录 order by 客户编号";

// The same rows in a plain in-memory model: the walk over a model must agree with the one
// through the engine.
std::unique_ptr<QStandardItemModel> fixtureModel()
{
    auto model = std::make_unique<QStandardItemModel>(0, 5);
    model->setHorizontalHeaderLabels({"编号", "名称", "金额", "日期", "发票"});
    for (const Fixture &r : fixtureRows()) {
        QList<QStandardItem *> items;
        for (const QVariant &v :
             {QVariant(r.number), QVariant(r.name), QVariant(r.amount), r.date, QVariant(r.flag)}) {
            auto *item = new QStandardItem;
            item->setData(v, Qt::DisplayRole);
            items << item;
        }
        model->appendRow(items);
    }
    return model;
}

QStringList column(const DataGrid &grid, int c)
{
    QStringList texts;
    for (int r = 0; r < grid.rowCount(); ++r)
        texts << grid.cellText(r, c);
    return texts;
}

void clickTitle(DataGrid &grid, int section, Qt::KeyboardModifiers modifiers = {})
{
    QHeaderView *header = grid.view()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers,
                      QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
}

QStringList markers(const DataGrid &grid)
{
    QStringList all;
    for (int c = 0; c < grid.columns().size(); ++c)
        all << grid.sortMarker(c);
    return all;
}

QStringList titles(const DataGrid &grid)
{
    QStringList all;
    for (int c = 0; c < grid.columns().size(); ++c)
        all << grid.view()->model()->headerData(c, Qt::Horizontal).toString();
    return all;
}

} // namespace

class TestGridFind : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() { m_folder.reset(); }

    // Plain click: one key, alternating; Ctrl+click: further keys that break ties, a second
    // Ctrl+click turns that key; the titles keep their texts, the markers rank the keys.
    void titlesSortAResultSetBySeveralKeys()
    {
        const QSqlDatabase db = m_folder->dm()->ADOConnection1();
        for (const auto &[name, amount] : {std::pair {"乙", 3}, {"甲", 2}, {"乙", 1}, {"甲", 4}})
            Db::exec(db, "insert into 收款记录 (客户名称, 金额) values (?, ?)",
                     {QString(name), amount * 10000});
        ResultSet *rs = m_folder->dm()->ADOQuery(6);
        rs->open("select 客户名称 as 名称, 金额 from 收款记录");
        DataGrid grid;
        QAbstractItemModelTester tester(grid.view()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.setColumns({col("名称"), col("金额", GridColumn::Kind::Money)});
        grid.setResultSet(rs);
        grid.setSortable(true);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QStringList declared = titles(grid);

        clickTitle(grid, 0);
        QCOMPARE(markers(grid), QStringList({"▲", ""}));
        QCOMPARE(column(grid, 0), QStringList({"乙", "乙", "甲", "甲"}));
        clickTitle(grid, 1, Qt::ControlModifier);
        QCOMPARE(markers(grid), QStringList({"▲1", "▲2"}));
        QCOMPARE(column(grid, 1), QStringList({"1", "3", "2", "4"}));
        clickTitle(grid, 1, Qt::ControlModifier);
        QCOMPARE(markers(grid), QStringList({"▲1", "▼2"}));
        QCOMPARE(column(grid, 1), QStringList({"3", "1", "4", "2"}));
        clickTitle(grid, 0, Qt::ControlModifier);
        QCOMPARE(markers(grid), QStringList({"▼1", "▼2"}));
        QCOMPARE(column(grid, 1), QStringList({"4", "2", "3", "1"}));
        QCOMPARE(rs->sortKeys(),
                 SortKeys({{"名称", Qt::DescendingOrder}, {"金额", Qt::DescendingOrder}}));
        QCOMPARE(titles(grid), declared);

        // A plain click drops the other keys; clicking it again turns it.
        clickTitle(grid, 1);
        QCOMPARE(markers(grid), QStringList({"", "▲"}));
        QCOMPARE(column(grid, 1), QStringList({"1", "2", "3", "4"}));
        clickTitle(grid, 1);
        QCOMPARE(column(grid, 1), QStringList({"4", "3", "2", "1"}));
        QCOMPARE(markers(grid), QStringList({"", "▼"}));

        // Another screen opening the shared result set drops the order and its markers.
        rs->open("select 客户名称 as 名称, 金额 from 收款记录");
        QCOMPARE(markers(grid), QStringList({"", ""}));
    }

    // The pick-list editors sort their loaded rows in memory by the same clicks: a stable
    // sort, ties broken by the next key, the table not read again.
    void titlesSortAPickListBySeveralKeysInMemory()
    {
        const QSqlDatabase db = m_folder->dm()->ADOConnection1();
        for (const auto &[town, village] : {std::pair {"b镇", "2村"},
                                            {"a镇", "3村"},
                                            {"b镇", "1村"},
                                            {"a镇", "1村"},
                                            {"a镇", "3村"}})
            Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values (?, ?)",
                     {QString(town), QString(village)});
        EditableTable table(db, "乡镇", {"乡镇", "村庄"});
        QAbstractItemModelTester tester(&table,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        table.reload();
        DataGrid grid;
        grid.setColumns({col("乡镇"), col("村庄")});
        grid.setSourceModel(&table);
        grid.setEditable(true);
        grid.setSortable(true);
        grid.resize(300, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values ('c镇', '9村')");

        const auto rows = [&] {
            QStringList all;
            for (int r = 0; r < grid.rowCount(); ++r)
                all << grid.cellText(r, 0) + grid.cellText(r, 1);
            return all;
        };
        clickTitle(grid, 1, Qt::ControlModifier); // Ctrl with no key yet: the first key
        QCOMPARE(markers(grid), QStringList({"", "▲"}));
        clickTitle(grid, 0, Qt::ControlModifier);
        QCOMPARE(rows(), QStringList({"a镇1村", "b镇1村", "b镇2村", "a镇3村", "a镇3村"}));
        QCOMPARE(markers(grid), QStringList({"▲2", "▲1"}));
        clickTitle(grid, 1, Qt::ControlModifier);
        QCOMPARE(rows(), QStringList({"a镇3村", "a镇3村", "b镇2村", "a镇1村", "b镇1村"}));
        // A plain click on a key: that key alone, turned.
        clickTitle(grid, 0);
        QCOMPARE(rows(), QStringList({"b镇2村", "b镇1村", "a镇3村", "a镇3村", "a镇1村"}));
        QCOMPARE(markers(grid), QStringList({"▼", ""}));

        // A row being inserted is written before the rows move.
        table.insertAt(0);
        table.setData(table.index(0, 0), "z镇");
        table.setData(table.index(0, 1), "0村");
        clickTitle(grid, 0);
        QCOMPARE(table.state(), EditableTable::State::Browse);
        QCOMPARE(rows(), QStringList({"a镇3村", "a镇3村", "a镇1村", "b镇2村", "b镇1村", "z镇0村"}));
        QCOMPARE(markers(grid), QStringList({"▲", ""}));
        QCOMPARE(Db::scalar(db, "select count(*) from 乡镇 where 乡镇 = 'z镇'").toInt(), 1);

        // A row the table refuses: the error is shown, the rows stay as they were.
        Db::exec(db,
                 "create trigger refuse before insert on 乡镇 when new.乡镇 = 'bad' "
                 "begin select raise(abort, 'value refused'); end");
        const QStringList before = rows();
        table.insertAt(1);
        table.setData(table.index(1, 0), "bad");
        {
            ModalAnswerer answers;
            answers.button(QMessageBox::Ok);
            clickTitle(grid, 1);
            QVERIFY(answers.waitDone());
            QVERIFY(answers.seen().at(0).text.contains("value refused"));
        }
        QCOMPARE(table.state(), EditableTable::State::Insert);
        table.cancel();
        QCOMPARE(rows(), before);
        QCOMPARE(markers(grid), QStringList({"▲", ""}));

        table.reload();
        QCOMPARE(markers(grid), QStringList({"", ""}));
    }

    void findsTheNextShownText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("allColumns");
        QTest::addColumn<int>("match"); // GridFind::Match
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QPoint>("from"); // (column, row); row -1: no current row
        QTest::addColumn<QPoint>("expected"); // (-1, -1): nothing found

        const int any = int(GridFind::Match::AnyPart);
        const int whole = int(GridFind::Match::WholeField);
        const int begin = int(GridFind::Match::Beginning);
        const QPoint none(-1, -1);
        QTest::newRow("down to the next row")
                << "alpha" << false << any << false << false << QPoint(1, 0) << QPoint(1, 2);
        QTest::newRow("down wraps to the top")
                << "alpha" << false << any << false << false << QPoint(1, 3) << QPoint(1, 0);
        QTest::newRow("up to the previous row")
                << "alpha" << false << any << false << true << QPoint(1, 2) << QPoint(1, 0);
        QTest::newRow("up wraps to the bottom")
                << "alpha" << false << any << false << true << QPoint(1, 0) << QPoint(1, 3);
        QTest::newRow("no current row, down")
                << "alpha" << true << any << false << false << QPoint(0, -1) << QPoint(1, 0);
        QTest::newRow("no current row, up")
                << "alpha" << true << any << false << true << QPoint(0, -1) << QPoint(1, 3);
        QTest::newRow("the only match is the current cell")
                << "beta" << false << whole << false << false << QPoint(1, 1) << QPoint(1, 1);
        QTest::newRow("case sensitive")
                << "ALPHA" << false << any << true << false << QPoint(1, 0) << QPoint(1, 3);
        QTest::newRow("whole field")
                << "alpha" << false << whole << false << false << QPoint(1, 0) << QPoint(1, 3);
        QTest::newRow("beginning")
                << "alphab" << false << begin << false << false << QPoint(1, 0) << QPoint(1, 2);
        QTest::newRow("beginning, inner text")
                << "pha" << false << begin << false << false << QPoint(1, 0) << none;
        QTest::newRow("money as shown")
                << "3500.5" << false << whole << false << false << QPoint(2, 4) << QPoint(2, 0);
        QTest::newRow("money not by its stored units")
                << "35005000" << false << any << false << false << QPoint(2, 0) << none;
        QTest::newRow("flag as 是")
                << "是" << false << whole << false << false << QPoint(4, 0) << QPoint(4, 3);
        QTest::newRow("date as shown")
                << "2024-01" << false << begin << false << false << QPoint(3, 0) << QPoint(3, 3);
        QTest::newRow("current column only")
                << "alpha" << false << any << false << false << QPoint(0, 0) << none;
        QTest::newRow("all columns, same row first")
                << "0.5" << true << any << false << false << QPoint(0, 0) << QPoint(2, 0);
        QTest::newRow("all columns, next row")
                << "0.5" << true << any << false << false << QPoint(2, 0) << QPoint(2, 4);
        QTest::newRow("all columns, up within the row")
                << "1" << true << whole << false << true << QPoint(4, 1) << QPoint(2, 1);
        QTest::newRow("all columns, up to an earlier row")
                << "alpha" << true << any << false << true << QPoint(0, 2) << QPoint(1, 0);
        QTest::newRow("nothing matches")
                << "zzz" << true << any << false << false << QPoint(0, 0) << none;
    }

    // Each case on a result set (walked through the engine) and on a plain model: the grid
    // lands on the expected cell, or says that nothing was found and stays where it was.
    void findsTheNextShownText()
    {
        QFETCH(QString, text);
        QFETCH(bool, allColumns);
        QFETCH(int, match);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, up);
        QFETCH(QPoint, from);
        QFETCH(QPoint, expected);
        GridFind::Options options;
        options.text = text;
        options.scope = allColumns ? GridFind::Scope::AllColumns : GridFind::Scope::CurrentColumn;
        options.match = GridFind::Match(match);
        options.caseSensitivity = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
        options.up = up;

        fillFixture(m_folder->dm()->ADOConnection1());
        ResultSet *rs = m_folder->dm()->ADOQuery(7);
        rs->open(FixtureSql);
        const auto model = fixtureModel();
        for (QAbstractItemModel *source : {static_cast<QAbstractItemModel *>(rs),
                                           static_cast<QAbstractItemModel *>(model.get())}) {
            DataGrid grid;
            grid.setColumns(findColumns());
            grid.setSourceModel(source);
            QCOMPARE(grid.rowCount(), 5);
            QCOMPARE(grid.cellText(0, 2), QStringLiteral("3500.5"));
            grid.setCurrentCell(qMax(0, from.y()), from.x());
            if (from.y() < 0)
                grid.setCurrentRow(-1);
            ModalAnswerer answers;
            const GridFind::Outcome outcome = grid.findNext(options);
            if (expected.y() < 0) {
                QCOMPARE(outcome, GridFind::Outcome::NotFound);
                QVERIFY(answers.waitDone());
                QCOMPARE(answers.seen().size(), 1);
                QCOMPARE(answers.seen().at(0).title, QStringLiteral("提示"));
                QCOMPARE(answers.seen().at(0).text, QStringLiteral("找不到“%1”。").arg(text));
                QCOMPARE(answers.seen().at(0).icon, QMessageBox::Information);
                QCOMPARE(grid.currentRow(), from.y());
            } else {
                QCOMPARE(outcome, GridFind::Outcome::Found);
                QVERIFY(answers.seen().isEmpty());
                QCOMPARE(grid.currentRow(), expected.y());
                QCOMPARE(grid.currentColumn(), expected.x());
            }
        }
    }

    // Ctrl+F opens the dialog; Enter finds again and again (wrapping once), Esc closes it, and
    // it comes back with its last text. The pick lists' editable grid has it too.
    void ctrlFOpensTheFindDialog()
    {
        fillFixture(m_folder->dm()->ADOConnection1());
        ResultSet *rs = m_folder->dm()->ADOQuery(8);
        rs->open(FixtureSql);
        QWidget window;
        auto *grid = new DataGrid(&window);
        grid->setColumns(findColumns());
        grid->setResultSet(rs);
        grid->setGeometry(0, 0, 500, 300);
        window.resize(500, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        grid->view()->setFocus();
        grid->setCurrentCell(0, 1);

        QTest::keyClick(grid->view(), Qt::Key_F, Qt::ControlModifier);
        auto *dialog = grid->findChild<QDialog *>("gridFindDialog");
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("查找"));
        auto *text = dialog->findChild<QLineEdit *>("findText");
        QVERIFY(text);
        QTRY_VERIFY(text->hasFocus());
        QCOMPARE(dialog->findChild<QPushButton *>("findNext")->text(),
                 QStringLiteral("查找下一个"));
        // All columns at first: a name or a number is found wherever it stands.
        QCOMPARE(dialog->findChild<QComboBox *>("findScope")->currentText(),
                 QStringLiteral("所有列"));
        QTest::keyClicks(text, "alpha");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 2);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 3);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 0);

        // Upwards, current column, whole field, case sensitive, through the dialog's controls.
        dialog->findChild<QComboBox *>("findScope")->setCurrentIndex(0); // 当前列
        dialog->findChild<QRadioButton *>("findUp")->setChecked(true);
        dialog->findChild<QComboBox *>("findMatch")->setCurrentIndex(1); // 整个字段
        dialog->findChild<QCheckBox *>("findCase")->setChecked(true);
        text->setText("ALPHA");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 3);

        // All columns: the current column follows the match.
        dialog->findChild<QComboBox *>("findScope")->setCurrentIndex(1); // 所有列
        dialog->findChild<QRadioButton *>("findDown")->setChecked(true);
        text->setText("是");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 3);
        QCOMPARE(grid->currentColumn(), 4);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 4);

        {
            ModalAnswerer answers;
            text->setText("nowhere");
            QTest::keyClick(text, Qt::Key_Return);
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().size(), 1);
            QCOMPARE(answers.seen().at(0).text, QStringLiteral("找不到“nowhere”。"));
        }
        QVERIFY(dialog->isVisible());
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());

        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        grid->view()->setFocus();
        QTest::keyClick(grid->view(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(dialog->isVisible());
        QCOMPARE(grid->findChildren<QDialog *>("gridFindDialog").size(), 1);
        QCOMPARE(text->text(), QStringLiteral("nowhere"));
        QCOMPARE(text->selectedText(), QStringLiteral("nowhere")); // typing replaces it
        QTest::keyClick(text, Qt::Key_Escape);

        // The editors' editable grid.
        EditableTable table(m_folder->dm()->ADOConnection1(), "维修项目", {"维修项目"});
        table.reload();
        auto *editor = new DataGrid(&window);
        editor->setColumns({col("维修项目")});
        editor->setSourceModel(&table);
        editor->setEditable(true);
        editor->setGeometry(0, 0, 300, 300);
        editor->show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        editor->view()->setFocus();
        QTest::keyClick(editor->view(), Qt::Key_F, Qt::ControlModifier);
        auto *second = editor->findChild<QDialog *>("gridFindDialog");
        QVERIFY(second);
        auto *secondText = second->findChild<QLineEdit *>("findText");
        secondText->setText(table.index(table.rowCount() - 1, 0).data().toString()); // not Latin-1
        QTest::keyClick(secondText, Qt::Key_Return);
        QCOMPARE(editor->currentRow(), table.rowCount() - 1);
        QVERIFY(!editor->view()->indexWidget(editor->view()->currentIndex())); // no edit begun
    }

    // Ten thousand rows, far more than the row cache holds: the walk lands on the right row
    // both ways and the cache stays bounded.
    void findsInAResultLargerThanTheCache()
    {
        Db::exec(m_folder->dm()->ADOConnection1(),
                 "insert into 收款记录 (客户编号, 客户名称, 金额) with recursive n(i) as "
                 "(select 1 union all select i + 1 from n where i < 10000) "
                 "select i, '客户' || i, i * 100 from n");
        ResultSet *rs = m_folder->dm()->ADOQuery(9);
        rs->open("select 客户编号 as 编号, 客户名称 as 名称, 金额 from 收款记录 order by 客户编号");
        QVERIFY(rs->rowCount() > ResultSet::ChunkRows * ResultSet::MaxChunks);
        DataGrid grid;
        grid.setColumns({col("编号", GridColumn::Kind::Integer), col("名称"),
                         col("金额", GridColumn::Kind::Money)});
        grid.setResultSet(rs);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCurrentCell(0, 0);

        GridFind::Options options;
        options.scope = GridFind::Scope::AllColumns;
        options.match = GridFind::Match::WholeField;
        options.text = "客户9876";
        QCOMPARE(grid.findNext(options), GridFind::Outcome::Found);
        QCOMPARE(grid.currentRow(), 9875);
        QCOMPARE(grid.currentColumn(), 1);
        QCOMPARE(grid.cellText(grid.currentRow(), 0), QStringLiteral("9876"));

        options.text = "0.99"; // 金额 of row 99 shown as yuan
        QCOMPARE(grid.findNext(options), GridFind::Outcome::Found);
        QCOMPARE(grid.currentRow(), 98);
        QCOMPARE(grid.currentColumn(), 2);

        options.up = true; // from row 98 up: no match before it, wraps to the last one
        options.match = GridFind::Match::Beginning;
        options.text = "客户999";
        QCOMPARE(grid.findNext(options), GridFind::Outcome::Found);
        QCOMPARE(grid.currentRow(), 9998);
        QCOMPARE(grid.findNext(options), GridFind::Outcome::Found);
        QCOMPARE(grid.currentRow(), 9997);

        // Sorted the other way by the engine, the walk follows the grid's order.
        rs->setSortKeys({{"编号", Qt::DescendingOrder}});
        grid.setCurrentCell(0, 0);
        options.up = false;
        options.match = GridFind::Match::WholeField;
        options.text = "客户2";
        QCOMPARE(grid.findNext(options), GridFind::Outcome::Found);
        QCOMPARE(grid.currentRow(), 9998);
        QVERIFY(rs->cachedChunks() <= ResultSet::MaxChunks);
    }

private:
    std::unique_ptr<TestFolder> m_folder;
};

QTEST_MAIN(TestGridFind)
#include "tst_gridfind.moc"
