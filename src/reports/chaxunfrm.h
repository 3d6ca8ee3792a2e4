#pragma once

#include "data/reportstore.h"

#include <QWidget>

class DataGrid;
class QPushButton;
class RadioGroup;
class ReportOutput;
class ReportSearch;

// "查询客户所有资料": one customer's sales, repairs and ledger rows.
class Tchaxun : public QWidget
{
    Q_OBJECT
public:
    explicit Tchaxun(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormShow();
    // Reloads the three grids by the customer number in Edit4, through the invoice filter.
    void LoadHistory();
    void loadBy(ReportStore::Key key, const QString &value);
    void exportGrid(DataGrid *grid);

    ReportSearch *m_search;
    RadioGroup *RadioGroup1;
    DataGrid *DBGridEh1; // sales
    DataGrid *DBGridEh2; // repairs
    DataGrid *DBGridEh3; // ledger
    QPushButton *BitBtn2;
    ReportOutput *SaveDialog1;
};
