#pragma once

// Reading report screens and exported worksheets back in the GUI tests.

#include "reportfixture.h"
#include "support/modalanswerer.h"

#include "ui/datagrid.h"

#include "support/typing.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTableView>
#include <QTest>
#include <QtEndian>

#include <cstring>
#include <functional>
#include <map>

namespace ReportScreens {

using namespace ReportFixture;

using ::typeText;

// Clicks a radio button on its indicator (a click right of its text does not count).
inline void check(QAbstractButton *radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

// The customer search controls as the history and payment screens name them, and the hints
// that tell which fields act on Enter.
inline void checkSearchControls(QWidget *screen, const QString &fuzzyGroup)
{
    const std::pair<const char *, const char *> fields[] = {{"Edit4", "输入客户编号后请回车"},
                                                            {"Edit1", "输入客户名称后请回车"},
                                                            {"Edit3", "输入电话后请回车"},
                                                            {"Edit6", ""},
                                                            {"Edit2", ""}};
    auto *lookups = screen->findChild<QGroupBox *>("GroupBox1");
    QVERIFY(lookups);
    QCOMPARE(lookups->title(), QStringLiteral("客户基本信息"));
    for (const auto &[edit, hint] : fields) {
        const auto *field = lookups->findChild<QLineEdit *>(edit);
        QVERIFY2(field, edit);
        QCOMPARE(field->toolTip(), QString::fromUtf8(hint));
    }
    auto *fuzzy = screen->findChild<QGroupBox *>(fuzzyGroup);
    QVERIFY(fuzzy);
    QCOMPARE(fuzzy->title(), QStringLiteral("模糊查找"));
    QVERIFY(fuzzy->findChild<QComboBox *>("ComboBox1"));
    QVERIFY(fuzzy->findChild<QLineEdit *>("Edit5"));
    QCOMPARE(fuzzy->findChild<QPushButton *>("BitBtn7")->text(), QStringLiteral("查找"));
    QCOMPARE(screen->findChild<QPushButton *>("BitBtn8")->text(), QStringLiteral("隐藏"));
}

// A customer number that is not a number is refused with the panel's own message before any
// look-up, and what the screen lists (read by `shown`) stays as it was.
inline void checkNumberThatIsNone(QWidget *screen, const std::function<QStringList()> &shown)
{
    auto *number = screen->findChild<QLineEdit *>("Edit4");
    number->clear();
    typeText(number, "2");
    QTest::keyClick(number, Qt::Key_Return);
    const QStringList before = shown();
    QVERIFY(!before.join(QString()).isEmpty());
    number->clear();
    typeText(number, "2 or 1=1");
    ModalAnswerer answers;
    answers.button(QMessageBox::Ok);
    QTest::keyClick(number, Qt::Key_Return);
    QCOMPARE(answers.seen().size(), 1);
    QCOMPARE(answers.seen().at(0).title, QStringLiteral("提示"));
    QCOMPARE(answers.seen().at(0).text, QStringLiteral("客户编号必须是数字！"));
    QCOMPARE(answers.seen().at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown(), before);
}

// Searches for a text no customer's name contains and double-clicks the empty result list:
// no message, the list closes and the five look-up fields are emptied. The caller checks
// that nothing was loaded.
inline void chooseFromAnEmptyList(QWidget *screen)
{
    auto *text = screen->findChild<QLineEdit *>("Edit5");
    text->clear();
    typeText(text, "没有这个名字");
    screen->findChild<QComboBox *>("ComboBox1")->setCurrentIndex(0);
    QTest::mouseClick(screen->findChild<QPushButton *>("BitBtn7"), Qt::LeftButton);
    auto *group = screen->findChild<QGroupBox *>("GroupBox5");
    QVERIFY(group->isVisible());
    auto *list = screen->findChild<DataGrid *>("DBGridEh4");
    QCOMPARE(list->rowCount(), 0);
    ModalAnswerer answers;
    answers.strict();
    QTest::mouseDClick(list->view()->viewport(), Qt::LeftButton);
    QVERIFY(answers.seen().isEmpty());
    QVERIFY(!group->isVisible());
    for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit6"})
        QVERIFY2(screen->findChild<QLineEdit *>(name)->text().isEmpty(), name);
}

inline int columnOf(const DataGrid *grid, const QString &field)
{
    for (int c = 0; c < grid->columns().size(); ++c)
        if (grid->columns().at(c).field == field)
            return c;
    return -1;
}

// The records a grid shows, by ledger key (sales, repairs and ledger rows carry the record's
// serial "SN-<key>"), in the grid's order.
inline QStringList gridKeys(const DataGrid *grid)
{
    const int serial = columnOf(grid, "主机序列号");
    QStringList keys;
    for (int r = 0; r < grid->rowCount(); ++r)
        keys << grid->cellText(r, serial).mid(3);
    return keys;
}

inline QString footer(const DataGrid *grid, const QString &field)
{
    const int c = columnOf(grid, field);
    return c < 0 || c >= grid->footerTexts().size() ? QString() : grid->footerTexts().at(c);
}

// Totals worked out from the fixture, not from the database.
struct Totals
{
    int count = 0;
    Money amount;
    Money profit;
};
inline Totals totalsOf(const QStringList &keys)
{
    Totals t;
    for (const Record &r : records()) {
        if (!keys.contains(ledgerKey(r)))
            continue;
        ++t.count;
        t.amount += *Money::parse(r.amount);
        t.profit += *Money::parse(r.profit);
    }
    return t;
}

// The cells of a BIFF worksheet as the shop's spreadsheet program would show them: labels as
// text, numbers in their shortest form. Keyed by (row, column).
using Sheet = std::map<std::pair<int, int>, QString>;
inline Sheet readXls(const QString &path)
{
    QFile file(path);
    Sheet cells;
    if (!file.open(QIODevice::ReadOnly))
        return cells;
    const QByteArray data = file.readAll();
    QStringDecoder gbk("GB18030");
    qsizetype at = 0;
    while (at + 4 <= data.size()) {
        const auto type = qFromLittleEndian<quint16>(data.constData() + at);
        const auto size = qFromLittleEndian<quint16>(data.constData() + at + 2);
        const char *body = data.constData() + at + 4;
        at += 4 + size;
        if (type != 0x0002 && type != 0x0003 && type != 0x0004)
            continue;
        const int row = qFromLittleEndian<quint16>(body);
        const int column = qFromLittleEndian<quint16>(body + 2);
        QString text;
        if (type == 0x0004) {
            text = gbk.decode(QByteArray(body + 8, quint8(body[7])));
        } else if (type == 0x0002) {
            text = QString::number(qFromLittleEndian<quint16>(body + 7));
        } else {
            double value;
            const quint64 bits = qFromLittleEndian<quint64>(body + 7);
            std::memcpy(&value, &bits, 8);
            text = QString::number(value, 'g', 15);
        }
        cells[{row, column}] = text;
    }
    return cells;
}

inline int sheetRows(const Sheet &sheet)
{
    int rows = 0;
    for (const auto &[cell, text] : sheet)
        rows = qMax(rows, cell.first + 1);
    return rows;
}

} // namespace ReportScreens
