#pragma once

#include "data/customerstore.h"
#include "data/ledgerstore.h"

#include <QWidget>

#include <optional>

class DebtListModel;
class QLineEdit;
class QTreeView;

// "补收欠款": lists unpaid ledger rows of one customer or of all, adds up the ticked ones and
// settles them: each becomes "已付款" and gets a receipt, all in one transaction.
class Tbushou : public QWidget
{
    Q_OBJECT
public:
    explicit Tbushou(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void loadFor(CustomerStore::Column column, const QString &value);
    void showAll(); // BitBtn2 "显示全部欠款"
    void list(const DebtListing &listing);
    void tickAll(bool ticked); // BitBtn5 "全选", BitBtn6 "全清"
    // BitBtn7 "计算选中欠款总数": also shown in Edit4; none when it could not be read.
    std::optional<Money> total();
    void settle(); // BitBtn3 "补收选中欠款"
    void clearFieldsAndList();

    QTreeView *m_list = nullptr; // ListView1
    DebtListModel *m_rows = nullptr; // its lines, read in chunks, and the ticks
    QLineEdit *m_total = nullptr; // Edit4
};
