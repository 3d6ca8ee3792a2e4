// Which unit answers which menu item. One line per screen or handler; keep it that way.
#include "screenregistry.h"

namespace ScreenRegistry {

void wireAll()
{
    // Child screens: registerChild("N32", [] { return new Tkehu; });
    // Handlers of the main window: registerAction("N3", [](QWidget *main) { … });
}

void createStartupDialogs()
{
    // In this order: xiugaicaozuoyuan(); guanyu(); xiugaidinggoujilu(); xiugaiweixiujilu();
    // xiugaikehu(); xinzengkehu();
}

} // namespace ScreenRegistry
