#pragma once

#include "data/reportstore.h"

#include <QWidget>

class DataGrid;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class RadioGroup;
class ReportOutput;

// "销售、维修及帐款情况汇总": sales, repairs and ledger rows over a range of days and a part of
// the address, one panel each, shown in one display area.
class Thuizong : public QWidget
{
    Q_OBJECT
public:
    explicit Thuizong(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The controls of one query panel.
    struct Panel
    {
        QDateEdit *from;
        QDateEdit *to;
        QLineEdit *address;
        RadioGroup *invoice;
        QPushButton *query;
        QPushButton *all;
    };

    Panel makePanel(QGroupBox *group,
                    int firstPicker,
                    int firstLabel,
                    int addressLabel,
                    int edit,
                    int invoiceGroup,
                    int queryButton,
                    int allButton);
    void FormShow();
    void runQuery(ReportStore::Table table);
    void showAll(ReportStore::Table table);
    void showGrid(ReportStore::Table table);
    void exportGrid(int grid);

    Panel m_panels[3];
    RadioGroup *RadioGroup1;
    QToolButton *RzMenuButton1;
    QPushButton *BitBtn7;
    QGroupBox *GroupBox4;
    DataGrid *m_grids[3];
    ReportOutput *SaveDialog2;
};
