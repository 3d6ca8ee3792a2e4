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

    // Whether an operator with this number exists, ignoring the case of A-Z (as the
    // unique index on the table does).
    bool numberExists(const QString &number) const;

    // Adds `op` (number, name, flags) with the password as typed; only its hash is stored.
    // Throws DbError when the number exists already.
    void insert(const Operator &op, const QString &password);
    // Rewrites name and flags of the operator `number`; the password only when `newPassword`
    // holds a value. Throws DbError when no such operator exists (any more).
    void update(const QString &number,
                const QString &name,
                const std::array<bool, Operator::FlagCount> &flags,
                const std::optional<QString> &newPassword);
    // Deletes the operator `number`; throws DbError when no such operator exists.
    void remove(const QString &number);
    // Sets the password of the operator `number` as typed (hashed; empty for none).
    void changePassword(const QString &number, const QString &newPassword);

private:
    static Operator fromRecord(const class QSqlQuery &query);
    QSqlDatabase m_db;
};
