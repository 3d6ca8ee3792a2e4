#pragma once

#include "data/reportstore.h"

#include <QWidget>

class DataGrid;
class QPushButton;
class ReportOutput;
class ReportSearch;

// "查询客户交款记录": the receipts of one customer, or all receipts by date.
class Tjiaokuanjilu : public QWidget
{
    Q_OBJECT
public:
    explicit Tjiaokuanjilu(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormShow();
    // Reloads the receipts of the customer number in Edit4; nothing when it is empty.
    void LoadReceipts();
    void loadBy(ReportStore::Key key, const QString &value);
    void BitBtn3Click();

    ReportSearch *m_search;
    DataGrid *DBGridEh1;
    QPushButton *BitBtn3;
    QPushButton *BitBtn2;
    ReportOutput *SaveDialog1;
};
