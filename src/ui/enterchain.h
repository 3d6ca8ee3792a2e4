#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

// Moves the focus along a fixed chain of fields when Enter is pressed. A step may instead
// run an action (such as a look-up or a click on "保存").
class EnterChain : public QObject
{
    Q_OBJECT
public:
    explicit EnterChain(QObject *parent = nullptr);

    // Enter in `from` gives `to` the focus (and selects a line edit's text).
    void link(QWidget *from, QWidget *to);
    // Enter in `from` runs `action`.
    void onEnter(QWidget *from, std::function<void()> action);
    // Links each widget to the next one in order.
    void chain(const QList<QWidget *> &widgets);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Step
    {
        QPointer<QWidget> from;
        std::function<void()> action;
    };
    QList<Step> m_steps;
};
