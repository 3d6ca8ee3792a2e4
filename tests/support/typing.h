#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

// Types text into a widget key by key, as a user would. QTest::keyClicks takes only ASCII;
// Chinese and other characters arrive as an input method delivers them, one key event each.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The control of a screen by its object name; warns (and gives null) when there is none.
template<typename T>
T *child(QWidget *parent, const char *name)
{
    T *widget = parent->findChild<T *>(QLatin1String(name));
    if (!widget)
        qWarning("no child %s", name);
    return widget;
}
