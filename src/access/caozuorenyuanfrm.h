#pragma once

#include <QWidget>

#include <functional>

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

    // How "新增" opens the add-operator screen: bring back the open child captioned
    // `caption`, or add the screen `create` makes. The main window installs its ActivateChild
    // here; without one the screen opens as a window of its own.
    using ChildOpener
            = std::function<void(const QString &caption, const std::function<QWidget *()> &create)>;
    static void setChildOpener(ChildOpener opener);

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
