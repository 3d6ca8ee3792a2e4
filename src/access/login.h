#pragma once

#include <QDialog>
#include <QStringList>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login dialog: asks for an operator and a password before the main window shows.
// After a successful login it stays alive, hidden, holding the current operator.
class Tloginform : public QDialog
{
    Q_OBJECT
public:
    static constexpr int FlagCount = 17;
    static constexpr int MaxFailedLogins = 4; // the fifth wrong password ends the program

    explicit Tloginform(QWidget *parent = nullptr);

    QString OperatorNumber() const { return m_operatorNumber; }
    QString OperatorPassword() const { return m_operatorPassword; }
    // The permission flags of the operator who logged in; flag n is [n - 1].
    const std::array<bool, FlagCount> &grantedFlags() const { return m_flags; }
    int failedLogins() const { return FailedLogins; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void LoadOperators();
    void showOperatorName();
    void cbusernameExit(QWidget *next);
    void button1Click();
    int selectedEntry() const;
    void refuseUnknownUser();

    QGroupBox *RzGroupBox1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QComboBox *cbusername;
    QLineEdit *Edit1;
    QLineEdit *edtpassword;
    QPushButton *button1;
    QPushButton *button2;

    QStringList OperatorPasswords; // stored values, parallel to the entries of cbusername
    int FailedLogins = 0;

    QString m_operatorNumber;
    QString m_operatorPassword;
    std::array<bool, FlagCount> m_flags {};
};
