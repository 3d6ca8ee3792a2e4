#include "screenregistry.h"

#include <QHash>

namespace ScreenRegistry {

namespace {
QHash<QString, ChildFactory> &children()
{
    static QHash<QString, ChildFactory> map;
    return map;
}
QHash<QString, Action> &actions()
{
    static QHash<QString, Action> map;
    return map;
}
} // namespace

void registerChild(const QString &menuItem, ChildFactory factory)
{
    children().insert(menuItem, std::move(factory));
}

void registerAction(const QString &menuItem, Action action)
{
    actions().insert(menuItem, std::move(action));
}

ChildFactory child(const QString &menuItem)
{
    return children().value(menuItem);
}

Action action(const QString &menuItem)
{
    return actions().value(menuItem);
}

} // namespace ScreenRegistry
