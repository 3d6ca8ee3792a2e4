#pragma once

#include "data/reportstore.h"
#include "ui/gridcolumn.h"
#include "ui/widgets.h"

#include <QGroupBox>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class DataGrid;
class QButtonGroup;
class QPushButton;
class QToolButton;
class QWidget;
class ResultSet;

// A group of radio buttons chosen by index (items in order, laid out in `columns` columns).
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(QWidget *parent,
               const QString &name,
               const QString &caption,
               const QStringList &items,
               int columns);
    int itemIndex() const;
    void setItemIndex(int index);

private:
    QButtonGroup *m_buttons;
};

// Pieces the four report screens share.
namespace ReportWidgets {

using Widgets::button;

// A titled group holding one read-only report grid on a shared result set.
QGroupBox *gridGroup(QWidget *parent,
                     const QString &groupName,
                     const QString &caption,
                     DataGrid **grid,
                     const QString &gridName,
                     const GridColumns &columns,
                     ResultSet *resultSet);

// Opens each result set with its query, in order. A statement the engine refuses stops there
// with its text shown by the general error display (that result set is left closed, the ones
// after it keep their rows); returns false then.
bool load(QWidget *screen, const QList<std::pair<ResultSet *, ReportQuery>> &queries);

// The "打印" menu button RzMenuButton1 with its menu PopupMenu1: entry N<i> "打印<title>"
// opens the preview of print definition PrintDBGridEh<i>, titled <title>, over grids[i].
// The definitions live as long as the screen, so settings changed in a preview stay with that
// definition until the screen closes. A grid whose query never ran prints nothing.
QToolButton *printMenu(QWidget *screen, const QList<DataGrid *> &grids, const QStringList &titles);

} // namespace ReportWidgets
