#pragma once
// Small helpers shared by the master-data GUI tests.

#include "data/db.h"
#include "data/tdm1.h"
#include "support/typing.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QSqlQuery>
#include <QTest>
#include <QWidget>

namespace MasterTest {

using ::child;
using ::typeText;

// Chooses an entry of a drop-down list as a user does: open the list, click the entry.
inline void choose(QComboBox *combo, int row)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = view->model()->index(row, combo->modelColumn());
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(!view->isVisible());
}

inline QStringList items(const QComboBox *combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

inline void addPlace(const QString &township, const QString &village)
{
    Db::exec(DM1()->ADOConnection1(), QStringLiteral("insert into 乡镇 (乡镇, 村庄) values (?, ?)"),
             {township, village});
}

// One column of one customer as stored, for checking what a screen wrote.
inline QVariant stored(qint64 number, const QString &column)
{
    return Db::scalar(DM1()->ADOConnection1(),
                      QStringLiteral("select ") + column
                              + QStringLiteral(" from 客户信息 where 客户编号 = ?"),
                      {number});
}

inline int customerCount()
{
    return Db::scalar(DM1()->ADOConnection1(), QStringLiteral("select count(*) from 客户信息"))
            .toInt();
}

} // namespace MasterTest
