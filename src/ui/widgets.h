#pragma once

#include <QPushButton>
#include <QString>

namespace Widgets {

// A push button known by its object name. It never acts as a dialog's default button: the
// screens' Enter chains decide what Enter does.
inline QPushButton *button(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace Widgets
