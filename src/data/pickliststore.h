#pragma once

#include <QSqlDatabase>
#include <QStringList>

// The pick lists: townships and their villages (乡镇) and repair items (维修项目).
// A township appears once per village in the table; the lists name each once.
// Every method throws DbError on an engine failure.
class PickListStore
{
public:
    explicit PickListStore(QSqlDatabase db);

    QStringList townships() const;
    QStringList villages(const QString &township) const;
    // In the order they were entered.
    QStringList repairItems() const;

private:
    QStringList column(const QString &sql, const QVariantList &values = {}) const;
    QSqlDatabase m_db;
};
