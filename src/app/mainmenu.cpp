#include "mainmenu.h"

namespace MainMenu {

namespace {
Item child(const char16_t *name, const char16_t *caption, int flag, const char16_t *childCaption)
{
    return {QString::fromUtf16(name), QString::fromUtf16(caption), flag, Kind::Child,
            QString::fromUtf16(childCaption)};
}

Item handler(const char16_t *name, const char16_t *caption, int flag, Kind kind = Kind::Action)
{
    return {QString::fromUtf16(name), QString::fromUtf16(caption), flag, kind, {}};
}
} // namespace

const QList<Menu> &menus()
{
    static const QList<Menu> table {
            {QStringLiteral("N1"),
             QStringLiteral("系统设置"),
             {
                     child(u"N2", u"操作人员及权限设置", 1, u"操作人员设置"),
                     child(u"N11", u"修改操作人员密码", 0, u"修改操作人员密码"),
                     child(u"N7", u"店铺名称设置", 0, u"店铺名称设置"),
                     handler(u"N3", u"数据备份", 2),
                     handler(u"N12", u"数据恢复", 3),
                     child(u"N6", u"历史数据清除", 4, u"数据整理"),
                     handler(u"N4", u"数据初始化", 5),
                     handler(u"N27", u"-", 0, Kind::Separator),
                     handler(u"N8", u"退出系统", 0, Kind::Exit),
             }},
            {QStringLiteral("N31"),
             QStringLiteral("基本设置"),
             {
                     child(u"N32", u"客户资料设置", 6, u"客户档案"),
                     child(u"N33", u"维修项目设置", 7, u"维修项目设置"),
                     child(u"N41", u"乡镇、村庄设置", 17, u"乡镇、村庄设置"),
             }},
            {QStringLiteral("N9"),
             QStringLiteral("日常操作"),
             {
                     child(u"N10", u"定购（销售）记录录入", 8, u"订购（销售）记录录入"),
                     child(u"N38", u"订购（销售）记录修改", 13, u"订购（销售）记录修改"),
                     child(u"N26", u"维修记录录入", 9, u"维修记录录入"),
                     child(u"N39", u"维修记录修改", 14, u"维修记录修改"),
                     child(u"N28", u"补收欠款", 10, u"补收欠款"),
             }},
            {QStringLiteral("N29"),
             QStringLiteral("报表查询"),
             {
                     child(u"N30", u"客户全部历史信息查询", 11, u"查询客户所有资料"),
                     child(u"N34", u"查询客户交款记录", 12, u"查询客户交款记录"),
                     child(u"N5", u"一日销售、维修及帐款情况一览", 15,
                           u"一日销售、维修及帐款情况一览"),
                     child(u"N40", u"销售、维修及帐款数据汇总", 16, u"销售、维修及帐款情况汇总"),
             }},
            {QStringLiteral("N35"),
             QStringLiteral("系统帮助"),
             {
                     handler(u"N36", u"帮助主题", 0),
                     handler(u"N37", u"关于", 0),
             }},
    };
    return table;
}

const QList<ToolButton> &toolButtons()
{
    static const QList<ToolButton> table {
            {QStringLiteral("RzToolButton1"), QStringLiteral("客户资料设置"),
             QStringLiteral("客户资料的设置"), 10, QStringLiteral("N32"), Kind::Child, false},
            {QStringLiteral("RzToolButton2"), QStringLiteral("维修项目设置"),
             QStringLiteral("维修项目的设置"), 2, QStringLiteral("N33"), Kind::Child, true},
            {QStringLiteral("RzToolButton3"), QStringLiteral("定购(销售）记录录入"),
             QStringLiteral("录入销售的记录"), 4, QStringLiteral("N10"), Kind::Child, false},
            {QStringLiteral("RzToolButton4"), QStringLiteral("维修记录录入"),
             QStringLiteral("录入维修的记录"), 3, QStringLiteral("N26"), Kind::Child, false},
            {QStringLiteral("RzToolButton5"), QStringLiteral("补收欠款"),
             QStringLiteral("补收历史上所有的欠款"), 8, QStringLiteral("N28"), Kind::Child, true},
            {QStringLiteral("RzToolButton6"), QStringLiteral("客户信息查询"),
             QStringLiteral("查询客户的所有信息"), 11, QStringLiteral("N30"), Kind::Child, true},
            // Help does what the menu's help item does.
            {QStringLiteral("RzToolButton7"),
             QStringLiteral("系统帮助"),
             {},
             9,
             QStringLiteral("N36"),
             Kind::Action,
             true},
            // The temporary lock has no menu item; its handler is registered under the button.
            {QStringLiteral("RzToolButton8"),
             QStringLiteral("暂时离开"),
             QStringLiteral("暂时离开而不关闭软件"),
             6,
             {},
             Kind::Action,
             false},
            {QStringLiteral("RzToolButton9"), QStringLiteral("退出"), {}, 0, {}, Kind::Exit, false},
    };
    return table;
}

QString itemForFlag(int flag)
{
    for (const Menu &menu : menus()) {
        for (const Item &item : menu.items) {
            if (item.flag == flag)
                return item.name;
        }
    }
    return {};
}

} // namespace MainMenu
