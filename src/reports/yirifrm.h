#pragma once

#include <QWidget>

class DataGrid;
class QDateEdit;
class QPushButton;
class QToolButton;
class ReportOutput;

// "一日销售、维修及帐款情况一览": the sales, repairs and ledger rows of one day.
class Tyiri : public QWidget
{
    Q_OBJECT
public:
    explicit Tyiri(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void BitBtn1Click();
    void exportGrid(int grid);

    QDateEdit *DateTimePicker1;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QToolButton *RzMenuButton1;
    DataGrid *DBGridEh1;
    DataGrid *DBGridEh2;
    DataGrid *DBGridEh3;
    ReportOutput *SaveDialog2;
};
