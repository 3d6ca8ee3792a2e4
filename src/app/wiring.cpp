// Which unit answers which menu item. One line per screen or handler; keep it that way.
#include "screenregistry.h"

#include "maintenance/dayinshezhifrm.h"
#include "maintenance/guanyufrm.h"
#include "maintenance/maintenanceactions.h"
#include "maintenance/zhenglifrm.h"

namespace ScreenRegistry {

void wireAll()
{
    // Child screens: registerChild("N32", [] { return new Tkehu; });
    // Handlers of the main window: registerAction("N3", [](QWidget *main) { … });
    registerChild("N6", [] { return new Tzhengli; });
    registerChild("N7", [] { return new Tdayinshezhi; });
    registerAction("N3", MaintenanceActions::manualBackup);
    registerAction("N12", MaintenanceActions::restore);
    registerAction("N4", MaintenanceActions::initialise);
    registerAction("ExitBackup", MaintenanceActions::exitBackup);
    registerAction("N36", [](QWidget *) { MaintenanceActions::openHelp(); });
    registerAction("RzToolButton7", [](QWidget *) { MaintenanceActions::openHelp(); });
    registerAction("N37", [](QWidget *) { guanyu()->exec(); });
}

void createStartupDialogs()
{
    // In this order: xiugaicaozuoyuan(); guanyu(); xiugaidinggoujilu(); xiugaiweixiujilu();
    // xiugaikehu(); xinzengkehu();
    guanyu();
}

} // namespace ScreenRegistry
