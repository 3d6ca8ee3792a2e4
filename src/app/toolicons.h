#pragma once

#include <QIcon>

// The tool bar's pictures, drawn by the program itself so nothing has to be shipped.
namespace ToolIcons {
// Index as listed for each tool button (0 exit, 2 repair items, 3 repair entry, 4 sales entry,
// 6 leave, 8 debts, 9 help, 10 customers, 11 customer query); other indexes give a plain tile.
QIcon icon(int index);
} // namespace ToolIcons
