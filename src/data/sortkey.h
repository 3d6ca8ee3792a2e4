#pragma once

#include <QList>
#include <QString>
#include <Qt>

// One key of a multi-column sort: a field of the rows and its direction. The first key of a
// list decides, the next ones break its ties.
struct SortKey
{
    QString field;
    Qt::SortOrder order = Qt::AscendingOrder;

    friend bool operator==(const SortKey &, const SortKey &) = default;
};

using SortKeys = QList<SortKey>;
