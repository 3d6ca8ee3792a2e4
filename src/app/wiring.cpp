// Which unit answers which menu item. One line per screen or handler; keep it that way.
#include "screenregistry.h"

#include "access/caozuorenyuanfrm.h"
#include "access/guaqi1.h"
#include "access/xiugaicaozuoyuanfrm.h"
#include "access/xiugaimimafrm.h"
#include "maintenance/dayinshezhifrm.h"
#include "maintenance/guanyufrm.h"
#include "maintenance/maintenanceactions.h"
#include "maintenance/zhenglifrm.h"
#include "master/kehufrm.h"
#include "master/xiangmufrm.h"
#include "master/xiangzhenfrm.h"
#include "master/xinzengkehufrm.h"
#include "master/xiugaikehufrm.h"
#include "reports/chaxunfrm.h"
#include "reports/huizongfrm.h"
#include "reports/jiaokuanjilufrm.h"
#include "reports/yirifrm.h"
#include "transactions/bushoufrm.h"
#include "transactions/dinggoufrm.h"
#include "transactions/dingxiugaifrm.h"
#include "transactions/weixiufrm.h"
#include "transactions/weixiugaifrm.h"
#include "transactions/xiugaidinggoujilufrm.h"
#include "transactions/xiugaiweixiujilufrm.h"

namespace ScreenRegistry {

void wireAll()
{
    // Child screens: registerChild("N32", [] { return new Tkehu; });
    // Handlers of the main window: registerAction("N3", [](QWidget *main) { … });
    registerChild("N6", [] { return new Tzhengli; });
    registerChild("N7", [] { return new Tdayinshezhi; });
    registerChild("N30", [] { return new Tchaxun; });
    registerChild("N34", [] { return new Tjiaokuanjilu; });
    registerChild("N5", [] { return new Tyiri; });
    registerChild("N40", [] { return new Thuizong; });
    registerChild("N32", [] { return new Tkehu; });
    registerChild("N33", [] { return new Txiangmu; });
    registerChild("N41", [] { return new Txiangzhen; });
    registerChild("N38", [] { return new Tdingxiugai; });
    registerChild("N39", [] { return new Tweixiugai; });
    registerChild("N10", [] { return new Tdinggou; });
    registerChild("N26", [] { return new Tweixiu; });
    registerChild("N28", [] { return new Tbushou; });
    registerAction("N3", MaintenanceActions::manualBackup);
    registerAction("N12", MaintenanceActions::restore);
    registerAction("N4", MaintenanceActions::initialise);
    registerAction("ExitBackup", MaintenanceActions::exitBackup);
    registerAction("N36", [](QWidget *) { MaintenanceActions::openHelp(); });
    registerAction("RzToolButton7", [](QWidget *) { MaintenanceActions::openHelp(); });
    registerAction("N37", [](QWidget *) { guanyu()->exec(); });
    registerChild("N2", [] { return new Tcaozuorenyuan; });
    registerChild("N11", [] { return new Txiugaimima; });
    registerAction("RzToolButton8", [](QWidget *main) { Tguaqi(main).exec(); });
}

void createStartupDialogs()
{
    // In this order: xiugaicaozuoyuan(); guanyu(); xiugaidinggoujilu(); xiugaiweixiujilu();
    // xiugaikehu(); xinzengkehu();
    xiugaicaozuoyuan();
    guanyu();
    xiugaidinggoujilu();
    xiugaiweixiujilu();
    xiugaikehu();
    xinzengkehu();
}

} // namespace ScreenRegistry
