#include "screenframe.h"

#include "ui/childwindow.h"

#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace ScreenFrame {

Buttons layOut(QWidget *screen, QWidget *group, const QString &action)
{
    const Buttons buttons {new QPushButton(action, screen),
                           new QPushButton(QStringLiteral("退出"), screen)};
    buttons.BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    buttons.BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    QObject::connect(buttons.BitBtn2, &QPushButton::clicked, screen,
                     [screen] { closeChild(screen); });

    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.BitBtn1);
    row->addWidget(buttons.BitBtn2);
    row->addStretch();
    auto *layout = new QVBoxLayout(screen);
    layout->addWidget(group);
    layout->addLayout(row);
    return buttons;
}

void placeOnce(QWidget *screen, QPoint where, bool &placed)
{
    if (placed)
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(screen->parentWidget()))
        sub->move(where);
    placed = true;
}

} // namespace ScreenFrame
