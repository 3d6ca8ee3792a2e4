#include "enterchain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

EnterChain::EnterChain(QObject *parent)
    : QObject(parent)
{ }

void EnterChain::link(QWidget *from, QWidget *to)
{
    QPointer<QWidget> target(to);
    onEnter(from, [target] {
        if (!target)
            return;
        target->setFocus(Qt::OtherFocusReason);
        if (auto *edit = qobject_cast<QLineEdit *>(target.data()))
            edit->selectAll();
    });
}

void EnterChain::onEnter(QWidget *from, std::function<void()> action)
{
    from->installEventFilter(this);
    // An editable combo box or a date field passes keys to an inner widget first.
    if (auto *combo = qobject_cast<QComboBox *>(from); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
    m_steps.append({from, std::move(action)});
}

void EnterChain::chain(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 0; i + 1 < widgets.size(); ++i)
        link(widgets[i], widgets[i + 1]);
}

bool EnterChain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    for (const Step &step : std::as_const(m_steps)) {
        if (!step.from)
            continue;
        if (watched == step.from || watched->parent() == step.from) {
            if (auto *combo = qobject_cast<QComboBox *>(step.from.data());
                combo && combo->view() && combo->view()->isVisible())
                return false; // Enter picks the entry of an open list
            auto action = step.action; // the action may delete this chain
            action();
            return true;
        }
    }
    return false;
}
