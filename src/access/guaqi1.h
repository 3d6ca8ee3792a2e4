#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

// "暂时离开": locks the program with the password typed at login while the operator is
// away. Application-modal; once locked only the right password closes it.
class Tguaqi : public QDialog
{
    Q_OBJECT
public:
    explicit Tguaqi(QWidget *parent = nullptr);

    bool isLocked() const { return m_locked; }

    // Escape and close requests of the window system are refused: only the dialog's own
    // buttons end it.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool passwordTyped();
    void lock();
    void wake();
    void finish(int result);

    QGroupBox *m_group = nullptr;
    QLineEdit *m_edit1 = nullptr;
    QPushButton *m_leave = nullptr; // BitBtn1 "离开"
    QPushButton *m_cancel = nullptr; // BitBtn2 "取消"
    QPushButton *m_wake = nullptr; // BitBtn3 "唤醒"
    bool m_locked = false;
    bool m_finishing = false;
};
