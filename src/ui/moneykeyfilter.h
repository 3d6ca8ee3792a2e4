#pragma once

#include <QObject>

class QWidget;

// Lets only digits, ".", "-" and Backspace be typed into a money field; navigation,
// Enter and shortcuts pass as usual. Install with MoneyKeyFilter::install(edit).
class MoneyKeyFilter : public QObject
{
    Q_OBJECT
public:
    explicit MoneyKeyFilter(QObject *parent = nullptr);
    static void install(QWidget *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
