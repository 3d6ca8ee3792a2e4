#pragma once

#include <QString>

// Texts the customer screens share.
namespace MasterTexts {

// The column to search on is chosen from the offered list; other typed text is refused.
inline QString chooseSearchColumn()
{
    return QStringLiteral("请从列表中选择要查找的字段！");
}

inline QString numberNotANumber()
{
    return QStringLiteral("客户编号必须是数字！");
}

} // namespace MasterTexts
