#pragma once

#include "data/reportstore.h"
#include "master/customersearchpanel.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <utility>

class CorrectionDialog;
class DataGrid;
class QGroupBox;
class ResultSet;

// What the sales and repair correction screens share: the list of records on a shared result
// set, "显示全部…", "刷新", "删除记录", "退出", the look-ups that narrow the list, and the
// double-click that opens the reused correction dialog. The two screens differ in data only.
class CorrectionScreen : public QWidget
{
    Q_OBJECT
public:
    struct Layout
    {
        QString objectName;
        QString caption;
        QSize size;
        int resultSet = 0; // ADOQuery number
        ReportStore::Table table = ReportStore::Table::Sales;
        QString showAllCaption; // BitBtn4
        QString deleteButton; // object name of "删除记录"
        QString listCaption;
        QList<std::pair<QString, QString>> columns; // field, title (empty: the field's name)
        CustomerSearchConfig search; // the query variant's controls on this screen
    };

    ResultSet *list() const { return m_list; }
    DataGrid *grid() const { return m_grid; }

    // The list narrowed to the records whose own copy of `column` equals `value` exactly, as a
    // look-up of the search panel loads it (whether or not a customer matched). An empty
    // customer number does nothing.
    void loadBy(CustomerStore::Column column, const QString &value);
    // BitBtn4 "显示全部…" and BitBtn10 "刷新": every record, by customer name.
    void showAll();

protected:
    CorrectionScreen(const Layout &layout, QWidget *parent = nullptr);

    void showEvent(QShowEvent *event) override;

    // The statement of "显示全部…".
    virtual ReportQuery allRecords() const = 0;
    // Deletes the record and its ledger row in one transaction (throws DbError).
    virtual void removeRecord(qint64 id) = 0;
    virtual CorrectionDialog *dialog() const = 0;

private:
    QGroupBox *buildLookupGroup();
    void FormShow();
    void open(const ReportQuery &query);
    void edit(int row); // double-click on DBGridEh1
    void remove(); // "删除记录"
    // Reads the list again so it shows what is stored now, keeping the current row's place.
    void reread(int row);
    qint64 idAt(int row) const;

    Layout m_layout;
    ResultSet *m_list = nullptr;
    DataGrid *m_grid = nullptr;
    CustomerSearchPanel *m_search = nullptr;
    bool m_placed = false;
};
