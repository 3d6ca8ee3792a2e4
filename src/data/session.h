#pragma once

#include <QString>

// The operator who logged in, fixed for the whole run.
struct CurrentOperator
{
    QString number; // as stored in 操作员.操作员, written as 经手人
    QString password; // as typed at login, kept in memory only, for the temporary lock
};

namespace Session {
CurrentOperator &current();
inline QString operatorNumber()
{
    return current().number;
}
} // namespace Session
