#include "dingxiugaifrm.h"

#include "data/salesstore.h"
#include "data/tdm1.h"
#include "xiugaidinggoujilufrm.h"

namespace {
CorrectionScreen::Layout salesLayout()
{
    CorrectionScreen::Layout l;
    l.objectName = QStringLiteral("dingxiugai");
    l.caption = QStringLiteral("订购（销售）记录修改");
    l.size = QSize(932, 603);
    l.resultSet = 10;
    l.table = ReportStore::Table::Sales;
    l.showAllCaption = QStringLiteral("显示全部订购（销售）记录");
    l.deleteButton = QStringLiteral("BitBtn3");
    l.listCaption
            = QStringLiteral("符合检索条件的客户定购（购买）历史记录----请双击需要修改的记录");
    l.columns = {{QStringLiteral("客户编号"), {}},
                 {QStringLiteral("客户名称"), {}},
                 {QStringLiteral("身份证号"), QStringLiteral("联系人")},
                 {QStringLiteral("电话"), {}},
                 {QStringLiteral("手机"), {}},
                 {QStringLiteral("地址"), {}},
                 {QStringLiteral("出生年"), QStringLiteral("单位税号")},
                 {QStringLiteral("订购型号"), {}},
                 {QStringLiteral("主机序列号"), {}},
                 {QStringLiteral("价格"), {}},
                 {QStringLiteral("日期"), {}},
                 {QStringLiteral("备注"), {}},
                 {QStringLiteral("利润"), {}}};
    l.search = CustomerSearchConfig::dingxiugai();
    return l;
}
} // namespace

Tdingxiugai::Tdingxiugai(QWidget *parent)
    : CorrectionScreen(salesLayout(), parent)
{ }

ReportQuery Tdingxiugai::allRecords() const
{
    return SalesStore(DM1()->ADOConnection1()).correctionList();
}

void Tdingxiugai::removeRecord(qint64 id)
{
    SalesStore(DM1()->ADOConnection1()).remove(id);
}

CorrectionDialog *Tdingxiugai::dialog() const
{
    return xiugaidinggoujilu();
}
