#pragma once

#include <QWidget>

class DataGrid;
class GridExporter;
class QComboBox;
class QLineEdit;
class ResultSet;

// "客户档案": every customer in a read-only grid, narrowed by a contains-search on one column;
// opens the new and modify dialogs, deletes, refreshes and exports.
class Tkehu : public QWidget
{
    Q_OBJECT
public:
    explicit Tkehu(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void BtnNewClick();
    void BtnEditClick();
    void BtnDeleteClick();
    void BtnRefreshClick();
    void BitBtn1Click(); // 查找
    void BitBtn2Click(); // 客户资料导出
    void openAll();

    ResultSet *m_customers = nullptr; // ADOQuery3
    DataGrid *m_grid = nullptr;
    QComboBox *m_column = nullptr; // ComboBox1
    QLineEdit *m_text = nullptr; // Edit1
    GridExporter *m_exporter = nullptr;
};
