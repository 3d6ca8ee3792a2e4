#pragma once

#include <QList>
#include <QString>
#include <Qt>

// One column of a grid, as the screens declare them.
struct GridColumn
{
    enum class Footer { None, Text, Count, Sum };
    // How a value is shown (and exported): money columns hold 1/10000 yuan and show the
    // shortest decimal text; dates show yyyy-MM-dd; flags show as the grid's check mark text.
    enum class Kind { Text, Integer, Money, Date, Flag };

    QString field; // column of the result set
    QString title; // column title
    int width = 0; // pixels; 0 fits the column to the grid's width
    Kind kind = Kind::Text;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter; // of the cells
    Qt::Alignment titleAlignment = Qt::AlignCenter;
    Footer footer = Footer::None;
    QString footerText; // for Footer::Text
};

using GridColumns = QList<GridColumn>;
