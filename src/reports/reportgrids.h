#pragma once

#include "ui/gridcolumn.h"

// The columns of the report screens' grids: titles, widths and footers as the shop knows them.
namespace ReportGrids {

// Customer history (chaxun).
GridColumns historySales();
GridColumns historyRepairs();
GridColumns historyLedger();
// Payment records (jiaokuanjilu); the columns share the grid's width.
GridColumns receipts();
// Daily overview (yiri).
GridColumns daySales();
GridColumns dayRepairs();
GridColumns dayLedger();
// Period summary (huizong); the columns share the grid's width.
GridColumns periodSales();
GridColumns periodRepairs();
GridColumns periodLedger();

} // namespace ReportGrids
