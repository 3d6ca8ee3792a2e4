#pragma once

#include <QWidget>

class PermissionBoxes;
class QPushButton;
class QTableWidget;

// The operator list: every operator with number and name, the flags of the chosen one, and
// new / modify / delete. The administrator "0001" can be neither modified nor deleted here.
// A child window, destroyed when closed.
class Tcaozuorenyuan : public QWidget
{
    Q_OBJECT
public:
    explicit Tcaozuorenyuan(QWidget *parent = nullptr);

    // Reads the operators again, selects the first and shows its flags.
    void loadList();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showFlags();
    QString cell(int column) const; // of the selected row
    void addOperator();
    void modifyOperator();
    void deleteOperator();

    QTableWidget *m_grid = nullptr;
    PermissionBoxes *m_flags = nullptr;
    bool m_placed = false; // first show done
};
