#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

struct Operator
{
    static constexpr int FlagCount = 17;

    QString number; // 操作员
    QString name; // 姓名
    QString passwordHash; // 密码 as stored: empty for no password
    std::array<bool, FlagCount> flags {}; // flags[0] is column "1"

    bool flag(int n) const { return n >= 1 && n <= FlagCount && flags[size_t(n - 1)]; }
};

// The table 操作员. Every method throws DbError on an engine failure.
class OperatorStore
{
public:
    explicit OperatorStore(QSqlDatabase db);

    // Every operator, in the engine's order.
    QList<Operator> all() const;
    // The operator whose number is exactly `number`.
    std::optional<Operator> find(const QString &number) const;

private:
    static Operator fromRecord(const class QSqlQuery &query);
    QSqlDatabase m_db;
};
