#include "moneykeyfilter.h"

#include <QKeyEvent>
#include <QWidget>

MoneyKeyFilter::MoneyKeyFilter(QObject *parent)
    : QObject(parent)
{ }

void MoneyKeyFilter::install(QWidget *field)
{
    field->installEventFilter(new MoneyKeyFilter(field));
}

bool MoneyKeyFilter::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text.isEmpty() || !text[0].isPrint())
        return false; // Backspace, arrows, Enter, Tab …
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'.' && c != u'-')
            return true;
    }
    return false;
}
