#include "reportgrids.h"

namespace {

using Footer = GridColumn::Footer;

struct Spec
{
    const char *field;
    int width = 0;
    Footer footer = Footer::None;
    const char *footerText = "";
};

GridColumn::Kind kindOf(const QString &field)
{
    if (field == u"客户编号")
        return GridColumn::Kind::Integer;
    if (field == u"日期")
        return GridColumn::Kind::Date;
    for (const char16_t *money : {u"价格", u"利润", u"维修费", u"应付金额", u"金额"})
        if (field == money)
            return GridColumn::Kind::Money;
    return GridColumn::Kind::Text;
}

// Every report grid centres its cells, titles and footers.
GridColumns build(std::initializer_list<Spec> specs)
{
    GridColumns columns;
    for (const Spec &spec : specs) {
        GridColumn column;
        column.field = QString::fromUtf8(spec.field);
        column.title = column.field == u"身份证号" ? QStringLiteral("联系人")
                : column.field == u"出生年"        ? QStringLiteral("单位税号")
                                                   : column.field;
        column.width = spec.width;
        column.kind = kindOf(column.field);
        column.alignment = Qt::AlignCenter;
        column.titleAlignment = Qt::AlignCenter;
        column.footer = spec.footer;
        column.footerText = QString::fromUtf8(spec.footerText);
        columns << column;
    }
    return columns;
}

constexpr Footer Count = Footer::Count;
constexpr Footer Sum = Footer::Sum;
constexpr Footer Text = Footer::Text;

} // namespace

namespace ReportGrids {

GridColumns historySales()
{
    return build({{"客户编号", 60},
                  {"客户名称", 90, Text, "合计次数"},
                  {"身份证号", 100},
                  {"电话", 80},
                  {"手机", 100},
                  {"地址", 120, Count},
                  {"出生年", 65},
                  {"订购型号", 70},
                  {"主机序列号", 90, Text, "合计金额"},
                  {"价格", 70, Sum},
                  {"日期", 90},
                  {"客服人员", 65},
                  {"经手人", 70},
                  {"备注", 125},
                  {"发票号码", 70},
                  {"利润", 65, Sum}});
}

GridColumns historyRepairs()
{
    return build({{"客户编号", 60},
                  {"客户名称", 90, Text, "维修次数"},
                  {"身份证号", 100},
                  {"电话", 80},
                  {"手机", 100},
                  {"地址", 120, Count},
                  {"出生年", 65},
                  {"主机序列号", 80},
                  {"维修项目", 100, Text, "维修费合计"},
                  {"维修费", 60, Sum},
                  {"日期", 100},
                  {"经手人", 60},
                  {"备注", 115},
                  {"发票号码", 70},
                  {"利润", 65, Sum}});
}

GridColumns historyLedger()
{
    return build({{"客户编号", 60},
                  {"客户名称", 90, Text, "合计笔数"},
                  {"地址", 130, Count},
                  {"电话", 80},
                  {"手机", 100},
                  {"主机序列号", 90},
                  {"应付金额", 60},
                  {"付款情况", 60},
                  {"日期", 100},
                  {"经手人", 75},
                  {"备注", 120},
                  {"发票号码", 70}});
}

GridColumns receipts()
{
    return build({{"客户编号"},
                  {"客户名称", 0, Text, "合计次数"},
                  {"地址", 0, Count},
                  {"电话"},
                  {"手机"},
                  {"主机序列号", 0, Text, "合计金额"},
                  {"金额", 0, Sum},
                  {"日期"},
                  {"经手人"}});
}

GridColumns daySales()
{
    return build({{"客户编号", 60},
                  {"客户名称", 90, Text, "合计次数"},
                  {"身份证号", 60},
                  {"电话", 85, Count},
                  {"手机", 110},
                  {"地址", 130},
                  {"出生年", 60},
                  {"订购型号", 80},
                  {"主机序列号", 70, Text, "合计金额"},
                  {"价格", 65, Sum},
                  {"日期", 80},
                  {"备注", 130},
                  {"经手人", 65},
                  {"利润", 65, Sum}});
}

GridColumns dayRepairs()
{
    return build({{"客户编号", 60},
                  {"客户名称", 90, Text, "合计次数"},
                  {"身份证号", 60},
                  {"电话", 85, Count},
                  {"手机", 110},
                  {"地址", 130},
                  {"出生年", 60},
                  {"维修项目", 80, Text, "维修费合计"},
                  {"维修费", 65, Sum},
                  {"主机序列号", 70},
                  {"备注", 130},
                  {"日期", 80},
                  {"经手人", 65},
                  {"利润", 65, Sum}});
}

GridColumns dayLedger()
{
    return build({{"客户编号", 60},
                  {"客户名称", 85, Text, "合计笔数"},
                  {"电话", 90, Count},
                  {"手机", 110},
                  {"地址", 130},
                  {"主机序列号", 80, Text, "金额合计"},
                  {"应付金额", 65, Sum},
                  {"付款情况", 70},
                  {"日期", 80},
                  {"备注", 130},
                  {"经手人", 65}});
}

GridColumns periodSales()
{
    return build({{"客户编号"},
                  {"客户名称", 0, Text, "合计次数"},
                  {"电话", 0, Count},
                  {"手机"},
                  {"地址"},
                  {"订购型号"},
                  {"主机序列号", 0, Text, "合计金额"},
                  {"价格", 0, Sum},
                  {"日期"},
                  {"备注"},
                  {"经手人"},
                  {"客服人员"},
                  {"发票号码"},
                  {"利润", 0, Sum}});
}

GridColumns periodRepairs()
{
    return build({{"客户编号"},
                  {"客户名称", 0, Text, "合计次数"},
                  {"电话", 0, Count},
                  {"手机"},
                  {"地址"},
                  {"维修项目", 0, Text, "维修费合计"},
                  {"维修费", 0, Sum},
                  {"主机序列号"},
                  {"备注"},
                  {"日期"},
                  {"经手人"},
                  {"发票号码"},
                  {"利润", 0, Sum}});
}

GridColumns periodLedger()
{
    return build({{"客户编号"},
                  {"客户名称", 0, Text, "合计笔数"},
                  {"电话", 0, Count},
                  {"手机"},
                  {"地址"},
                  {"主机序列号", 0, Text, "金额合计"},
                  {"应付金额", 0, Sum},
                  {"付款情况"},
                  {"日期"},
                  {"备注"},
                  {"经手人"},
                  {"发票号码"}});
}

} // namespace ReportGrids
